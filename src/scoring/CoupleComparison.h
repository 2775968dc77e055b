#pragma once

#include "ScoringKey.h"
#include "common/NeedsChartInput.h"
#include "datastore/AdministrationStore.h"

#include <QStringList>

#include <array>

// What differs between the two halves of a couple comparison, and the hand-over of one or two
// subjects' scores to the needs chart.
namespace CoupleComparison {

// The texts of subject 1 or 2 of a couple.
struct SubjectTexts
{
    QString askTitle;   // the code dialog's title
    QString notFound;   // the "هشدار" box when the code has no answers
    QString unanswered; // the start of the "خطا" warning listing unanswered items
    QString linePrefix; // put before the subject data line
    QString noRecord;   // the "خطا" warning when the code has answers but no subject record
    QString notStored;  // the "خطا" warning when the scores could not be written
};
SubjectTexts subjectTexts(int subjectNumber);

// The ten score texts of a couple: elements 0 … 4 the first subject's S, L, F1, P, F2, elements
// 5 … 9 the second subject's.
using CoupleScores = std::array<QString, 2 * ScoringKey::kScaleCount>;

// Puts one subject's score texts into the half of the couple's scores that belongs to it.
void copyScores(CoupleScores& couple, int subjectNumber, const ScoringKey::ScoreTexts& scores);

// A partner's administrations to choose from, as "اجراي 2 (1402/05/01)", in the order taken.
QStringList administrationLabels(const QList<AdministrationStore::Administration>& administrations);

// The score texts of one administration: the latest as the scoring shows them, an earlier one
// computed from its kept answers as the scoring computes them.
ScoringKey::ScoreTexts administrationScores(const AdministrationStore::Administration& administration,
                                            const ScoringKey::ScoreTexts& latestScores);

// The chart of two subjects: both score rows, the second subject's elements visible.
NeedsChartInput coupleChart(const CoupleScores& scores, const QString& subject1Line,
                            const QString& subject2Line, const QString& testDate);

// The chart of one subject: one score row, the second subject's elements hidden.
NeedsChartInput singleChart(const ScoringKey::ScoreTexts& scores, const QString& subject1Line,
                            const QString& subject2Line, const QString& testDate);

} // namespace CoupleComparison
