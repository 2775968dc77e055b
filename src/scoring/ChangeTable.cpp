#include "ChangeTable.h"

#include "ScoringTexts.h"

#include <algorithm>
#include <limits>

namespace ChangeTable {

namespace T = ScoringTexts;

namespace {

QString signedNumber(double value)
{
    return (value > 0 ? QStringLiteral("+") : QString()) + QString::number(value, 'f', 2);
}

} // namespace

QStringList headers()
{
    return {T::changeColumnScale, T::changeColumnEarlier, T::changeColumnLater, T::changeColumnChange,
            T::changeColumnIndex, T::changeColumnVerdict, T::changeColumnAlpha};
}

Rows rows(const ScoringKey::ItemTexts& earlier, const ScoringKey::ItemTexts& later, const Estimate& estimate)
{
    const std::array<QString, ScoringKey::kScaleCount> names{T::needSurvival, T::needLove, T::needFreedom,
                                                             T::needPower, T::needFun};
    std::array<ReliableChange::Change, ScoringKey::kScaleCount> changes{};
    if (estimate.norms)
        changes = ReliableChange::changes(*estimate.norms, earlier, later);
    Rows table;
    for (std::size_t scale = 0; scale < table.size(); ++scale) {
        const ScoringKey::Scale& key = ScoringKey::kScales[scale];
        const double before = ScoringKey::scaleMean(earlier, key);
        const double after = ScoringKey::scaleMean(later, key);
        const bool complete =
            ScoringKey::unansweredCount(earlier, key) == 0 && ScoringKey::unansweredCount(later, key) == 0;
        const ReliableChange::Change& change = changes[scale];
        QString verdict;
        if (estimate.underWay)
            verdict = T::estimating;
        else if (!complete)
            verdict = T::changeUnanswered;
        else if (!change.index)
            verdict = T::notEnoughData;
        else
            verdict =
                change.reliable() ? (*change.index > 0 ? T::reliableRise : T::reliableFall) : T::withinError;
        QString alpha;
        if (estimate.norms) {
            const ReliableChange::ScaleNorms& norms = (*estimate.norms)[scale];
            alpha = norms.enough() ? QString::number(*norms.alpha, 'f', 2) + QStringLiteral(" (") +
                                         QString::number(norms.administrations) + u')'
                                   : T::notEnoughData;
        }
        table[scale] = {names[scale],
                        ScoringKey::scoreText(before),
                        ScoringKey::scoreText(after),
                        signedNumber(after - before),
                        change.index ? QString::number(*change.index, 'f', 2) : QString(),
                        verdict,
                        alpha};
    }
    return table;
}

QString basis(const Estimate& estimate)
{
    if (estimate.underWay)
        return T::estimating;
    if (!estimate.norms)
        return T::estimateUnreadable;
    int fewest = std::numeric_limits<int>::max();
    int most = 0;
    for (const ReliableChange::ScaleNorms& scale : *estimate.norms) {
        fewest = std::min(fewest, scale.administrations);
        most = std::max(most, scale.administrations);
    }
    return most < ReliableChange::kMinimumAdministrations
               ? T::needsAtLeast(ReliableChange::kMinimumAdministrations)
               : T::estimateBasis(fewest, most);
}

} // namespace ChangeTable
