#include "ReliableChange.h"

#include <cmath>

namespace ReliableChange {

namespace {

bool answersScale(const ScoringKey::ItemTexts& items, const ScoringKey::Scale& scale)
{
    for (int item = scale.firstItem; item < scale.firstItem + ScoringKey::kItemsPerScale; ++item) {
        if (items.at(static_cast<std::size_t>(item - 1)).trimmed().isEmpty())
            return false;
    }
    return true;
}

double sampleVariance(const QList<double>& values)
{
    double mean = 0.0;
    for (double v : values)
        mean += v;
    mean /= static_cast<double>(values.size());
    double squares = 0.0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    return squares / static_cast<double>(values.size() - 1);
}

ScaleNorms normsOf(const QList<ScoringKey::ItemTexts>& administrations, const ScoringKey::Scale& scale)
{
    constexpr int k = ScoringKey::kItemsPerScale;
    std::array<QList<double>, k> items;
    QList<double> sums;
    QList<double> scores;
    for (const ScoringKey::ItemTexts& answers : administrations) {
        if (!answersScale(answers, scale))
            continue;
        double sum = 0.0;
        for (int i = 0; i < k; ++i) {
            const double value =
                ScoringKey::itemValue(answers.at(static_cast<std::size_t>(scale.firstItem - 1 + i)));
            items[static_cast<std::size_t>(i)] << value;
            sum += value;
        }
        sums << sum;
        scores << ScoringKey::scaleMean(answers, scale);
    }
    ScaleNorms norms;
    norms.administrations = static_cast<int>(sums.size());
    if (norms.administrations < kMinimumAdministrations)
        return norms;
    const double totalVariance = sampleVariance(sums);
    double itemVariances = 0.0;
    for (const QList<double>& values : items)
        itemVariances += sampleVariance(values);
    if (!(totalVariance > 0.0) || !std::isfinite(totalVariance) || !std::isfinite(itemVariances))
        return norms;
    const double alpha = static_cast<double>(k) / (k - 1) * (1.0 - itemVariances / totalVariance);
    // An alpha of 1 (within rounding) leaves no measurement error: every difference would count
    // as reliable.
    constexpr double kRounding = 1e-9;
    if (!(alpha < 1.0 - kRounding))
        return norms;
    norms.alpha = alpha;
    norms.standardDeviation = std::sqrt(sampleVariance(scores));
    return norms;
}

} // namespace

Norms norms(const QList<ScoringKey::ItemTexts>& administrations)
{
    Norms result;
    for (std::size_t i = 0; i < ScoringKey::kScales.size(); ++i)
        result[i] = normsOf(administrations, ScoringKey::kScales[i]);
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
