#include "TestProgramFolder.h"
#include "app/AppNavigator.h"
#include "app/AppTexts.h"
#include "app/RareWindowsLoader.h"
#include "common/CommonTexts.h"

#include <QtTest>

#include <memory>

// The program reaches scoring, charts, prints, the export and the update check through a module
// it loads on first use; this test program links none of them.
class RareWindowsModuleTest : public QObject
{
    Q_OBJECT

private slots:
    void theBuiltModuleLoadsAndMakesItsWindows()
    {
        TestProgramFolder folder;
        QString error;
        RareWindows* windows = loadRareWindowsFrom(QStringLiteral(VELMORA_MODULE_DIR), &error);
        QVERIFY2(windows, qPrintable(error));
        const std::unique_ptr<QWidget> scoring(windows->makeScoring(folder.context()));
        QCOMPARE(scoring->metaObject()->className(), "FrmkLID");
        const std::unique_ptr<QWidget> chart(windows->makeNeedsChart(folder.context()));
        QCOMPARE(chart->metaObject()->className(), "FrmNemudar1");
        QCOMPARE(loadRareWindowsFrom(QStringLiteral(VELMORA_MODULE_DIR), nullptr), windows);
    }

    void aMissingModuleStopsEachCommandWithItsMessage()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        AppNavigator navigator(folder.context());
        navigator.start();
        const int windowsBefore = QApplication::topLevelWidgets().size();

        // This test program has no module beside it.
        navigator.openScoring();
        navigator.openUpdateCheck();
        navigator.showNeedsChart(NeedsChartInput{});
        navigator.printSubjectList(SubjectSelection{}, false);
        navigator.exportSubjects(SubjectSelection{});

        QCOMPARE(folder.prompts.shown.size(), 5);
        for (const FakePrompts::Shown& shown : std::as_const(folder.prompts.shown)) {
            QCOMPARE(shown.kind, FakePrompts::Kind::Message);
            QCOMPARE(shown.title, CommonTexts::warningTitle);
            QVERIFY(shown.text.startsWith(
                AppTexts::moduleMissing.arg(QLatin1String(kRareWindowsModule), QString())));
            QVERIFY(shown.rightToLeft);
        }
        QVERIFY(navigator.mainWindow()->isVisible()); // nothing hid it for a window that never came
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        QCOMPARE(folder.desktop.quits, 0);
    }
};

QTEST_MAIN(RareWindowsModuleTest)
#include "RareWindowsModuleTest.moc"
