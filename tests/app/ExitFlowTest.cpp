#include "TestProgramFolder.h"
#include "app/AppNavigator.h"
#include "common/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

// The way out through the real navigator: main window, exit dialog, backup window.
class ExitFlowTest : public QObject
{
    Q_OBJECT

    template <typename W> W* visibleWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<W*>(widget); window && window->isVisible())
                return window;
        return nullptr;
    }

private slots:
    void closingTheMainWindowOpensTheExitDialogAndCancelBringsAFreshOne()
    {
        TestProgramFolder folder;
        AppNavigator navigator(folder.context());
        navigator.start();
        QPointer<Frm1> first = navigator.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        first->close();
        QTRY_VERIFY(!first);
        auto* dialog = visibleWindow<exitpro>();
        QVERIFY(dialog);
        QCOMPARE(dialog->pos(), twipsPoint(5000, 1500));
        QCOMPARE(folder.desktop.quits, 0);

        QPointer<exitpro> closing = dialog;
        dialog->cancel();
        QTRY_VERIFY(!closing);
        Frm1* second = navigator.mainWindow();
        QVERIFY(second && second->isVisible());
        QCOMPARE(second->quietCloseFlag(), QStringLiteral("2"));
    }

    void exitCommandAfterAQuietFlagPlacesTheDialogLower()
    {
        TestProgramFolder folder;
        AppNavigator navigator(folder.context());
        navigator.start();
        navigator.mainWindow()->setQuietCloseFlag(QStringLiteral("1"));
        QTest::mouseClick(navigator.mainWindow()->findChild<QPushButton*>(QStringLiteral("Command6")),
                          Qt::LeftButton);
        auto* dialog = visibleWindow<exitpro>();
        QVERIFY(dialog);
        QCOMPARE(dialog->pos(), twipsPoint(5000, 4500));
    }

    void tickedBackupHandsOverToTheBackupWindowWhoseCloseEndsTheProgram()
    {
        TestProgramFolder folder;
        AppNavigator navigator(folder.context());
        navigator.start();
        QTest::mouseClick(navigator.mainWindow()->findChild<QPushButton*>(QStringLiteral("Command6")),
                          Qt::LeftButton);
        auto* dialog = visibleWindow<exitpro>();
        QVERIFY(dialog);
        dialog->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        auto* backup = visibleWindow<Frmbackup>();
        QVERIFY(backup);
        QCOMPARE(folder.desktop.quits, 0);
        backup->close();
        QCOMPARE(folder.desktop.quits, 1);
    }
};

QTEST_MAIN(ExitFlowTest)
#include "ExitFlowTest.moc"
