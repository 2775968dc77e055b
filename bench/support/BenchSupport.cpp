#include "BenchSupport.h"

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <algorithm>
#include <vector>

namespace BenchSupport {

void useOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool fillSubjects(const QString& folder, int count)
{
    QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    Transaction transaction(db);
    QSqlQuery subject(db);
    subject.prepare(QStringLiteral(
        "INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", \"Sen\", \"Jens\", \"Taahol\", "
        "\"Tahsil\", \"Group\", \"Date\", \"Time\") VALUES (?, 'Ali', 'Ahmadi', '30', 'مرد', 'مجرد', "
        "'ليسانس', 'A', '1402/02/13', '10:00:00')"));
    QSqlQuery answer(db);
    QStringList columns{quotedIdentifier(QStringLiteral("Code"))};
    for (int item = 1; item <= Database::kItemCount; ++item)
        columns << quotedIdentifier(Database::itemColumn(item));
    answer.prepare(QStringLiteral("INSERT INTO \"Answer\" (%1) VALUES (%2)")
                       .arg(columns.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u',')));
    for (int code = 1; code <= count; ++code) {
        subject.addBindValue(QString::number(code));
        if (!subject.exec())
            return false;
        answer.addBindValue(QString::number(code));
        for (int item = 1; item <= Database::kItemCount; ++item)
            answer.addBindValue(QString::number(1 + QRandomGenerator::global()->bounded(5)));
        if (!answer.exec())
            return false;
    }
    return transaction.commit();
}

bool openFilledFolder(const QString& folder, int count)
{
    return Database::openProgramDatabases(folder).ok && fillSubjects(folder, count);
}

bool varySubjects(const QString& folder, int count)
{
    const int everyNth = std::max(1, count / 10000);
    QSqlQuery query(Database::connection(folder, Database::File::Clinical));
    return query.exec(
        QStringLiteral("UPDATE IDE SET LName = 'خانواده' || (rowid % 5000), "
                       "FName = 'نام' || (rowid % 300), "
                       "\"Group\" = CASE WHEN rowid % %1 = 0 THEN 'G' ELSE char(65 + rowid % 6) END, "
                       "S = CASE WHEN rowid % 10 = 0 THEN '3.43' END, "
                       "L = CASE WHEN rowid % 10 = 0 THEN '4.' END")
            .arg(everyNth));
}

double medianMilliseconds(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work(run);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace BenchSupport
