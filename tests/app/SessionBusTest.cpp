#include "app/SessionBus.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The start-up skips the session bus only where libdbus could not find one either; a wrong "no"
// would cut the program off from the desktop's screen readers.
class SessionBusTest : public QObject
{
    Q_OBJECT
private slots:
    void busIsSoughtWhereverLibdbusWouldFindOne()
    {
        QTemporaryDir empty, runtime, programs;
        QVERIFY(QFile(runtime.filePath(QStringLiteral("bus"))).open(QIODevice::WriteOnly));
        QFile launcher(programs.filePath(QStringLiteral("dbus-launch")));
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.close();

        QProcessEnvironment bare;
        bare.insert(QStringLiteral("PATH"), empty.path());
        QVERIFY(!SessionBus::mayBeReachable(bare, empty.path()));

        QProcessEnvironment withAddress = bare;
        withAddress.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString());
        QVERIFY(SessionBus::mayBeReachable(withAddress, empty.path()));

        QProcessEnvironment withUserBus = bare;
        withUserBus.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QVERIFY(SessionBus::mayBeReachable(withUserBus, empty.path()));

        // dbus-launch counts only as a program, on the search path or in libdbus's own folder.
        QProcessEnvironment withLauncher = bare;
        withLauncher.insert(QStringLiteral("PATH"), empty.path() + QDir::listSeparator() + programs.path());
        QVERIFY(!SessionBus::mayBeReachable(withLauncher, empty.path()));
        QVERIFY(launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner));
        QVERIFY(SessionBus::mayBeReachable(withLauncher, empty.path()));
        QVERIFY(SessionBus::mayBeReachable(bare, programs.path()));
    }
};

QTEST_GUILESS_MAIN(SessionBusTest)
#include "SessionBusTest.moc"
