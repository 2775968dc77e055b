#pragma once

#include "ChangeTable.h"
#include "ScoringKey.h"
#include "common/ClinicTexts.h"
#include "reports/ReportLayout.h"

#include <optional>

// The print of the chosen subject: the clinic's letterhead and logo, the subject's particulars and
// test date, the five scores with their names and, for each scale, how many of its seven items
// were left unanswered, so that a mean over fewer answers shows as such on paper; where the subject
// has taken the questionnaire more than once, the reliable change from the first to the last.
namespace SubjectScoreReport {

// The reliable change between two of the subject's administrations, printed under the scores.
struct ChangeSection
{
    QString heading; // which two administrations
    ChangeTable::Rows rows;
    QString basis; // what the estimate rests on
};

struct Sheet
{
    ScoringKey::SubjectRecord subject;
    QString testDate;
    ScoringKey::ScoreTexts scores;
    ScoringKey::ItemTexts items;
    // How the administration was entered, its timings and flags, one line each.
    QStringList checks;
    std::optional<ChangeSection> change; // for a subject with two administrations or more
};

Report build(const Sheet& sheet, const ClinicTexts& clinic);

} // namespace SubjectScoreReport
