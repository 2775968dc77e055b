#include "datastore/ServerSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ServerSettings clinicServer()
{
    ServerSettings s;
    s.host = QStringLiteral("db.clinic.local");
    s.port = 5433;
    s.databaseName = QStringLiteral("velmora");
    s.userName = QStringLiteral("reception");
    return s;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content, QFileDevice::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    return file.setPermissions(permissions);
}

const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

class ServerSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void writtenSettingsReadBackWithoutAnyPassword()
    {
        QTemporaryDir dir;
        ServerSettings settings = clinicServer();
        settings.databaseName = QStringLiteral("کلينيک=مرکزي;1");
        settings.userName = QStringLiteral(" منشي ");
        settings.requireEncryption = true;
        settings.certificateAuthorityFile = QStringLiteral("/home/منشي/گواهي ها/clinic-ca.crt");
        settings.inUse = true;
        QString error;
        QVERIFY2(ServerSettingsFile::write(dir.path(), settings, &error), qPrintable(error));

        const auto read = ServerSettingsFile::read(dir.path());
        QVERIFY(read.has_value());
        settings.userName = QStringLiteral("منشي"); // blanks around a name are not part of it
        QCOMPARE(*read, settings);

        // Exactly the seven settings, nothing that could hold a password.
        const QString text = QString::fromUtf8(readAll(dir.filePath(QStringLiteral("Server.ini"))));
        QStringList keys;
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(u'['))
                keys << line.section(u'=', 0, 0);
        }
        QCOMPARE(keys, (QStringList{"host", "port", "database", "user", "requireEncryption",
                                    "certificateAuthority", "inUse"}));
    }

    void rewritingReplacesTheWholeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Server.ini"));
        QVERIFY(writeFile(path, "[Server]\nhost=old\npassword=secret\nnote=" + QByteArray(5000, 'x') + '\n',
                          kOwnerOnly));
        QVERIFY(ServerSettingsFile::write(dir.path(), clinicServer()));
        const QByteArray content = readAll(path);
        QVERIFY(!content.contains("secret"));
        QVERIFY(!content.contains("old"));
        QVERIFY(content.size() < 200);
        QCOMPARE(*ServerSettingsFile::read(dir.path()), clinicServer());
    }

    void failedWriteSaysWhyAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        QVERIFY(ServerSettingsFile::write(dir.path(), clinicServer()));

        ServerSettings broken = clinicServer();
        broken.host = QStringLiteral("db\ninUse=true");
        QString error;
        QVERIFY(!ServerSettingsFile::write(dir.path(), broken, &error));
        QVERIFY(error.contains(QStringLiteral("Server.ini")));
        QCOMPARE(*ServerSettingsFile::read(dir.path()), clinicServer());

        error.clear();
        QVERIFY(!ServerSettingsFile::write(dir.filePath(QStringLiteral("missing/folder")), clinicServer(),
                                           &error));
        QVERIFY(error.contains(QStringLiteral("Server.ini")));
    }

    void readsHandEditedFilesAndIgnoresWhatItDoesNotKnow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Server.ini"));
        QVERIFY(writeFile(path,
                          "\xEF\xBB\xBF  HOST = 10.0.0.5 \r\n; edited by the clinic's administrator\r\n"
                          "port=abc\r\nDatabase=velmora\r\n# user=ignored\r\nuser=dr\r\n"
                          "requireEncryption=1\r\ninUse=TRUE\r\ncolour=blue\r\n",
                          kOwnerOnly));
        const auto read = ServerSettingsFile::read(dir.path());
        QVERIFY(read.has_value());
        QCOMPARE(read->host, QStringLiteral("10.0.0.5"));
        QCOMPARE(read->port, 5432); // a damaged port falls back to PostgreSQL's own
        QCOMPARE(read->databaseName, QStringLiteral("velmora"));
        QCOMPARE(read->userName, QStringLiteral("dr"));
        QVERIFY(read->requireEncryption);
        QVERIFY(read->inUse);

        // Without a host there is no server to use.
        QVERIFY(writeFile(path, "[Server]\nhost=\ninUse=true\n", kOwnerOnly));
        QVERIFY(!ServerSettingsFile::read(dir.path()).has_value());
        QVERIFY(QFile::remove(path));
        QVERIFY(!ServerSettingsFile::read(dir.path()).has_value());
    }

    void pgpassLinesMatchAsPostgresMatchesThem_data()
    {
        QTest::addColumn<QByteArray>("pgpass");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("password");

        const QString host = QStringLiteral("db.clinic.local");
        QTest::newRow("exact") << QByteArray("db.clinic.local:5433:velmora:reception:s3cret\n") << host
                               << QStringLiteral("s3cret");
        QTest::newRow("wildcards") << QByteArray("*:*:*:reception:any\n") << host << QStringLiteral("any");
        QTest::newRow("first match wins")
            << QByteArray("db.clinic.local:*:*:*:first\n*:*:*:*:second\n") << host << QStringLiteral("first");
        QTest::newRow("star inside a field is literal")
            << QByteArray("db.*:5433:velmora:reception:x\n") << host << QString();
        QTest::newRow("comments and blank lines")
            << QByteArray("# db.clinic.local:5433:velmora:reception:commented\n\n*:*:*:*:real\n") << host
            << QStringLiteral("real");
        QTest::newRow("escaped colon and backslash in password")
            << QByteArray("*:*:*:*:a\\:b\\\\c\n") << host << QStringLiteral("a:b\\c");
        QTest::newRow("password ends at an unescaped colon")
            << QByteArray("*:*:*:*:pw:extra\n") << host << QStringLiteral("pw");
        QTest::newRow("escaped colon in host (IPv6)") << QByteArray("\\:\\:1:5433:velmora:reception:six\n")
                                                      << QStringLiteral("::1") << QStringLiteral("six");
        QTest::newRow("windows line ends")
            << QByteArray("*:*:*:*:crlf\r\n") << host << QStringLiteral("crlf");
        QTest::newRow("too few fields") << QByteArray("db.clinic.local:5433:velmora\n") << host << QString();
        QTest::newRow("no host means localhost")
            << QByteArray("localhost:5433:velmora:reception:local\n") << QString() << QStringLiteral("local");
    }
    void pgpassLinesMatchAsPostgresMatchesThem()
    {
        QFETCH(QByteArray, pgpass);
        QFETCH(QString, host);
        QFETCH(QString, password);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pgpass"));
        QVERIFY(writeFile(path, pgpass, kOwnerOnly));
        ServerSettings settings = clinicServer();
        settings.host = host;
        QCOMPARE(ServerSettingsFile::passwordFromPgpass(settings, path), password);
    }

    void pgpassOthersCanReadIsIgnored()
    {
#ifdef Q_OS_WIN
        QSKIP("no file permissions to check");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pgpass"));
        QVERIFY(
            writeFile(path, "*:*:*:*:open\n", kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QCOMPARE(ServerSettingsFile::passwordFromPgpass(clinicServer(), path), QString());
        QVERIFY(QFile::setPermissions(path, kOwnerOnly));
        QCOMPARE(ServerSettingsFile::passwordFromPgpass(clinicServer(), path), QStringLiteral("open"));
    }

    void usersOwnFileComesFromPgpassfile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mine"));
        QVERIFY(writeFile(path, "*:*:*:reception:from-env\n", kOwnerOnly));
        const QByteArray before = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", path.toLocal8Bit());
        const QString password = ServerSettingsFile::passwordFromPgpass(clinicServer());
        qputenv("PGPASSFILE", before);
        QCOMPARE(password, QStringLiteral("from-env"));
    }
};

QTEST_GUILESS_MAIN(ServerSettingsTest)
#include "ServerSettingsTest.moc"
