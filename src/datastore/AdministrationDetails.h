#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What is known about one administration besides its answers and scores: how its paper sheet was
// entered (once, or twice with the second entry kept apart until the two agree or a reviewer has
// decided), who entered and reviewed it, and, for the on-screen test, the time spent on each item
// and how often each answer was changed.
//
// One row per administration in the table "AdministrationDetails", keyed by subject code and
// administration number (AdministrationStore's). Like "Administrations" it stands apart from the
// program's data tables: an older file gains it, empty, on its first start, and it goes wherever
// "Administrations" goes (backups, restores, the copy to the clinic server), and with the subject
// when the subject is removed or renamed. An administration without a row was entered once.
namespace AdministrationDetails {

inline const QString table = QStringLiteral("AdministrationDetails");
constexpr int kItemCount = 35;

// "Code", "Seq", "State", "FirstUser", "SecondUser", "Reviewer", "Second", "Times", "Changes";
// every value a text. The three lists hold 35 values separated by commas.
QStringList columns();

enum class EntryState
{
    Once,           // entered once (or on screen); no second entry is asked for
    AwaitingSecond, // the first entry of a sheet that is to be entered twice
    SecondUnderWay, // the second entry is begun and not yet through its last item
    AwaitingReview, // the two entries disagree; a reviewer decides
    Verified        // the two entries agreed, or the reviewer decided each disagreement
};

struct Details
{
    QString code;
    int sequence = 0;
    EntryState state = EntryState::Once;
    QString firstUser;
    QString secondUser;
    QString reviewer;
    std::array<QString, kItemCount> second; // the second entry's answers, element 0 is item 1
    // On-screen timings; `timed` is false for an administration without them.
    bool timed = false;
    std::array<qint64, kItemCount> milliseconds{};
    std::array<int, kItemCount> changes{};
};

// Makes the table and its index when missing. Runs in the caller's transaction.
bool ensure(QSqlDatabase& db, QString* error = nullptr);
bool exists(const QSqlDatabase& db);

// As AdministrationStore's functions of the same names, which call these.
bool copy(const QSqlDatabase& from, const QSqlDatabase& to, QString* error = nullptr);
bool clear(const QSqlDatabase& db, QString* error = nullptr);
bool removeSubject(const QSqlDatabase& db, const QString& code, QString* error = nullptr);
bool renameSubject(const QSqlDatabase& db, const QString& from, const QString& to, QString* error = nullptr);

// The administration's row; one entered once (no row) when there is none. Nullopt when it cannot
// be read.
std::optional<Details> read(const QSqlDatabase& db, const QString& code, int sequence);

// Every row, by subject code and administration number, for a whole export at once; nullopt when
// they cannot be read.
std::optional<QHash<QString, QHash<int, Details>>> readAll(const QSqlDatabase& db);

// The subject's rows by administration number (an administration without one was entered once);
// nullopt when they cannot be read.
std::optional<QHash<int, Details>> readSubject(const QSqlDatabase& db, const QString& code);

// Replaces the administration's row, in the caller's transaction.
bool write(const QSqlDatabase& db, const Details& details, QString* error = nullptr);

// The same in a transaction of its own, read back afterwards: true only when the file holds it.
bool store(const QSqlDatabase& db, const Details& details, QString* error = nullptr);

// The reviewer's decision, in the caller's transaction: the answers go into the subject's Answer
// row, the stored scores (made from the entries before the review) are emptied when any answer
// changed, and the row becomes verified with the reviewer's name.
bool storeReview(const QSqlDatabase& db, Details details, const std::array<QString, kItemCount>& answers,
                 const QString& reviewer, QString* error = nullptr);

// The subject's latest answers as the Answer row holds them; nullopt when they cannot be read.
std::optional<std::array<QString, kItemCount>> latestAnswers(const QSqlDatabase& db, const QString& code);

// The texts stored in "State".
QString stateKey(EntryState state);
EntryState stateOfKey(const QString& key);

// The clinic's settings for entering sheets and flagging answer patterns, kept with the clinic's
// other settings (the table AccountSettings), so that every workstation of a clinic server uses
// the same ones.
struct Settings
{
    bool doubleEntry = false;
    int fastItemSeconds = 2;        // an on-screen item answered in less is counted as fast
    int fastTestSecondsPerItem = 3; // a whole test taken in less per answered item is flagged
    int longRun = 10;               // this many identical answers in a row are flagged
    int unanswered = 5;             // this many unanswered items are flagged
};
constexpr int kLongestThresholdSeconds = 60;

Settings readSettings(const QSqlDatabase& db);
bool writeSettings(const QSqlDatabase& db, const Settings& settings, QString* error = nullptr);

} // namespace AdministrationDetails
