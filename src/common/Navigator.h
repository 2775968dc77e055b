#pragma once

#include "ClinicTexts.h"
#include "NeedsChartInput.h"
#include "SubjectSelection.h"

#include <QString>

// Windows never include each other's headers: when one must open, hide or show another it asks
// the navigator, which the application implements and tests fake.
class Navigator
{
public:
    virtual ~Navigator() = default;

    // Main window commands.
    virtual void runTest(const QString& code) = 0; // modal on-screen test for a known subject code
    virtual void openAnswerSheet() = 0;            // modal answer-sheet entry
    virtual void openScoring() = 0;                // scoring window, main window hidden meanwhile
    // Subject finder; the main window then closes. False while no finder can be opened.
    virtual bool openSubjectFinder() = 0;
    // The subject finder closed: a fresh main window opens.
    virtual void subjectFinderClosed() = 0;
    virtual void openIntroduction() = 0; // modal questionnaire introduction
    virtual void openAbout() = 0;        // modal about window
    virtual void openUpdateCheck() = 0;  // modal update check
    virtual void openClinicServer() = 0; // modal clinic database window (server settings)
    // The main window is closing for good (not quietly): the exit dialog at the given top, in twips.
    virtual void mainWindowClosing(int exitDialogTop) = 0;
    // The exit dialog asks for a backup: the backup window opens; every way out of it ends the
    // program.
    virtual void openBackup() = 0;
    // The settings panel asks for a backup or a restore: the backup window opens above the
    // program, which goes on afterwards (on the restored data after a restore).
    virtual void openBackupAndRestore() = 0;
    // The settings panel asks for the audit trail: its window opens above the program.
    virtual void openAuditTrail() = 0;
    // The exit dialog was cancelled: a fresh main window opens.
    virtual void exitCancelled() = 0;

    // The scoring window closed: the main window comes back.
    virtual void scoringClosed() = 0;
    // The scoring window hands a chart over and hides itself.
    virtual void showNeedsChart(const NeedsChartInput& input) = 0;
    // The chart closed: the scoring window comes back.
    virtual void needsChartClosed() = 0;

    // The subject list report of the selected subjects, in a print preview; with the clinic's
    // name, contact text and address as letterhead, or without them.
    virtual void printSubjectList(const SubjectSelection& selection, bool withClinicLetterhead) = 0;
    // The research export of the selected subjects to a spreadsheet file the user chooses.
    virtual void exportSubjects(const SubjectSelection& selection) = 0;

    // The clinic's particulars for prints, as the main window holds them now.
    virtual ClinicTexts clinicTexts() const = 0;

    // Sign-in: the settings panel's accounts command (the first administrator where sign-in is
    // off, the accounts window for an administrator), and the main window's lock command.
    virtual void openAccounts() {}
    // The scoring window asks for the chosen subject's administrations over time.
    virtual void openHistory(const QString& /*code*/, const QString& /*subjectLine*/) {}
    virtual void lockProgram() {}
};
