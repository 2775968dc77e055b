#include "app/AppNavigator.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class AppNavigatorTest : public QObject
{
    Q_OBJECT

    static FrmCode* openFinder()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* finder = qobject_cast<FrmCode*>(window); finder && finder->isVisible())
                return finder;
        }
        return nullptr;
    }

private slots:
    void finderReplacesTheMainWindowAndAFreshOneComesBack()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        AppContext context = folder.context();
        AppNavigator navigator(context);
        navigator.start();
        QPointer<Frm1> first = navigator.mainWindow();
        QVERIFY(first && first->isVisible());

        first->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull()); // closed quietly and gone, not hidden
        FrmCode* finder = openFinder();
        QVERIFY(finder);
        QCOMPARE(folder.desktop.quits, 0); // no exit on the way

        finder->findChild<QPushButton*>(QStringLiteral("Command6"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!openFinder());
        QVERIFY(navigator.mainWindow());
        QVERIFY(navigator.mainWindow()->isVisible());
        QCOMPARE(navigator.mainWindow()->quietCloseFlag(), QStringLiteral("2"));
        QCOMPARE(folder.desktop.quits, 0);
    }

    // Windows hold views on the connections they were made with: after the clinic database window
    // moved the data to the server, the main window is made again on the server's connections.
    void switchingToTheServerMakesTheMainWindowAgainOnIt()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        AppContext context = folder.context();
        AppNavigator navigator(context);
        navigator.start();
        QPointer<Frm1> first = navigator.mainWindow();

        QTimer::singleShot(0, [&] {
            QVERIFY(ClinicServer::useServer(folder.path(), server.settings(), server.password()).ok);
            if (auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                window->reject();
        });
        navigator.openClinicServer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QVERIFY(navigator.mainWindow() && navigator.mainWindow()->isVisible());
        QCOMPARE(folder.desktop.quits, 0);

        // Closing the window without a switch keeps the main window as it is.
        QPointer<Frm1> second = navigator.mainWindow();
        QTimer::singleShot(0, [] {
            if (auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                window->reject();
        });
        navigator.openClinicServer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(navigator.mainWindow(), second.data());
        QVERIFY(ClinicServer::useFolderFiles(folder.path()).ok);
    }
};

QTEST_MAIN(AppNavigatorTest)
#include "AppNavigatorTest.moc"
