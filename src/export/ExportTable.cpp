#include "ExportTable.h"

#include "ExportTexts.h"
#include "testing/TestingTexts.h"

#include "common/DigitText.h"

#include <QLocale>

#include <cmath>

namespace ExportTable {

namespace {

using Kind = ExportVariable::Kind;

// Particulars: column, Latin name, caption, meaning, values, kind.
struct Particular
{
    const char* column;
    const char* name;
    const QString* caption;
    const QString* meaning;
    const QString* values;
    Kind kind;
    double width;
};

const QString kNoValues;

// Positions in StoredSubject::particulars.
constexpr std::size_t kCode = 0;
constexpr std::size_t kFirstName = 1;
constexpr std::size_t kLastName = 2;
constexpr std::size_t kGender = 4;
constexpr std::size_t kMarital = 5;
constexpr std::size_t kEducation = 6;
constexpr std::size_t kDate = 8;

// The names, and the education, which is typed freely and may name a school or a place.
bool isDroppedWhenAnonymised(std::size_t particular)
{
    return particular == kFirstName || particular == kLastName || particular == kEducation;
}

const std::array<Particular, StoredSubject::kParticularCount>& particulars()
{
    using namespace ExportTexts;
    static const std::array<Particular, StoredSubject::kParticularCount> list{{
        {"Code", "code", &captionCode, &meaningCode, &kNoValues, Kind::Text, 10},
        {"FName", "first_name", &captionFirstName, &meaningText, &kNoValues, Kind::Text, 16},
        {"LName", "last_name", &captionLastName, &meaningText, &kNoValues, Kind::Text, 18},
        {"Sen", "age", &captionAge, &meaningAge, &kNoValues, Kind::Whole, 6},
        {"Jens", "gender", &captionGender, &meaningText, &valuesGender, Kind::Text, 8},
        {"Taahol", "marital", &captionMarital, &meaningText, &kNoValues, Kind::Text, 11},
        {"Tahsil", "education", &captionEducation, &meaningText, &kNoValues, Kind::Text, 14},
        {"Group", "group", &captionGroup, &meaningText, &valuesGroup, Kind::Text, 7},
        {"Date", "reg_date", &captionDate, &meaningDate, &kNoValues, Kind::Text, 11},
        {"Time", "reg_time", &captionTime, &meaningTime, &kNoValues, Kind::Text, 10},
    }};
    return list;
}

// A variable with nothing but its description; the rest is added where it applies.
ExportVariable described(const QString& name, const QString& caption, const QString& meaning,
                         const QString& values, Kind kind, double width)
{
    ExportVariable variable;
    variable.name = name;
    variable.caption = caption;
    variable.meaning = meaning;
    variable.values = values;
    variable.kind = kind;
    variable.width = width;
    return variable;
}

int digitOf(QChar c)
{
    // Persian and Arabic-Indic digits read as 0 to 9.
    const QChar digit = latinDigit(c);
    return digit.isNull() ? -1 : digit.unicode() - u'0';
}

ExportCell numberOrText(const QString& text)
{
    if (text.isEmpty())
        return ExportCell::empty();
    if (const auto value = storedNumber(text))
        return ExportCell::fromNumber(*value);
    // Not a number: kept as stored, so that the researcher sees what is there.
    return ExportCell::fromText(text);
}

ExportCell scoreCell(const QString& text)
{
    // The score format writes a zero score as the separator alone.
    if (text.trimmed() == QLatin1String("."))
        return ExportCell::fromNumber(0.0);
    return numberOrText(text);
}

// The values of "entry", in the order of AdministrationDetails::EntryState after "screen".
const QStringList& entryKeys()
{
    static const QStringList keys{QStringLiteral("once"),   QStringLiteral("screen"),
                                  QStringLiteral("first"),  QStringLiteral("second"),
                                  QStringLiteral("review"), QStringLiteral("verified")};
    return keys;
}

// The flag columns, in the order of their names.
const std::array<std::pair<const char*, AnswerChecks::Flag>, 4>& flagColumns()
{
    static const std::array<std::pair<const char*, AnswerChecks::Flag>, 4> columns{{
        {"flag_same", AnswerChecks::Flag::SameAnswerEverywhere},
        {"flag_run", AnswerChecks::Flag::LongRun},
        {"flag_fast", AnswerChecks::Flag::FastCompletion},
        {"flag_missing", AnswerChecks::Flag::ManyUnanswered},
    }};
    return columns;
}

} // namespace

void describe(StoredSubject& subject, const AdministrationDetails::Details& details,
              const AdministrationDetails::Settings& settings)
{
    using State = AdministrationDetails::EntryState;
    const QStringList& keys = entryKeys();
    switch (details.state) {
    case State::Once:
        subject.entry = keys.at(details.timed ? 1 : 0);
        break;
    case State::AwaitingSecond:
        subject.entry = keys.at(2);
        break;
    case State::SecondUnderWay:
        subject.entry = keys.at(3);
        break;
    case State::AwaitingReview:
        subject.entry = keys.at(4);
        break;
    case State::Verified:
        subject.entry = keys.at(5);
        break;
    }
    subject.medianSeconds = AnswerChecks::medianSeconds(details);
    subject.fastItems = AnswerChecks::fastItemCount(subject.answers, details, settings.fastItemSeconds);
    subject.flags = AnswerChecks::flags(subject.answers, details, settings);
}

QStringList particularColumns()
{
    QStringList columns;
    for (const Particular& particular : particulars())
        columns << QString::fromLatin1(particular.column);
    return columns;
}

QVector<ExportVariable> variables(const QStringList& itemTexts, const ExportLayout& layout)
{
    using namespace ExportTexts;
    using Level = ExportVariable::Level;
    QVector<ExportVariable> list;
    for (std::size_t i = 0; i < particulars().size(); ++i) {
        if (layout.anonymised && isDroppedWhenAnonymised(i))
            continue;
        const Particular& p = particulars()[i];
        ExportVariable variable =
            described(QString::fromLatin1(p.name), *p.caption, *p.meaning, *p.values, p.kind, p.width);
        variable.level = p.kind == Kind::Text ? Level::Nominal : Level::Scale;
        if (i == kGender)
            variable.categories = {CommonTexts::male, CommonTexts::female};
        else if (i == kMarital)
            variable.categories = CommonTexts::maritalStates;
        if (layout.anonymised && i == kCode)
            variable = described(QStringLiteral("pseudonym"), captionPseudonym, meaningPseudonym, {},
                                 Kind::Text, 18);
        if (layout.anonymised && i == kDate)
            variable.meaning += meaningShifted;
        list.append(variable);
    }
    if (layout.perAdministration) {
        ExportVariable sequence = described(QStringLiteral("adm_seq"), captionSequence, meaningSequence,
                                            valuesSequence, Kind::Whole, 8);
        sequence.level = Level::Ordinal;
        list.append(sequence);
        list.append(described(QStringLiteral("adm_date"), captionAdministrationDate,
                              meaningAdministrationDate + (layout.anonymised ? meaningShifted : QString()),
                              {}, Kind::Text, 11));
    }
    const QStringList options{TestingTexts::optionVeryLittle, TestingTexts::optionLittle,
                              TestingTexts::optionMedium, TestingTexts::optionMuch,
                              TestingTexts::optionVeryMuch};
    for (std::size_t scale = 0; scale < ScoringKey::kScales.size(); ++scale) {
        const int first = ScoringKey::kScales[scale].firstItem;
        for (int item = first; item < first + ScoringKey::kItemsPerScale; ++item) {
            const QString text = item <= itemTexts.size() ? itemTexts.at(item - 1).simplified() : QString();
            ExportVariable answer = described(QStringLiteral("q%1").arg(item), captionItem.arg(item),
                                              meaningItem.arg(text, *needCaptions[scale]).trimmed(),
                                              valuesAnswer, Kind::Whole, 5);
            answer.level = Level::Ordinal;
            for (int value = 1; value <= options.size(); ++value)
                answer.labels.append({value, options.at(value - 1)});
            answer.missingCode = -1;
            answer.missingLabel = labelUnanswered;
            list.append(answer);
        }
    }
    for (std::size_t scale = 0; scale < ScoringKey::kScales.size(); ++scale) {
        ExportVariable score = described(QString::fromLatin1(ScoringKey::kScales[scale].field),
                                         *needCaptions[scale], meaningScore, valuesScore, Kind::Fraction, 7);
        score.level = Level::Scale;
        score.missingCode = -1;
        score.missingLabel = labelNotScored;
        list.append(score);
    }
    for (std::size_t scale = 0; scale < ScoringKey::kScales.size(); ++scale) {
        const ScoringKey::Scale& s = ScoringKey::kScales[scale];
        ExportVariable missing = described(
            QStringLiteral("miss_") + QString::fromLatin1(s.field), captionMissing.arg(*needCaptions[scale]),
            meaningMissing.arg(s.firstItem).arg(s.firstItem + ScoringKey::kItemsPerScale - 1), valuesMissing,
            Kind::Whole, 10);
        missing.level = Level::Scale;
        list.append(missing);
    }
    ExportVariable total = described(QStringLiteral("miss_total"), captionMissingTotal, meaningMissingTotal,
                                     valuesMissingTotal, Kind::Whole, 11);
    total.level = Level::Scale;
    list.append(total);
    ExportVariable entry =
        described(QStringLiteral("entry"), captionEntry, meaningEntry, valuesEntry, Kind::Text, 9);
    entry.categories = entryKeys();
    list.append(entry);
    ExportVariable median = described(QStringLiteral("med_sec"), captionMedianSeconds, meaningMedianSeconds,
                                      valuesSeconds, Kind::Fraction, 8);
    median.level = Level::Scale;
    list.append(median);
    ExportVariable fast = described(QStringLiteral("fast_items"), captionFastItems, meaningFastItems,
                                    valuesMissingTotal, Kind::Whole, 8);
    fast.level = Level::Scale;
    list.append(fast);
    for (const auto& [name, flag] : flagColumns()) {
        const QString flagName = AnswerChecks::flagName(flag);
        ExportVariable raised = described(QString::fromLatin1(name), flagName, meaningFlag.arg(flagName),
                                          valuesFlag, Kind::Whole, 8);
        raised.labels = {{0, labelFlagAbsent}, {1, labelFlagPresent}};
        list.append(raised);
    }
    return list;
}

QStringList notes(const ExportLayout& layout)
{
    QStringList lines;
    if (layout.perAdministration)
        lines << ExportTexts::notePerAdministration;
    if (layout.anonymised)
        lines << ExportTexts::noteAnonymised << ExportTexts::notePseudonym << ExportTexts::noteShifted;
    return lines;
}

ExportRow cells(const StoredSubject& subject, const ExportLayout& layout)
{
    ExportRow row;
    row.reserve(StoredSubject::kParticularCount + 2 + ScoringKey::kItemCount + 2 * ScoringKey::kScaleCount +
                1);
    for (std::size_t i = 0; i < subject.particulars.size(); ++i) {
        if (layout.anonymised && isDroppedWhenAnonymised(i))
            continue;
        const QString& text = subject.particulars[i];
        if (particulars()[i].kind == Kind::Text)
            row.append(text.isEmpty() ? ExportCell::empty() : ExportCell::fromText(text));
        else
            row.append(numberOrText(text));
    }
    if (layout.perAdministration) {
        row.append(ExportCell::fromNumber(subject.sequence));
        row.append(subject.administrationDate.isEmpty() ? ExportCell::empty()
                                                        : ExportCell::fromText(subject.administrationDate));
    }
    for (const QString& answer : subject.answers)
        row.append(numberOrText(answer));
    for (const QString& score : subject.scores)
        row.append(scoreCell(score));
    // Unanswered as the scoring counts it: an empty text, whatever else the field holds.
    int total = 0;
    for (const ScoringKey::Scale& scale : ScoringKey::kScales) {
        int missing = 0;
        for (int item = scale.firstItem; item < scale.firstItem + ScoringKey::kItemsPerScale; ++item)
            missing += subject.answers.at(static_cast<std::size_t>(item - 1)).isEmpty() ? 1 : 0;
        row.append(ExportCell::fromNumber(missing));
        total += missing;
    }
    row.append(ExportCell::fromNumber(total));
    row.append(subject.entry.isEmpty() ? ExportCell::empty() : ExportCell::fromText(subject.entry));
    row.append(subject.medianSeconds ? ExportCell::fromNumber(*subject.medianSeconds) : ExportCell::empty());
    row.append(subject.fastItems ? ExportCell::fromNumber(*subject.fastItems) : ExportCell::empty());
    for (const auto& [name, flag] : flagColumns())
        row.append(ExportCell::fromNumber(subject.flags.contains(flag) ? 1 : 0));
    return row;
}

std::optional<double> storedNumber(const QString& text)
{
    // Answers, ages and counts are a few ASCII digits: read them without the general conversion,
    // which a hundred thousand subjects would feel.
    if (!text.isEmpty() && text.size() <= 9) {
        qint64 whole = 0;
        bool plain = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                plain = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (plain)
            return static_cast<double>(whole);
    }
    QString ascii;
    ascii.reserve(text.size());
    bool seenDigit = false;
    bool seenPoint = false;
    for (const QChar c : QStringView(text).trimmed()) {
        const int digit = digitOf(c);
        if (digit >= 0) {
            ascii += QChar(u'0' + digit);
            seenDigit = true;
        } else if ((c == u'.' || c == QChar(0x066B)) && !seenPoint) { // "." or the Arabic decimal separator
            ascii += u'.';
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    if (ascii.endsWith(u'.'))
        ascii.chop(1);
    if (ascii.startsWith(u'.'))
        ascii.prepend(u'0');
    bool ok = false;
    const double value = ascii.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString numberText(double value)
{
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    // The shortest text that reads back as the same number: 3.43 stays "3.43".
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace ExportTable
