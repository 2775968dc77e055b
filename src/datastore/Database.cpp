#include "Database.h"

#include "DataView.h"
#include "DatastoreTexts.h"
#include "DefaultItemTexts.h"

#include <QDir>
#include <QFileInfo>
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

void fillFirstRunContent(QSqlDatabase& db, const QString& table)
{
    if (table == QLatin1String("QU")) {
        const QStringList texts = defaultItemTexts();
        for (int i = 0; i < texts.size(); ++i)
            exec(db, QStringLiteral("INSERT INTO QU (ID, QUS) VALUES (?, ?)"),
                 {QString::number(i + 1), texts.at(i)});
    } else if (table == QLatin1String("Theme")) {
        exec(db, QStringLiteral("INSERT INTO Theme (ID, Name, Adress, T1, T2, T3, T4, T5, T6, Check1) "
                                "VALUES ('1', '', '', '', '', '', '', '', '', '0')"));
    }
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
            if (!exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(shape.name, columns.join(u','))))
                return false;
            fillFirstRunContent(db, shape.name);
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
        exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS IDE_Code ON IDE (Code)"));
        exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS Answer_Code ON Answer (Code)"));
    } else {
        QSqlQuery count(QStringLiteral("SELECT COUNT(*) FROM Theme"), db);
        if (count.next() && count.value(0).toInt() == 0)
            fillFirstRunContent(db, QStringLiteral("Theme"));
    }
    return transaction.commit();
}

// True when the file opens as an SQLite database (an arbitrary file fails on the first read).
bool readable(QSqlDatabase& db)
{
    QSqlQuery probe(db);
    return probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && probe.next();
}

bool openOne(const QString& folder, File file)
{
    const QString name = connectionName(folder, file);
    QSqlDatabase db = QSqlDatabase::contains(name)
                          ? QSqlDatabase::database(name, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QDir(folder).filePath(fileName(file)));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.isOpen() && !db.open())
        return false;
    if (!readable(db) || !ensureSchema(db, file)) {
        db.close();
        return false;
    }
    return true;
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

OpenResult openProgramDatabases(const QString& folder)
{
    for (File file : {File::Clinical, File::Theme}) {
        if (!openOne(folder, file)) {
            OpenResult result;
            result.failedFile = fileName(file);
            result.message = DatastoreTexts::unreadableDatabase(result.failedFile);
            return result;
        }
    }
    OpenResult result;
    result.ok = true;
    return result;
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
