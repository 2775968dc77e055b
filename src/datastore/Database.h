#pragma once

#include <QSqlDatabase>
#include <QString>

#include <memory>

class DataView;

// The two database files of the program folder: DABSH.skn (IDE, Answer, QU) and Theme.skn (Theme).
namespace Database {

inline const QString clinicalFileName = QStringLiteral("DABSH.skn");
inline const QString themeFileName = QStringLiteral("Theme.skn");
constexpr int kItemCount = 35;

enum class File
{
    Clinical,
    Theme
};

struct OpenResult
{
    bool ok = false;
    QString failedFile; // the file name that could not be used
    QString message;    // a Persian text for the user
};

// Opens both files of the folder, creating a missing file with its tables and first-run content
// (35 item texts, the one Theme row). A file that exists but is not a readable database is never
// touched; the result says which one. Missing tables, columns or the Theme row are added.
OpenResult openProgramDatabases(const QString& folder);

// The open connection to one file of the folder (after openProgramDatabases).
QSqlDatabase connection(const QString& folder, File file);

// Closes the connections of a folder (tests use several folders).
void closeProgramDatabases(const QString& folder);

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
