#pragma once

#include "scoring/ScoringKey.h"

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
    QString name;    // short Latin name that statistics programs accept
    QString caption; // Persian caption
    QString meaning;
    QString values;
    Kind kind = Kind::Text;
    double width = 6; // a sensible spreadsheet column width, in characters
};

// The stored texts of one subject, as IDE and the subject's Answer row hold them.
struct StoredSubject
{
    // Code, FName, LName, Sen, Jens, Taahol, Tahsil, Group, Date, Time.
    static constexpr int kParticularCount = 10;
    std::array<QString, kParticularCount> particulars;
    ScoringKey::ItemTexts answers;
    ScoringKey::ScoreTexts scores;
};

namespace ExportTable {

// The IDE columns of the particulars, in the order of StoredSubject::particulars.
QStringList particularColumns();

// Every column of the export in order: the particulars, q1 … q35, the five scores, the five
// unanswered counts and their total. The item texts (35, from QU) go into the meanings of the
// answer columns; fewer texts leave those meanings short.
QVector<ExportVariable> variables(const QStringList& itemTexts = {});

// The cells of one subject, one per variable.
ExportRow cells(const StoredSubject& subject);

// The number a stored text holds when it holds nothing else: blanks around it are allowed and
// Persian or Arabic-Indic digits read as 0 to 9. "4." and ".5" are numbers; "12a", "" and "." are not.
std::optional<double> storedNumber(const QString& text);

// The number as a spreadsheet writes it: "." as separator, no grouping, no needless zeros.
QString numberText(double value);

} // namespace ExportTable
