#pragma once

#include "common/Navigator.h"

#include <QStringList>

#include <functional>

// Records the navigation requests of the windows under test.
class FakeNavigator final : public Navigator
{
public:
    void runTest(const QString& code) override { calls << QStringLiteral("runTest:") + code; }
    void openAnswerSheet() override { calls << QStringLiteral("openAnswerSheet"); }
    void openScoring() override { calls << QStringLiteral("openScoring"); }
    bool openSubjectFinder() override
    {
        calls << QStringLiteral("openSubjectFinder");
        return finderAvailable;
    }
    void subjectFinderClosed() override { calls << QStringLiteral("subjectFinderClosed"); }
    void openIntroduction() override { calls << QStringLiteral("openIntroduction"); }
    void openAbout() override { calls << QStringLiteral("openAbout"); }
    void openUpdateCheck() override { calls << QStringLiteral("openUpdateCheck"); }
    void openClinicServer() override { calls << QStringLiteral("openClinicServer"); }
    void mainWindowClosing(int exitDialogTop) override
    {
        calls << QStringLiteral("mainWindowClosing:") + QString::number(exitDialogTop);
    }
    void openBackup() override { calls << QStringLiteral("openBackup"); }
    void openBackupAndRestore() override { calls << QStringLiteral("openBackupAndRestore"); }
    void openAuditTrail() override { calls << QStringLiteral("openAuditTrail"); }
    void exitCancelled() override { calls << QStringLiteral("exitCancelled"); }
    void scoringClosed() override { calls << QStringLiteral("scoringClosed"); }
    void showNeedsChart(const NeedsChartInput& input) override
    {
        calls << QStringLiteral("showNeedsChart");
        lastChart = input;
    }
    void needsChartClosed() override { calls << QStringLiteral("needsChartClosed"); }
    void printSubjectList(const SubjectSelection& selection, bool withClinicLetterhead) override
    {
        calls << QStringLiteral("printSubjectList:%1=%2 by %3%4")
                     .arg(selection.filterColumn, selection.filterValue, selection.orderColumn,
                          withClinicLetterhead ? QStringLiteral(" with letterhead") : QString());
        lastSelection = selection;
    }
    void exportSubjects(const SubjectSelection& selection) override
    {
        calls << QStringLiteral("exportSubjects:%1=%2 by %3")
                     .arg(selection.filterColumn, selection.filterValue, selection.orderColumn);
        lastSelection = selection;
    }
    ClinicTexts clinicTexts() const override { return clinic; }

    QStringList calls;
    NeedsChartInput lastChart;
    SubjectSelection lastSelection;
    ClinicTexts clinic;
    bool finderAvailable = true;
};
