#include "AnswerChecks.h"

#include "DatastoreTexts.h"

#include <algorithm>
#include <cmath>

namespace AnswerChecks {

namespace {

using AdministrationDetails::Details;
using AdministrationDetails::EntryState;
using AdministrationDetails::Settings;

constexpr int kItems = AdministrationDetails::kItemCount;

// The answer 1 … 5 a stored text holds, 0 for none; without a copy of the text, since an export
// asks it of every item of every administration.
int digitOf(const QString& stored)
{
    const QStringView text = QStringView(stored).trimmed();
    return text.size() == 1 && text.at(0) >= u'1' && text.at(0) <= u'5' ? text.at(0).unicode() - u'0' : 0;
}

bool answered(const QString& answer)
{
    return digitOf(answer) != 0;
}

} // namespace

QString answerOf(const QString& stored)
{
    const int digit = digitOf(stored);
    return digit ? QString(QChar(u'0' + digit)) : QString();
}

Comparison compare(const Answers& first, const Answers& second)
{
    Comparison result;
    for (int i = 0; i < kItems; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (digitOf(first[at]) != digitOf(second[at]))
            result.differing << i + 1;
    }
    result.agreementPercent = 100.0 * (kItems - result.differing.size()) / kItems;
    return result;
}

QString percentText(double percent)
{
    return QString::number(percent, 'f', 1);
}

int longestRun(const Answers& answers)
{
    int longest = 0;
    int run = 0;
    int previous = 0;
    for (const QString& stored : answers) {
        const int answer = digitOf(stored);
        run = answer == 0 ? 0 : (answer == previous ? run + 1 : 1);
        previous = answer;
        longest = std::max(longest, run);
    }
    return longest;
}

int unansweredCount(const Answers& answers)
{
    return static_cast<int>(
        std::count_if(answers.begin(), answers.end(), [](auto& a) { return !answered(a); }));
}

QList<Flag> flags(const Answers& answers, const Details& details, const Settings& settings)
{
    QList<Flag> raised;
    const int given = kItems - unansweredCount(answers);
    int seen = 0; // one bit for each answer given
    for (const QString& stored : answers)
        seen |= 1 << digitOf(stored);
    seen &= ~1;
    const bool allOne = given >= 2 && (seen & (seen - 1)) == 0;
    if (allOne)
        raised << Flag::SameAnswerEverywhere;
    else if (settings.longRun >= 2 && longestRun(answers) >= settings.longRun)
        raised << Flag::LongRun;
    if (details.timed && given > 0) {
        qint64 total = 0;
        for (const qint64 ms : details.milliseconds)
            total += ms;
        if (total > 0 && total < qint64(settings.fastTestSecondsPerItem) * 1000 * given)
            raised << Flag::FastCompletion;
    }
    if (settings.unanswered > 0 && kItems - given >= settings.unanswered)
        raised << Flag::ManyUnanswered;
    return raised;
}

std::optional<double> medianSeconds(const Details& details)
{
    if (!details.timed)
        return std::nullopt;
    QList<qint64> shown;
    for (const qint64 ms : details.milliseconds) {
        if (ms > 0)
            shown << ms;
    }
    if (shown.isEmpty())
        return std::nullopt;
    std::sort(shown.begin(), shown.end());
    const qsizetype middle = shown.size() / 2;
    const double ms =
        shown.size() % 2 ? double(shown.at(middle)) : (shown.at(middle - 1) + shown.at(middle)) / 2.0;
    return ms / 1000.0;
}

std::optional<int> fastItemCount(const Answers& answers, const Details& details, int thresholdSeconds)
{
    if (!details.timed)
        return std::nullopt;
    int fast = 0;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (answered(answers[i]) && details.milliseconds[i] < qint64(thresholdSeconds) * 1000)
            ++fast;
    }
    return fast;
}

QString flagName(Flag flag)
{
    switch (flag) {
    case Flag::SameAnswerEverywhere:
        return DatastoreTexts::flagSameAnswer;
    case Flag::LongRun:
        return DatastoreTexts::flagLongRun;
    case Flag::FastCompletion:
        return DatastoreTexts::flagFastCompletion;
    case Flag::ManyUnanswered:
        break;
    }
    return DatastoreTexts::flagManyUnanswered;
}

QString flagKey(Flag flag)
{
    switch (flag) {
    case Flag::SameAnswerEverywhere:
        return QStringLiteral("same");
    case Flag::LongRun:
        return QStringLiteral("run");
    case Flag::FastCompletion:
        return QStringLiteral("fast");
    case Flag::ManyUnanswered:
        break;
    }
    return QStringLiteral("unanswered");
}

QString flagsLine(const QList<Flag>& raised)
{
    QStringList names;
    for (const Flag flag : raised)
        names << flagName(flag);
    return names.isEmpty() ? QString()
                           : DatastoreTexts::flagsCaption + names.join(DatastoreTexts::flagSeparator);
}

QString stateName(EntryState state, bool onScreen)
{
    if (onScreen && state == EntryState::Once)
        return DatastoreTexts::entryOnScreen;
    switch (state) {
    case EntryState::AwaitingSecond:
        return DatastoreTexts::entryAwaitingSecond;
    case EntryState::SecondUnderWay:
        return DatastoreTexts::entrySecondUnderWay;
    case EntryState::AwaitingReview:
        return DatastoreTexts::entryAwaitingReview;
    case EntryState::Verified:
        return DatastoreTexts::entryVerified;
    case EntryState::Once:
        break;
    }
    return DatastoreTexts::entryOnce;
}

QStringList summaryLines(const Answers& answers, const Details& details, const Settings& settings,
                         bool onScreen)
{
    QStringList lines{stateName(details.state, onScreen)};
    const std::optional<double> median = medianSeconds(details);
    if (median)
        lines << DatastoreTexts::timingLine(
            QString::number(*median, 'f', 1),
            fastItemCount(answers, details, settings.fastItemSeconds).value_or(0), settings.fastItemSeconds);
    const QString flagLine = flagsLine(flags(answers, details, settings));
    if (!flagLine.isEmpty())
        lines << flagLine;
    return lines;
}

} // namespace AnswerChecks
