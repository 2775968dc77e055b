#pragma once

#include <QString>

#include <array>

// The scoring key of the questionnaire and the texts a scoring produces. Pure functions: no
// widgets, no database.
namespace ScoringKey {

constexpr int kItemCount = 35;
constexpr int kItemsPerScale = 7;
constexpr int kScaleCount = 5;

struct Scale
{
    const char* field; // the score column of IDE
    int firstItem;     // items firstItem … firstItem + 6
};

// In the order the scores are shown, stored and charted: S, L, F1, P, F2.
constexpr std::array<Scale, kScaleCount> kScales{{{"S", 1}, {"L", 8}, {"F1", 15}, {"P", 22}, {"F2", 29}}};

// The stored answer texts of items 1 … 35 (element 0 is item 1).
using ItemTexts = std::array<QString, kItemCount>;
using ScoreTexts = std::array<QString, kScaleCount>;

// The value of one stored answer: the number at the start of its text, 0 when there is none.
double itemValue(const QString& text);

// The mean of the seven items of a scale; unanswered items count 0 and the divisor stays 7.
double scaleMean(const ItemTexts& items, const Scale& scale);

// A score formatted as "#########.##": integer digits without grouping and without a leading
// zero, then "." (always present), then at most two decimals, rounded, trailing zeros dropped.
// 24/7 gives "3.43", 4 gives "4.", 0 gives ".". The separator is "." whatever the locale, since
// the chart reads score texts back with numericValue, which understands nothing else.
QString scoreText(double score);

// The five score texts of a subject, in scale order.
ScoreTexts scoreTexts(const ItemTexts& items);

// The unanswered items: for each empty item text, in ascending order, a blank, the item number and
// two blanks (items 3 and 17 give " 3   17  "). A text that is not empty, "0" included, counts as
// answered. Empty when every item is answered.
QString unansweredList(const ItemTexts& items);

// How many of the scale's seven items are unanswered (empty), counted as unansweredList does.
int unansweredCount(const ItemTexts& items, const Scale& scale);

// The subject's particulars as stored in IDE.
struct SubjectRecord
{
    QString code;
    QString firstName;
    QString lastName;
    QString age;
    QString gender;
    QString maritalStatus;
    QString education;
};

// "كد آزمودني: <code>  -  نام و نام خانوادگي: <first> <last>  -  سن: …  -  جنس: …  -  وضعيت تاهل: …
//  -  ميزان تحصيلات: …", the separator being blank, blank, hyphen, blank, blank.
QString subjectDataLine(const SubjectRecord& subject);

// First name, one blank, last name.
QString fullName(const SubjectRecord& subject);

} // namespace ScoringKey
