#include "datastore/ClinicServer.h"
#include "TestProgramFolder.h"
#include "TestServer.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "datastore/DatastoreTexts.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The data layer on the clinic's PostgreSQL server: the same views as on the program folder's
// files, two workstations at once, a server that goes away, and the copy of a folder to it.
class ClinicServerTest : public QObject
{
    Q_OBJECT

    static QStringList column(const DataView& view, const QString& name)
    {
        QStringList result;
        for (const auto& row : view.rows())
            result << row.value(name);
        return result;
    }

    // Walks the view from first to last and back with moveNext/movePrevious.
    static QStringList walk(DataView& view, const QString& name)
    {
        QStringList forward;
        for (bool more = view.moveFirst(); more; more = view.moveNext())
            forward << view.field(name);
        QStringList backward;
        for (bool more = view.moveLast(); more; more = view.movePrevious())
            backward.prepend(view.field(name));
        return forward == backward ? forward : QStringList{QStringLiteral("walks differ")};
    }

    // The same rows, in the same order, on any database of the program.
    static void storeSampleRows(const QString& folder)
    {
        auto subjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
        const QList<QStringList> rows{
            {QStringLiteral("10"), QStringLiteral("b"), QStringLiteral("زهرا")},
            {QStringLiteral("9"), QString(), QStringLiteral("O'Neil")},
            {QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("")},
            {QStringLiteral("11"), QStringLiteral("b"), QStringLiteral("علي 😀")},
            {QStringLiteral("Z"), QStringLiteral(""), QStringLiteral("ali")},
            {QStringLiteral("۱۲"), QStringLiteral("a"), QStringLiteral("Ali")},
            {QStringLiteral("7"), QStringLiteral("a?"), QStringLiteral("C:\\new'\\")},
        };
        for (const QStringList& row : rows) {
            subjects->addNew();
            subjects->setField(QStringLiteral("Code"), row.at(0));
            if (!row.at(1).isNull())
                subjects->setField(QStringLiteral("Group"), row.at(1));
            subjects->setField(QStringLiteral("LName"), row.at(2));
            QVERIFY2(subjects->commit(), qPrintable(subjects->lastError()));
        }
    }

private slots:
    void serverViewsBehaveAsTheFilesDo()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder local;
        TestProgramFolder onServer;
        const ClinicServer::Result used =
            ClinicServer::useServer(onServer.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        QVERIFY(ClinicServer::isInUse(onServer.path()));
        QVERIFY(!ClinicServer::isInUse(local.path()));

        // First-run content and the columns every window knows, without the hidden order column.
        for (const QString& table : {QStringLiteral("IDE"), QStringLiteral("Answer"), QStringLiteral("QU"),
                                     QStringLiteral("Theme")}) {
            QCOMPARE(onServer.view(table)->columns(), local.view(table)->columns());
            QCOMPARE(onServer.view(table)->rows(), local.view(table)->rows());
        }

        storeSampleRows(local.path());
        storeSampleRows(onServer.path());
        auto a = local.view(QStringLiteral("IDE"));
        auto b = onServer.view(QStringLiteral("IDE"));
        QCOMPARE(b->rows(), a->rows());
        for (const QString& sort :
             {QString(), QStringLiteral("Code"), QStringLiteral("group"), QStringLiteral("LName")}) {
            a->setSort(sort);
            b->setSort(sort);
            QCOMPARE(column(*b, QStringLiteral("Code")), column(*a, QStringLiteral("Code")));
            QCOMPARE(walk(*b, QStringLiteral("Code")), walk(*a, QStringLiteral("Code")));
        }
        for (const auto& [name, value] :
             {std::pair{QStringLiteral("LName"), QStringLiteral("O'Neil")},
              std::pair{QStringLiteral("Group"), QString()},
              std::pair{QStringLiteral("Group"), QStringLiteral("b")},
              std::pair{QStringLiteral("LName"), QStringLiteral("ali")},
              std::pair{QStringLiteral("LName"), QStringLiteral("C:\\new'\\")},
              std::pair{QStringLiteral("Group"), QStringLiteral("a?")},
              std::pair{QStringLiteral("code"), QStringLiteral("x' OR '1'='1")}}) {
            a->filterBy(name, value);
            b->filterBy(name, value);
            QCOMPARE(b->count(), a->count());
            QCOMPARE(column(*b, QStringLiteral("Code")), column(*a, QStringLiteral("Code")));
        }

        // A text the server cannot keep exactly is refused before anything is written.
        b->setSort({});
        b->requery();
        QVERIFY(b->setField(QStringLiteral("FName"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
        QVERIFY(!b->commit());
        b->cancelChanges();
        QVERIFY(b->removeCurrent());
        QCOMPARE(b->count(), 6);
        QCOMPARE(b->field(QStringLiteral("Code")), QStringLiteral("9"));
    }

    void twoWorkstationsNeverStoreOneCodeTwice()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder front;
        TestProgramFolder office;
        QVERIFY(ClinicServer::useServer(front.path(), server.settings(), server.password()).ok);
        QVERIFY(ClinicServer::useServer(office.path(), server.settings(), server.password()).ok);

        auto first = front.view(QStringLiteral("IDE"));
        auto second = office.view(QStringLiteral("IDE"));
        for (DataView* view : {first.get(), second.get()}) {
            view->addNew();
            view->setField(QStringLiteral("Code"), QStringLiteral("7"));
            view->setField(QStringLiteral("FName"),
                           view == first.get() ? QStringLiteral("front") : QStringLiteral("office"));
        }
        QVERIFY(first->commit());
        QVERIFY(!second->commit());
        QCOMPARE(second->lastFailure(), SqlDialect::Failure::DuplicateKey);
        QVERIFY(second->isNewRow()); // the typed row stays for another code
        second->setField(QStringLiteral("Code"), QStringLiteral("8"));
        QVERIFY(second->commit());
        QCOMPARE(column(*front.view(QStringLiteral("IDE")), QStringLiteral("FName")),
                 (QStringList{QStringLiteral("front"), QStringLiteral("office")}));
    }

    void workstationStartsWhileAnotherIsMidRegistration()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        // A lock wait fails here instead of hanging the test.
        QVERIFY(server.admin(
            QStringLiteral("ALTER DATABASE %1 SET lock_timeout = '3s'").arg(server.settings().databaseName)));
        TestProgramFolder front;
        QVERIFY(ClinicServer::useServer(front.path(), server.settings(), server.password()).ok);
        Transaction registration(Database::connection(front.path(), Database::File::Clinical));
        auto answers = front.view(QStringLiteral("Answer"));
        answers->addNew();
        answers->setField(QStringLiteral("Code"), QStringLiteral("1"));
        QVERIFY(answers->commit());

        // Starting up must not wait for the registration's transaction (nor deadlock with it).
        TestProgramFolder office;
        const ClinicServer::Result used =
            ClinicServer::useServer(office.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        QVERIFY(registration.commit());
        QCOMPARE(office.view(QStringLiteral("Answer"))->count(), 1);
    }

    void commitsWriteOnlyChangedFieldsAndReadsSeeOthers()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder scoring;
        TestProgramFolder testing;
        QVERIFY(ClinicServer::useServer(scoring.path(), server.settings(), server.password()).ok);
        QVERIFY(ClinicServer::useServer(testing.path(), server.settings(), server.password()).ok);
        scoring.addSubject(QStringLiteral("1"));
        scoring.addSubject(QStringLiteral("2"));

        // Both workstations stand on subject 1; each changes other fields.
        auto scores = scoring.view(QStringLiteral("IDE"));
        auto names = testing.view(QStringLiteral("IDE"));
        QCOMPARE(names->field(QStringLiteral("Code")), QStringLiteral("1"));
        scores->setField(QStringLiteral("S"), QStringLiteral("12"));
        scores->setField(QStringLiteral("F2"), QStringLiteral("3"));
        names->setField(QStringLiteral("FName"), QStringLiteral("Sara"));
        QVERIFY(scores->commit());
        QVERIFY(names->commit());
        names->requery();
        QCOMPARE(names->field(QStringLiteral("S")), QStringLiteral("12"));
        QCOMPARE(names->field(QStringLiteral("F2")), QStringLiteral("3"));
        QCOMPARE(names->field(QStringLiteral("FName")), QStringLiteral("Sara"));
        QVERIFY(names->moveNext());
        QCOMPARE(names->field(QStringLiteral("S")), QString());

        // Answers typed for one subject on two workstations: no item is lost.
        auto answersA = scoring.view(QStringLiteral("Answer"));
        auto answersB = testing.view(QStringLiteral("Answer"));
        answersA->setField(QStringLiteral("1"), QStringLiteral("4"));
        answersB->setField(QStringLiteral("2"), QStringLiteral("5"));
        QVERIFY(answersA->commit());
        QVERIFY(answersB->commit());
        answersA->requery();
        QCOMPARE(answersA->field(QStringLiteral("1")), QStringLiteral("4"));
        QCOMPARE(answersA->field(QStringLiteral("2")), QStringLiteral("5"));
        QCOMPARE(answersA->count(), 2);
    }

    void lostServerFailsClearlyAndReconnects()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        QVERIFY(ClinicServer::useServer(folder.path(), server.settings(), server.password()).ok);
        folder.addSubject(QStringLiteral("1"));
        auto subjects = folder.view(QStringLiteral("IDE"));

        server.setConnectionsAllowed(false);
        subjects->setField(QStringLiteral("S"), QStringLiteral("9"));
        QVERIFY(!subjects->commit());
        QCOMPARE(subjects->lastFailure(), SqlDialect::Failure::ConnectionLost);
        QCOMPARE(subjects->lastError(), DatastoreTexts::serverConnectionLost);
        QCOMPARE(subjects->failureNote(), u'\n' + DatastoreTexts::serverConnectionLost);
        QVERIFY(subjects->hasChanges()); // the typed score stays on screen
        QCOMPARE(subjects->count(), 0);
        QCOMPARE(subjects->lastError(), DatastoreTexts::serverConnectionLost);
        {
            Transaction transaction(Database::connection(folder.path(), Database::File::Clinical));
            QVERIFY(!transaction.isOpen());
        }
        auto openedMeanwhile = folder.view(QStringLiteral("Answer"));
        QVERIFY(!openedMeanwhile->hasCurrentRow());

        server.setConnectionsAllowed(true);
        openedMeanwhile->requery();
        QCOMPARE(openedMeanwhile->columns(), Database::answerColumns());
        QCOMPARE(openedMeanwhile->rows().value(0).keys().size(), Database::kItemCount + 1);
        QVERIFY(subjects->commit()); // the next command reconnects
        auto again = folder.view(QStringLiteral("IDE"));
        QCOMPARE(again->count(), 1);
        QCOMPARE(again->field(QStringLiteral("S")), QStringLiteral("9"));

        // A connection cut while idle is replaced on the next read; a new row written on a cut
        // connection is reported unsaved and not written behind the user's back.
        server.cutConnections();
        QTest::qWait(200);
        QCOMPARE(again->count(), 1);
        server.cutConnections();
        QTest::qWait(200);
        again->addNew();
        again->setField(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(!again->commit());
        QCOMPARE(again->lastFailure(), SqlDialect::Failure::ConnectionLost);
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 1);
        QVERIFY(again->commit());
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 2);
    }

    void copyFolderToServerOnceInOneTransaction()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("5"), QStringLiteral("Sara"));
        folder.addSubject(QStringLiteral("3"), QStringLiteral("Reza"));
        folder.setAnswers(QStringLiteral("3"), {QStringLiteral("1"), QStringLiteral("2")});
        // An earlier administration of 3, which goes along.
        QVERIFY(AdministrationStore::startNew(Database::connection(folder.path(), Database::File::Clinical),
                                              QStringLiteral("3"), {}));
        folder.setAnswers(QStringLiteral("3"), {QStringLiteral("4")});
        {
            auto items = folder.view(QStringLiteral("QU"));
            QVERIFY(items->setField(QStringLiteral("QUS"), QStringLiteral("پرسش ويرايش شده")));
            QVERIFY(items->commit());
            auto theme = folder.view(QStringLiteral("Theme"));
            QVERIFY(theme->setField(QStringLiteral("Name"), QStringLiteral("درمانگاه")));
            QVERIFY(theme->commit());
        }
        const QByteArray logo("\x89PNG picture bytes\0 with a zero", 32);
        QFile logoFile(folder.filePath(ClinicServer::logoFileName));
        QVERIFY(logoFile.open(QIODevice::WriteOnly) && logoFile.write(logo) == logo.size());
        logoFile.close();

        const ClinicServer::Result copied =
            ClinicServer::copyFolderToServer(folder.path(), server.settings(), server.password());
        QVERIFY2(copied.ok, qPrintable(copied.message));
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        for (const QString& table : {QStringLiteral("IDE"), QStringLiteral("Answer"), QStringLiteral("QU"),
                                     QStringLiteral("Theme"), AdministrationStore::table})
            QCOMPARE(workstation.view(table)->rows(), folder.view(table)->rows());
        QCOMPARE(workstation.view(AdministrationStore::table)->count(), 2);
        // The logo goes along, so that every workstation prints the same letterhead.
        QCOMPARE(ClinicServer::storedLogo(workstation.path()), logo);
        QVERIFY(ClinicServer::storeLogo(workstation.path(), QByteArray("new logo")));
        QCOMPARE(ClinicServer::storedLogo(workstation.path()), QByteArray("new logo"));

        // A second copy would mix two clinics' records: refused, nothing changes.
        folder.addSubject(QStringLiteral("6"));
        const ClinicServer::Result again =
            ClinicServer::copyFolderToServer(folder.path(), server.settings(), server.password());
        QVERIFY(!again.ok);
        QCOMPARE(again.message, DatastoreTexts::serverAlreadyHoldsSubjects);
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->count(), 2);

        // Back to the files: the folder's own data again.
        QVERIFY(ClinicServer::useFolderFiles(workstation.path()).ok);
        QVERIFY(!ClinicServer::isInUse(workstation.path()));
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->count(), 0);
    }

    void copyIsRefusedOnAServerHoldingASingleSubject()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        workstation.addSubject(QStringLiteral("1"), QStringLiteral("Mina"));
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("2"), QStringLiteral("Sara"));
        {
            auto theme = folder.view(QStringLiteral("Theme"));
            QVERIFY(theme->setField(QStringLiteral("Name"), QStringLiteral("درمانگاه ديگر")));
            QVERIFY(theme->commit());
        }

        const ClinicServer::Result copied =
            ClinicServer::copyFolderToServer(folder.path(), server.settings(), server.password());
        QVERIFY(!copied.ok);
        QCOMPARE(copied.message, DatastoreTexts::serverAlreadyHoldsSubjects);
        auto subjects = workstation.view(QStringLiteral("IDE"));
        QCOMPARE(column(*subjects, QStringLiteral("FName")), QStringList{QStringLiteral("Mina")});
        QCOMPARE(workstation.view(QStringLiteral("Theme"))->field(QStringLiteral("Name")), QString());
    }

    void copyOfAFolderWithACodeTwiceStoresNothing()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        folder.addSubject(QStringLiteral("1"));
        const ClinicServer::Result copied =
            ClinicServer::copyFolderToServer(folder.path(), server.settings(), server.password());
        QVERIFY(!copied.ok);
        QVERIFY(copied.message.startsWith(DatastoreTexts::copyToServerFailed({}).trimmed()));
        TestProgramFolder workstation;
        QVERIFY(ClinicServer::useServer(workstation.path(), server.settings(), server.password()).ok);
        QCOMPARE(workstation.view(QStringLiteral("IDE"))->count(), 0);
        QCOMPARE(workstation.view(QStringLiteral("QU"))->count(), Database::kItemCount);
    }

    // With "encrypted only" the server must prove who it is: a certificate for the host named,
    // signed by the chosen authority (or one of the system's), and the password exchange bound to
    // the encrypted channel. Without it the connection says what it is.
    void encryptedConnectionsCheckWhoTheServerIs()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        const QString authority = qEnvironmentVariable("VELMORA_TEST_PG_CA");
        if (authority.isEmpty())
            QSKIP("the test PostgreSQL server was started without encryption");
        using S = ClinicServer::ConnectionSecurity;

        ServerSettings plain = server.settings();
        const ClinicServer::Result unchecked = ClinicServer::testConnection(plain, server.password());
        QVERIFY2(unchecked.ok, qPrintable(unchecked.message));
        QCOMPARE(unchecked.security, S::EncryptedUnverified);

        // The authority's file under a name with blanks, a quote and Persian letters.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("گواهي ها")));
        const QString copied = dir.filePath(QStringLiteral("گواهي ها/clinic's CA.crt"));
        QVERIFY(QFile::copy(authority, copied));
        ServerSettings verified = server.settings();
        verified.requireEncryption = true;
        verified.certificateAuthorityFile = copied;
        const ClinicServer::Result checked = ClinicServer::testConnection(verified, server.password());
        QVERIFY2(checked.ok, qPrintable(checked.message));
        QCOMPARE(checked.security, S::EncryptedVerified);

        TestProgramFolder folder;
        QCOMPARE(ClinicServer::connectionSecurity(folder.path()), S::NotOnServer);
        const ClinicServer::Result used = ClinicServer::useServer(folder.path(), verified, server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        QCOMPARE(used.security, S::EncryptedVerified);
        QCOMPARE(ClinicServer::connectionSecurity(folder.path()), S::EncryptedVerified);
        const QString options =
            Database::connection(folder.path(), Database::File::Clinical).connectOptions();
        QVERIFY2(options.contains(QLatin1String("channel_binding=require")), qPrintable(options));
        folder.addSubject(QStringLiteral("1"));
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 1);
        // Without the box, a server that does not answer now cannot tell; once a read has made the
        // connection again, it tells again.
        TestProgramFolder plainFolder;
        QVERIFY(ClinicServer::useServer(plainFolder.path(), plain, server.password()).ok);
        QCOMPARE(ClinicServer::connectionSecurity(plainFolder.path()), S::EncryptedUnverified);
        server.setConnectionsAllowed(false);
        QTest::qWait(100);
        QCOMPARE(ClinicServer::connectionSecurity(plainFolder.path()), S::Unknown);
        QCOMPARE(ClinicServer::connectionSecurity(folder.path()), S::EncryptedVerified);
        server.setConnectionsAllowed(true);
        QCOMPARE(plainFolder.view(QStringLiteral("IDE"))->count(), 1);
        QCOMPARE(ClinicServer::connectionSecurity(plainFolder.path()), S::EncryptedUnverified);

        // A server whose certificate no trusted authority signed is not connected to.
        for (const QString& untrusted :
             {qEnvironmentVariable("VELMORA_SOURCE_DIR") + QStringLiteral("/tests/data/tls/other-ca.crt"),
              QString()}) {
            verified.certificateAuthorityFile = untrusted;
            const ClinicServer::Result refused = ClinicServer::testConnection(verified, server.password());
            QVERIFY2(!refused.ok, qPrintable(untrusted));
            QVERIFY(!refused.message.isEmpty());
            TestProgramFolder other;
            QVERIFY(!ClinicServer::useServer(other.path(), verified, server.password()).ok);
            QCOMPARE(ClinicServer::connectionSecurity(other.path()), S::NotOnServer);
        }
        verified.certificateAuthorityFile = dir.filePath(QStringLiteral("missing.crt"));
        QVERIFY(!ClinicServer::testConnection(verified, server.password()).ok);
    }

    void wrongPasswordIsToldAndKeepsTheFiles()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        QVERIFY(!ClinicServer::testConnection(server.settings(), QStringLiteral("wrong")).ok);
        const ClinicServer::Result used =
            ClinicServer::useServer(folder.path(), server.settings(), QStringLiteral("wrong"));
        QVERIFY(!used.ok);
        QVERIFY(!used.message.isEmpty());
        QVERIFY(!ClinicServer::isInUse(folder.path()));
        QCOMPARE(folder.view(QStringLiteral("IDE"))->count(), 1);
        const ClinicServer::Result tested =
            ClinicServer::testConnection(server.settings(), server.password());
        QVERIFY(tested.ok);
        QCOMPARE(tested.message, DatastoreTexts::serverConnectionWorks);
    }
};

QTEST_MAIN(ClinicServerTest)
#include "ClinicServerTest.moc"
