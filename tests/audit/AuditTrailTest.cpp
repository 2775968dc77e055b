#include "audit/AuditTrail.h"
#include "AuditRows.h"
#include "SignedInSession.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "audit/AuditCsv.h"
#include "audit/AuditTexts.h"
#include "audit/FrmAudit.h"
#include "common/Session.h"
#include "datastore/AuditTable.h"
#include "datastore/ClinicServer.h"
#include "datastore/Database.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include <thread>

using Action = AuditTrail::Action;
using Finding = AuditTrail::CheckResult::Finding;

namespace {

// Runs the sqlite3 command line on a file, as someone editing it by hand would; its exit code.
int sqlite3(const QString& file, const QString& sql)
{
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {file, sql});
    if (!process.waitForFinished(20000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QSqlDatabase clinical(const QString& folder)
{
    return Database::connection(folder, Database::File::Clinical);
}

} // namespace

class AuditTrailTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void rowsAreChainedAndListedByTheFilters()
    {
        TestProgramFolder folder;
        // Without sign-in nothing is kept; with it, every row names the signed-in user.
        QVERIFY(AuditTrail::record(folder.context(), Action::Registered, QStringLiteral("5")));
        QCOMPARE(auditRows(folder.path()), QStringList());
        SignedInSession session(QStringLiteral("دکتر رضايي"));
        folder.context().session = &session;
        QVERIFY(AuditTrail::record(folder.context(), Action::Registered, QStringLiteral("7")));
        folder.clock.at = QDateTime(QDate(2023, 5, 4), QTime(9, 0)); // 1402/02/14
        QVERIFY(AuditTrail::record(folder.context(), Action::ScoresOpened, QStringLiteral("7")));
        QVERIFY(AuditTrail::record(folder.context(), Action::Exported, {}, AuditTexts::subjectCount(2)));
        QCOMPARE(auditRows(folder.path()), (QStringList{QStringLiteral("registration|7||دکتر رضايي"),
                                                        QStringLiteral("scores-opened|7||دکتر رضايي"),
                                                        QStringLiteral("export||2 آزمودني|دکتر رضايي")}));
        const auto result = AuditTrail::check(clinical(folder.path()));
        QVERIFY(result.intact());
        QCOMPARE(result.rows, 3);

        const auto all = AuditTrail::entries(clinical(folder.path()), {});
        QVERIFY(all);
        QCOMPARE(all->size(), 3);
        QCOMPARE(all->at(0).workstation, AuditTrail::workstationName());
        QCOMPARE(all->at(0).hash, AuditTrail::hashOf(all->at(0), AuditTrail::firstPreviousHash()));
        QCOMPARE(all->at(1).hash, AuditTrail::hashOf(all->at(1), all->at(0).hash));

        AuditTrail::Filter byCode;
        byCode.code = QStringLiteral("7");
        byCode.action = AuditTrail::key(Action::ScoresOpened);
        QCOMPARE(AuditTrail::entries(clinical(folder.path()), byCode)->size(), 1);
        bool valid = false;
        AuditTrail::Filter byDay;
        // Typed with Persian digits and blanks around it.
        byDay.from = FrmAudit::dayStart(QStringLiteral(" ۱۴۰۲/۰۲/۱۴ "), &valid);
        QVERIFY(valid);
        QCOMPARE(byDay.from->toLocalTime(), QDateTime(QDate(2023, 5, 4), QTime(0, 0)));
        QCOMPARE(AuditTrail::entries(clinical(folder.path()), byDay)->size(), 2);
        FrmAudit::dayStart(QStringLiteral("1402/12/30"), &valid); // 1402 is not a leap year
        QVERIFY(!valid);
        FrmAudit::dayStart(QStringLiteral("1403/12/30"), &valid);
        QVERIFY(valid);
    }

    void aRowChangedOrRemovedByHandIsFoundInTheFile()
    {
        TestProgramFolder folder;
        SignedInSession session;
        folder.context().session = &session;
        for (int i = 1; i <= 4; ++i)
            QVERIFY(AuditTrail::record(folder.context(), Action::RecordChanged, QString::number(i)));
        const QString file = folder.filePath(Database::clinicalFileName);
        // The file itself refuses both.
        QVERIFY(sqlite3(file, QStringLiteral("UPDATE AuditTrail SET Code = '9' WHERE Seq = 2")) != 0);
        QVERIFY(sqlite3(file, QStringLiteral("DELETE FROM AuditTrail WHERE Seq = 2")) != 0);
        QVERIFY(AuditTrail::check(clinical(folder.path())).intact());

        // Whoever drops the triggers first can change the file; the chain says where.
        QCOMPARE(sqlite3(file,
                         QStringLiteral("DROP TRIGGER AuditTrail_NoUpdate; DROP TRIGGER AuditTrail_NoDelete; "
                                        "DELETE FROM AuditTrail WHERE Seq = 3")),
                 0);
        auto result = AuditTrail::check(clinical(folder.path()));
        QCOMPARE(result.finding, Finding::Missing);
        QCOMPARE(result.brokenAt, 4);
        QCOMPARE(sqlite3(file, QStringLiteral("UPDATE AuditTrail SET Code = '9' WHERE Seq = 2")), 0);
        result = AuditTrail::check(clinical(folder.path()));
        QCOMPARE(result.finding, Finding::Changed);
        QCOMPARE(result.brokenAt, 2);

        // The window names the first broken link.
        FrmAudit window(folder.context());
        window.findChild<QPushButton*>(QStringLiteral("checkButton"))->click();
        QCOMPARE(folder.prompts.shown.constLast().text, AuditTexts::chainChanged(2));
        QCOMPARE(folder.prompts.shown.constLast().title, QStringLiteral("خطا"));
    }

    void anOlderFileGainsTheTableAndKeepsItsOwn()
    {
        TestProgramFolder folder(false);
        SignedInSession session;
        folder.context().session = &session;
        const QString file = folder.filePath(Database::clinicalFileName);
        QCOMPARE(sqlite3(file, QStringLiteral("CREATE TABLE IDE (Code TEXT, FName TEXT); INSERT INTO IDE "
                                              "VALUES ('5', 'Ali'); CREATE TABLE Answer (Code TEXT);"
                                              "CREATE TABLE QU (ID TEXT, QUS TEXT)")),
                 0);
        QVERIFY(folder.openDatabases());
        QVERIFY(AuditTable::exists(clinical(folder.path())));
        QVERIFY(AuditTrail::record(folder.context(), Action::SignIn));
        QCOMPARE(auditRows(folder.path()), QStringList{QStringLiteral("sign-in|||admin")});
        QSqlQuery subject(clinical(folder.path()));
        QVERIFY(subject.exec(QStringLiteral("SELECT FName FROM IDE WHERE Code = '5'")) && subject.next());
        QCOMPARE(subject.value(0).toString(), QStringLiteral("Ali"));
    }

    void theWindowListsFiltersAndExportsTheRows()
    {
        TestProgramFolder folder;
        SignedInSession session;
        folder.context().session = &session;
        QVERIFY(AuditTrail::record(folder.context(), Action::Registered, QStringLiteral("31")));
        QVERIFY(AuditTrail::record(folder.context(), Action::Deleted, QStringLiteral("=HYPERLINK(1)")));
        FrmAudit window(folder.context());
        auto* list = window.findChild<QTableWidget*>(QStringLiteral("auditList"));
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->item(0, 5)->text(), AuditTexts::registered);
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("1402/02/13"));
        for (const char* name : {"userFilter", "codeFilter", "fromDate", "untilDate", "actionFilter"}) {
            QWidget* input = window.findChild<QWidget*>(QLatin1String(name));
            QVERIFY(!input->accessibleName().isEmpty());
        }
        auto* code = window.findChild<QLineEdit*>(QStringLiteral("codeFilter"));
        code->setText(QStringLiteral(" ۳۱ "));
        QVERIFY(window.showRows());
        QCOMPARE(list->rowCount(), 1);
        // An impossible date is refused with a warning, and the list stays as it was.
        window.findChild<QLineEdit*>(QStringLiteral("untilDate"))->setText(QStringLiteral("1402/13/01"));
        QVERIFY(!window.showRows());
        QCOMPARE(folder.prompts.shown.constLast().text, AuditTexts::badDate);
        QCOMPARE(list->rowCount(), 1);
        window.findChild<QLineEdit*>(QStringLiteral("untilDate"))->setText(QStringLiteral("1402/02/13"));
        code->clear();
        QVERIFY(window.showRows());
        QCOMPARE(list->rowCount(), 2);

        QTemporaryDir out;
        const QString csv = out.filePath(QStringLiteral("audit.csv"));
        folder.prompts.fileAnswers.enqueue(csv);
        window.exportRows();
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).contains(AuditTexts::actionHeading));
        QVERIFY(lines.at(1).contains(AuditTexts::registered));
        // A code that a spreadsheet would run is written as text.
        QVERIFY(lines.at(2).contains(QStringLiteral("'=HYPERLINK(1)")));
        QCOMPARE(folder.prompts.shown.constLast().title, QStringLiteral("توجه"));
        QCOMPARE(
            auditRows(folder.path()).constLast(),
            QStringLiteral("export||%1: %2|admin").arg(AuditTexts::windowTitle, AuditTexts::rowsShown(2)));
        QCOMPARE(out.path() + QStringLiteral("/audit.csv"), csv);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("audit.csv")});

        // A file that cannot be written: the "خطا" box, nothing claimed.
        folder.prompts.fileAnswers.enqueue(out.filePath(QStringLiteral("missing/audit.csv")));
        window.exportRows();
        QCOMPARE(folder.prompts.shown.constLast().title, QStringLiteral("خطا"));
        QVERIFY(folder.prompts.shown.constLast().text.startsWith(AuditTexts::exportFailed));
    }

    void onTheServerWorkstationsAppendOneLineAndAChangeIsFound()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder first;
        SignedInSession session;
        first.context().session = &session;
        QVERIFY(ClinicServer::useServer(first.path(), server.settings(), server.password()).ok);
        const QSqlDatabase db = clinical(first.path());
        QVERIFY(AuditTable::exists(db));

        // A second workstation appends at the same time, on a connection of its own.
        constexpr int kEach = 40;
        std::thread other([&server] {
            {
                QSqlDatabase mine =
                    QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("other"));
                mine.setHostName(server.settings().host);
                mine.setPort(server.settings().port);
                mine.setDatabaseName(server.settings().databaseName);
                mine.setUserName(server.settings().userName);
                mine.setPassword(server.password());
                if (mine.open()) {
                    for (int i = 0; i < kEach; ++i)
                        AuditTrail::append(mine, QStringLiteral("other"), Action::ScoresOpened,
                                           QString::number(i), {}, QDateTime::currentDateTime());
                }
                mine.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        });
        int stored = 0;
        for (int i = 0; i < kEach; ++i)
            stored += AuditTrail::record(first.context(), Action::RecordChanged, QString::number(i)) ? 1 : 0;
        other.join();
        QCOMPARE(stored, kEach);
        auto result = AuditTrail::check(db);
        QVERIFY(result.intact());
        QCOMPARE(result.rows, 2 * kEach);

        // The server refuses a change and a removal; its owner, who can switch that off, is found out.
        QSqlQuery query(db);
        QVERIFY(!query.exec(QStringLiteral("UPDATE \"AuditTrail\" SET \"Code\" = 'x' WHERE \"Seq\" = 5")));
        QVERIFY(!query.exec(QStringLiteral("DELETE FROM \"AuditTrail\" WHERE \"Seq\" = 5")));
        QVERIFY(query.exec(QStringLiteral("ALTER TABLE \"AuditTrail\" DISABLE TRIGGER USER")));
        QVERIFY(query.exec(QStringLiteral("DELETE FROM \"AuditTrail\" WHERE \"Seq\" = 30")));
        result = AuditTrail::check(db);
        QCOMPARE(result.finding, Finding::Missing);
        QCOMPARE(result.brokenAt, 31);
        QVERIFY(query.exec(QStringLiteral("UPDATE \"AuditTrail\" SET \"Detail\" = 'x' WHERE \"Seq\" = 5")));
        result = AuditTrail::check(db);
        QCOMPARE(result.finding, Finding::Changed);
        QCOMPARE(result.brokenAt, 5);
    }
};

QTEST_MAIN(AuditTrailTest)
#include "AuditTrailTest.moc"
