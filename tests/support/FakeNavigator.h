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
    void openIntroduction() override { calls << QStringLiteral("openIntroduction"); }
    void openAbout() override { calls << QStringLiteral("openAbout"); }
    void openUpdateCheck() override { calls << QStringLiteral("openUpdateCheck"); }
    void mainWindowClosing(int exitDialogTop) override
    {
        calls << QStringLiteral("mainWindowClosing:") + QString::number(exitDialogTop);
    }
    void scoringClosed() override { calls << QStringLiteral("scoringClosed"); }
    void showNeedsChart(const NeedsChartInput& input) override
    {
        calls << QStringLiteral("showNeedsChart");
        lastChart = input;
    }
    void needsChartClosed() override { calls << QStringLiteral("needsChartClosed"); }
    ClinicTexts clinicTexts() const override { return clinic; }

    QStringList calls;
    NeedsChartInput lastChart;
    ClinicTexts clinic;
    bool finderAvailable = true;
};
