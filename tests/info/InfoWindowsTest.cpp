#include "TestProgramFolder.h"
#include "app/AppNavigator.h"
#include "common/Twips.h"
#include "common/VendorLinks.h"
#include "datastore/Skins.h"
#include "info/About.h"
#include "info/Frmravansanji.h"
#include "info/InfoTexts.h"
#include "widgets/WindowSkin.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

class InfoWindowsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;

    template <typename T> static T* child(QWidget* window, const QString& name)
    {
        auto* widget = window->findChild<T*>(name);
        if (!widget)
            qWarning("no child %s", qPrintable(name));
        return widget;
    }
    static QColor textColour(QLabel* label)
    {
        label->ensurePolished();
        return label->palette().color(QPalette::WindowText);
    }
    // Closes the window by the keyboard and tells whether it went away.
    static bool escapeCloses(QDialog& window)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QTest::keyClick(&window, Qt::Key_Escape);
        return !window.isVisible() && window.result() == QDialog::Rejected;
    }

private slots:
    void initTestCase()
    {
        QApplication::setLayoutDirection(Qt::RightToLeft);
        // The typefaces the program stands in for the designed ones, so that sizes are measured true.
        QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
        QFont::insertSubstitution(QStringLiteral("B Titr"), QStringLiteral("Titr"));
    }
    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void aboutShowsItsTextsWithTheVendorsAddresses()
    {
        About about;
        QCOMPARE(about.windowTitle(), QStringLiteral("about"));
        QCOMPARE(child<QGroupBox>(&about, "Frame1")->title(), QStringLiteral("درباره"));
        QCOMPARE(about.pos(), twipsPoint(2340, 1200));

        const AboutAnimation& animation = about.animation();
        QCOMPARE(animation.aboutText(1), QStringLiteral("نام نرم افزار:"));
        for (int number = 2; number <= 8; ++number)
            QVERIFY2(!animation.aboutText(number).isEmpty(), qPrintable(QString::number(number)));
        QCOMPARE(animation.aboutText(9), QString());
        // The contact lines agree with the links of the main window.
        const QString contacts =
            QStringList{animation.aboutText(4), animation.aboutText(5), animation.aboutText(6),
                        animation.aboutText(7), animation.aboutText(8)}
                .join(u'\n');
        QVERIFY(contacts.contains(QUrl(VendorLinks::webSite).host()));
        QVERIFY(contacts.contains(QUrl(VendorLinks::shop).host()));
        QVERIFY(contacts.contains(VendorLinks::telegramHandle));
        QVERIFY(animation.aboutText(5).contains(QStringLiteral("@velmorasoft.ir")));

        for (int label = 0; label < 4; ++label) {
            auto* text = child<QLabel>(&about, QStringLiteral("Label%1").arg(label + 1));
            QCOMPARE(text->text(), animation.aboutText(label + 1));
            QCOMPARE(text->font().family(), QStringLiteral("B Nazanin"));
            QCOMPARE(text->font().pointSizeF(), 15.75);
            QVERIFY(text->font().bold());
            QCOMPARE(text->mapTo(&about, QPoint(0, 0)),
                     twipsPoint(AboutAnimation::kStartLefts.at(label), AboutAnimation::kStartTops.at(label)));
        }
        // Every about text fits the narrowest label whole, whichever label it comes to.
        auto* narrowest = child<QLabel>(&about, "Label1");
        const QFontMetrics metrics(narrowest->font());
        QVERIFY(metrics.height() <= narrowest->height());
        for (int number = 1; number <= 8; ++number)
            QVERIFY2(metrics.horizontalAdvance(animation.aboutText(number)) <= narrowest->width(),
                     qPrintable(QString::number(number)));

        auto* credit = child<QLineEdit>(&about, "Text1");
        QCOMPARE(credit->geometry().topLeft(), twipsPoint(2040, 6600));
        QCOMPARE(credit->width(), twipsToPixels(4095));
        QCOMPARE(credit->text(), AboutAnimation::spreadCredit(InfoTexts::creditLine));
        QCOMPARE(credit->accessibleName(), InfoTexts::creditLine);
    }

    void aboutLabelsFollowTheScrollAndColourTicks()
    {
        // Opened over a skinned window, whose style sheet would otherwise set the labels' colour.
        QWidget mainWindow;
        Skins::apply(&mainWindow, m_folder->path(), QStringLiteral("38"));
        About about(&mainWindow, [] { return 0.5; });
        auto* first = child<QLabel>(&about, "Label1");
        auto* third = child<QLabel>(&about, "Label3");
        const int startY = first->mapTo(&about, QPoint(0, 0)).y();
        for (int tick = 0; tick < 30; ++tick)
            about.scrollTick();
        // 30 ticks of 15 twips: 30 pixels up.
        QCOMPARE(first->mapTo(&about, QPoint(0, 0)).y(), startY - 30);
        for (int tick = 30; tick < 63; ++tick)
            about.scrollTick();
        QCOMPARE(first->text(), about.animation().aboutText(5));
        QCOMPARE(first->mapTo(&about, QPoint(0, 0)).y(),
                 twipsToPixels(about.height() * kTwipsPerPixel - 1500 - 15));

        about.colourTick();
        QCOMPARE(textColour(first), QColor(0, 0, 0));
        QCOMPARE(textColour(third), QColor(128, 128, 128));
        about.colourTick();
        QCOMPARE(textColour(first), QColor(0, 128, 0));
    }

    void aboutTimersRunWhileShownAndTheCreditTimerStopsWhenTheLineIsDone()
    {
        About about;
        auto* scroll = child<QTimer>(&about, "Timer10");
        auto* colours = child<QTimer>(&about, "Timer1");
        auto* credit = child<QTimer>(&about, "Timer3");
        QCOMPARE(scroll->interval(), 55);
        QCOMPARE(colours->interval(), 700);
        QCOMPARE(credit->interval(), 1);
        QVERIFY(!credit->isActive());

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(scroll->isActive() && colours->isActive() && credit->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!credit->isActive(), 5000);
        QCOMPARE(child<QLineEdit>(&about, "Text1")->text(), InfoTexts::creditLine);
        QVERIFY(scroll->isActive() && colours->isActive());

        QVERIFY(escapeCloses(about));
        QVERIFY(!scroll->isActive() && !colours->isActive());
    }

    void aboutClosesWithItsExitButton()
    {
        About about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* exit = child<QPushButton>(&about, "Command1");
        QCOMPARE(exit->text(), QStringLiteral("خروج"));
        QTest::mouseClick(exit, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void introductionShowsTitleAndTheFiveNeedsInTheCurrentSkin()
    {
        QVERIFY(Skins::writeCurrentNumber(m_folder->path(), QStringLiteral("7")));
        Frmravansanji introduction(m_folder->context());
        QCOMPARE(introduction.windowTitle(), QStringLiteral("معرفي پرسشنامه"));
        QCOMPARE(introduction.pos(), twipsPoint(2085, 745));
        QCOMPARE(introduction.property("skinNumber").toInt(), 7);
        QCOMPARE(child<QLabel>(&introduction, "SkinLabel2")->text(), InfoTexts::questionnaireTitle);

        const QStringList paragraphs =
            child<QLabel>(&introduction, "SkinLabel1")->text().split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), 6);
        QCOMPARE(paragraphs.first(), InfoTexts::introductionParagraph);
        QCOMPARE(paragraphs.at(1),
                 QStringLiteral("نياز به بقا: ميزان احتياط در کارها، اجتناب از خطر و هوشياري نسبت به "
                                "آن، اهميت مسائل مالي، اهميت احساس ايمني و امنيت خاطر ميزان نياز جنسي"));
        QVERIFY(paragraphs.at(2).startsWith(QStringLiteral("احساس تعلق: ")));
        QVERIFY(paragraphs.at(3).startsWith(QStringLiteral("قدرت و خودشکوفايي: ")));
        QVERIFY(paragraphs.at(4).startsWith(QStringLiteral("آزادي: ")));
        QCOMPARE(paragraphs.at(5),
                 QStringLiteral("تفريح: خنده، يادگيري، تنوع طلبي، پرداختن به تفريحات دلخواه، سرگرمي "
                                "داشتن، بازي کردن، شوخ طبع بودن شادي"));
    }

    void introductionBodyScrollsWhenItDoesNotFit()
    {
        Frmravansanji introduction(m_folder->context());
        introduction.show();
        QVERIFY(QTest::qWaitForWindowExposed(&introduction));
        auto* area = child<QScrollArea>(&introduction, "BodyArea");
        auto* body = child<QLabel>(&introduction, "SkinLabel1");
        // Every word wraps inside the window: nothing runs off to the side.
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
        QVERIFY(body->width() <= area->viewport()->width());
        // A much larger text than fits must be reachable with the scroll bar.
        body->setText(QStringList(20, Frmravansanji::bodyText()).join(QStringLiteral("\n\n")));
        QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
        QVERIFY(escapeCloses(introduction));
    }

    void mainWindowCommandsOpenBothWindowsModallyOverTheMainWindow()
    {
        AppNavigator navigator(m_folder->context());
        navigator.start();
        QVERIFY(QTest::qWaitForWindowExposed(navigator.mainWindow()));

        const QList<std::pair<const char*, QString>> commands = {
            {"Command12", QStringLiteral("About")}, {"Command11", QStringLiteral("Frmravansanji")}};
        for (const auto& [command, window] : commands) {
            QString opened;
            QWidget* parent = nullptr;
            bool modal = false;
            QTimer::singleShot(0, [&] {
                QWidget* active = QApplication::activeModalWidget();
                if (!active)
                    return;
                opened = active->objectName();
                parent = active->parentWidget();
                modal = active->isModal();
                QTest::keyClick(active, Qt::Key_Escape);
            });
            QTest::mouseClick(child<QPushButton>(navigator.mainWindow(), command), Qt::LeftButton);
            QCOMPARE(opened, window);
            QCOMPARE(parent, navigator.mainWindow());
            QVERIFY(modal);
        }
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "InfoWindowsTest.moc"
