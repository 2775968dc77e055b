#include "AdministrationStore.h"

#include "AdministrationDetails.h"

#include "DataView.h"
#include "Database.h"
#include "SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace AdministrationStore {

namespace {

const QString kOpen = QStringLiteral("1");
const QStringList kScoreColumns{QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("F1"),
                                QStringLiteral("P"), QStringLiteral("F2")};

QStringList itemColumns()
{
    QStringList items;
    for (int item = 1; item <= kItemCount; ++item)
        items << Database::itemColumn(item);
    return items;
}

QString quotedList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << quotedIdentifier(name);
    return quoted.join(u',');
}

// One statement with its values; the reason of a failure goes to `error`.
bool runStatement(QSqlQuery& query, const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                  SqlDialect::Access access, QString* error)
{
    query.setForwardOnly(true);
    if (SqlDialect::run(query, db, sql, values, access))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

// Binds texts as every other writer of the connection does; a missing value stays missing.
class Values final
{
public:
    explicit Values(const QSqlDatabase& db) : m_db(db), m_encoding(SqlDialect::textEncoding(db)) {}
    QVariant operator()(const QString& text) const
    {
        return text.isNull() ? QVariant(QMetaType::fromType<QString>())
                             : SqlDialect::textValue(m_db, text, m_encoding);
    }

private:
    QSqlDatabase m_db;
    QStringConverter::Encoding m_encoding;
};

QString byCode(const QString& table, const QStringList& selected)
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE \"Code\" = CAST(? AS TEXT) ORDER BY rowid")
        .arg(quotedList(selected), quotedIdentifier(table));
}

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// The latest administration as Answer and IDE hold it.
struct Latest : Current
{
    bool anyAnswer() const
    {
        return std::any_of(answers.begin(), answers.end(), [](auto& a) { return !isBlank(a); });
    }
    bool anyScore() const
    {
        return std::any_of(scores.begin(), scores.end(), [](auto& s) { return !isBlank(s); });
    }
    bool scored() const { return std::none_of(scores.begin(), scores.end(), isBlank); }
    bool given() const { return anyAnswer() || anyScore(); }
};

std::optional<Latest> readLatest(const QSqlDatabase& db, const QString& code, QString* error = nullptr)
{
    const Values value(db);
    Latest latest;
    QSqlQuery answers(db);
    if (!runStatement(answers, db, byCode(QStringLiteral("Answer"), itemColumns()), {value(code)},
                      SqlDialect::Access::Read, error))
        return std::nullopt;
    if (answers.next()) {
        for (int i = 0; i < kItemCount; ++i)
            latest.answers[static_cast<std::size_t>(i)] = answers.value(i).toString();
    }
    QSqlQuery subject(db);
    if (!runStatement(subject, db,
                      byCode(QStringLiteral("IDE"),
                             kScoreColumns + QStringList{QStringLiteral("Date"), QStringLiteral("Time")}),
                      {value(code)}, SqlDialect::Access::Read, error))
        return std::nullopt;
    if (subject.next()) {
        for (int i = 0; i < kScaleCount; ++i)
            latest.scores[static_cast<std::size_t>(i)] = subject.value(i).toString();
        latest.subjectDate = subject.value(kScaleCount).toString();
        latest.subjectTime = subject.value(kScaleCount + 1).toString();
    }
    return latest;
}

struct Stored
{
    QList<Administration> closed;
    std::optional<Administration> open;
    int highestSequence = 0;
};

void addRow(Stored& stored, const StoredRow& row)
{
    stored.highestSequence = std::max(stored.highestSequence, row.administration.sequence);
    if (row.open)
        stored.open = row.administration;
    else
        stored.closed << row.administration;
}

void sortClosed(Stored& stored)
{
    std::stable_sort(
        stored.closed.begin(), stored.closed.end(),
        [](const Administration& a, const Administration& b) { return a.sequence < b.sequence; });
}

std::optional<Stored> readStored(const QSqlDatabase& db, const QString& code, QString* error = nullptr)
{
    Stored stored;
    if (!exists(db))
        return stored;
    QSqlQuery rows(db);
    if (!runStatement(rows, db, byCode(table, columns()), {Values(db)(code)}, SqlDialect::Access::Read,
                      error))
        return std::nullopt;
    while (rows.next())
        addRow(stored, storedRowOf(rows, 0));
    sortClosed(stored);
    return stored;
}

// The latest administration whole: the number and start of its open row, or, for one begun before
// administrations were kept, the next number and the subject's own date and time.
Administration latestOf(const QString& code, const Latest& latest, const Stored& stored)
{
    Administration a;
    if (stored.open) {
        a = *stored.open;
    } else {
        a.code = code;
        a.sequence = stored.highestSequence + 1;
        a.start = {latest.subjectDate, latest.subjectTime, Entry::Unknown, QString()};
    }
    a.answers = latest.answers;
    a.scores = latest.scores;
    a.latest = true;
    return a;
}

bool committed(Transaction& transaction, const QSqlDatabase& db, QString* error)
{
    if (transaction.commit())
        return true;
    if (error)
        *error = db.lastError().text();
    return false;
}

// The row values of an administration in the order of columns().
QVariantList rowValues(const QSqlDatabase& db, const Administration& a, bool open)
{
    const Values value(db);
    QVariantList values{value(a.code),
                        value(QString::number(a.sequence)),
                        value(a.start.date),
                        value(a.start.time),
                        value(entryKey(a.start.entry)),
                        value(a.start.user),
                        value(open ? kOpen : QStringLiteral(""))};
    for (const QString& answer : a.answers)
        values << value(answer);
    for (const QString& score : a.scores)
        values << value(score);
    return values;
}

bool insertRow(const QSqlDatabase& db, const Administration& a, bool open, QString* error)
{
    const QString placeholders = QStringList(columns().size(), QStringLiteral("CAST(? AS TEXT)")).join(u',');
    QSqlQuery insert(db);
    return runStatement(insert, db,
                        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quotedIdentifier(table), quotedList(columns()), placeholders),
                        rowValues(db, a, open), SqlDialect::Access::Write, error);
}

} // namespace

StoredRow storedRowOf(const QSqlQuery& row, int first)
{
    // In the order of columns().
    StoredRow stored;
    Administration& a = stored.administration;
    a.code = row.value(first).toString();
    a.sequence = row.value(first + 1).toString().trimmed().toInt();
    a.start = {row.value(first + 2).toString(), row.value(first + 3).toString(),
               entryOfKey(row.value(first + 4).toString()), row.value(first + 5).toString()};
    stored.open = row.value(first + 6).toString() == kOpen;
    for (int i = 0; i < kItemCount; ++i)
        a.answers[static_cast<std::size_t>(i)] = row.value(first + 7 + i).toString();
    for (int i = 0; i < kScaleCount; ++i)
        a.scores[static_cast<std::size_t>(i)] = row.value(first + 7 + kItemCount + i).toString();
    return stored;
}

QList<Administration> assemble(const QString& code, const Current& current, const QList<StoredRow>& rows)
{
    Stored stored;
    for (const StoredRow& row : rows)
        addRow(stored, row);
    sortClosed(stored);
    Latest latest;
    static_cast<Current&>(latest) = current;
    QList<Administration> all = stored.closed;
    if (latest.given())
        all << latestOf(code, latest, stored);
    return all;
}

QStringList columns()
{
    return QStringList{QStringLiteral("Code"), QStringLiteral("Seq"),   QStringLiteral("Date"),
                       QStringLiteral("Time"), QStringLiteral("Entry"), QStringLiteral("User"),
                       QStringLiteral("Open")} +
           itemColumns() + kScoreColumns;
}

bool exists(const QSqlDatabase& db)
{
    return db.tables().contains(table, Qt::CaseInsensitive);
}

bool ensure(QSqlDatabase& db, QString* error)
{
    if (!AdministrationDetails::ensure(db, error))
        return false;
    if (exists(db))
        return true;
    const bool server = SqlDialect::isServer(db);
    QStringList definitions;
    // The server keeps the stored order in an identity column of SQLite's name for it.
    if (server)
        definitions << SqlDialect::rowIdColumn +
                           QStringLiteral(" BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    const QString type = server ? QStringLiteral(" TEXT COLLATE \"C\"") : QStringLiteral(" TEXT");
    for (const QString& column : columns())
        definitions << quotedIdentifier(column) + type;
    QSqlQuery statement(db);
    return runStatement(
               statement, db,
               QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedIdentifier(table), definitions.join(u',')),
               {}, SqlDialect::Access::Write, error) &&
           runStatement(statement, db,
                        QStringLiteral("CREATE INDEX IF NOT EXISTS \"Administrations_Code\" ON %1 (\"Code\")")
                            .arg(quotedIdentifier(table)),
                        {}, SqlDialect::Access::Write, error);
}

bool copy(const QSqlDatabase& from, const QSqlDatabase& to, QString* error)
{
    return (!exists(from) || Database::copyTable(from, to, table, error)) &&
           AdministrationDetails::copy(from, to, error);
}

bool clear(const QSqlDatabase& db, QString* error)
{
    QSqlQuery statement(db);
    return AdministrationDetails::clear(db, error) &&
           (!exists(db) ||
            runStatement(statement, db, QStringLiteral("DELETE FROM %1").arg(quotedIdentifier(table)), {},
                         SqlDialect::Access::Write, error));
}

bool removeSubject(const QSqlDatabase& db, const QString& code, QString* error)
{
    QSqlQuery statement(db);
    if (!AdministrationDetails::removeSubject(db, code, error))
        return false;
    return !exists(db) ||
           runStatement(
               statement, db,
               QStringLiteral("DELETE FROM %1 WHERE \"Code\" = CAST(? AS TEXT)").arg(quotedIdentifier(table)),
               {Values(db)(code)}, SqlDialect::Access::Write, error);
}

bool renameSubject(const QSqlDatabase& db, const QString& from, const QString& to, QString* error)
{
    QSqlQuery statement(db);
    const Values value(db);
    if (!AdministrationDetails::renameSubject(db, from, to, error))
        return false;
    return !exists(db) ||
           runStatement(
               statement, db,
               QStringLiteral("UPDATE %1 SET \"Code\" = CAST(? AS TEXT) WHERE \"Code\" = CAST(? AS TEXT)")
                   .arg(quotedIdentifier(table)),
               {value(to), value(from)}, SqlDialect::Access::Write, error);
}

std::optional<bool> hasScoredAdministration(const QSqlDatabase& db, const QString& code)
{
    const std::optional<Latest> latest = readLatest(db, code);
    if (!latest)
        return std::nullopt;
    return latest->anyAnswer() && latest->scored();
}

bool startNew(const QSqlDatabase& db, const QString& code, const Start& start, QString* error)
{
    Transaction transaction(db);
    if (!transaction.isOpen()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    const std::optional<Latest> latest = readLatest(db, code, error);
    const std::optional<Stored> stored = latest ? readStored(db, code, error) : std::nullopt;
    if (!stored)
        return false;
    const Values value(db);
    QSqlQuery statement(db);
    const QString byCodeCondition = QStringLiteral(" WHERE \"Code\" = CAST(? AS TEXT)");

    // The open row gives way: to the closed administration it becomes, or, when nothing was
    // answered since it began, to the new start.
    if (stored->open && !runStatement(statement, db,
                                      QStringLiteral("DELETE FROM %1%2 AND \"Open\" = '1'")
                                          .arg(quotedIdentifier(table), byCodeCondition),
                                      {value(code)}, SqlDialect::Access::Write, error))
        return false;
    const Administration closing = latestOf(code, *latest, *stored);
    int sequence = closing.sequence;
    if (latest->given()) {
        if (!insertRow(db, closing, false, error))
            return false;
        ++sequence;
    }

    Administration opening;
    opening.code = code;
    opening.sequence = sequence;
    opening.start = start;
    if (!insertRow(db, opening, true, error))
        return false;

    QStringList clearedItems;
    for (const QString& column : itemColumns())
        clearedItems << quotedIdentifier(column) + QStringLiteral(" = NULL");
    QStringList clearedScores;
    for (const QString& column : kScoreColumns)
        clearedScores << quotedIdentifier(column) + QStringLiteral(" = NULL");
    if (!runStatement(
            statement, db,
            QStringLiteral("UPDATE \"Answer\" SET %1%2").arg(clearedItems.join(u','), byCodeCondition),
            {value(code)}, SqlDialect::Access::Write, error) ||
        !runStatement(
            statement, db,
            QStringLiteral("UPDATE \"IDE\" SET %1%2").arg(clearedScores.join(u','), byCodeCondition),
            {value(code)}, SqlDialect::Access::Write, error))
        return false;
    return committed(transaction, db, error);
}

bool recordStart(const QSqlDatabase& db, const QString& code, const Start& start, QString* error)
{
    Transaction transaction(db);
    if (!transaction.isOpen()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    const std::optional<Latest> latest = readLatest(db, code, error);
    const std::optional<Stored> stored = latest ? readStored(db, code, error) : std::nullopt;
    if (!stored)
        return false;
    if (latest->given() || stored->open)
        return true;
    Administration opening;
    opening.code = code;
    opening.sequence = stored->highestSequence + 1;
    opening.start = start;
    if (!insertRow(db, opening, true, error))
        return false;
    return committed(transaction, db, error);
}

std::optional<int> latestSequence(const QSqlDatabase& db, const QString& code)
{
    const std::optional<Latest> latest = readLatest(db, code);
    const std::optional<Stored> stored = latest ? readStored(db, code) : std::nullopt;
    if (!stored)
        return std::nullopt;
    return latestOf(code, *latest, *stored).sequence;
}

std::optional<QHash<QString, int>> latestSequences(const QSqlDatabase& db)
{
    QHash<QString, int> open;
    QHash<QString, int> highest;
    if (exists(db)) {
        QSqlQuery rows(db);
        if (!runStatement(
                rows, db,
                QStringLiteral("SELECT \"Code\", \"Seq\", \"Open\" FROM %1").arg(quotedIdentifier(table)), {},
                SqlDialect::Access::Read, nullptr))
            return std::nullopt;
        while (rows.next()) {
            const QString code = rows.value(0).toString();
            const int sequence = rows.value(1).toString().trimmed().toInt();
            if (rows.value(2).toString() == kOpen)
                open.insert(code, sequence);
            else
                highest.insert(code, std::max(highest.value(code), sequence));
        }
        if (rows.lastError().isValid())
            return std::nullopt;
    }
    // As latestOf(): the open row's number, or the one after the closed ones.
    QHash<QString, int> latest;
    for (auto it = highest.cbegin(); it != highest.cend(); ++it)
        latest.insert(it.key(), it.value() + 1);
    for (auto it = open.cbegin(); it != open.cend(); ++it)
        latest.insert(it.key(), it.value());
    return latest;
}

std::optional<QList<Administration>> list(const QSqlDatabase& db, const QString& code)
{
    const std::optional<Latest> latest = readLatest(db, code);
    const std::optional<Stored> stored = latest ? readStored(db, code) : std::nullopt;
    if (!stored)
        return std::nullopt;
    QList<Administration> all = stored->closed;
    if (latest->given())
        all << latestOf(code, *latest, *stored);
    return all;
}

std::optional<Administration> read(const QSqlDatabase& db, const QString& code, int sequence)
{
    const std::optional<QList<Administration>> all = list(db, code);
    if (!all)
        return std::nullopt;
    for (const Administration& a : *all) {
        if (a.sequence == sequence)
            return a;
    }
    return std::nullopt;
}

bool eachAnswers(const QSqlDatabase& db,
                 const std::function<bool(const std::array<QString, kItemCount>&)>& visit)
{
    std::array<QString, kItemCount> answers;
    const auto readAll = [&](const QString& sql) {
        QSqlQuery rows(db);
        if (!runStatement(rows, db, sql, {}, SqlDialect::Access::Read, nullptr))
            return false;
        while (rows.next()) {
            for (int i = 0; i < kItemCount; ++i)
                answers[static_cast<std::size_t>(i)] = rows.value(i).toString();
            if (!visit(answers))
                return false;
        }
        return !rows.lastError().isValid();
    };
    const QString items = quotedList(itemColumns());
    if (exists(db) &&
        !readAll(QStringLiteral("SELECT %1 FROM %2 WHERE COALESCE(\"Open\", '') <> '1' ORDER BY rowid")
                     .arg(items, quotedIdentifier(table))))
        return false;
    return readAll(QStringLiteral("SELECT %1 FROM \"Answer\" ORDER BY rowid").arg(items));
}

std::optional<QList<std::array<QString, kItemCount>>> allAnswers(const QSqlDatabase& db)
{
    QList<std::array<QString, kItemCount>> result;
    if (!eachAnswers(db, [&result](const std::array<QString, kItemCount>& answers) {
            result << answers;
            return true;
        }))
        return std::nullopt;
    return result;
}

std::optional<qint64> answersCount(const QSqlDatabase& db)
{
    qint64 total = 0;
    const auto count = [&](const QString& sql) {
        QSqlQuery rows(db);
        if (!runStatement(rows, db, sql, {}, SqlDialect::Access::Read, nullptr) || !rows.next())
            return false;
        total += rows.value(0).toLongLong();
        return true;
    };
    if (exists(db) && !count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE COALESCE(\"Open\", '') <> '1'")
                                 .arg(quotedIdentifier(table))))
        return std::nullopt;
    if (!count(QStringLiteral("SELECT COUNT(*) FROM \"Answer\"")))
        return std::nullopt;
    return total;
}

QString entryKey(Entry entry)
{
    switch (entry) {
    case Entry::OnScreen:
        return QStringLiteral("screen");
    case Entry::PaperSheet:
        return QStringLiteral("sheet");
    case Entry::Unknown:
        break;
    }
    return QStringLiteral("");
}

Entry entryOfKey(const QString& key)
{
    if (key == QLatin1String("screen"))
        return Entry::OnScreen;
    if (key == QLatin1String("sheet"))
        return Entry::PaperSheet;
    return Entry::Unknown;
}

} // namespace AdministrationStore
