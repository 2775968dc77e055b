#include "PanelDriver.h"
#include "TestProgramFolder.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "mainwindow/Frm1.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

using namespace PanelDriver;

const QString kLogoSaved = QStringLiteral(" لوگو ذخيره شد");
const QString kChangesSaved = QStringLiteral("تغييرات با موفقيت ذخيره شد");

// A picture whose every pixel is known, so that a lossy round trip would show.
QImage patternPicture()
{
    QImage picture(24, 12, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 10, y * 20, (x * y) % 256));
    }
    return picture;
}

QImage readByContent(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ClinicSettingsTest : public QObject
{
    Q_OBJECT

    static QString themeField(TestProgramFolder& folder, const char* column)
    {
        return folder.view(QStringLiteral("Theme"))->field(QLatin1String(column));
    }

    static void typeInto(Frm1& window, const char* name, const QString& text)
    {
        auto* edit = child<QLineEdit>(window, name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
    }

private slots:
    void settingsCommandShowsThePanelAtItsPlaceWithItsButtons()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        auto* panel = child(window, "Frame8");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), twipsRect(3015, 3780, 5235, 3375));

        const QList<QPair<const char*, QString>> buttons = {
            {"Command65", QStringLiteral("انتخاب آرم کلينيک")},
            {"Cmndedit", QStringLiteral(" ويرايش سوالات")},
            {"Command67", QStringLiteral(" مشخصات کلينيک")},
            {"Command68", QStringLiteral("تغيير تم برنامه")},
            {"clinicServerButton", QStringLiteral("پايگاه داده کلينيک")},
            {"backupButton", QStringLiteral("پشتيبان گيري و بازيابي")},
            {"Command69", QStringLiteral("خروج")}};
        QRect above;
        for (const auto& [name, caption] : buttons) {
            auto* button = child<QPushButton>(window, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->accessibleName(), caption);
            QVERIFY2(panel->rect().contains(button->geometry()), name); // nothing cut off
            QVERIFY2(!button->geometry().intersects(above), name);
            above = button->geometry();
        }

        click(window, "clinicServerButton");
        QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("openClinicServer")});
        click(window, "backupButton");
        QCOMPARE(folder.navigator.calls,
                 (QStringList{QStringLiteral("openClinicServer"), QStringLiteral("openBackupAndRestore")}));
        QVERIFY(panel->isVisible());
        QCOMPARE(child<QLabel>(window, "Label_Check1")->text(),
                 QStringLiteral("وضعيت نمايش آرم را مشخص نمائيد"));

        click(window, "Command68");
        QVERIFY(child(window, "Frame6")->isVisible());
        QVERIFY(panel->isVisible());

        click(window, "Command69");
        for (const char* name : {"Frame8", "Frame9", "Frame6", "Frame1", "Frame10"})
            QVERIFY2(!child(window, name)->isVisible(), name);
    }

    void everyInputCarriesItsCaptionAsAccessibleName()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        const QList<QPair<const char*, QString>> inputs = {
            {"Text31", QStringLiteral(":نام كلينيك ")},
            {"Text30", QStringLiteral(" :آدرس")},
            {"Text24", QStringLiteral(":ايميل")},
            {"Text29", QStringLiteral(" :تلگرام")},
            {"Text2", QStringLiteral(":اينستاگرام")},
            {"Text14", QStringLiteral(" :سايت")},
            {"Text27", QStringLiteral(":تويتر")},
            {"Text28", QStringLiteral(" :تلفن")},
            {"Check1", QStringLiteral("وضعيت نمايش آرم را مشخص نمائيد")},
            {"Text18", QStringLiteral(": شماره سوال  ")}};
        for (const auto& [name, caption] : inputs) {
            QWidget* input = child(window, name);
            QCOMPARE(input->accessibleName(), caption);
            auto* label = child<QLabel>(window, qPrintable(QStringLiteral("Label_") + QLatin1String(name)));
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->buddy(), input);
        }
        for (const char* name : {"Command64", "Command7"})
            QCOMPARE(child<QPushButton>(window, name)->accessibleName(),
                     child<QPushButton>(window, name)->text());
        QCOMPARE(child<QPushButton>(window, "Command64")->text(), QStringLiteral("ذخيره "));
        QCOMPARE(child<QPushButton>(window, "Command7")->text(), QStringLiteral("انصراف"));
    }

    void logoFlagStatesItsValueAndCommitsEveryChange()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        auto* flag = child<QCheckBox>(window, "Check1");
        QVERIFY(!flag->isChecked());
        QCOMPARE(flag->text(), QStringLiteral("آرم را نمايش ندهد"));

        QTest::mouseClick(flag, Qt::LeftButton);
        QCOMPARE(flag->text(), QStringLiteral("آرم را نمايش دهد"));
        QCOMPARE(themeField(folder, "Check1"), QStringLiteral("1"));
        QVERIFY(window.clinicTexts().showLogo);

        QTest::mouseClick(flag, Qt::LeftButton);
        QCOMPARE(flag->text(), QStringLiteral("آرم را نمايش ندهد"));
        QCOMPARE(themeField(folder, "Check1"), QStringLiteral("0"));
        QVERIFY(!window.clinicTexts().showLogo);

        // A value arriving from the row when the window becomes active again.
        auto theme = folder.view(QStringLiteral("Theme"));
        theme->setField(QStringLiteral("Check1"), QStringLiteral("1"));
        QVERIFY(theme->commit());
        window.becameActive();
        QVERIFY(flag->isChecked());
        QCOMPARE(flag->text(), QStringLiteral("آرم را نمايش دهد"));
    }

    void savingTheProfileCommitsAndRebuildsTheContactLines()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        click(window, "Command67");
        auto* form = child(window, "Frame9");
        QVERIFY(form->isVisible());
        QVERIFY(!child(window, "Frame8")->isVisible());
        QCOMPARE(form->geometry(), twipsRect(1635, 640, 6680, 4935));

        // The clinic name line follows each keystroke, before anything is saved.
        auto* nameLine = child<QLabel>(window, "SkinLabel1");
        typeText(child<QLineEdit>(window, "Text31"), QStringLiteral("كلينيک"));
        QCOMPARE(nameLine->text(), QStringLiteral("كلينيک"));
        typeText(child<QLineEdit>(window, "Text31"), QStringLiteral(" مهر"));
        QCOMPARE(nameLine->text(), QStringLiteral("كلينيک مهر"));
        QCOMPARE(themeField(folder, "Name"), QString());

        typeInto(window, "Text30", QStringLiteral("تهران، خيابان آزادي"));
        typeInto(window, "Text29", QStringLiteral("@mehr_clinic"));
        typeInto(window, "Text28", QStringLiteral("021-5555"));
        click(window, "Command64");

        QVERIFY(!form->isVisible());
        QCOMPARE(folder.prompts.notices(), QStringList{kChangesSaved});
        QCOMPARE(themeField(folder, "Name"), QStringLiteral("كلينيک مهر"));
        QCOMPARE(themeField(folder, "Adress"), QStringLiteral("تهران، خيابان آزادي"));
        QCOMPARE(themeField(folder, "T2"), QStringLiteral("@mehr_clinic"));
        QCOMPARE(themeField(folder, "T6"), QStringLiteral("021-5555"));
        QCOMPARE(themeField(folder, "T1"), QString());
        QCOMPARE(window.contactLines(), QStringLiteral("@mehr_clinic\r\n021-5555\r\n"));

        const ClinicTexts texts = window.clinicTexts();
        QCOMPARE(texts.name, QStringLiteral("كلينيک مهر"));
        QCOMPARE(texts.address, QStringLiteral("تهران، خيابان آزادي"));
        QCOMPARE(texts.contactLines, QStringLiteral("@mehr_clinic\r\n021-5555\r\n"));
    }

    void unsavedProfileEditsAreNeverSavedLater()
    {
        TestProgramFolder folder;
        auto theme = folder.view(QStringLiteral("Theme"));
        theme->setField(QStringLiteral("Name"), QStringLiteral("Stored"));
        QVERIFY(theme->commit());
        Frm1 window(folder.context());
        window.show();
        auto* nameLine = child<QLabel>(window, "SkinLabel1");

        // Cancel: nothing committed, the name line and the prints show the stored name again.
        click(window, "Command9");
        click(window, "Command67");
        typeInto(window, "Text31", QStringLiteral("Typed"));
        QCOMPARE(nameLine->text(), QStringLiteral("Typed"));
        click(window, "Command7");
        QVERIFY(!child(window, "Frame9")->isVisible());
        QCOMPARE(nameLine->text(), QStringLiteral("Stored"));
        QCOMPARE(window.clinicTexts().name, QStringLiteral("Stored"));
        QVERIFY(folder.prompts.shown.isEmpty());

        // Leaving the form through another command, then ticking the logo flag, which commits the
        // same row: the abandoned edit must not ride along.
        click(window, "Command9");
        click(window, "Command67");
        typeInto(window, "Text30", QStringLiteral("Abandoned address"));
        click(window, "Command9");
        QTest::mouseClick(child<QCheckBox>(window, "Check1"), Qt::LeftButton);
        QCOMPARE(themeField(folder, "Check1"), QStringLiteral("1"));
        QCOMPARE(themeField(folder, "Adress"), QString());
        QCOMPARE(themeField(folder, "Name"), QStringLiteral("Stored"));

        // Opening the form re-reads the row.
        theme->requery();
        theme->setField(QStringLiteral("T1"), QStringLiteral("mail@clinic.ir"));
        QVERIFY(theme->commit());
        click(window, "Command67");
        QCOMPARE(child<QLineEdit>(window, "Text24")->text(), QStringLiteral("mail@clinic.ir"));
        QCOMPARE(child<QLineEdit>(window, "Text30")->text(), QString());
    }

    void aProfileThatCouldNotBeSavedIsNotReportedAsSaved()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        click(window, "Command67");
        typeInto(window, "Text31", QStringLiteral("Lost?"));
        auto theme = folder.view(QStringLiteral("Theme"));
        QVERIFY(theme->removeCurrent()); // the row vanished under the form
        click(window, "Command64");
        QVERIFY(folder.prompts.notices().isEmpty());
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message),
                 QStringList{QStringLiteral("تغييرات ذخيره نشد")});
        QCOMPARE(folder.prompts.shown.constLast().title, QStringLiteral("خطا"));
        QVERIFY(child(window, "Frame9")->isVisible());
        QCOMPARE(child<QLineEdit>(window, "Text31")->text(), QStringLiteral("Lost?"));
    }

    void choosingAPictureWritesItLosslesslyAsTheLogoFile()
    {
        TestProgramFolder folder;
        const QImage picture = patternPicture();
        const QString source = folder.filePath(QStringLiteral("clinic-logo.png"));
        QVERIFY(picture.save(source, "PNG"));
        folder.prompts.fileAnswers.enqueue(source);

        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        click(window, "Command65");

        QVERIFY(child(window, "Frame8")->isVisible());
        const QImage stored = readByContent(folder.filePath(QStringLiteral("VMpic.jpg")));
        QCOMPARE(stored.convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(window.clinicTexts().logo.convertToFormat(QImage::Format_RGB32), picture);

        auto* box = child<QLabel>(window, "Picture2");
        QCOMPARE(box->pixmap().size(), box->contentsRect().size()); // stretched over the whole box

        QCOMPARE(folder.prompts.shown.size(), 2);
        QCOMPARE(folder.prompts.shown.at(0).kind, FakePrompts::Kind::OpenFile);
        const FakePrompts::Shown& box2 = folder.prompts.shown.at(1);
        QCOMPARE(box2.kind, FakePrompts::Kind::Message);
        QCOMPARE(box2.title, QStringLiteral("توجه"));
        QCOMPARE(box2.text, kLogoSaved);
        QCOMPARE(box2.icon, Prompts::Icon::Information);
    }

    void aJpegIsReadByContentAndShownAfterTheWindowBecomesActiveAgain()
    {
        TestProgramFolder folder;
        const QString source = folder.filePath(QStringLiteral("photo.gif")); // the name lies
        QVERIFY(patternPicture().scaled(120, 60).save(source, "JPEG"));
        folder.prompts.fileAnswers.enqueue(source);
        {
            Frm1 window(folder.context());
            window.show();
            click(window, "Command9");
            click(window, "Command65");
        }
        QCOMPARE(QImageReader(folder.filePath(QStringLiteral("VMpic.jpg"))).format(), QByteArray("png"));
        Frm1 fresh(folder.context());
        fresh.show();
        QCOMPARE(fresh.clinicTexts().logo.size(), QSize(120, 60));
        QVERIFY(!child<QLabel>(fresh, "Picture2")->pixmap().isNull());
    }

    void aWindowsBitmapInTheLogoFileLoads()
    {
        TestProgramFolder folder;
        QVERIFY(QFile::copy(qEnvironmentVariable("VELMORA_SOURCE_DIR") +
                                QStringLiteral("/tests/data/windows-bitmap-logo.bmp"),
                            folder.filePath(QStringLiteral("VMpic.jpg"))));
        Frm1 window(folder.context());
        window.show();
        const QImage logo = window.clinicTexts().logo;
        QCOMPARE(logo.size(), QSize(16, 8));
        QCOMPARE(logo.pixel(2, 2), qRgb(10, 120, 220));
        QCOMPARE(logo.pixel(12, 2), qRgb(200, 30, 40));
        QVERIFY(!child<QLabel>(window, "Picture2")->pixmap().isNull());
    }

    void cancellingOrANonPictureKeepsTheLogoUnlessOneWasChosenBefore()
    {
        TestProgramFolder folder;
        QVERIFY(patternPicture().save(folder.filePath(QStringLiteral("VMpic.jpg")), "BMP"));
        const QByteArray before = fileBytes(folder.filePath(QStringLiteral("VMpic.jpg")));
        const QString notAPicture = folder.filePath(QStringLiteral("notes.jpg"));
        {
            QFile file(notAPicture);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("these are clinic notes, not a picture");
        }
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");

        // Cancelled right after start, then a file that is not a picture: nothing written, nothing said.
        click(window, "Command65");
        folder.prompts.fileAnswers.enqueue(notAPicture);
        click(window, "Command65");
        QCOMPARE(fileBytes(folder.filePath(QStringLiteral("VMpic.jpg"))), before);
        QCOMPARE(folder.prompts.shown.size(), 2); // the two dialogs themselves
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::OpenFile).size(), 2);
        QVERIFY(!child<QLabel>(window, "Picture2")->pixmap().isNull());

        // After a picture was chosen, a later non-picture writes that picture again.
        const QImage chosen = patternPicture().mirrored();
        const QString picture = folder.filePath(QStringLiteral("chosen.png"));
        QVERIFY(chosen.save(picture, "PNG"));
        folder.prompts.fileAnswers.enqueue(picture);
        click(window, "Command65");
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("VMpic.jpg"))));
        folder.prompts.clear();
        folder.prompts.fileAnswers.enqueue(notAPicture);
        click(window, "Command65");
        QCOMPARE(
            readByContent(folder.filePath(QStringLiteral("VMpic.jpg"))).convertToFormat(QImage::Format_RGB32),
            chosen);
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message), QStringList{kLogoSaved});
    }

    void aLogoThatCouldNotBeWrittenIsNotReportedAsSaved()
    {
        TestProgramFolder folder;
        // A folder in the way of the file makes every write fail, whoever runs the test.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("VMpic.jpg")));
        const QString source = folder.filePath(QStringLiteral("clinic-logo.png"));
        QVERIFY(patternPicture().save(source, "PNG"));
        folder.prompts.fileAnswers.enqueue(source);
        Frm1 window(folder.context());
        window.show();
        click(window, "Command9");
        click(window, "Command65");
        QCOMPARE(folder.prompts.texts(FakePrompts::Kind::Message),
                 QStringList{QStringLiteral("لوگو ذخيره نشد")});
        QCOMPARE(folder.prompts.shown.constLast().icon, Prompts::Icon::Exclamation);
        QVERIFY(window.clinicTexts().logo.isNull());
        QVERIFY(child<QLabel>(window, "Picture2")->pixmap().isNull());
    }
};

QTEST_MAIN(ClinicSettingsTest)
#include "ClinicSettingsTest.moc"
