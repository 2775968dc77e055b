#pragma once

#include "datastore/ServerSettings.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QtGlobal>

// A database of its own for one test on the throwaway PostgreSQL server that test.sh starts
// (tools/test-postgres.sh), dropped again at the end. Without that server (a test program started
// by hand) available() is false and the test skips.
class TestServer
{
public:
    TestServer()
    {
        m_settings.host = qEnvironmentVariable("VELMORA_TEST_PG_HOST");
        m_settings.port = qEnvironmentVariableIntValue("VELMORA_TEST_PG_PORT");
        m_settings.userName = qEnvironmentVariable("VELMORA_TEST_PG_USER");
        m_password = qEnvironmentVariable("VELMORA_TEST_PG_PASSWORD");
        if (m_settings.host.isEmpty() || m_settings.port == 0)
            return;
        static QAtomicInt serial;
        m_settings.databaseName = QStringLiteral("velmora_test_%1_%2")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(serial.fetchAndAddRelaxed(1));
        // A Persian default collation, as a clinic's server may have: the program must keep its
        // own byte order of texts whatever the server's.
        m_available = admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 LOCALE_PROVIDER icu "
                                           "ICU_LOCALE 'fa-IR' LOCALE 'C.UTF-8'")
                                .arg(m_settings.databaseName)) ||
                      admin(QStringLiteral("CREATE DATABASE %1").arg(m_settings.databaseName));
    }
    ~TestServer()
    {
        if (m_available) {
            setConnectionsAllowed(true);
            admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.databaseName));
        }
        QSqlDatabase::removeDatabase(kAdmin);
    }

    bool available() const { return m_available; }
    const ServerSettings& settings() const { return m_settings; }
    const QString& password() const { return m_password; }

    // Runs a statement on the server's maintenance database, as its owner.
    bool admin(const QString& sql)
    {
        QSqlDatabase db = QSqlDatabase::contains(kAdmin)
                              ? QSqlDatabase::database(kAdmin, false)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kAdmin);
        if (!db.isOpen()) {
            db.setHostName(m_settings.host);
            db.setPort(m_settings.port);
            db.setUserName(m_settings.userName);
            db.setPassword(m_password);
            db.setDatabaseName(QStringLiteral("postgres"));
            if (!db.open())
                return false;
        }
        QSqlQuery query(db);
        return query.exec(sql);
    }

    // The server as a workstation sees it when it is stopped: every connection to the test's
    // database is cut, and no new one is let in until it is allowed again.
    void setConnectionsAllowed(bool allowed)
    {
        admin(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                  .arg(m_settings.databaseName, allowed ? QStringLiteral("true") : QStringLiteral("false")));
        if (!allowed)
            cutConnections();
    }
    void cutConnections()
    {
        admin(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1'")
                  .arg(m_settings.databaseName));
    }

private:
    static inline const QString kAdmin = QStringLiteral("test server admin");
    ServerSettings m_settings;
    QString m_password;
    bool m_available = false;
};

#define SKIP_WITHOUT_TEST_SERVER(server)                                                                     \
    if (!(server).available())                                                                               \
    QSKIP("no test PostgreSQL server (./test.sh starts one)")
