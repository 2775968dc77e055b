#pragma once

#include "common/AppContext.h"
#include "common/ClinicTexts.h"
#include "common/NeedsChartInput.h"
#include "common/SubjectSelection.h"

class QWidget;

// The windows and commands a session seldom uses: scoring, its chart, prints, the research export
// and the update check. Their libraries (printing, spreadsheet and document writers, the network)
// would take part of every start-up if the program were linked with them, so the program loads
// them from a module of their own the first time one is asked for; tests link them in.
class RareWindows
{
public:
    virtual ~RareWindows() = default;

    virtual QWidget* makeScoring(const AppContext& context) = 0;
    virtual QWidget* makeNeedsChart(const AppContext& context) = 0;
    // chart: a window makeNeedsChart made.
    virtual void setNeedsChartInput(QWidget* chart, const NeedsChartInput& input) = 0;
    // Runs the modal update check; true when the user chose to update now.
    virtual bool updateChosen(const AppContext& context, QWidget* parent) = 0;
    virtual void printSubjectList(const AppContext& context, const SubjectSelection& selection,
                                  const ClinicTexts* letterhead) = 0;
    virtual void exportSubjects(const AppContext& context, const SubjectSelection& selection,
                                QWidget* parent) = 0;
};

// The windows linked into this process (tests, and the module itself).
RareWindows& linkedRareWindows();

// The one place that gets them: the program loads its module, tests link them in. Null when the
// module cannot be loaded, with the reason in *error.
RareWindows* loadRareWindows(QString* error);

// The module's file name, next to the program.
inline constexpr char kRareWindowsModule[] = "velmora_rarewindows.so";
// The module's entry point: returns linkedRareWindows() of the module.
inline constexpr char kRareWindowsEntry[] = "velmoraRareWindows";
