#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// Every administration of the questionnaire a subject has taken. The subject's Answer row and the
// five score columns of its IDE row always hold the latest administration, as every window, print
// and older backup expects; the table "Administrations" holds the earlier ones, copied whole when
// the clinician starts a new one. The table stands apart from the program's data tables (like the
// audit trail): an older file gains it, empty, on its first start, and a backup without it restores
// as before.
//
// Besides the closed administrations, the table keeps one open row per subject for the latest
// administration when it was begun through this module: its number, when it began, how and by
// whom. Its answers and scores stay in Answer and IDE until a later administration closes it.
namespace AdministrationStore {

inline const QString table = QStringLiteral("Administrations");
constexpr int kItemCount = 35;
constexpr int kScaleCount = 5;

// "Code", "Seq", "Date", "Time", "Entry", "User", "Open", "1" … "35", "S", "L", "F1", "P", "F2";
// every value a text.
QStringList columns();

// How an administration's answers came in.
enum class Entry
{
    Unknown, // given before the program kept administrations
    OnScreen,
    PaperSheet
};

// When, how and by whom an administration began. Date and time are texts as the subject's IDE row
// keeps them (Jalali date, "hh:mm:ss"); the user is empty where sign-in is not used.
struct Start
{
    QString date;
    QString time;
    Entry entry = Entry::Unknown;
    QString user;
};

struct Administration
{
    QString code;
    int sequence = 0; // 1, 2, 3 … per subject, in the order they were taken
    Start start;
    std::array<QString, kItemCount> answers; // the stored answer texts, element 0 is item 1
    std::array<QString, kScaleCount> scores; // S, L, F1, P, F2 as stored
    bool latest = false;                     // the one Answer and IDE hold now
};

// Makes the table and its index when missing (and AdministrationDetails' table with it); a table that is
// there is left as it is. Runs in the caller's transaction.
bool ensure(QSqlDatabase& db, QString* error = nullptr);
bool exists(const QSqlDatabase& db);

// These four carry AdministrationDetails' rows along with the administrations'.
// Appends every row of the table in one database to the table in another, in their order; true
// without a row when `from` has no table. The caller holds the transaction on `to`.
bool copy(const QSqlDatabase& from, const QSqlDatabase& to, QString* error = nullptr);

// Removes every row of the table (a restore or a copy that replaces the records); true when the
// database has no table. The caller holds the transaction.
bool clear(const QSqlDatabase& db, QString* error = nullptr);

// Removes every row of one subject. The caller holds the transaction that removes the subject.
bool removeSubject(const QSqlDatabase& db, const QString& code, QString* error = nullptr);

// Moves every row of one subject to its new code. The caller holds the transaction that changes
// the subject's code.
bool renameSubject(const QSqlDatabase& db, const QString& from, const QString& to, QString* error = nullptr);

// Whether the subject's latest administration has answers and all five scores: a new test of
// such a subject is either a new administration or a correction of it. Nullopt when it cannot
// be read.
std::optional<bool> hasScoredAdministration(const QSqlDatabase& db, const QString& code);

// A new administration: in one transaction the latest one is closed (its answers and scores
// copied whole into the table), the subject's answers and scores are emptied, and the open row of
// the new one is written. False, with nothing changed, when any of it fails.
bool startNew(const QSqlDatabase& db, const QString& code, const Start& start, QString* error = nullptr);

// Notes when, how and by whom a subject's first administration begins: the open row, written
// when the subject has no answers, no scores and no open row yet. True without a write otherwise.
bool recordStart(const QSqlDatabase& db, const QString& code, const Start& start, QString* error = nullptr);

// The subject's administrations in the order they were taken, the latest last (flagged). A
// subject whose answers were never stored has none. Nullopt when they cannot be read.
std::optional<QList<Administration>> list(const QSqlDatabase& db, const QString& code);

// The number of the subject's latest administration (the one Answer and IDE hold, or the one
// begun and not yet answered); nullopt when it cannot be read.
std::optional<int> latestSequence(const QSqlDatabase& db, const QString& code);

// The same for every subject that has an administration row (the others' latest is number 1), in
// one read, for a whole export; nullopt when it cannot be read.
std::optional<QHash<QString, int>> latestSequences(const QSqlDatabase& db);

// For a reader that streams many subjects at once (the research export): one row of the table,
// read from a query whose columns from `first` on are those of columns(), and the subject's
// latest answers and scores as Answer and IDE hold them.
struct StoredRow
{
    Administration administration;
    bool open = false;
};
StoredRow storedRowOf(const QSqlQuery& query, int first);
struct Current
{
    std::array<QString, kItemCount> answers;
    std::array<QString, kScaleCount> scores;
    QString subjectDate;
    QString subjectTime;
};
// The administrations list() gives for a subject with these stored rows (in any order) and these
// latest answers and scores.
QList<Administration> assemble(const QString& code, const Current& current, const QList<StoredRow>& rows);

// One of them by its number; nullopt when there is none or it cannot be read.
std::optional<Administration> read(const QSqlDatabase& db, const QString& code, int sequence);

// The answers of every administration of every subject (closed ones and the latest of each), for
// the statistics. Nullopt when they cannot be read.
std::optional<QList<std::array<QString, kItemCount>>> allAnswers(const QSqlDatabase& db);

// The same answers streamed, one administration at a time, for a store too large to hold in
// memory. `visit` returns false to stop early; false when they could not be read or were stopped.
bool eachAnswers(const QSqlDatabase& db,
                 const std::function<bool(const std::array<QString, kItemCount>&)>& visit);
// How many administrations eachAnswers visits; nullopt when they cannot be counted.
std::optional<qint64> answersCount(const QSqlDatabase& db);

// The texts stored in "Entry".
QString entryKey(Entry entry);
Entry entryOfKey(const QString& key);

} // namespace AdministrationStore
