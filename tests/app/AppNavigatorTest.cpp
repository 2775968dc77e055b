#include "app/AppNavigator.h"
#include "TestProgramFolder.h"

#include <QApplication>
#include <QPushButton>
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
};

QTEST_MAIN(AppNavigatorTest)
#include "AppNavigatorTest.moc"
