#pragma once

#include "AdministrationDetails.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What is read from an administration besides its scores: how far two entries of one sheet agree,
// how the on-screen test was taken, and answer patterns that cannot be taken at face value. None
// of it changes a score.
namespace AnswerChecks {

using Answers = std::array<QString, AdministrationDetails::kItemCount>;

// An answer as the scoring reads it: "1" … "5", or empty for an unanswered item ("0", blanks and
// anything else included).
QString answerOf(const QString& stored);

struct Comparison
{
    QList<int> differing; // item numbers, 1 … 35, in order
    double agreementPercent = 100.0;
    bool agrees() const { return differing.isEmpty(); }
};
Comparison compare(const Answers& first, const Answers& second);

// The agreement as the review shows it, with one decimal: "91.4".
QString percentText(double percent);

enum class Flag
{
    SameAnswerEverywhere,
    LongRun,
    FastCompletion,
    ManyUnanswered
};

// The longest run of one answer on consecutive items; unanswered items break a run.
int longestRun(const Answers& answers);
int unansweredCount(const Answers& answers);

// The flags an administration raises under the clinic's thresholds. The run is flagged only when
// the answers are not all one already; the completion only with on-screen timings.
QList<Flag> flags(const Answers& answers, const AdministrationDetails::Details& details,
                  const AdministrationDetails::Settings& settings);

// The median of the seconds spent on the items that were shown; nullopt without timings.
std::optional<double> medianSeconds(const AdministrationDetails::Details& details);
// How many answered items took less than the threshold; nullopt without timings.
std::optional<int> fastItemCount(const Answers& answers, const AdministrationDetails::Details& details,
                                 int thresholdSeconds);

// The Persian texts: a flag's name, the flags as one line (empty for none), and how the
// administration was entered.
QString flagName(Flag flag);
QString flagsLine(const QList<Flag>& flags);
QString stateName(AdministrationDetails::EntryState state, bool onScreen = false);
// The entry, timings and flags lines of an administration for the scoring window and the print;
// `onScreen` for one whose answers were given on screen.
QStringList summaryLines(const Answers& answers, const AdministrationDetails::Details& details,
                         const AdministrationDetails::Settings& settings, bool onScreen = false);

// The key of a flag as the export writes it ("same", "run", "fast", "unanswered").
QString flagKey(Flag flag);

} // namespace AnswerChecks
