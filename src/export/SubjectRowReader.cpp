#include "SubjectRowReader.h"

#include "datastore/AdministrationStore.h"
#include "datastore/Database.h"
#include "datastore/SqlDialect.h"

#include <QSqlError>

namespace {

// The columns before the subject's rowid: the particulars, the five scores and the 35 answers.
constexpr int kSubjectColumns =
    StoredSubject::kParticularCount + ScoringKey::kScaleCount + ScoringKey::kItemCount;

} // namespace

SubjectRowReader::SubjectRowReader(const QSqlDatabase& database, const SubjectSelection& selection,
                                   bool perAdministration)
    : m_database(database), m_selection(SelectionQuery::ofSubjects(database, selection)), m_query(database),
      m_perAdministration(perAdministration)
{
}

// A read that the server connection lost on the way is run once more (see SqlDialect::run).
bool SubjectRowReader::run(QSqlQuery& query, const SelectionQuery::Part& statement)
{
    query = QSqlQuery(m_database);
    query.setForwardOnly(true);
    if (!SqlDialect::run(query, m_database, statement.sql, statement.values, SqlDialect::Access::Read)) {
        m_lastError = query.lastError().text();
        return false;
    }
    return true;
}

int SubjectRowReader::count()
{
    QSqlQuery query(m_database);
    if (!run(query, m_selection.count()))
        return -1;
    if (!query.next()) {
        m_lastError = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool SubjectRowReader::start()
{
    const auto details = AdministrationDetails::readAll(m_database);
    const auto latest = details ? AdministrationStore::latestSequences(m_database) : std::nullopt;
    if (!latest) {
        m_lastError = m_database.lastError().text();
        return false;
    }
    m_details = *details;
    m_latest = *latest;
    m_settings = AdministrationDetails::readSettings(m_database);
    const QString subject = QStringLiteral("i.");
    QStringList columns;
    for (const QString& column : ExportTable::particularColumns())
        columns << subject + quotedIdentifier(column);
    for (const ScoringKey::Scale& scale : ScoringKey::kScales)
        columns << subject + quotedIdentifier(QString::fromLatin1(scale.field));
    for (int item = 1; item <= ScoringKey::kItemCount; ++item)
        columns << QStringLiteral("a.") + quotedIdentifier(Database::itemColumn(item));
    // An administration's rows follow its subject's in stored order; the subject's rowid tells
    // where one subject's rows end, for a code may stand on more than one IDE row.
    QString administrations;
    QString administrationOrder;
    m_joinsAdministrations = m_perAdministration && AdministrationStore::exists(m_database);
    if (m_perAdministration) {
        columns << subject + SqlDialect::rowIdColumn;
        if (m_joinsAdministrations) {
            for (const QString& column : AdministrationStore::columns())
                columns << QStringLiteral("x.") + quotedIdentifier(column);
            administrations = QStringLiteral(" LEFT JOIN %1 AS x ON x.\"Code\" = i.\"Code\"")
                                  .arg(quotedIdentifier(AdministrationStore::table));
            administrationOrder = QStringLiteral(", x.") + SqlDialect::rowIdColumn;
        }
    }
    // Nothing ties an Answer row to its subject but the code, and nothing stops a second row of
    // the same code: the first one in stored order is the one the test windows and the scoring use.
    const SelectionQuery::Part where = m_selection.where({}, subject);
    const QString sql =
        QStringLiteral("SELECT %1 FROM \"IDE\" AS i LEFT JOIN \"Answer\" AS a ON a.rowid = "
                       "(SELECT MIN(b.rowid) FROM \"Answer\" AS b WHERE b.\"Code\" = i.\"Code\")%2%3%4%5")
            .arg(columns.join(u','), administrations, where.sql, m_selection.orderClause(false, subject),
                 administrationOrder);
    m_onRow = false;
    m_pending.clear();
    m_subjectsRead = m_subjectsWithRows = 0;
    return run(m_query, {sql, where.values});
}

void SubjectRowReader::readSubject(StoredSubject* subject) const
{
    int column = 0;
    for (QString& text : subject->particulars)
        text = m_query.value(column++).toString();
    for (QString& text : subject->scores)
        text = m_query.value(column++).toString();
    for (QString& text : subject->answers)
        text = m_query.value(column++).toString();
}

bool SubjectRowReader::readAdministrations()
{
    if (!m_onRow && !m_query.next())
        return false;
    StoredSubject subject;
    readSubject(&subject);
    const QVariant rowId = m_query.value(kSubjectColumns);
    QList<AdministrationStore::StoredRow> stored;
    do {
        // Without an earlier administration the joined columns are all missing.
        if (m_joinsAdministrations && !m_query.isNull(kSubjectColumns + 1))
            stored << AdministrationStore::storedRowOf(m_query, kSubjectColumns + 1);
        m_onRow = m_query.next();
    } while (m_onRow && m_query.value(kSubjectColumns) == rowId);

    const QString code = subject.particulars[0];
    AdministrationStore::Current current;
    std::copy(subject.answers.begin(), subject.answers.end(), current.answers.begin());
    std::copy(subject.scores.begin(), subject.scores.end(), current.scores.begin());
    current.subjectDate = subject.particulars[8];
    current.subjectTime = subject.particulars[9];
    const QList<AdministrationStore::Administration> all =
        AdministrationStore::assemble(code, current, stored);
    for (const AdministrationStore::Administration& administration : all) {
        StoredSubject row = subject;
        std::copy(administration.answers.begin(), administration.answers.end(), row.answers.begin());
        std::copy(administration.scores.begin(), administration.scores.end(), row.scores.begin());
        row.sequence = administration.sequence;
        row.administrationDate = administration.start.date;
        describe(row, administration.sequence);
        m_pending << row;
    }
    ++m_subjectsRead;
    if (!all.isEmpty())
        ++m_subjectsWithRows;
    return true;
}

bool SubjectRowReader::next(StoredSubject* subject)
{
    if (m_perAdministration) {
        while (m_pending.isEmpty()) {
            if (!readAdministrations()) {
                if (m_query.lastError().isValid())
                    m_lastError = m_query.lastError().text();
                return false;
            }
        }
        *subject = m_pending.takeFirst();
        return true;
    }
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            m_lastError = m_query.lastError().text();
        return false;
    }
    readSubject(subject);
    describe(*subject, m_latest.value(subject->particulars[0], 1));
    ++m_subjectsRead;
    ++m_subjectsWithRows;
    return true;
}

void SubjectRowReader::describe(StoredSubject& subject, int sequence) const
{
    // Most administrations have no details row: they were entered once.
    static const AdministrationDetails::Details enteredOnce;
    const AdministrationDetails::Details* details = &enteredOnce;
    if (const auto rows = m_details.constFind(subject.particulars[0]); rows != m_details.constEnd()) {
        if (const auto row = rows->constFind(sequence); row != rows->constEnd())
            details = &*row;
    }
    ExportTable::describe(subject, *details, m_settings);
}

QStringList SubjectRowReader::itemTexts(const QSqlDatabase& database)
{
    QStringList texts(ScoringKey::kItemCount);
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT \"ID\", \"QUS\" FROM \"QU\" ORDER BY rowid")))
        return texts;
    while (query.next()) {
        const int item = query.value(0).toString().trimmed().toInt();
        // The first row of an item number wins, as the test window's lookup finds it.
        if (item >= 1 && item <= ScoringKey::kItemCount && texts.at(item - 1).isEmpty())
            texts[item - 1] = query.value(1).toString();
    }
    return texts;
}
