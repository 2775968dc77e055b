#include "Database.h"

#include "DataView.h"
#include "DatastoreTexts.h"
#include "DefaultItemTexts.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Database {

namespace {

QString connectionName(const QString& folder, File file)
{
    const QString canonical = QFileInfo(folder).absoluteFilePath();
    return (file == File::Clinical ? QStringLiteral("DABSH:") : QStringLiteral("Theme:")) + canonical;
}

QString fileName(File file)
{
    return file == File::Clinical ? clinicalFileName : themeFileName;
}

struct TableShape
{
    QString name;
    QStringList columns;
};

QList<TableShape> tablesOf(File file)
{
    if (file == File::Theme)
        return {{QStringLiteral("Theme"), themeColumns()}};
    return {{QStringLiteral("IDE"), subjectColumns()},
            {QStringLiteral("Answer"), answerColumns()},
            {QStringLiteral("QU"), {QStringLiteral("ID"), QStringLiteral("QUS")}}};
}

bool exec(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

bool fillFirstRunContent(QSqlDatabase& db, const QString& table)
{
    if (table == QLatin1String("QU")) {
        const QStringList texts = defaultItemTexts();
        for (int i = 0; i < texts.size(); ++i) {
            if (!exec(db, QStringLiteral("INSERT INTO QU (ID, QUS) VALUES (?, ?)"),
                      {QString::number(i + 1), texts.at(i)}))
                return false;
        }
        return true;
    }
    if (table == QLatin1String("Theme"))
        return exec(db, QStringLiteral("INSERT INTO Theme (ID, Name, Adress, T1, T2, T3, T4, T5, T6, Check1) "
                                       "VALUES ('1', '', '', '', '', '', '', '', '', '0')"));
    return true;
}

// An item bank with items missing (rows deleted by hand, or an older file) gets the first-run text
// of each missing item, so that the test never shows a blank item; existing rows stay as they are.
bool addMissingItems(QSqlDatabase& db)
{
    QSet<QString> present;
    QSqlQuery ids(db);
    if (!ids.exec(QStringLiteral("SELECT ID FROM QU")))
        return false;
    while (ids.next())
        present.insert(ids.value(0).toString());
    const QStringList texts = defaultItemTexts();
    for (int i = 0; i < texts.size(); ++i) {
        const QString id = QString::number(i + 1);
        if (!present.contains(id) &&
            !exec(db, QStringLiteral("INSERT INTO QU (ID, QUS) VALUES (?, ?)"), {id, texts.at(i)}))
            return false;
    }
    return true;
}

// Brings an opened file to the shape the program needs: creates missing tables (with their first
// content), adds missing columns and the Theme row. Existing rows are never changed.
bool ensureSchema(QSqlDatabase& db, File file)
{
    Transaction transaction(db);
    for (const TableShape& shape : tablesOf(file)) {
        const QStringList existing = db.tables();
        const bool present = existing.contains(shape.name, Qt::CaseInsensitive);
        if (!present) {
            QStringList columns;
            for (const QString& column : shape.columns)
                columns << quotedIdentifier(column) + QStringLiteral(" TEXT");
            if (!exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(shape.name, columns.join(u','))) ||
                !fillFirstRunContent(db, shape.name))
                return false;
        } else {
            const QSqlRecord record = db.record(shape.name);
            for (const QString& column : shape.columns) {
                if (record.indexOf(column) < 0 &&
                    !exec(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                                  .arg(shape.name, quotedIdentifier(column))))
                    return false;
            }
        }
    }
    if (file == File::Clinical) {
        // The finder searches by last name, first name and group and lists by code: with these
        // it reads only the rows it shows, however many subjects the file holds.
        if (!exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS IDE_Code ON IDE (Code)")) ||
            !exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS IDE_LName_Code ON IDE (LName, Code)")) ||
            !exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS IDE_FName_Code ON IDE (FName, Code)")) ||
            !exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS IDE_Group_Code ON IDE (\"Group\", Code)")) ||
            !exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS Answer_Code ON Answer (Code)")) ||
            !addMissingItems(db))
            return false;
    } else {
        QSqlQuery count(QStringLiteral("SELECT COUNT(*) FROM Theme"), db);
        if (!count.next())
            return false;
        if (count.value(0).toInt() == 0 && !fillFirstRunContent(db, QStringLiteral("Theme")))
            return false;
    }
    return transaction.commit();
}

// Another program holds a lock on the file: a passing state, not damage.
bool isBusy(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6"); // SQLITE_BUSY, SQLITE_LOCKED
}

// Whether the file opens as an SQLite database: an arbitrary file fails on the first read.
FileState probeFile(QSqlDatabase& db)
{
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !probe.next())
        return isBusy(probe.lastError()) ? FileState::Busy : FileState::Unreadable;
    return FileState::Usable;
}

// Whether the file's pages are whole. A file whose first page is sound can still be damaged
// further on: it would look empty and refuse every write with no useful word. SQLite's quick
// check reads every page without comparing indexes with their tables.
FileState checkPagesOf(QSqlDatabase& db)
{
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check(1)")) || !check.next())
        return isBusy(check.lastError()) ? FileState::Busy : FileState::Damaged;
    return check.value(0).toString() == QLatin1String("ok") ? FileState::Usable : FileState::Damaged;
}

FileState openOne(const QString& folder, File file, PageCheck pageCheck)
{
    const QString name = connectionName(folder, file);
    QSqlDatabase db = QSqlDatabase::contains(name)
                          ? QSqlDatabase::database(name, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QDir(folder).filePath(fileName(file)));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.isOpen() && !db.open())
        return isBusy(db.lastError()) ? FileState::Busy : FileState::Unreadable;
    FileState state = probeFile(db);
    if (state == FileState::Usable && pageCheck == PageCheck::AtOpen)
        state = checkPagesOf(db);
    // Nothing is written into a file that is damaged or not a database at all.
    if (state == FileState::Usable && !ensureSchema(db, file))
        state = isBusy(db.lastError()) ? FileState::Busy : FileState::Unreadable;
    if (state != FileState::Usable)
        db.close();
    return state;
}

} // namespace

QStringList tableNames(File file)
{
    QStringList names;
    for (const TableShape& shape : tablesOf(file))
        names << shape.name;
    return names;
}

QStringList subjectColumns()
{
    return {QStringLiteral("Code"),   QStringLiteral("FName"), QStringLiteral("LName"),
            QStringLiteral("Sen"),    QStringLiteral("Jens"),  QStringLiteral("Taahol"),
            QStringLiteral("Tahsil"), QStringLiteral("Group"), QStringLiteral("Date"),
            QStringLiteral("Time"),   QStringLiteral("S"),     QStringLiteral("L"),
            QStringLiteral("F1"),     QStringLiteral("P"),     QStringLiteral("F2")};
}

QStringList answerColumns()
{
    QStringList columns{QStringLiteral("Code")};
    for (int item = 1; item <= kItemCount; ++item)
        columns << itemColumn(item);
    return columns;
}

QStringList themeColumns()
{
    return {QStringLiteral("ID"), QStringLiteral("Name"),  QStringLiteral("Adress"), QStringLiteral("T1"),
            QStringLiteral("T2"), QStringLiteral("T3"),    QStringLiteral("T4"),     QStringLiteral("T5"),
            QStringLiteral("T6"), QStringLiteral("Check1")};
}

QString itemColumn(int item)
{
    return QString::number(item);
}

OpenResult openProgramDatabases(const QString& folder, PageCheck pageCheck)
{
    for (File file : {File::Clinical, File::Theme}) {
        const FileState state = openOne(folder, file, pageCheck);
        if (state != FileState::Usable) {
            OpenResult result;
            result.state = state;
            result.failedFile = fileName(file);
            result.message = messageFor(state, file);
            return result;
        }
    }
    OpenResult result;
    result.ok = true;
    return result;
}

FileState checkPages(const QString& folder, File file)
{
    // A connection of this call's own, so that it may run on any thread.
    static QAtomicInt serial;
    const QString name = QStringLiteral("page check %1").arg(serial.fetchAndAddRelaxed(1));
    FileState state = FileState::Unreadable;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(folder).filePath(fileName(file)));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"));
        if (db.open()) {
            state = checkPagesOf(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return state;
}

QString messageFor(FileState state, File file)
{
    const QString name = fileName(file);
    switch (state) {
    case FileState::Usable:
        return {};
    case FileState::Busy:
        return DatastoreTexts::busyDatabase(name);
    case FileState::Damaged:
        return DatastoreTexts::damagedDatabase(name);
    case FileState::Unreadable:
        break;
    }
    return DatastoreTexts::unreadableDatabase(name);
}

QSqlDatabase connection(const QString& folder, File file)
{
    return QSqlDatabase::database(connectionName(folder, file), false);
}

void closeProgramDatabases(const QString& folder)
{
    for (File file : {File::Clinical, File::Theme}) {
        const QString name = connectionName(folder, file);
        if (!QSqlDatabase::contains(name))
            continue;
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

std::unique_ptr<DataView> openView(const QString& folder, File file, const QString& table)
{
    return std::make_unique<DataView>(connection(folder, file), table);
}

} // namespace Database
