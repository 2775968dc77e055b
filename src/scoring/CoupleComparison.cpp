#include "CoupleComparison.h"

#include "ScoringTexts.h"

namespace CoupleComparison {

SubjectTexts subjectTexts(int subjectNumber)
{
    using namespace ScoringTexts;
    const bool first = subjectNumber == 1;
    return {first ? askCode1Title : askCode2Title,
            first ? subject1NotFound : subject2NotFound,
            first ? subject1Unanswered : subject2Unanswered,
            first ? subject1Prefix : subject2Prefix,
            coupleSubjectNumber.arg(subjectNumber) + noSubjectRecord,
            coupleSubjectNumber.arg(subjectNumber) + scoresNotStored};
}

void copyScores(CoupleScores& couple, int subjectNumber, const ScoringKey::ScoreTexts& scores)
{
    const std::size_t offset = subjectNumber == 1 ? 0 : ScoringKey::kScaleCount;
    for (std::size_t i = 0; i < scores.size(); ++i)
        couple[offset + i] = scores[i];
}

QStringList administrationLabels(const QList<AdministrationStore::Administration>& administrations)
{
    QStringList labels;
    for (const AdministrationStore::Administration& a : administrations)
        labels << ScoringTexts::administrationLabel.arg(a.sequence).arg(a.start.date);
    return labels;
}

ScoringKey::ScoreTexts administrationScores(const AdministrationStore::Administration& administration,
                                            const ScoringKey::ScoreTexts& latestScores)
{
    return administration.latest ? latestScores : ScoringKey::scoreTexts(administration.answers);
}

NeedsChartInput coupleChart(const CoupleScores& scores, const QString& subject1Line,
                            const QString& subject2Line, const QString& testDate)
{
    NeedsChartInput input;
    input.mode = NeedsChartInput::Mode::Couple;
    for (std::size_t i = 0; i < ScoringKey::kScaleCount; ++i) {
        input.subject1Scores[i] = scores[i];
        input.subject2Scores[i] = scores[ScoringKey::kScaleCount + i];
    }
    input.secondSubjectVisible = true;
    input.subject1Line = subject1Line;
    input.subject2Line = subject2Line;
    input.testDate = testDate;
    return input;
}

NeedsChartInput singleChart(const ScoringKey::ScoreTexts& scores, const QString& subject1Line,
                            const QString& subject2Line, const QString& testDate)
{
    NeedsChartInput input;
    input.mode = NeedsChartInput::Mode::OneSubject;
    input.subject1Scores = scores;
    input.secondSubjectVisible = false;
    input.subject1Line = subject1Line;
    input.subject2Line = subject2Line;
    input.testDate = testDate;
    return input;
}

} // namespace CoupleComparison
