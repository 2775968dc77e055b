#pragma once

#include "ScoringKey.h"
#include "common/ClinicTexts.h"
#include "reports/ReportLayout.h"

// The print of the chosen subject: the clinic's letterhead and logo, the subject's particulars and
// test date, the five scores with their names and, for each scale, how many of its seven items
// were left unanswered, so that a mean over fewer answers shows as such on paper.
namespace SubjectScoreReport {

struct Sheet
{
    ScoringKey::SubjectRecord subject;
    QString testDate;
    ScoringKey::ScoreTexts scores;
    ScoringKey::ItemTexts items;
    // How the administration was entered, its timings and flags, one line each.
    QStringList checks;
};

Report build(const Sheet& sheet, const ClinicTexts& clinic);

} // namespace SubjectScoreReport
