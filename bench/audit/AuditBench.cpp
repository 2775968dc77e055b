// Times what the audit row adds to a registration: 1,000 registrations as the registration panel
// stores them (an Answer row and an IDE row in one transaction), each with its audit row appended
// in that transaction, against 1,000 without, on a DABSH.skn already holding 10,000 subjects and a
// trail of 10,000 rows. Prints both medians and their difference, which must stay under 1 ms.
// Not a test: run build/bench/bench_audit [folder] by hand (the folder decides the disk).

#include "BenchSupport.h"
#include "audit/AuditTrail.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubjects = 10000;
constexpr int kRuns = 1000;

bool registerSubject(DataView& subjects, DataView& answers, const QString& code, bool audited)
{
    Transaction transaction(subjects.database());
    answers.addNew();
    answers.setField(QStringLiteral("Code"), code);
    subjects.addNew();
    subjects.setField(QStringLiteral("Code"), code);
    subjects.setField(QStringLiteral("FName"), QStringLiteral("Sara"));
    subjects.setField(QStringLiteral("LName"), QStringLiteral("Karimi"));
    if (!answers.commit() || !subjects.commit())
        return false;
    if (audited &&
        !AuditTrail::append(subjects.database(), QStringLiteral("clinician"), AuditTrail::Action::Registered,
                            code, {}, QDateTime::currentDateTime()))
        return false;
    return transaction.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-audit-XXXXXX")
                               : QString());
    const QString folder = dir.path();
    if (!dir.isValid() || !BenchSupport::openFilledFolder(folder, kSubjects))
        return 1;
    const QSqlDatabase db = Database::connection(folder, Database::File::Clinical);
    {
        Transaction trail(db);
        for (int i = 0; i < kSubjects; ++i)
            AuditTrail::append(db, QStringLiteral("clinician"), AuditTrail::Action::ScoresOpened,
                               QString::number(i), {}, QDateTime::currentDateTime());
        if (!trail.commit())
            return 1;
    }
    auto subjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    auto answers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    bool ok = true;
    const double withoutRow = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        ok = ok && registerSubject(*subjects, *answers, QStringLiteral("p%1").arg(run), false);
    });
    const double withRow = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        ok = ok && registerSubject(*subjects, *answers, QStringLiteral("a%1").arg(run), true);
    });
    if (!ok)
        return 1;
    std::printf("registrations: %d with and %d without the audit row, on %d subjects\n", kRuns, kRuns,
                kSubjects);
    std::printf("registration without the audit row: %.3f ms (median)\n", withoutRow);
    std::printf("registration with the audit row:    %.3f ms (median)\n", withRow);
    std::printf("the audit row adds:                 %.3f ms (target below 1 ms)\n", withRow - withoutRow);
    return withRow - withoutRow < 1.0 ? 0 : 2;
}
