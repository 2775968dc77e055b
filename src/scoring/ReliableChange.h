#pragma once

#include "ScoringKey.h"

#include <QList>

#include <array>
#include <optional>

// How far the clinic's own administrations let two scores of one subject be told apart: per scale
// the internal consistency of its seven items (Cronbach's alpha) and the spread of its score, and
// from them the reliable change index of Jacobson and Truax at the 95 % level. Pure functions.
namespace ReliableChange {

// Fewer administrations than these with a scale fully answered give no figures for the scale.
constexpr int kMinimumAdministrations = 30;
// |RCI| above this is a change beyond measurement error at 95 %.
constexpr double kCriticalIndex = 1.96;

// One scale's figures. A scale without them ("not enough data") has neither: under
// kMinimumAdministrations complete administrations, or alpha that cannot be computed (the score
// does not vary) or leaves no measurement error to compare with (alpha of 1).
struct ScaleNorms
{
    int administrations = 0; // those with all seven items of the scale answered
    std::optional<double> alpha;
    std::optional<double> standardDeviation; // of the scale score, with n - 1
    bool enough() const { return alpha.has_value() && standardDeviation.has_value(); }
};
using Norms = std::array<ScaleNorms, ScoringKey::kScaleCount>;

// The figures of every scale over the given administrations (every stored one of every subject);
// an administration counts for each scale whose seven items it answers.
Norms norms(const QList<ScoringKey::ItemTexts>& administrations);

// The same figures gathered one administration at a time, so that a clinic's whole store is read
// as a stream and never held in memory. Running means and sums of squared deviations (Welford)
// keep the variances exact enough however many administrations there are.
class Accumulator final
{
public:
    void add(const ScoringKey::ItemTexts& answers);
    Norms norms() const;

private:
    struct Spread
    {
        double count = 0.0;
        double mean = 0.0;
        double squares = 0.0; // sum of squared deviations from the mean
        void add(double value);
        double sampleVariance() const { return squares / (count - 1.0); }
    };
    struct ScaleSums
    {
        std::array<Spread, ScoringKey::kItemsPerScale> items;
        Spread itemSum;
        Spread score;
    };
    std::array<ScaleSums, ScoringKey::kScaleCount> m_scales;
};

struct Change
{
    std::optional<double> index; // (later - earlier) / Sdiff; none: not enough data
    bool reliable() const
    {
        return index.has_value() && (*index > kCriticalIndex || *index < -kCriticalIndex);
    }
};

// The change of one scale score (ScoringKey::scaleMean) from earlier to later.
Change change(const ScaleNorms& norms, double earlier, double later);

// The change of every scale between two administrations; a scale that either leaves partly
// unanswered has none.
std::array<Change, ScoringKey::kScaleCount> changes(const Norms& norms, const ScoringKey::ItemTexts& earlier,
                                                    const ScoringKey::ItemTexts& later);

} // namespace ReliableChange
