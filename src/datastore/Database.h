#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class DataView;

// The two database files of the data folder: DABSH.skn (IDE, Answer, QU) and Theme.skn (Theme).
namespace Database {

inline const QString clinicalFileName = QStringLiteral("DABSH.skn");
inline const QString themeFileName = QStringLiteral("Theme.skn");
constexpr int kItemCount = 35;

// The clinic's user accounts (Name, Hash, Role) and their settings (Name, Value), kept where the
// records are (DABSH.skn or the clinic server). They are not among the tables of tableNames(): a
// backup carries them, but a restore never changes who may sign in (backup/DatabaseBackup.cpp).
// openProgramDatabases and prepareTables add them to an older file or server, empty, which leaves
// sign-in off.
inline const QString accountsTable = QStringLiteral("Accounts");
inline const QString accountSettingsTable = QStringLiteral("AccountSettings");
inline const QStringList accountTables{accountsTable, accountSettingsTable};
// Makes the account tables, empty, where they are missing. Runs in the caller's transaction.
bool ensureAccountTables(QSqlDatabase& db);

enum class File
{
    Clinical,
    Theme
};

// What the start-up found of a database file.
enum class FileState
{
    Usable,
    Unreadable, // not a database the program can read
    Damaged,    // a database with damaged pages
    Busy        // another program holds it locked
};

struct OpenResult
{
    bool ok = false;
    FileState state = FileState::Usable;
    QString failedFile; // the file name that could not be used
    QString message;    // a Persian text for the user
};

// Opens both files of the folder, creating a missing file with its tables and first-run content
// (35 item texts, the one Theme row). A file that exists but is not a readable database is never
// touched; the result says which one and why. Missing tables, columns, items or the Theme row
// are added.
// AtOpen reads every page of each file before the result; Separately leaves that to checkPages,
// which the program runs beside its first window so that a large file does not delay it.
enum class PageCheck
{
    AtOpen,
    Separately
};
OpenResult openProgramDatabases(const QString& folder, PageCheck pageCheck = PageCheck::AtOpen);

// Reads every page of one file through a read-only connection of its own; callable on any thread.
FileState checkPages(const QString& folder, File file);

// The Persian text that tells the user what was found of a file; empty for a usable file.
QString messageFor(FileState state, File file);

// The open connection to one file of the folder (after openProgramDatabases).
QSqlDatabase connection(const QString& folder, File file);

// Closes the connections of a folder (tests use several folders).
void closeProgramDatabases(const QString& folder);

// The name under which the folder's connection to one file is kept. The clinic server mode opens
// its server connections under the same names, so that every window gets them unawares.
QString connectionName(const QString& folder, File file);

// Brings an open database (a file, or the clinic's server) to the shape of one file: missing
// tables with their first-run content, missing columns, indexes. One transaction.
bool prepareTables(QSqlDatabase& db, File file, QString* error = nullptr);
// Creates the tables and indexes of one file, empty, in a new database (snapshots and copies).
bool createEmptyTables(QSqlDatabase& db, File file);
// Appends every row of one of the program's tables from one database to the same table of another,
// in stored order (a file's rows to the server, or the server's to a file). Missing values stay
// missing. The caller holds the transaction.
bool copyTable(const QSqlDatabase& from, const QSqlDatabase& to, const QString& table,
               QString* error = nullptr);
// Replaces the rows of both account tables in `to` by those in `from` (who may sign in, taken over
// whole). The caller holds the transaction on `to`.
bool replaceAccounts(const QSqlDatabase& from, const QSqlDatabase& to, QString* error = nullptr);
// The rows of a table; nullopt where the table is missing or cannot be read.
std::optional<qint64> rowCount(const QSqlDatabase& db, const QString& table);

// A data view on a table of one file of the folder, read and on its first row.
std::unique_ptr<DataView> openView(const QString& folder, File file, const QString& table);

// The tables a file holds.
QStringList tableNames(File file);

// The column names of the tables, in their order.
QStringList subjectColumns();
QStringList answerColumns();
QStringList themeColumns();
QString itemColumn(int item); // "1" … "35"

} // namespace Database
