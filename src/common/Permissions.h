#pragma once

#include "AppContext.h"
#include "Session.h"

// The commands whose use depends on who is signed in. Where the clinic has not turned sign-in on,
// every command is offered to everyone, as before.
enum class Command
{
    Register,      // register a subject
    RunTest,       // start the on-screen test for a registered subject
    AnswerSheet,   // type in a paper answer sheet
    Scoring,       // scores and the scoring window
    Charts,        // the needs charts
    Print,         // prints and print previews of subjects
    Export,        // the research export and the chart export
    SubjectFinder, // the subject list with its scores
    DeleteSubject, // remove a subject with its answers
    Settings,      // the settings panel and what it leads to
    Accounts,      // accounts, roles and the lock time
    ClinicServer,  // the clinic database window
    BackupAndRestore,
    AuditTrail,
    Update,          // the update check, which replaces the program
    LeaveLockedTest, // end a locked client test before its last item
};

// Whether the command is offered in this context.
inline bool mayUse(const AppContext& context, Command command)
{
    return !context.session || !context.session->signInRequired() || context.session->allows(command);
}
