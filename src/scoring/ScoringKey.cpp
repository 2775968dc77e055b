#include "ScoringKey.h"

#include "ScoringTexts.h"
#include "common/BidiText.h"
#include "common/NumericValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ScoringKey {

double itemValue(const QString& text)
{
    return numericValue(text);
}

double scaleMean(const ItemTexts& items, const Scale& scale)
{
    double sum = 0.0;
    for (int item = scale.firstItem; item < scale.firstItem + kItemsPerScale; ++item)
        sum += itemValue(items.at(static_cast<std::size_t>(item - 1)));
    if (std::isfinite(sum))
        return sum / kItemsPerScale;
    // Answers near the largest double (only a hand-edited file holds them) overflow the sum; their
    // sevenths do not.
    double mean = 0.0;
    for (int item = scale.firstItem; item < scale.firstItem + kItemsPerScale; ++item)
        mean += itemValue(items.at(static_cast<std::size_t>(item - 1))) / kItemsPerScale;
    // The true mean lies within the range of a double; the clamp only undoes rounding at its edge.
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::clamp(mean, -kLargest, kLargest);
}

QString scoreText(double score)
{
    if (!std::isfinite(score))
        return QStringLiteral(".");
    // From 2^53 on every double is whole, and a hundredfold one may be infinite: the digits of the
    // whole number, then the point.
    constexpr double kWholeOnly = 9007199254740992.0; // 2^53
    if (std::fabs(score) >= kWholeOnly)
        return (score < 0 ? QStringLiteral("-") : QString()) + QString::number(std::fabs(score), 'f', 0) +
               u'.';
    // Rounded to hundredths once, as a whole number, so that integer and fraction agree (3.999
    // gives "4." and not "3.100").
    const double hundredths = std::round(std::fabs(score) * 100.0);
    const QString digits = QString::number(hundredths, 'f', 0);
    const QString integerPart = digits.size() > 2 ? digits.left(digits.size() - 2) : QString();
    QString fraction = digits.right(2).rightJustified(2, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    const bool negative = score < 0 && hundredths > 0;
    return (negative ? QStringLiteral("-") : QString()) + integerPart + u'.' + fraction;
}

ScoreTexts scoreTexts(const ItemTexts& items)
{
    ScoreTexts texts;
    for (std::size_t i = 0; i < kScales.size(); ++i)
        texts[i] = scoreText(scaleMean(items, kScales[i]));
    return texts;
}

QString unansweredList(const ItemTexts& items)
{
    QString list;
    for (int item = 1; item <= kItemCount; ++item) {
        if (items.at(static_cast<std::size_t>(item - 1)).isEmpty())
            list += u' ' + QString::number(item) + QStringLiteral("  ");
    }
    return list;
}

int unansweredCount(const ItemTexts& items, const Scale& scale)
{
    int count = 0;
    for (int item = scale.firstItem; item < scale.firstItem + kItemsPerScale; ++item) {
        if (items.at(static_cast<std::size_t>(item - 1)).isEmpty())
            ++count;
    }
    return count;
}

QString subjectDataLine(const SubjectRecord& subject)
{
    using namespace ScoringTexts;
    // Each stored value keeps its own reading order in the Persian line, on screen and in print.
    using BidiText::isolated;
    return lineCode + isolated(subject.code) + lineSeparator + lineName + isolated(subject.firstName) + u' ' +
           isolated(subject.lastName) + lineSeparator + lineAge + isolated(subject.age) + lineSeparator +
           lineGender + isolated(subject.gender) + lineSeparator + lineMarital +
           isolated(subject.maritalStatus) + lineSeparator + lineEducation + isolated(subject.education);
}

QString fullName(const SubjectRecord& subject)
{
    return subject.firstName + u' ' + subject.lastName;
}

} // namespace ScoringKey
