#include "mainwindow/Frm1.h"
#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "datastore/ServerSettings.h"
#include "datastore/Skins.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct CommandCaption
{
    const char* name;
    const char* caption;
};

const CommandCaption kCommands[] = {
    {"Command1", "ثبت نام آزمودني"},  {"Command2", "اجراي تست"},  {"Command3", "کليد گذاري"},
    {"Command4", "نمايش کد آزمودني"}, {"Command5", "ماشين حساب"}, {"Command6", "خروج"},
    {"Command11", "معرفي پرسشنامه"},  {"Command9", "تنظيمات"},    {"Command12", "درباره ما"},
    {"Cmdupdate", "بروز رساني"},      {"Cmdpasokh", "پاسخنامه"},
};

} // namespace

class Frm1Test : public QObject
{
    Q_OBJECT

    static QPushButton* button(Frm1& window, const char* name)
    {
        auto* found = window.findChild<QPushButton*>(QLatin1String(name));
        if (!found)
            qFatal("no button %s", name);
        return found;
    }

    static void setTheme(TestProgramFolder& folder, const QHash<QString, QString>& fields)
    {
        auto theme = folder.view(QStringLiteral("Theme"));
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            theme->setField(it.key(), it.value());
        QVERIFY(theme->commit());
    }

private slots:
    void theBannerShowsThePictureBuiltIn()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        const QLabel* banner = window.findChild<QLabel*>(QStringLiteral("Picture1"));
        const QImage shown = banner->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), banner->size());
        QCOMPARE(shown, QImage(QStringLiteral(VELMORA_BANNER_PICTURE)).convertToFormat(QImage::Format_RGB32));
    }

    void aWriteBetweenMakingAndShowingTheWindowIsShown()
    {
        // The first show does not read the views again unless a file was written meanwhile.
        // The program builds its window before the data files are open, and reads them at the show.
        for (const Frm1::PanelTiming timing :
             {Frm1::PanelTiming::AtOnce, Frm1::PanelTiming::AfterFirstPicture}) {
            TestProgramFolder folder;
            Frm1 window(folder.context(), nullptr, timing);
            setTheme(folder, {{QStringLiteral("Name"), QStringLiteral("مرکز مشاوره آرامش")},
                              {QStringLiteral("T1"), QStringLiteral("تلفن ۱۲۳")}});
            window.show();
            QCOMPARE(window.findChild<QLabel*>(QStringLiteral("SkinLabel1"))->text(),
                     QStringLiteral("مرکز مشاوره آرامش"));
            QCOMPARE(window.contactLines(), QStringLiteral("تلفن ۱۲۳\r\n"));
            // The hidden fields, made with the panels, hold what was set before them.
            QTRY_VERIFY(window.findChild<QPlainTextEdit*>(QStringLiteral("Txtmosh")));
            QCOMPARE(window.findChild<QPlainTextEdit*>(QStringLiteral("Txtmosh"))->toPlainText(),
                     QStringLiteral("تلفن ۱۲۳\n"));
            QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text3"))->text(), QStringLiteral("2"));
        }
    }

    void panelsMadeAfterTheFirstPictureOpenAtOnceWhenNeededSooner()
    {
        TestProgramFolder folder;
        {
            Frm1 window(folder.context(), nullptr, Frm1::PanelTiming::AfterFirstPicture);
            QVERIFY(!window.findChild<QWidget*>(QStringLiteral("Frame10")));
            window.show();
            QTRY_VERIFY(window.findChild<QWidget*>(QStringLiteral("Frame10")));
            for (const char* panel : {"Frame10", "Frame8", "Frame9", "Frame6", "Frame1"})
                QVERIFY(window.findChild<QWidget*>(QLatin1String(panel))->isHidden());
            QVERIFY(window.findChild<QWidget*>(QStringLiteral("InformationArea"))->isVisible());
        }
        for (const char* command : {"Command1", "Command9"}) {
            Frm1 window(folder.context(), nullptr, Frm1::PanelTiming::AfterFirstPicture);
            window.show();
            button(window, command)->click(); // before any paint
            const char* panel = qstrcmp(command, "Command1") == 0 ? "Frame10" : "Frame8";
            QVERIFY(window.findChild<QWidget*>(QLatin1String(panel))->isVisible());
            QVERIFY(!window.findChild<QWidget*>(QStringLiteral("InformationArea"))->isVisible());
        }
    }

    void showsEveryCommandWithItsCaptionAndTheVersionLine()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        for (const CommandCaption& command : kCommands) {
            QPushButton* b = button(window, command.name);
            QCOMPARE(b->text(), QString::fromUtf8(command.caption));
            QCOMPARE(b->accessibleName(), QString::fromUtf8(command.caption));
        }
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("SkinLabel9"))->text(),
                 QStringLiteral("Velmora V: 2.2"));
        QCOMPARE(window.quietCloseFlag(), QStringLiteral("2"));
        for (const char* panel : {"Frame10", "Frame8", "Frame9", "Frame6", "Frame1"})
            QVERIFY(!window.findChild<QWidget*>(QLatin1String(panel))->isVisible());
        QCOMPARE(window.pos(), QPoint(139, 50));
    }

    void hintLineShowsTheButtonsHintAndHidesOverTheBackground()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        auto* hint = window.findChild<QLabel*>(QStringLiteral("SkinLabel2"));
        QVERIFY(!hint->isVisible());
        QTest::mouseMove(button(window, "Command3"));
        QEnterEvent enter({1, 1}, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(button(window, "Command3"), &enter);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral(" جهت کليد گذاري روي اين دکمه کليک مي کنيد"));
        // A move over a button reaches the command bar too (buttons do not track the mouse): the
        // hint of the button under the mouse stays.
        auto* bar = window.findChild<QWidget*>(QStringLiteral("Frame7"));
        const QPoint overButton = button(window, "Command3")->geometry().center();
        QMouseEvent move(QEvent::MouseMove, overButton, bar->mapToGlobal(overButton), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral(" جهت کليد گذاري روي اين دکمه کليک مي کنيد"));
        QTest::mouseMove(&window, QPoint(5, 5));
        QVERIFY(!hint->isVisible());
        QVERIFY(hint->text().isEmpty());
        QCOMPARE(button(window, "Command5")->property("hintText").toString(), QString());
    }

    void hintHidesOverTheBackgroundUnderTheBannerAndWhenAPanelOpens()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* hint = window.findChild<QLabel*>(QStringLiteral("SkinLabel2"));
        QEnterEvent enter({1, 1}, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(button(window, "Command9"), &enter);
        QVERIFY(hint->isVisible());
        // Below the link buttons lies the bare background of the area under the panels.
        QTest::mouseMove(&window, QPoint(20, window.height() - 10));
        QVERIFY(!hint->isVisible());

        // The window hides for the scoring window and comes back without the hint it left with.
        QCoreApplication::sendEvent(button(window, "Command3"), &enter);
        QVERIFY(hint->isVisible());
        window.hide();
        window.show();
        QVERIFY(!hint->isVisible());

        QCoreApplication::sendEvent(button(window, "Command9"), &enter);
        QVERIFY(hint->isVisible());
        button(window, "Command9")->click();
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("Frame8"))->isVisible());
        QVERIFY(!hint->isVisible());

        // With a panel open, hovering a command on the way into the panel shows no hint over it,
        // and a hint never takes a click meant for what lies beneath.
        QCoreApplication::sendEvent(button(window, "Command3"), &enter);
        QVERIFY(!hint->isVisible());
        QVERIFY(hint->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void keyboardVisitsTheCommandsRowByRow()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        const char* rows[] = {"Command1",  "Command2",  "Command3", "Command4",  "Command5", "Cmdpasokh",
                              "Command11", "Cmdupdate", "Command9", "Command12", "Command6"};
        for (std::size_t i = 1; i < std::size(rows); ++i)
            QCOMPARE(button(window, rows[i - 1])->nextInFocusChain(), button(window, rows[i]));
    }

    void longClinicNameIsSetSmallerToFitItsLine()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        auto* line = window.findChild<QLabel*>(QStringLiteral("SkinLabel1"));
        const int fullSize = line->font().pointSize();
        const QString longName =
            QStringLiteral("مرکز مشاوره و روان درماني خانواده و ازدواج آرامش انديشان شهر تهران");
        setTheme(folder, {{QStringLiteral("Name"), longName}});
        window.becameActive();
        QCOMPARE(line->text(), longName);
        QVERIFY(line->font().pointSize() < fullSize);
        QVERIFY(QFontMetrics(line->font()).horizontalAdvance(longName) <= line->contentsRect().width());
    }

    void withoutSubjectsTheSubjectCommandsDoNothing()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        for (const char* name : {"Command2", "Command3", "Command4"})
            button(window, name)->click();
        QVERIFY(folder.prompts.shown.isEmpty());
        QVERIFY(folder.navigator.calls.isEmpty());
        QVERIFY(window.isVisible());
    }

    void runTestAsksForTheCodeAndRefusesEmptyOrUnknownCodes()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("12"));
        Frm1 window(folder.context());
        window.show();

        button(window, "Command2")->click(); // cancelled dialog
        QCOMPARE(folder.prompts.shown.first().title, QStringLiteral("Enter Code "));
        QCOMPARE(folder.prompts.shown.first().text, QStringLiteral(" Plese Insert Code "));
        QCOMPARE(folder.prompts.lastNotice(), QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد"));

        for (const char* typed : {"13", " 12", "12'"}) {
            folder.prompts.textAnswers.enqueue(QString::fromUtf8(typed));
            button(window, "Command2")->click();
            QCOMPARE(folder.prompts.lastNotice(), QStringLiteral("فردي با اين مشخصات وجود ندارد"));
        }
        QVERIFY(folder.navigator.calls.isEmpty());

        folder.prompts.textAnswers.enqueue(QStringLiteral("12"));
        button(window, "Command2")->click();
        QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("runTest:12")});
    }

    void scoringAndFinderCommandsHandOverToTheirWindows()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        Frm1 window(folder.context());
        window.show();
        button(window, "Command3")->click();
        QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("openScoring")});

        folder.navigator.finderAvailable = false;
        button(window, "Command4")->click();
        QVERIFY(window.isVisible());
        QCOMPARE(window.quietCloseFlag(), QStringLiteral("2"));

        folder.navigator.finderAvailable = true;
        folder.navigator.calls.clear();
        button(window, "Command4")->click();
        QCOMPARE(window.quietCloseFlag(), QStringLiteral("1"));
        QVERIFY(!window.isVisible());
        // Closed quietly: no exit dialog.
        QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("openSubjectFinder")});
    }

    void closingOpensTheExitDialogUnlessTheQuietFlagIsSet()
    {
        TestProgramFolder folder;
        {
            Frm1 window(folder.context());
            window.show();
            window.close();
            QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("mainWindowClosing:1500")});
        }
        folder.navigator.calls.clear();
        {
            Frm1 window(folder.context());
            window.show();
            button(window, "Command6")->click();
            QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("mainWindowClosing:1500")});
            QVERIFY(!window.isVisible());
        }
        folder.navigator.calls.clear();
        {
            Frm1 window(folder.context());
            window.show();
            window.setQuietCloseFlag(QStringLiteral("1"));
            window.close();
            QVERIFY(folder.navigator.calls.isEmpty());
        }
        {
            Frm1 window(folder.context());
            window.show();
            window.setQuietCloseFlag(QStringLiteral("1"));
            button(window, "Command6")->click();
            QCOMPARE(folder.navigator.calls, QStringList{QStringLiteral("mainWindowClosing:4500")});
        }
    }

    void linksAndCalculatorGoToTheDesktop()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        button(window, "CmdHelp")->click();
        button(window, "Command14")->click();
        button(window, "Cmandkanal")->click();
        QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
        button(window, "Command5")->click();
        QCOMPARE(folder.desktop.openedUrls.size(), 5);
        QCOMPARE(folder.desktop.openedUrls.at(0).path(),
                 QStringLiteral("/software/psychological/velmora.html"));
        QCOMPARE(folder.desktop.openedUrls.at(1).path(), QStringLiteral("/Soft/soft-list2.pdf"));
        QCOMPARE(folder.desktop.openedUrls.at(0).host(), folder.desktop.openedUrls.at(3).host());
        QVERIFY(folder.desktop.openedUrls.at(3).host() != folder.desktop.openedUrls.at(4).host());
        QCOMPARE(folder.desktop.calculatorStarts, 1);
        QVERIFY(folder.prompts.shown.isEmpty());
    }

    void contactLinesHoldOnlyFilledProfileFieldsEachEndedByCrLf()
    {
        TestProgramFolder folder;
        setTheme(folder, {{QStringLiteral("T2"), QStringLiteral("@clinic")},
                          {QStringLiteral("T6"), QStringLiteral("021-123")}});
        Frm1 window(folder.context());
        window.show();
        QCOMPARE(window.contactLines(), QStringLiteral("@clinic\r\n021-123\r\n"));
        QCOMPARE(window.clinicTexts().contactLines, window.contactLines());

        setTheme(folder, {{QStringLiteral("T2"), QString()}, {QStringLiteral("T6"), QString()}});
        window.becameActive();
        QCOMPARE(window.contactLines(), QString());
    }

    void becomingActiveAgainReadsTheProfileAndLogoAfresh()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        QVERIFY(window.clinicTexts().logo.isNull());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("SkinLabel1"))->text(), QString());

        setTheme(folder, {{QStringLiteral("Name"), QStringLiteral("کلينيک آرامش")},
                          {QStringLiteral("Check1"), QStringLiteral("1")}});
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(folder.filePath(QStringLiteral("VMpic.jpg")), "BMP")); // a bitmap under a .jpg name
        window.becameActive();
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("SkinLabel1"))->text(),
                 QStringLiteral("کلينيک آرامش"));
        const ClinicTexts texts = window.clinicTexts();
        QCOMPARE(texts.logo.size(), QSize(40, 20));
        QVERIFY(texts.showLogo);
    }

    void brokenLogoFileGivesNoLogoAndNoMessage()
    {
        TestProgramFolder folder;
        QFile broken(folder.filePath(QStringLiteral("VMpic.jpg")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\xff\xd8\xff\xe0 this is not really a jpeg");
        broken.close();
        Frm1 window(folder.context());
        window.show();
        QVERIFY(window.clinicTexts().logo.isNull());
        QVERIFY(folder.prompts.shown.isEmpty());
    }

    void windowWearsTheSkinOfTheNumberFileAndTheChooserChangesIt()
    {
        TestProgramFolder folder;
        QVERIFY(Skins::writeCurrentNumber(folder.path(), QStringLiteral("9")));
        Frm1 window(folder.context());
        QCOMPARE(window.property("skinNumber").toInt(), 9);
        QCOMPARE(window.currentSkinNumber(), QStringLiteral("9"));
        window.show();
        window.openThemeChooser();
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("Frame6"))->isVisible());
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("Frame8"))->isVisible());
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("Txtthema"));
        QCOMPARE(box->text(), QStringLiteral("9"));
        box->setText(QStringLiteral("30"));
        QCOMPARE(window.property("skinNumber").toInt(), 30);
        QCOMPARE(window.currentSkinNumber(), QStringLiteral("30"));
        auto* information = window.findChild<QWidget*>(QStringLiteral("InformationArea"));
        QVERIFY(!information->isVisible()); // the banner and links give way to open panels
        window.closePanels();
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("Frame6"))->isVisible());
        QVERIFY(information->isVisible());
    }

    // The clinic server chosen in Server.ini could not be used at start, and the user chose this
    // computer's files: the window says so for the whole session, over open panels too.
    void sessionOnTheFilesInsteadOfTheServerIsShownThroughout()
    {
        TestProgramFolder folder;
        Frm1 window(folder.context());
        window.show();
        auto* notice = window.findChild<QLabel*>(QStringLiteral("folderFilesNotice"));
        QVERIFY(notice);
        QVERIFY(!notice->isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmora"));

        ServerSettings server;
        server.host = QStringLiteral("db.clinic.local");
        server.databaseName = QStringLiteral("velmora");
        server.userName = QStringLiteral("reception");
        server.inUse = false; // kept for later, not in use: the files are the clinic's choice
        QVERIFY(ServerSettingsFile::write(folder.path(), server));
        window.becameActive();
        QVERIFY(!notice->isVisible());

        server.inUse = true;
        QVERIFY(ServerSettingsFile::write(folder.path(), server));
        Frm1 next(folder.context());
        next.show();
        auto* shown = next.findChild<QLabel*>(QStringLiteral("folderFilesNotice"));
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->text(), QStringLiteral("اين اجرا با فايل هاي همين کامپيوتر است، نه با سرور کلينيک"));
        const QString whole = QStringLiteral("برنامه در اين اجرا با فايل هاي همين کامپيوتر کار مي کند، نه با "
                                             "سرور کلينيک. آنچه ثبت مي کنيد فقط روي همين کامپيوتر مي ماند.");
        QCOMPARE(shown->toolTip(), whole);
        QCOMPARE(shown->accessibleName(), whole);
        QVERIFY(next.windowTitle().contains(QStringLiteral("نه سرور کلينيک")));
        // Over none of the window's own controls, and never under a panel nor over one.
        for (QWidget* control : next.findChildren<QWidget*>()) {
            if (control != shown && control->isVisible() && !control->isWindow() &&
                (qobject_cast<QPushButton*>(control) || qobject_cast<QLabel*>(control))) {
                const QRect place(control->mapTo(&next, QPoint()), control->size());
                QVERIFY2(!place.intersects(shown->geometry()), qPrintable(control->objectName()));
            }
        }
        const auto besidePanels = [&] {
            QVERIFY(shown->isVisible());
            QCOMPARE(next.childAt(shown->geometry().center()), shown);
            for (QWidget* panel : next.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (panel != shown && panel->isVisible() && panel->objectName().startsWith(u"Frame"))
                    QVERIFY2(!panel->geometry().intersects(shown->geometry()),
                             qPrintable(panel->objectName()));
            }
        };
        for (const auto open : {&Frm1::showSettingsPanel, &Frm1::openClinicProfile, &Frm1::openThemeChooser,
                                &Frm1::openQuestionEditor}) {
            (next.*open)();
            next.becameActive();
            besidePanels();
            next.closePanels();
        }
        next.findChild<QPushButton*>(QStringLiteral("Command1"))->click(); // registration
        besidePanels();
        next.closePanels();

        // Back on the server (here: the files chosen for good), the notice goes.
        server.inUse = false;
        QVERIFY(ServerSettingsFile::write(folder.path(), server));
        next.becameActive();
        QVERIFY(!shown->isVisible());
        QCOMPARE(next.windowTitle(), QStringLiteral("Velmora"));
    }
};

QTEST_MAIN(Frm1Test)
#include "Frm1Test.moc"
