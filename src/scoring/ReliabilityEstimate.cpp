#include "ReliabilityEstimate.h"

#include "datastore/AdministrationStore.h"
#include "datastore/SqlDialect.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ReliabilityEstimate {

namespace {

struct Kept
{
    QString mark;
    ReliableChange::Norms norms;
};

QMutex& keptLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, Kept>& keptNorms()
{
    static QHash<QString, Kept> kept;
    return kept;
}

// The values of a one-row query joined, or empty when it fails.
QString rowText(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next())
        return {};
    QStringList values;
    for (int i = 0; i < query.record().count(); ++i)
        values << query.value(i).toString();
    return values.join(u'/');
}

} // namespace

QString dataMark(const QSqlDatabase& db)
{
    if (SqlDialect::isServer(db)) {
        // The server's own count of rows written to the two tables. It reaches the statistics
        // views when a writing session ends its transaction (at most some seconds later), so a
        // change made by another workstation a moment ago may be counted on the next opening.
        return rowText(db, QStringLiteral("SELECT COALESCE(SUM(n_tup_ins + n_tup_upd + n_tup_del), -1) "
                                          "FROM pg_stat_all_tables WHERE relname IN ('Answer', '%1')")
                               .arg(AdministrationStore::table));
    }
    // SQLite counts commits by every other connection (other programs included) in data_version,
    // and this connection's own row changes in total_changes(). Both start afresh when the
    // connection is opened again (after a restore put another file in place), so the file's own
    // size and time of change go with them.
    const QString others = rowText(db, QStringLiteral("PRAGMA data_version"));
    const QString own = rowText(db, QStringLiteral("SELECT total_changes()"));
    if (others.isEmpty() || own.isEmpty())
        return {};
    const QFileInfo file(db.databaseName());
    return QStringList{others, own, QString::number(file.size()),
                       QString::number(file.lastModified().toMSecsSinceEpoch())}
        .join(u'/');
}

std::optional<ReliableChange::Norms> kept(const QString& connectionName, const QString& mark)
{
    if (mark.isEmpty())
        return std::nullopt;
    const QMutexLocker locker(&keptLock());
    const auto found = keptNorms().constFind(connectionName);
    if (found == keptNorms().constEnd() || found->mark != mark)
        return std::nullopt;
    return found->norms;
}

std::optional<ReliableChange::Norms> read(const QString& connectionName, const QString& mark,
                                          const std::shared_ptr<Progress>& progress)
{
    static QAtomicInt serial;
    const QString name = QStringLiteral("reliability %1").arg(serial.fetchAndAddRelaxed(1));
    std::optional<ReliableChange::Norms> norms;
    {
        QSqlDatabase own = QSqlDatabase::cloneDatabase(connectionName, name);
        if (own.open()) {
            if (const std::optional<qint64> total = AdministrationStore::answersCount(own))
                progress->total = *total;
            ReliableChange::Accumulator all;
            const bool complete =
                AdministrationStore::eachAnswers(own, [&](const ScoringKey::ItemTexts& answers) {
                    all.add(answers);
                    ++progress->read;
                    return !progress->stop.load(std::memory_order_relaxed);
                });
            if (complete)
                norms = all.norms();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (norms && !mark.isEmpty()) {
        const QMutexLocker locker(&keptLock());
        keptNorms().insert(connectionName, {mark, *norms});
    }
    return norms;
}

} // namespace ReliabilityEstimate
