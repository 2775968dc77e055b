#include "../accounts/QuickHash.h"
#include "AuditRows.h"
#include "TestProgramFolder.h"
#include "accounts/AccountSession.h"
#include "accounts/AccountStore.h"
#include "accounts/AccountTexts.h"
#include "accounts/SignInDialog.h"
#include "app/AppNavigator.h"
#include "audit/AuditTexts.h"
#include "datastore/DataView.h"
#include "mainwindow/FrmCode.h"
#include "scoring/FrmkLID.h"
#include "testing/FrmTest.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

template <typename T> void whenModal(std::function<void(T*)> step, int triesLeft = 200)
{
    QTimer::singleShot(20, [step, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            step(dialog);
        else if (triesLeft > 0)
            whenModal<T>(step, triesLeft - 1);
    });
}

void signInAs(SignInDialog* dialog, const QString& name)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(name);
    dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(name + QStringLiteral("-pw"));
    dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
}

template <typename T> T* shownWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(window); found && found->isVisible())
            return found;
    }
    return nullptr;
}

} // namespace

class SignInFlowTest : public QObject
{
    Q_OBJECT

    void addAccounts(TestProgramFolder& folder)
    {
        for (const auto& [name, role] : {std::pair{QStringLiteral("boss"), Role::Administrator},
                                         std::pair{QStringLiteral("sara"), Role::Clinician},
                                         std::pair{QStringLiteral("desk"), Role::Reception}})
            QVERIFY(
                AccountStore::addAccount(folder.path(), name, quickHash(name + QStringLiteral("-pw")), role)
                    .ok);
    }

    QStringList offeredCommands(Frm1* main)
    {
        QStringList shown;
        for (const char* name :
             {"Command1", "Command2", "Command3", "Command4", "Command9", "Cmdupdate", "Cmdpasokh"}) {
            if (!main->findChild<QPushButton*>(QLatin1String(name))->isHidden())
                shown << QLatin1String(name);
        }
        return shown;
    }

private slots:
    void withoutAccountsTheProgramStartsAsBefore()
    {
        TestProgramFolder folder;
        AppNavigator navigator(folder.context());
        QVERIFY(navigator.signInAndStart());
        QVERIFY(!navigator.session());
        QVERIFY(navigator.mainWindow() && navigator.mainWindow()->isVisible());
        QVERIFY(!navigator.mainWindow()->findChild<QPushButton*>(QStringLiteral("lockCommand")));
        QCOMPARE(offeredCommands(navigator.mainWindow()).size(), 7);
    }

    // The trail keeps who signed in and that a sign-in failed, but never a name that is none: it
    // may be a password typed into the wrong box.
    void signInsAreRecordedButNeverWhatWasTypedForAName()
    {
        TestProgramFolder folder;
        addAccounts(folder);
        AppNavigator navigator(folder.context());
        whenModal<SignInDialog>([](SignInDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(QStringLiteral("sara-pw"));
            dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
            QTRY_VERIFY(!dialog->isChecking());
            dialog->findChild<QLineEdit*>(QStringLiteral("userName"))->setText(QStringLiteral(" sara "));
            dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("wrong"));
            dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
            QTRY_VERIFY(!dialog->isChecking());
            signInAs(dialog, QStringLiteral("sara"));
        });
        QVERIFY(navigator.signInAndStart());
        QCOMPARE(auditRows(folder.path()),
                 (QStringList{QStringLiteral("sign-in-failed||") + AuditTexts::unknownUserName + u'|',
                              QStringLiteral("sign-in-failed||sara|"), QStringLiteral("sign-in|||sara")}));
    }

    // Each role is offered its own commands in the main window and the finder, and what is not
    // offered is refused when reached another way.
    void eachRoleIsOfferedAndRefusedItsCommands()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        addAccounts(folder);
        const QList<std::pair<QString, QStringList>> expected{
            {QStringLiteral("desk"), {QStringLiteral("Command1"), QStringLiteral("Command2")}},
            {QStringLiteral("sara"),
             {QStringLiteral("Command1"), QStringLiteral("Command2"), QStringLiteral("Command3"),
              QStringLiteral("Command4"), QStringLiteral("Cmdpasokh")}},
            {QStringLiteral("boss"),
             {QStringLiteral("Command1"), QStringLiteral("Command2"), QStringLiteral("Command3"),
              QStringLiteral("Command4"), QStringLiteral("Command9"), QStringLiteral("Cmdupdate"),
              QStringLiteral("Cmdpasokh")}}};
        for (const auto& [user, commands] : expected) {
            AppNavigator navigator(folder.context());
            whenModal<SignInDialog>([user = user](SignInDialog* dialog) { signInAs(dialog, user); });
            QVERIFY(navigator.signInAndStart());
            QVERIFY(navigator.session());
            QCOMPARE(navigator.session()->userName(), user);
            Frm1* main = navigator.mainWindow();
            QVERIFY(main && main->isVisible());
            QCOMPARE(offeredCommands(main), commands);
            QVERIFY(main->findChild<QPushButton*>(QStringLiteral("lockCommand")));

            folder.prompts.shown.clear();
            navigator.openScoring();
            const bool scoring = shownWindow<FrmkLID>();
            QCOMPARE(scoring, user != QStringLiteral("desk"));
            if (auto* window = shownWindow<FrmkLID>())
                window->hide();
            // The print preview and the export would open for those allowed; only refusals are tried.
            if (user == QStringLiteral("desk")) {
                navigator.printSubjectList(SubjectSelection{}, false);
                navigator.exportSubjects(SubjectSelection{});
                navigator.showNeedsChart(NeedsChartInput{});
            }
            if (user != QStringLiteral("boss"))
                navigator.openBackupAndRestore();
            const auto refusals =
                std::count_if(folder.prompts.shown.cbegin(), folder.prompts.shown.cend(),
                              [](const FakePrompts::Shown& s) { return s.text == AccountTexts::notAllowed; });
            QCOMPARE(int(refusals), user == QStringLiteral("desk")   ? 5
                                    : user == QStringLiteral("sara") ? 1
                                                                     : 0);

            if (user == QStringLiteral("desk")) {
                QVERIFY(!navigator.openSubjectFinder());
                continue;
            }
            // The finder: deletion for the administrator only.
            QVERIFY(navigator.openSubjectFinder());
            FrmCode* finder = shownWindow<FrmCode>();
            QVERIFY(finder);
            QCOMPARE(finder->findChild<QWidget*>(QStringLiteral("Frame1"))->isHidden(),
                     user != QStringLiteral("boss"));
            QVERIFY(!finder->findChild<QWidget*>(QStringLiteral("CmdExport"))->isHidden());
            finder->hide();
        }
    }

    // The locked test refuses every way out but a clinician's password before its last item; a
    // program started again while it ran opens at a clinician's sign-in, never the main window.
    void theLockedTestRefusesLeavingAndARestartOpensAtTheSignIn()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("7"));
        addAccounts(folder);
        AccountSession session(folder.context(), folder.clock);
        session.signedIn(*AccountStore::find(folder.path(), QStringLiteral("desk")));

        FrmTest test(folder.context());
        QVERIFY(test.prepareForCode(QStringLiteral("7")));
        int asked = 0;
        bool confirm = false;
        test.setLocked([&](QWidget*) {
            ++asked;
            return confirm;
        });
        test.show();
        QVERIFY(test.windowState() & Qt::WindowFullScreen);
        QVERIFY(test.windowFlags() & Qt::FramelessWindowHint);
        test.findChild<QPushButton*>(QStringLiteral("Command1"))->click(); // start
        QVERIFY(!test.findChild<QWidget*>(QStringLiteral("SkinLbl5"))->isHidden());
        QVERIFY(test.findChild<QWidget*>(QStringLiteral("Frame1"))->isHidden()); // no subject details
        test.findChild<QWidget*>(QStringLiteral("Option1"))->setProperty("checked", true);

        QCloseEvent close;
        QApplication::sendEvent(&test, &close);
        QVERIFY(!close.isAccepted());
        test.close();
        QTest::keyClick(&test, Qt::Key_Escape);
        QTest::keyClick(&test, Qt::Key_F4, Qt::AltModifier);
        QTest::keyClick(test.findChild<QWidget*>(QStringLiteral("CmdNext")), Qt::Key_Escape);
        test.reject();
        QVERIFY(test.isVisible());
        QCOMPARE(asked, 0);
        // Leaving early asks for the password; without it the test goes on, with it the window ends.
        test.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
        QCOMPARE(asked, 1);
        QVERIFY(test.isVisible());
        // The first answer was stored on the way.
        QCOMPARE(folder.view(QStringLiteral("Answer"))->field(QStringLiteral("1")), QStringLiteral("5"));
        confirm = true;
        test.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
        QCOMPARE(asked, 2);
        QVERIFY(!test.isVisible());

        // The program ended during a locked test: reception cannot open it, a clinician can, and the
        // mark is gone afterwards.
        QVERIFY(AccountStore::setLockedTest(folder.path(), QStringLiteral("7")).ok);
        AppNavigator navigator(folder.context());
        bool mainWindowBefore = true;
        QString heading;
        QString refusal;
        whenModal<SignInDialog>([&](SignInDialog* dialog) {
            mainWindowBefore = shownWindow<Frm1>() != nullptr;
            heading = dialog->findChild<QLabel*>(QStringLiteral("SkinLabel1"))->text();
            signInAs(dialog, QStringLiteral("desk"));
            QTRY_VERIFY(!dialog->isChecking());
            refusal = dialog->findChild<QLabel*>(QStringLiteral("status"))->text();
            signInAs(dialog, QStringLiteral("sara"));
        });
        QVERIFY(navigator.signInAndStart());
        QVERIFY(!mainWindowBefore);
        QCOMPARE(heading, AccountTexts::interruptedTestHeading);
        QCOMPARE(refusal, AccountTexts::notClinician);
        QCOMPARE(navigator.session()->userName(), QStringLiteral("sara"));
        QVERIFY(AccountStore::lockedTest(folder.path()).isEmpty());

        // Leaving the sign-in instead ends the program before any window.
        AppNavigator second(folder.context());
        whenModal<SignInDialog>(
            [](SignInDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click(); });
        QVERIFY(!second.signInAndStart());
        QVERIFY(!second.mainWindow());
    }
};

QTEST_MAIN(SignInFlowTest)
#include "SignInFlowTest.moc"
