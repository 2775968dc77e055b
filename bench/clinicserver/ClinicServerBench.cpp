// The clinic server under load and at size. Needs a PostgreSQL server whose owner account it may use
// to make databases, given as for the tests:
//   source tools/test-postgres.sh && start_test_postgres && build/bench/bench_clinicserver
// 1. Five workstations (processes) each register and score 1,000 subjects at once, as the
//    registration panel and the scoring do; then every code must be stored once, and every subject
//    must carry its own workstation's answers and the scores of those answers.
// 2. The interactive commands at 100,000 subjects, on the server and on the program folder's file:
//    medians and their ratio.
// Not a test: run it by hand.

#include "BenchSupport.h"
#include "backup/DatabaseBackup.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "mainwindow/CodeProposal.h"
#include "mainwindow/SubjectListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kWorkstations = 5;
constexpr int kSubjectsEach = 1000;
constexpr int kLargeClinic = 100000;
constexpr int kRuns = 21;
const QStringList kScores{QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("F1"), QStringLiteral("P"),
                          QStringLiteral("F2")};

ServerSettings serverFromEnvironment(QString* password)
{
    ServerSettings settings;
    settings.host = qEnvironmentVariable("VELMORA_TEST_PG_HOST");
    settings.port = qEnvironmentVariableIntValue("VELMORA_TEST_PG_PORT");
    settings.userName = qEnvironmentVariable("VELMORA_TEST_PG_USER");
    *password = qEnvironmentVariable("VELMORA_TEST_PG_PASSWORD");
    return settings;
}

bool adminStatement(const ServerSettings& settings, const QString& password, const QString& sql)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench admin"));
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setUserName(settings.userName);
        db.setPassword(password);
        db.setDatabaseName(QStringLiteral("postgres"));
        QSqlQuery query(db);
        ok = db.open() && query.exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench admin"));
    return ok;
}

// The answer a workstation gives to an item of a subject: a subject's answers tell which
// workstation typed them, so that mixed rows show.
QString answerOf(int workstation, int subject, int item)
{
    return QString::number(1 + (workstation + subject + item) % 5);
}

// A score: the sum of seven items, as a stand-in for the scale keys.
QString scoreOf(const DataView& answers, int scale)
{
    int sum = 0;
    for (int item = scale * 7 + 1; item <= scale * 7 + 7; ++item)
        sum += answers.field(Database::itemColumn(item)).toInt();
    return QString::number(sum);
}

// One workstation: registers its subjects under proposed codes, as the registration panel does, then
// answers and scores each.
int runWorkstation(int workstation, const ServerSettings& settings, const QString& password)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!ClinicServer::useServer(folder, settings, password).ok)
        return 2;
    auto proposal = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    auto subjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    auto answers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    int retries = 0;
    for (int subject = 0; subject < kSubjectsEach; ++subject) {
        QString code;
        for (bool stored = false; !stored;) {
            proposal->requery();
            std::optional<QString> last;
            if (proposal->moveLast())
                last = proposal->field(QStringLiteral("Code"));
            code = proposeCode(last.value_or(QStringLiteral("0")), [&](const QString& candidate) {
                proposal->filterBy(QStringLiteral("Code"), candidate);
                return proposal->count() > 0;
            });
            Transaction transaction(subjects->database());
            answers->addNew();
            answers->setField(QStringLiteral("Code"), code);
            subjects->addNew();
            subjects->setField(QStringLiteral("Code"), code);
            subjects->setField(QStringLiteral("FName"), QStringLiteral("w%1").arg(workstation));
            subjects->setField(QStringLiteral("LName"), QString::number(subject));
            stored = answers->commit() && subjects->commit() && transaction.commit();
            if (!stored) {
                if (subjects->lastFailure() != SqlDialect::Failure::DuplicateKey) {
                    std::printf("workstation %d: %s / %s\n", workstation, qPrintable(answers->lastError()),
                                qPrintable(subjects->lastError()));
                    return 3;
                }
                ++retries;
            }
        }
        answers->filterBy(QStringLiteral("Code"), code);
        for (int item = 1; item <= Database::kItemCount; ++item)
            answers->setField(Database::itemColumn(item), answerOf(workstation, subject, item));
        if (!answers->commit())
            return 4;
        subjects->filterBy(QStringLiteral("Code"), code);
        for (int scale = 0; scale < kScores.size(); ++scale)
            subjects->setField(kScores.at(scale), scoreOf(*answers, scale));
        if (!subjects->commit())
            return 5;
    }
    std::printf("workstation %d: %d codes taken meanwhile by another, proposed again\n", workstation,
                retries);
    return 0;
}

struct LoadCheck
{
    int subjects = 0;
    int duplicateCodes = 0;
    int lost = 0;
    int mixed = 0;
};

LoadCheck checkLoad(const QString& folder)
{
    LoadCheck check;
    auto subjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    auto answers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    QSqlQuery duplicates(subjects->database());
    duplicates.exec(QStringLiteral("SELECT COUNT(*) FROM (SELECT \"Code\" FROM \"IDE\" GROUP BY \"Code\" "
                                   "HAVING COUNT(*) > 1) AS d"));
    check.duplicateCodes = duplicates.next() ? duplicates.value(0).toInt() : -1;
    QSet<QString> registered;
    for (const DataView::Row& row : subjects->rows()) {
        ++check.subjects;
        const int workstation = row.value(QStringLiteral("FName")).mid(1).toInt();
        const int subject = row.value(QStringLiteral("LName")).toInt();
        registered.insert(row.value(QStringLiteral("FName")) + u'/' + row.value(QStringLiteral("LName")));
        answers->filterBy(QStringLiteral("Code"), row.value(QStringLiteral("Code")));
        if (answers->count() != 1) {
            ++check.lost;
            continue;
        }
        bool own = true;
        for (int item = 1; item <= Database::kItemCount; ++item)
            own = own && answers->field(Database::itemColumn(item)) == answerOf(workstation, subject, item);
        for (int scale = 0; scale < kScores.size(); ++scale)
            own = own && row.value(kScores.at(scale)) == scoreOf(*answers, scale);
        if (!own)
            ++check.mixed;
    }
    check.lost += kWorkstations * kSubjectsEach - static_cast<int>(registered.size());
    return check;
}

void runLoad(const ServerSettings& settings, const QString& password)
{
    QTemporaryDir dir;
    if (!ClinicServer::useServer(dir.path(), settings, password).ok)
        qFatal("the server cannot be used");
    QElapsedTimer timer;
    timer.start();
    QList<QProcess*> workstations;
    for (int workstation = 0; workstation < kWorkstations; ++workstation) {
        auto* process = new QProcess;
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--workstation"), QString::number(workstation), settings.databaseName});
        workstations << process;
    }
    int failed = 0;
    for (QProcess* process : std::as_const(workstations)) {
        process->waitForFinished(-1);
        if (process->exitCode() != 0) {
            std::printf("a workstation ended with %d\n", process->exitCode());
            ++failed;
        }
        delete process;
    }
    const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    const LoadCheck check = checkLoad(dir.path());
    std::printf("load: %d workstations x %d subjects registered, answered and scored at once\n",
                kWorkstations, kSubjectsEach);
    std::printf("  failed workstations: %d, subjects stored: %d, duplicate codes: %d, lost: %d, mixed: %d\n",
                failed, check.subjects, check.duplicateCodes, check.lost, check.mixed);
    std::printf("  %.1f s, %.0f subjects per second (registration + 35 answers + 5 scores each)\n", seconds,
                kWorkstations * kSubjectsEach / seconds);
    Database::closeProgramDatabases(dir.path());
}

struct Timings
{
    double lookup = 0;
    double scoring = 0;
    double finder = 0;
};

// The commands a counsellor waits for, on whatever the folder's connections go to.
Timings timeCommands(const QString& folder)
{
    Timings timings;
    auto subjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    auto answers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    auto code = [](int run) { return QString::number(1 + (run * 4799) % kLargeClinic); };
    timings.lookup = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        subjects->filterBy(QStringLiteral("Code"), code(run));
        (void)subjects->field(QStringLiteral("FName"));
    });
    timings.scoring = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        answers->filterBy(QStringLiteral("Code"), code(run));
        subjects->filterBy(QStringLiteral("Code"), code(run));
        for (int scale = 0; scale < kScores.size(); ++scale)
            subjects->setField(kScores.at(scale), scoreOf(*answers, scale));
        if (!subjects->commit())
            qFatal("scoring failed: %s", qPrintable(subjects->lastError()));
    });
    SubjectListModel list(Database::connection(folder, Database::File::Clinical));
    timings.finder = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
        list.show({QStringLiteral("LName"), QStringLiteral("خانواده") + QString::number(run * 37),
                   QStringLiteral("Code")});
        for (int row = 0; row < std::min(list.rowCount(), 30); ++row)
            (void)list.text(row, 0);
    });
    return timings;
}

void runLargeClinic(const ServerSettings& settings, const QString& password)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!BenchSupport::openFilledFolder(folder, kLargeClinic))
        qFatal("no database");
    QSqlQuery vary(Database::connection(folder, Database::File::Clinical));
    if (!vary.exec(QStringLiteral(
            "UPDATE IDE SET LName = 'خانواده' || (rowid % 5000), "
            "FName = 'نام' || (rowid % 300), \"Group\" = substr('ABCDEFG', 1 + rowid % 7, 1)")))
        qFatal("no names");
    const Timings onFile = timeCommands(folder);

    QElapsedTimer copyTimer;
    copyTimer.start();
    const ClinicServer::Result copied = ClinicServer::copyFolderToServer(folder, settings, password);
    if (!copied.ok)
        qFatal("copy failed: %s", qPrintable(copied.message));
    const double copySeconds = static_cast<double>(copyTimer.elapsed()) / 1000.0;
    if (!ClinicServer::useServer(folder, settings, password).ok)
        qFatal("the server cannot be used");
    QSqlQuery analyze(Database::connection(folder, Database::File::Clinical));
    analyze.exec(QStringLiteral("ANALYZE"));
    const Timings onServer = timeCommands(folder);
    QElapsedTimer backupTimer;
    backupTimer.start();
    const auto backedUp = DatabaseBackup::backUp(folder, dir.filePath(QStringLiteral("b.mdbB")));
    const double backupSeconds = static_cast<double>(backupTimer.elapsed()) / 1000.0;
    if (!backedUp.ok())
        qFatal("backup failed: %s", qPrintable(backedUp.description));

    std::printf("%d subjects (copied to the server in %.1f s), medians of %d runs, server / file:\n",
                kLargeClinic, copySeconds, kRuns);
    std::printf("  code lookup:          %7.2f ms / %7.2f ms = %.1f\n", onServer.lookup, onFile.lookup,
                onServer.lookup / onFile.lookup);
    std::printf("  scoring one subject:  %7.2f ms / %7.2f ms = %.1f\n", onServer.scoring, onFile.scoring,
                onServer.scoring / onFile.scoring);
    std::printf("  finder by last name:  %7.2f ms / %7.2f ms = %.1f\n", onServer.finder, onFile.finder,
                onServer.finder / onFile.finder);
    std::printf("  backup of the server into a .mdbB: %.1f s\n", backupSeconds);
    Database::closeProgramDatabases(folder);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString password;
    ServerSettings settings = serverFromEnvironment(&password);
    if (settings.host.isEmpty()) {
        std::fprintf(stderr, "no server: source tools/test-postgres.sh && start_test_postgres first\n");
        return 1;
    }
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--workstation")) {
        settings.databaseName = arguments.at(3);
        return runWorkstation(arguments.at(2).toInt(), settings, password);
    }
    for (const char* name : {"velmora_bench_load", "velmora_bench_large"}) {
        settings.databaseName = QLatin1String(name);
        adminStatement(settings, password,
                       QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        if (!adminStatement(settings, password, QStringLiteral("CREATE DATABASE %1").arg(name)))
            qFatal("cannot make the database %s", name);
    }
    settings.databaseName = QStringLiteral("velmora_bench_load");
    if (!arguments.contains(QLatin1String("--large-only")))
        runLoad(settings, password);
    settings.databaseName = QStringLiteral("velmora_bench_large");
    runLargeClinic(settings, password);
    return 0;
}
