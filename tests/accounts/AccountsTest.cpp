#include "QuickHash.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "accounts/AccountSession.h"
#include "accounts/AccountStore.h"
#include "accounts/AccountTexts.h"
#include "accounts/LockGuard.h"
#include "accounts/PasswordHash.h"
#include "accounts/SignInDialog.h"
#include "datastore/ClinicServer.h"
#include "datastore/Database.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `step` on the modal dialog of type T once it is up (exec() runs the loop meanwhile).
template <typename T> void whenModal(std::function<void(T*)> step, int triesLeft = 200)
{
    QTimer::singleShot(20, [step, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            step(dialog);
        else if (triesLeft > 0)
            whenModal<T>(step, triesLeft - 1);
    });
}

void typeInto(QWidget* window, const char* name, const QString& text)
{
    auto* box = window->findChild<QLineEdit*>(QLatin1String(name));
    QVERIFY(box);
    box->clear();
    QTest::keyClicks(box, text);
}

} // namespace

class AccountsTest : public QObject
{
    Q_OBJECT

    // Every rule of the store, on whichever home the folder's connections have now.
    void checkStore(const QString& folder)
    {
        QCOMPARE(AccountStore::signInState(folder), AccountStore::SignInState::Off);
        QCOMPARE(AccountStore::lockMinutes(folder), AccountStore::kDefaultLockMinutes);

        const QString password = QStringLiteral("رمز-درست-۱۲۳");
        const QString hash = PasswordHash::make(password);
        QVERIFY(hash.startsWith(QLatin1String("$argon2id$")));
        QVERIFY(!PasswordHash::needsRenewal(hash));
        QVERIFY(AccountStore::addAccount(folder, QStringLiteral("مدیر"), hash, Role::Administrator).ok);
        QCOMPARE(AccountStore::signInState(folder), AccountStore::SignInState::On);
        // The name is taken, whatever its letter case; blanks around a name are no part of it.
        QVERIFY(!AccountStore::addAccount(folder, QStringLiteral("مدیر"), quickHash(QStringLiteral("x")),
                                          Role::Clinician)
                     .ok);
        QVERIFY(AccountStore::addAccount(folder, QStringLiteral("Sara"), quickHash(QStringLiteral("s")),
                                         Role::Clinician)
                    .ok);
        QVERIFY(!AccountStore::addAccount(folder, QStringLiteral("sara"), quickHash(QStringLiteral("s")),
                                          Role::Reception)
                     .ok);
        QVERIFY(!AccountStore::addAccount(folder, QStringLiteral(" x "), quickHash(QStringLiteral("s")),
                                          Role::Reception)
                     .ok);
        // A password is never stored as it is, only as an Argon2id hash.
        QVERIFY(!AccountStore::addAccount(folder, QStringLiteral("Reza"), password, Role::Reception).ok);

        const QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
        QSqlQuery raw(db);
        QVERIFY(raw.exec(QStringLiteral("SELECT \"Name\", \"Hash\", \"Role\" FROM \"Accounts\"")));
        int rows = 0;
        while (raw.next()) {
            ++rows;
            QVERIFY(raw.value(1).toString().startsWith(QLatin1String("$argon2id$")));
            QVERIFY(!raw.value(1).toString().contains(password));
        }
        QCOMPARE(rows, 2);

        const std::optional<Account> admin = AccountStore::find(folder, QStringLiteral("مدیر"));
        QVERIFY(admin);
        QVERIFY(PasswordHash::matches(admin->hash, password));
        QVERIFY(!PasswordHash::matches(admin->hash, QStringLiteral("رمز-درست-123")));
        QVERIFY(!PasswordHash::matches(QStringLiteral("not a hash"), password));

        // The last administrator keeps the role; with a second one, the first may give it up.
        QVERIFY(!AccountStore::setRole(folder, QStringLiteral("مدیر"), Role::Clinician).ok);
        QVERIFY(AccountStore::setRole(folder, QStringLiteral("Sara"), Role::Administrator).ok);
        QVERIFY(AccountStore::setRole(folder, QStringLiteral("مدیر"), Role::Reception).ok);
        QCOMPARE(AccountStore::find(folder, QStringLiteral("مدیر"))->role, Role::Reception);
        QVERIFY(!AccountStore::setRole(folder, QStringLiteral("nobody"), Role::Reception).ok);
        QVERIFY(AccountStore::setHash(folder, QStringLiteral("مدیر"), quickHash(QStringLiteral("new"))).ok);
        QVERIFY(PasswordHash::matches(AccountStore::find(folder, QStringLiteral("مدیر"))->hash,
                                      QStringLiteral("new")));
        QVERIFY(
            !AccountStore::setHash(folder, QStringLiteral("nobody"), quickHash(QStringLiteral("new"))).ok);

        QVERIFY(AccountStore::setLockMinutes(folder, 3).ok);
        QCOMPARE(AccountStore::lockMinutes(folder), 3);
        QVERIFY(!AccountStore::setLockMinutes(folder, 0).ok);
        QVERIFY(!AccountStore::setLockMinutes(folder, AccountStore::kLongestLockMinutes + 1).ok);
        QCOMPARE(AccountStore::lockMinutes(folder), 3);

        QVERIFY(AccountStore::lockedTest(folder).isEmpty());
        QVERIFY(AccountStore::setLockedTest(folder, QStringLiteral("17")).ok);
        QCOMPARE(AccountStore::lockedTest(folder), QStringLiteral("17"));
        QVERIFY(AccountStore::setLockedTest(folder, {}).ok);
        QVERIFY(AccountStore::lockedTest(folder).isEmpty());

        // The records' own tables are as they were.
        QCOMPARE(Database::tableNames(Database::File::Clinical),
                 (QStringList{QStringLiteral("IDE"), QStringLiteral("Answer"), QStringLiteral("QU")}));
    }

private slots:
    void theStoreKeepsHashesRolesAndSettingsOnBothEngines()
    {
        {
            TestProgramFolder folder;
            checkStore(folder.path());
        }
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        QVERIFY(ClinicServer::useServer(folder.path(), server.settings(), server.password()).ok);
        checkStore(folder.path());
    }

    void anOlderFileGainsTheAccountTablesEmpty()
    {
        TestProgramFolder folder;
        {
            QSqlQuery drop(Database::connection(folder.path(), Database::File::Clinical));
            QVERIFY(drop.exec(QStringLiteral("DROP TABLE \"Accounts\"")));
            QVERIFY(drop.exec(QStringLiteral("DROP TABLE \"AccountSettings\"")));
        }
        QCOMPARE(AccountStore::signInState(folder.path()), AccountStore::SignInState::Unknown);
        folder.closeDatabases();
        QVERIFY(folder.openDatabases());
        QCOMPARE(AccountStore::signInState(folder.path()), AccountStore::SignInState::Off);
    }

    void eachRoleMayUseItsCommandsOnly()
    {
        const QList<Command> all{
            Command::Register,         Command::RunTest,    Command::AnswerSheet, Command::Scoring,
            Command::Charts,           Command::Print,      Command::Export,      Command::SubjectFinder,
            Command::DeleteSubject,    Command::Settings,   Command::Accounts,    Command::ClinicServer,
            Command::BackupAndRestore, Command::AuditTrail, Command::Update,      Command::LeaveLockedTest};
        const QList<Command> clinician{Command::Register, Command::RunTest,       Command::AnswerSheet,
                                       Command::Scoring,  Command::Charts,        Command::Print,
                                       Command::Export,   Command::SubjectFinder, Command::LeaveLockedTest};
        const QList<Command> reception{Command::Register, Command::RunTest};
        for (Command command : all) {
            QVERIFY(roleAllows(Role::Administrator, command));
            QCOMPARE(roleAllows(Role::Clinician, command), clinician.contains(command));
            QCOMPARE(roleAllows(Role::Reception, command), reception.contains(command));
        }

        // Through a context: everything without a session, nothing before anyone signed in.
        TestProgramFolder folder;
        AppContext context = folder.context();
        QVERIFY(mayUse(context, Command::DeleteSubject));
        AccountSession session(folder.context(), folder.clock);
        context.session = &session;
        QVERIFY(!mayUse(context, Command::Register));
        session.signedIn({QStringLiteral("r"), {}, Role::Reception});
        QVERIFY(mayUse(context, Command::RunTest));
        QVERIFY(!mayUse(context, Command::Scoring));
        QCOMPARE(session.userName(), QStringLiteral("r"));
    }

    void wrongSignInsInARowWaitLongerEachTime()
    {
        FixedClock clock;
        SignInThrottle throttle(clock);
        for (int i = 0; i < SignInThrottle::kFreeTries - 1; ++i) {
            throttle.failed();
            QCOMPARE(throttle.secondsToWait(), 0);
        }
        throttle.failed();
        QCOMPARE(throttle.secondsToWait(), 30);
        clock.at = clock.at.addSecs(29);
        QCOMPARE(throttle.secondsToWait(), 1);
        clock.at = clock.at.addSecs(1);
        QCOMPARE(throttle.secondsToWait(), 0);
        throttle.failed();
        QCOMPARE(throttle.secondsToWait(), 60);
        clock.at = clock.at.addSecs(60);
        throttle.failed();
        QCOMPARE(throttle.secondsToWait(), 120);
        for (int i = 0; i < 20; ++i)
            throttle.failed();
        QCOMPARE(throttle.secondsToWait(), SignInThrottle::kLongestWaitSeconds);
        throttle.succeeded();
        QCOMPARE(throttle.secondsToWait(), 0);
        throttle.failed();
        QCOMPARE(throttle.secondsToWait(), 0);
    }

    // The window: a wrong password clears its box; the fifth in a row counts down in Persian with
    // the sign-in refused meanwhile; the right one signs in.
    void theSignInWindowRefusesWaitsAndSignsIn()
    {
        TestProgramFolder folder;
        QVERIFY(AccountStore::addAccount(folder.path(), QStringLiteral("sara"),
                                         quickHash(QStringLiteral("right")), Role::Clinician)
                    .ok);
        AccountSession session(folder.context(), folder.clock);
        SignInDialog dialog(session, SignInDialog::Purpose::SignIn);
        dialog.show();
        auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
        auto* signIn = dialog.findChild<QPushButton*>(QStringLiteral("signIn"));
        auto* status = dialog.findChild<QLabel*>(QStringLiteral("status"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label_password"))->buddy(), password);
        typeInto(&dialog, "userName", QStringLiteral("sara"));
        for (int i = 0; i < SignInThrottle::kFreeTries; ++i) {
            typeInto(&dialog, "password", QStringLiteral("wrong%1").arg(i));
            signIn->click();
            QTRY_VERIFY(!dialog.isChecking());
            QVERIFY(password->text().isEmpty());
            QVERIFY(!status->text().contains(QStringLiteral("wrong")));
        }
        QCOMPARE(status->text(), AccountTexts::waitSeconds(30));
        QVERIFY(!signIn->isEnabled());
        // Enter in the box is refused too while the wait lasts.
        typeInto(&dialog, "password", QStringLiteral("right"));
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(!dialog.isChecking());
        QVERIFY(!session.isSignedIn());
        folder.clock.at = folder.clock.at.addSecs(12);
        QTRY_COMPARE(status->text(), AccountTexts::waitSeconds(18));
        folder.clock.at = folder.clock.at.addSecs(18);
        QTRY_VERIFY(signIn->isEnabled());
        signIn->click();
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(session.isSignedIn());
        QCOMPARE(session.userName(), QStringLiteral("sara"));
        QCOMPARE(session.throttle().failuresInARow(), 0);
        QVERIFY(password->text().isEmpty());
    }

    // The lock covers every window and keeps what was typed; another user who is no administrator
    // cannot open it, the same user can.
    void theLockCoversTheWindowsAndKeepsWhatWasTyped()
    {
        TestProgramFolder folder;
        for (const auto& [name, role] : {std::pair{QStringLiteral("sara"), Role::Clinician},
                                         std::pair{QStringLiteral("reza"), Role::Clinician},
                                         std::pair{QStringLiteral("boss"), Role::Administrator}})
            QVERIFY(
                AccountStore::addAccount(folder.path(), name, quickHash(name + QStringLiteral("-pw")), role)
                    .ok);
        AccountSession session(folder.context(), folder.clock);
        session.signedIn(*AccountStore::find(folder.path(), QStringLiteral("sara")));

        QWidget window;
        auto* typed = new QLineEdit(&window);
        typed->setObjectName(QStringLiteral("typed"));
        window.resize(400, 300);
        window.show();
        typed->insert(QStringLiteral("نیمه‌کاره"));

        LockGuard lock(session);
        lock.start();
        QCOMPARE(lock.lockMilliseconds(), AccountStore::kDefaultLockMinutes * 60 * 1000);
        bool sawCover = false;
        bool refusedOther = false;
        whenModal<SignInDialog>([&](SignInDialog* dialog) {
            auto* cover = window.findChild<QWidget*>(QStringLiteral("LockCover"));
            sawCover = cover && cover->isVisible() && cover->geometry() == window.rect() &&
                       cover->autoFillBackground();
            // Esc and closing leave it open.
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            QVERIFY(dialog->isVisible());
            typeInto(dialog, "userName", QStringLiteral("reza"));
            typeInto(dialog, "password", QStringLiteral("reza-pw"));
            dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
            QTRY_VERIFY(!dialog->isChecking());
            refusedOther =
                dialog->isVisible() &&
                dialog->findChild<QLabel*>(QStringLiteral("status"))->text() == AccountTexts::notThisUser;
            typeInto(dialog, "userName", QStringLiteral("sara"));
            typeInto(dialog, "password", QStringLiteral("sara-pw"));
            dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
        });
        lock.lockNow();
        QVERIFY(sawCover);
        QVERIFY(refusedOther);
        QVERIFY(!lock.isLocked());
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("LockCover")));
        QCOMPARE(typed->text(), QStringLiteral("نیمه‌کاره"));
        QCOMPARE(session.userName(), QStringLiteral("sara"));

        // An administrator may open it too, and then works on as the administrator.
        whenModal<SignInDialog>([&](SignInDialog* dialog) {
            typeInto(dialog, "userName", QStringLiteral("boss"));
            typeInto(dialog, "password", QStringLiteral("boss-pw"));
            dialog->findChild<QPushButton*>(QStringLiteral("signIn"))->click();
        });
        lock.lockNow();
        QCOMPARE(session.userName(), QStringLiteral("boss"));
        QCOMPARE(typed->text(), QStringLiteral("نیمه‌کاره"));
    }
};

QTEST_MAIN(AccountsTest)
#include "AccountsTest.moc"
