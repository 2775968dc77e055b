#include "datastore/Skins.h"
#include "TestProgramFolder.h"
#include "widgets/ThemeChooserPanel.h"
#include "widgets/WindowSkin.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double luminance(const QColor& c)
{
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class SkinsTest : public QObject
{
    Q_OBJECT
private slots:
    void numberFieldIsReadLikeAFileField_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("number");
        QTest::newRow("number and CR LF") << QByteArray("7\r\n") << "7";
        QTest::newRow("leading blanks") << QByteArray("   12\r\n") << "12";
        QTest::newRow("comma ends the field") << QByteArray("9,3\r\n") << "9";
        QTest::newRow("quotes removed") << QByteArray("\"15\"\r\n") << "15";
        QTest::newRow("first line only") << QByteArray("4\r\n5\r\n") << "4";
        QTest::newRow("carriage return alone ends the line") << QByteArray("7\r5\r\n") << "7";
        QTest::newRow("byte order mark skipped") << QByteArray("\xEF\xBB\xBF"
                                                               "12\r\n")
                                                 << "12";
        QTest::newRow("no line end") << QByteArray("30") << "30";
        QTest::newRow("empty file") << QByteArray() << "";
    }
    void numberFieldIsReadLikeAFileField()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, number);
        TestProgramFolder folder(false);
        writeFile(Skins::numberFilePath(folder.path()), content);
        QCOMPARE(Skins::readCurrentNumber(folder.path()), number);
    }

    void everyWindowGetsTheSkinOfTheNumberFile()
    {
        TestProgramFolder folder(false);
        writeFile(Skins::numberFilePath(folder.path()), "7\r\n");
        QWidget window;
        QCOMPARE(Skins::applyCurrent(&window, folder.context()), QStringLiteral("7"));
        QCOMPARE(window.property("skinNumber").toInt(), 7);
        QCOMPARE(window.styleSheet().toUtf8(),
                 readFile(Skins::skinFilePath(folder.path(), QStringLiteral("7"))));
    }

    // An installed copy: the skins are the shared folder's, the choice is kept in the user's data
    // folder, and a skin the shared folder lacks falls back as a missing one does.
    void skinsComeFromTheSharedFolderAndTheChoiceStaysWithTheData()
    {
        TestProgramFolder shared(false);
        QTemporaryDir data;
        AppContext context = shared.context();
        context.dataFolder = data.path();
        QWidget mainWindow;
        ThemeChooserPanel chooser(context, &mainWindow, &mainWindow);
        chooser.open(QStringLiteral("7"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 7);
        QCOMPARE(mainWindow.styleSheet().toUtf8(),
                 readFile(Skins::skinFilePath(shared.path(), QStringLiteral("7"))));
        QCOMPARE(readFile(Skins::numberFilePath(data.path())), QByteArray("7\r\n"));
        QVERIFY(!QFile::exists(Skins::numberFilePath(shared.path())));
        QVERIFY(shared.prompts.shown.isEmpty());

        QWidget window;
        QCOMPARE(Skins::applyCurrent(&window, context), QStringLiteral("7"));
        QCOMPARE(window.property("skinNumber").toInt(), 7);
        QVERIFY(QFile::remove(Skins::skinFilePath(shared.path(), QStringLiteral("7"))));
        Skins::applyCurrent(&window, context);
        QCOMPARE(window.property("skinNumber").toInt(), 1);
        QCOMPARE(window.styleSheet().toUtf8(),
                 readFile(Skins::skinFilePath(shared.path(), QStringLiteral("1"))));
    }

    void unusableNumbersAndFilesFallBackToSkinOne_data()
    {
        QTest::addColumn<QByteArray>("numberFile"); // empty: no skin.txt
        QTest::addColumn<bool>("removeSkinFile");
        QTest::addColumn<QByteArray>("skinFile20"); // empty: the shipped one
        QTest::newRow("no skin.txt") << QByteArray() << false << QByteArray();
        QTest::newRow("leading zero") << QByteArray("07\r\n") << false << QByteArray();
        QTest::newRow("above 48") << QByteArray("49\r\n") << false << QByteArray();
        QTest::newRow("zero") << QByteArray("0\r\n") << false << QByteArray();
        QTest::newRow("letters") << QByteArray("abc\r\n") << false << QByteArray();
        QTest::newRow("path characters") << QByteArray("../../etc/passwd\r\n") << false << QByteArray();
        QTest::newRow("skin file missing") << QByteArray("20\r\n") << true << QByteArray();
        // Skin files that would style nothing count as missing.
        QTest::newRow("blanks only") << QByteArray("20\r\n") << false << QByteArray(" \r\n\t\r\n");
        QTest::newRow("a picture") << QByteArray("20\r\n") << false
                                   << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
        QTest::newRow("not UTF-8") << QByteArray("20\r\n") << false
                                   << QByteArray("QWidget { color: #\xff\xfe"
                                                 "0000; }");
        QTest::newRow("cut off in a rule")
            << QByteArray("20\r\n") << false << QByteArray("QWidget { background-color: #eaf0f5;");
        QTest::newRow("comment only")
            << QByteArray("20\r\n") << false << QByteArray("/* QWidget { color: red; } */");
    }
    void unusableNumbersAndFilesFallBackToSkinOne()
    {
        QFETCH(QByteArray, numberFile);
        QFETCH(bool, removeSkinFile);
        QFETCH(QByteArray, skinFile20);
        TestProgramFolder folder(false);
        if (!numberFile.isEmpty())
            writeFile(Skins::numberFilePath(folder.path()), numberFile);
        if (removeSkinFile)
            QVERIFY(QFile::remove(Skins::skinFilePath(folder.path(), QStringLiteral("20"))));
        if (!skinFile20.isEmpty())
            writeFile(Skins::skinFilePath(folder.path(), QStringLiteral("20")), skinFile20);
        QWidget window;
        Skins::applyCurrent(&window, folder.context());
        QCOMPARE(window.property("skinNumber").toInt(), 1);
        QCOMPARE(window.styleSheet().toUtf8(),
                 readFile(Skins::skinFilePath(folder.path(), QStringLiteral("1"))));
    }

    void builtInSkinOneStandsInWhenTheSkinFolderIsGone()
    {
        TestProgramFolder folder(false);
        QVERIFY(QDir(Skins::skinFolder(folder.path())).removeRecursively());
        QWidget window;
        Skins::applyCurrent(&window, folder.context());
        QVERIFY(window.styleSheet().contains(QStringLiteral("QPushButton")));
    }

    void fortyEightReadableAndDistinctSkinsAreShipped()
    {
        const QString source =
            qEnvironmentVariable("VELMORA_SKIN_DIR", QStringLiteral(VELMORA_SHIPPED_SKINS));
        static const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^}]*)\\}"));
        static const QRegularExpression background(
            QStringLiteral("(?:^|;)\\s*background-color:\\s*(#[0-9a-fA-F]{6})"));
        static const QRegularExpression foreground(QStringLiteral("(?:^|;)\\s*color:\\s*(#[0-9a-fA-F]{6})"));
        QSet<QByteArray> seen;
        for (int n = 1; n <= 48; ++n) {
            const QByteArray content = readFile(QDir(source).filePath(QStringLiteral("%1.skn").arg(n)));
            QVERIFY2(!content.isEmpty(), qPrintable(QString::number(n)));
            seen.insert(content.mid(content.indexOf('\n')));
            int pairs = 0;
            auto rules = rule.globalMatch(QString::fromUtf8(content));
            while (rules.hasNext()) {
                const auto match = rules.next();
                const auto bg = background.match(match.captured(2));
                const auto fg = foreground.match(match.captured(2));
                if (!bg.hasMatch() || !fg.hasMatch())
                    continue;
                ++pairs;
                const double ratio = contrast(QColor(bg.captured(1)), QColor(fg.captured(1)));
                QVERIFY2(
                    ratio >= 4.5,
                    qPrintable(QStringLiteral("skin %1, %2: %3").arg(n).arg(match.captured(1)).arg(ratio)));
            }
            QVERIFY(pairs >= 5);
            // Scroll bars follow the skin, arrows included, so that no grey bar stands in a
            // coloured window.
            static const QRegularExpression arrowImage(QStringLiteral("image: url\\((:[^)]+)\\)"));
            QVERIFY(content.contains("QScrollBar::handle"));
            auto arrows = arrowImage.globalMatch(QString::fromUtf8(content));
            int arrowCount = 0;
            for (; arrows.hasNext(); ++arrowCount) {
                const QString image = arrows.next().captured(1);
                QVERIFY2(!QImage(image).isNull(), qPrintable(image));
            }
            QCOMPARE(arrowCount, 4);
        }
        QCOMPARE(seen.size(), 48);
    }

    void themeChooserKeepsTheNumberWithinRangeAndSavesIt()
    {
        TestProgramFolder folder(false);
        QWidget mainWindow;
        ThemeChooserPanel chooser(folder.context(), &mainWindow, &mainWindow);
        auto* box = chooser.findChild<QLineEdit*>(QStringLiteral("Txtthema"));
        QVERIFY(box);
        chooser.open(QStringLiteral("5"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 5);
        QCOMPARE(readFile(Skins::numberFilePath(folder.path())), QByteArray("5\r\n"));

        // Emptying the box turns it into 1; then typing 2 gives 12.
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 1);
        box->end(false);
        QTest::keyClicks(box, QStringLiteral("2"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 12);
        QCOMPARE(readFile(Skins::numberFilePath(folder.path())), QByteArray("12\r\n"));

        // 4 then 9 is above 48.
        box->clear();
        box->setText(QStringLiteral("4"));
        box->end(false);
        QTest::keyClicks(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("48"));
        QCOMPARE(readFile(Skins::numberFilePath(folder.path())), QByteArray("48\r\n"));

        auto* next = chooser.findChild<QPushButton*>(QStringLiteral("Comdtnext"));
        auto* back = chooser.findChild<QPushButton*>(QStringLiteral("Comdtback"));
        next->click();
        QCOMPARE(box->text(), QStringLiteral("48"));
        back->click();
        QCOMPARE(box->text(), QStringLiteral("47"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 47);
        box->setText(QStringLiteral("1"));
        back->click();
        QCOMPARE(box->text(), QStringLiteral("1"));
    }

    // The chosen skin shows at once; a choice that could not be kept says so rather than being
    // lost at the next start.
    void aSkinChoiceThatCannotBeKeptIsSaidSo()
    {
        TestProgramFolder folder(false);
        QVERIFY(QDir().mkpath(Skins::numberFilePath(folder.path()))); // a folder where the file goes
        QWidget mainWindow;
        ThemeChooserPanel chooser(folder.context(), &mainWindow, &mainWindow);
        chooser.open(QStringLiteral("7"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 7);
        QCOMPARE(folder.prompts.shown.size(), 1);
        QCOMPARE(folder.prompts.shown[0].title, QStringLiteral("خطا"));
        QVERIFY(folder.prompts.shown[0].text.startsWith(QStringLiteral("شماره پوسته انتخاب شده ذخيره نشد\n") +
                                                        Skins::numberFilePath(folder.path())));
    }

    void themeChooserRefusesLettersWithBeepAndNotice()
    {
        TestProgramFolder folder(false);
        QWidget mainWindow;
        ThemeChooserPanel chooser(folder.context(), &mainWindow, &mainWindow);
        chooser.open(QStringLiteral("3"));
        auto* box = chooser.findChild<QLineEdit*>(QStringLiteral("Txtthema"));
        QTest::keyClicks(box, QStringLiteral("a"));
        QCOMPARE(box->text(), QStringLiteral("3"));
        QCOMPARE(folder.prompts.beeps, 1);
        QCOMPARE(folder.prompts.notices(), QStringList{QStringLiteral("شما بايد عدد وارد كنيد")});
        QCOMPARE(box->accessibleName(), QStringLiteral("شماره تم انتخاب شده"));
    }

    void leadingZeroInTheChooserFallsBackWithoutCrash()
    {
        TestProgramFolder folder(false);
        QWidget mainWindow;
        ThemeChooserPanel chooser(folder.context(), &mainWindow, &mainWindow);
        chooser.open(QStringLiteral("05"));
        QCOMPARE(mainWindow.property("skinNumber").toInt(), 1);
        QCOMPARE(readFile(Skins::numberFilePath(folder.path())), QByteArray("05\r\n"));
    }
};

QTEST_MAIN(SkinsTest)
#include "SkinsTest.moc"
