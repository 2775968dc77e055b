// The score texts: any double, and any seven answer texts of a scale.
#include "FuzzSupport.h"
#include "common/NumericValue.h"
#include "scoring/ScoringKey.h"

#include <QRegularExpression>

#include <cmath>

namespace {
void checkScoreText(double score, const QString& text)
{
    if (!std::isfinite(score)) {
        FUZZ_CHECK(text == QStringLiteral("."), "no score is written as the point alone");
        return;
    }
    static const QRegularExpression pattern(QStringLiteral("^-?(|[1-9][0-9]*)\\.([0-9]?[1-9])?$"));
    FUZZ_CHECK(pattern.match(text).hasMatch(), "a plain decimal without leading or trailing zeros");
    const double readBack = numericValue(text);
    FUZZ_CHECK(std::fabs(readBack - score) <= 0.005 + std::fabs(score) * 1e-15,
               "the text reads back as the score");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    if (input.byte() % 2) {
        const double score = input.value<double>();
        checkScoreText(score, ScoringKey::scoreText(score));
        return 0;
    }
    ScoringKey::ItemTexts items;
    for (QString& item : items)
        item = input.text(input.byte() % 8 ? 16 : 800);
    const ScoringKey::ScoreTexts texts = ScoringKey::scoreTexts(items);
    for (std::size_t scale = 0; scale < ScoringKey::kScales.size(); ++scale) {
        const double mean = ScoringKey::scaleMean(items, ScoringKey::kScales[scale]);
        FUZZ_CHECK(std::isfinite(mean), "the mean of any answers is finite");
        checkScoreText(mean, texts[scale]);
    }
    return 0;
}
