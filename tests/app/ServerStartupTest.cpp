#include "app/ServerStartup.h"
#include "FakeClinicServer.h"
#include "FakePrompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ServerSettings clinicServer(bool inUse)
{
    ServerSettings s;
    s.host = QStringLiteral("db.clinic.local");
    s.databaseName = QStringLiteral("velmora");
    s.userName = QStringLiteral("reception");
    s.inUse = inUse;
    return s;
}

} // namespace

class ServerStartupTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_pgpass;
    FakeClinicServer m_server;
    FakePrompts m_prompts;

    bool start() { return startOnClinicServer(m_folder.path(), m_server, m_prompts, m_pgpass); }
    void writePgpass(const QByteArray& content)
    {
        QFile file(m_pgpass);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    QString choiceQuestion() const
    {
        const QStringList questions = m_prompts.texts(FakePrompts::Kind::YesNo);
        return questions.size() == 1 ? questions[0] : QString();
    }

private slots:
    void init()
    {
        QFile::remove(m_folder.filePath(QStringLiteral("Server.ini")));
        m_pgpass = m_folder.filePath(QStringLiteral("pgpass"));
        QFile::remove(m_pgpass);
        m_server = FakeClinicServer();
        m_prompts = FakePrompts();
    }

    void withoutServerInUseNothingHappens()
    {
        QVERIFY(start());
        QVERIFY(ServerSettingsFile::write(m_folder.path(), clinicServer(false)));
        QVERIFY(start());
        QVERIFY(m_server.calls.isEmpty());
        QVERIFY(m_prompts.shown.isEmpty());
    }

    void passwordComesFromPgpassOrIsAskedFor()
    {
        QVERIFY(ServerSettingsFile::write(m_folder.path(), clinicServer(true)));
        writePgpass("*:5432:velmora:reception:kept\n");
        QVERIFY(start());
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("useServer")});
        QCOMPARE(m_server.lastPassword, QStringLiteral("kept"));
        QCOMPARE(m_server.lastSettings, clinicServer(true));
        QVERIFY(m_prompts.shown.isEmpty());

        QFile::remove(m_pgpass);
        m_prompts.passwordAnswers.enqueue(QStringLiteral("typed"));
        QVERIFY(start());
        QCOMPARE(m_prompts.texts(FakePrompts::Kind::Password),
                 QStringList{QStringLiteral("رمز عبور کاربر «reception» براي سرور «db.clinic.local»:")});
        QCOMPARE(m_server.lastPassword, QStringLiteral("typed"));
    }

    void failureOffersTheFolderFilesOrQuitting()
    {
        QVERIFY(ServerSettingsFile::write(m_folder.path(), clinicServer(true)));
        m_prompts.passwordAnswers.enqueue(QStringLiteral("wrong"));
        m_server.useResult = {false, QStringLiteral("رمز عبور نادرست است")};
        QVERIFY(!start()); // No: the program ends
        QVERIFY(choiceQuestion().contains(QStringLiteral("رمز عبور نادرست است")));
        // Plainly: what is registered in such a session stays on this computer.
        QVERIFY(choiceQuestion().contains(
            QStringLiteral("آزمودني ها و پاسخ هايي که در اين اجرا ثبت کنيد فقط روي همين کامپيوتر مي مانند و "
                           "به سرور کلينيک نمي روند؛ کامپيوترهاي ديگر کلينيک آنها را نمي بينند.")));
        QCOMPARE(m_prompts.shown[1].title, QStringLiteral("خطا"));
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("useServer")});

        m_prompts = FakePrompts();
        m_server.calls.clear();
        m_prompts.passwordAnswers.enqueue(QStringLiteral("wrong"));
        m_prompts.yesNoAnswers.enqueue(true);
        QVERIFY(start()); // Yes: on this computer's files, and the choice in Server.ini stays
        QCOMPARE(m_server.calls, (QStringList{"useServer", "useFolderFiles"}));
        // Every page of the files is read beside the first window, not before it opens.
        QCOMPARE(m_server.lastPageCheck, std::optional(Database::PageCheck::Separately));
        QVERIFY(ServerSettingsFile::read(m_folder.path())->inUse);

        m_prompts = FakePrompts();
        m_prompts.passwordAnswers.enqueue(QStringLiteral("wrong"));
        m_prompts.yesNoAnswers.enqueue(true);
        m_server.folderResult = {false, QStringLiteral("فايل ها باز نشد")};
        QVERIFY(!start());
        QCOMPARE(m_prompts.texts(FakePrompts::Kind::Message), QStringList{QStringLiteral("فايل ها باز نشد")});
    }

    void cancelledPasswordIsAFailureTheUserHears()
    {
        QVERIFY(ServerSettingsFile::write(m_folder.path(), clinicServer(true)));
        m_prompts.yesNoAnswers.enqueue(true);
        QVERIFY(start());
        QVERIFY(choiceQuestion().contains(QStringLiteral("رمز عبور وارد نشد.")));
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("useFolderFiles")});
    }
};

QTEST_GUILESS_MAIN(ServerStartupTest)
#include "ServerStartupTest.moc"
