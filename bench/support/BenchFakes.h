#pragma once

#include "common/Navigator.h"
#include "common/Prompts.h"

// Prompts that answer at once: a fixed text for every input dialog, No to every question, no
// waiting on notices or warnings.
class InstantPrompts final : public Prompts
{
public:
    QString code;
    void notice(QWidget*, const QString&, int) override {}
    void message(QWidget*, const QString&, const QString&, Icon, bool) override {}
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    int askChoice(QWidget*, const QString&, const QString&, const QStringList&) override { return -1; }
    QString askText(QWidget*, const QString&, const QString&, const QString&) override { return code; }
    std::optional<QString> askPassword(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    void beep() override {}
};

// A navigator that opens nothing: the window under measurement stays alone.
class NoNavigator final : public Navigator
{
public:
    void runTest(const QString&) override {}
    void openAnswerSheet() override {}
    void openScoring() override {}
    bool openSubjectFinder() override { return false; }
    void subjectFinderClosed() override {}
    void openIntroduction() override {}
    void openAbout() override {}
    void openUpdateCheck() override {}
    void openClinicServer() override {}
    void mainWindowClosing(int) override {}
    void openBackup() override {}
    void openBackupAndRestore() override {}
    void openAuditTrail() override {}
    void exitCancelled() override {}
    void scoringClosed() override {}
    void showNeedsChart(const NeedsChartInput&) override {}
    void needsChartClosed() override {}
    void printSubjectList(const SubjectSelection&, bool) override {}
    void exportSubjects(const SubjectSelection&) override {}
    ClinicTexts clinicTexts() const override { return {}; }
};
