#pragma once

#include "datastore/AnswerChecks.h"
#include "scoring/ScoringKey.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// What one exported row holds and how the stored texts become spreadsheet cells. Pure functions:
// no files, no database, no widgets.

// One cell: nothing, a number or a text.
struct ExportCell
{
    enum class Kind
    {
        Empty,
        Number,
        Text
    };
    Kind kind = Kind::Empty;
    double number = 0.0;
    QString text;

    static ExportCell empty() { return {}; }
    static ExportCell fromNumber(double value) { return {Kind::Number, value, {}}; }
    static ExportCell fromText(const QString& value) { return {Kind::Text, 0.0, value}; }
};
using ExportRow = QVector<ExportCell>;

// One column of the export and its line in the codebook.
struct ExportVariable
{
    enum class Kind
    {
        Text,
        Whole,   // age, answers, unanswered counts
        Fraction // scores
    };
    // How a statistics program should treat the values.
    enum class Level
    {
        Nominal,
        Ordinal,
        Scale
    };
    QString name;    // short Latin name that statistics programs accept
    QString caption; // Persian caption
    QString meaning;
    QString values;
    Kind kind = Kind::Text;
    double width = 6; // a sensible spreadsheet column width, in characters
    Level level = Level::Nominal;
    // For the formats that code values with labels (.sav): a text variable with categories is
    // stored as the number of its text in this list (1, 2 …), the list being the labels; the
    // numbers of a numeric variable with labels are labelled so.
    QStringList categories;
    QVector<QPair<double, QString>> labels;
    // An empty cell is stored as this number, labelled and declared missing; none: left empty.
    std::optional<double> missingCode;
    QString missingLabel;
};

// Which rows and columns an export has: one row per subject (its latest administration) or one
// per administration; with names and codes, or anonymised (see Anonymising).
struct ExportLayout
{
    bool perAdministration = false;
    bool anonymised = false;
};

// The stored texts of one subject, as IDE and the subject's Answer row hold them.
struct StoredSubject
{
    // Code, FName, LName, Sen, Jens, Taahol, Tahsil, Group, Date, Time.
    static constexpr int kParticularCount = 10;
    std::array<QString, kParticularCount> particulars;
    ScoringKey::ItemTexts answers;
    ScoringKey::ScoreTexts scores;
    // One row per administration: which one (1, 2 …) and the Jalali date it began.
    int sequence = 0;
    QString administrationDate;
    // How the administration was entered and taken (see ExportTable::describe).
    QString entry; // "once", "screen", "first", "second", "review" or "verified"
    std::optional<double> medianSeconds;
    std::optional<int> fastItems;
    QList<AnswerChecks::Flag> flags;
};

namespace ExportTable {

// The IDE columns of the particulars, in the order of StoredSubject::particulars.
QStringList particularColumns();

// Every column of the export in order: the particulars, q1 … q35, the five scores, the five
// unanswered counts and their total. The item texts (35, from QU) go into the meanings of the
// answer columns; fewer texts leave those meanings short. One row per administration adds its
// number and date after the particulars; an anonymised export has a pseudonym for the code and
// neither the names nor the education, a free text.
QVector<ExportVariable> variables(const QStringList& itemTexts = {}, const ExportLayout& layout = {});

// The cells of one subject (or administration), one per variable of the same layout.
ExportRow cells(const StoredSubject& subject, const ExportLayout& layout = {});

// What the codebook says about the rows as a whole: one line per fact, none for the plain
// subject form.
QStringList notes(const ExportLayout& layout);

// Fills the entry, timing and flag texts of a subject read with its administration's details,
// under the clinic's limits.
void describe(StoredSubject& subject, const AdministrationDetails::Details& details,
              const AdministrationDetails::Settings& settings);

// The number a stored text holds when it holds nothing else: blanks around it are allowed and
// Persian or Arabic-Indic digits read as 0 to 9. "4." and ".5" are numbers; "12a", "" and "." are not.
std::optional<double> storedNumber(const QString& text);

// The number as a spreadsheet writes it: "." as separator, no grouping, no needless zeros.
QString numberText(double value);

} // namespace ExportTable
