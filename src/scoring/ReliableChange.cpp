#include "ReliableChange.h"

#include <cmath>

namespace ReliableChange {

namespace {

bool isBlank(const QString& text)
{
    // Most answers are one digit: no trimmed copy for them.
    if (text.isEmpty())
        return true;
    if (!text.front().isSpace() && !text.back().isSpace())
        return false;
    return text.trimmed().isEmpty();
}

bool answersScale(const ScoringKey::ItemTexts& items, const ScoringKey::Scale& scale)
{
    for (int item = scale.firstItem; item < scale.firstItem + ScoringKey::kItemsPerScale; ++item) {
        if (isBlank(items.at(static_cast<std::size_t>(item - 1))))
            return false;
    }
    return true;
}

// The answer's value as the scoring reads it; a single Latin digit, as nearly every stored answer
// is, without the general reading, which a million administrations would feel.
double answerValue(const QString& text)
{
    if (text.size() == 1 && text.front() >= u'0' && text.front() <= u'9')
        return text.front().unicode() - u'0';
    return ScoringKey::itemValue(text);
}

} // namespace

Norms norms(const QList<ScoringKey::ItemTexts>& administrations)
{
    Accumulator all;
    for (const ScoringKey::ItemTexts& answers : administrations)
        all.add(answers);
    return all.norms();
}

void Accumulator::Spread::add(double value)
{
    count += 1.0;
    const double before = value - mean;
    mean += before / count;
    squares += before * (value - mean);
}

void Accumulator::add(const ScoringKey::ItemTexts& answers)
{
    for (std::size_t s = 0; s < ScoringKey::kScales.size(); ++s) {
        const ScoringKey::Scale& scale = ScoringKey::kScales[s];
        if (!answersScale(answers, scale))
            continue;
        ScaleSums& sums = m_scales[s];
        double sum = 0.0;
        for (int i = 0; i < ScoringKey::kItemsPerScale; ++i) {
            const double value = answerValue(answers.at(static_cast<std::size_t>(scale.firstItem - 1 + i)));
            sums.items[static_cast<std::size_t>(i)].add(value);
            sum += value;
        }
        sums.itemSum.add(sum);
        // The score is the sum's seventh, as the scoring computes it; only a sum that overflows
        // (answers near the largest double, in a hand-edited file) takes the scoring's own way.
        sums.score.add(std::isfinite(sum) ? sum / ScoringKey::kItemsPerScale
                                          : ScoringKey::scaleMean(answers, scale));
    }
}

Norms Accumulator::norms() const
{
    constexpr int k = ScoringKey::kItemsPerScale;
    Norms result;
    for (std::size_t s = 0; s < m_scales.size(); ++s) {
        const ScaleSums& sums = m_scales[s];
        ScaleNorms& norms = result[s];
        norms.administrations = static_cast<int>(sums.itemSum.count);
        if (norms.administrations < kMinimumAdministrations)
            continue;
        const double totalVariance = sums.itemSum.sampleVariance();
        double itemVariances = 0.0;
        for (const Spread& item : sums.items)
            itemVariances += item.sampleVariance();
        if (!(totalVariance > 0.0) || !std::isfinite(totalVariance) || !std::isfinite(itemVariances))
            continue;
        const double alpha = static_cast<double>(k) / (k - 1) * (1.0 - itemVariances / totalVariance);
        // An alpha of 1 (within rounding) leaves no measurement error: every difference would count
        // as reliable.
        constexpr double kRounding = 1e-9;
        if (!(alpha < 1.0 - kRounding))
            continue;
        norms.alpha = alpha;
        norms.standardDeviation = std::sqrt(sums.score.sampleVariance());
    }
    return result;
}

Change change(const ScaleNorms& norms, double earlier, double later)
{
    if (!norms.enough())
        return {};
    const double standardError = *norms.standardDeviation * std::sqrt(1.0 - *norms.alpha);
    const double differenceError = std::sqrt(2.0) * standardError;
    if (!(differenceError > 0.0))
        return {};
    return {(later - earlier) / differenceError};
}

std::array<Change, ScoringKey::kScaleCount> changes(const Norms& norms, const ScoringKey::ItemTexts& earlier,
                                                    const ScoringKey::ItemTexts& later)
{
    std::array<Change, ScoringKey::kScaleCount> result;
    for (std::size_t i = 0; i < ScoringKey::kScales.size(); ++i) {
        const ScoringKey::Scale& scale = ScoringKey::kScales[i];
        if (answersScale(earlier, scale) && answersScale(later, scale))
            result[i] =
                change(norms[i], ScoringKey::scaleMean(earlier, scale), ScoringKey::scaleMean(later, scale));
    }
    return result;
}

} // namespace ReliableChange
