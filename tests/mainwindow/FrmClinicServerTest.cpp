#include "mainwindow/FrmClinicServer.h"
#include "FakeClinicServer.h"
#include "TestProgramFolder.h"
#include "TypeText.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kErrorTitle = QStringLiteral("خطا");
const QString kConnectionWorks = QStringLiteral("اتصال به سرور برقرار شد.");
const QString kUsingServer = QStringLiteral("از اين پس برنامه با سرور کلينيک کار مي کند. اين تنظيم ذخيره شد "
                                            "و در اجراهاي بعدي برنامه هم به کار مي رود.");
const QString kUsingFiles = QStringLiteral("از اين پس برنامه با فايل هاي همين کامپيوتر کار مي کند.");

ServerSettings storedServer(bool inUse)
{
    ServerSettings s;
    s.host = QStringLiteral("10.0.0.5");
    s.port = 5433;
    s.databaseName = QStringLiteral("velmora");
    s.userName = QStringLiteral("reception");
    s.requireEncryption = true;
    s.inUse = inUse;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(ClinicServer::ConnectionSecurity)

class FrmClinicServerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    FakeClinicServer m_server;
    std::unique_ptr<FrmClinicServer> m_window;

    template <typename T = QWidget> T* child(const char* name)
    {
        auto* widget = m_window->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void open()
    {
        m_window = std::make_unique<FrmClinicServer>(m_folder->context(), m_server);
        m_window->show();
    }
    void retype(const char* name, const QString& text)
    {
        auto* field = child<QLineEdit>(name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        typeText(field, text);
    }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    void fillIn()
    {
        retype("hostBox", QStringLiteral(" db.clinic.local "));
        retype("portBox", QStringLiteral("۵۴۳۳"));
        retype("databaseBox", QStringLiteral("velmora"));
        retype("userBox", QStringLiteral("reception"));
        retype("passwordBox", QStringLiteral("typed"));
    }
    QList<FakePrompts::Shown> messages() const
    {
        QList<FakePrompts::Shown> result;
        for (const auto& shown : m_folder->prompts.shown) {
            if (shown.kind == FakePrompts::Kind::Message)
                result << shown;
        }
        return result;
    }
    void verifyOnlyMessage(const QString& title, const QString& text)
    {
        const auto shown = messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(shown[0].text, text);
    }
    std::optional<ServerSettings> stored() const { return ServerSettingsFile::read(m_folder->path()); }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(false);
        m_server = FakeClinicServer();
    }
    void cleanup() { m_window.reset(); }

    void showsStoredSettingsSkinnedWithEveryInputLabelled()
    {
        QVERIFY(ServerSettingsFile::write(m_folder->path(), storedServer(true)));
        open();
        QCOMPARE(child<QLineEdit>("hostBox")->text(), QStringLiteral("10.0.0.5"));
        QCOMPARE(child<QLineEdit>("portBox")->text(), QStringLiteral("5433"));
        QCOMPARE(child<QLineEdit>("databaseBox")->text(), QStringLiteral("velmora"));
        QCOMPARE(child<QLineEdit>("userBox")->text(), QStringLiteral("reception"));
        QVERIFY(child<QCheckBox>("requireEncryptionBox")->isChecked());
        auto* password = child<QLineEdit>("passwordBox");
        QVERIFY(password->text().isEmpty());
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QVERIFY(child<QLabel>("passwordNote")->isVisible());
        QVERIFY(child<QLabel>("pgpassFile")->text().endsWith(QStringLiteral("~/.pgpass")));

        const QList<QPair<const char*, QString>> captions = {
            {"hostBox", QStringLiteral("نام يا نشاني سرور:")},
            {"portBox", QStringLiteral("شماره پورت:")},
            {"databaseBox", QStringLiteral("نام پايگاه داده:")},
            {"userBox", QStringLiteral("نام کاربر:")},
            {"passwordBox", QStringLiteral("رمز عبور:")}};
        for (const auto& [name, caption] : captions) {
            auto* field = child<QLineEdit>(name);
            QCOMPARE(field->accessibleName(), caption);
            auto* label = m_window->findChild<QLabel*>(QStringLiteral("Label_") + QLatin1String(name));
            QVERIFY2(label && label->buddy() == field && label->text() == caption, name);
        }
        QVERIFY(!m_window->styleSheet().isEmpty());
        QVERIFY(m_window->property("skinNumber").isValid());

        auto* port = child<QLineEdit>("portBox");
        port->clear();
        typeText(port, QStringLiteral("۵a٤3"));
        QCOMPARE(port->text(), QStringLiteral("543"));
        QCOMPARE(m_folder->prompts.beeps, 1);
    }

    void incompleteSettingsAreRefusedBeforeTheServerIsAsked_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("no host") << QByteArray("hostBox") << QStringLiteral("  ")
                                 << QStringLiteral("نام يا نشاني سرور را وارد کنيد.");
        QTest::newRow("port 0") << QByteArray("portBox") << QStringLiteral("0")
                                << QStringLiteral("شماره پورت بايد عددي از 1 تا 65535 باشد.");
        QTest::newRow("port too high") << QByteArray("portBox") << QStringLiteral("70000")
                                       << QStringLiteral("شماره پورت بايد عددي از 1 تا 65535 باشد.");
        QTest::newRow("no database") << QByteArray("databaseBox") << QString()
                                     << QStringLiteral("نام پايگاه داده را وارد کنيد.");
        QTest::newRow("no user") << QByteArray("userBox") << QString()
                                 << QStringLiteral("نام کاربر را وارد کنيد.");
        // The driver would take the semicolon for the end of the option and look for another file.
        QTest::newRow("semicolon in certificate file")
            << QByteArray("certificateAuthorityBox") << QStringLiteral("/srv/a;b/ca.crt")
            << QStringLiteral(
                   "نام فايل گواهي نمي تواند نويسه «;» داشته باشد؛ فايل را به پوشه ديگري کپي کنيد.");
    }
    void incompleteSettingsAreRefusedBeforeTheServerIsAsked()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        open();
        fillIn();
        retype(field.constData(), text);
        for (const char* command : {"testConnectionButton", "useServerButton", "copyToServerButton"}) {
            m_folder->prompts.clear();
            click(command);
            verifyOnlyMessage(kErrorTitle, message);
        }
        QVERIFY(m_server.calls.isEmpty());
        QVERIFY(!stored());
    }

    void connectionTestSendsTheTypedSettingsAndSaysWhatCameBack()
    {
        open();
        fillIn();
        retype("hostBox", QStringLiteral(" ۱۰.۰.۰.۷ "));
        click("testConnectionButton");
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("testConnection")});
        QCOMPARE(m_server.lastSettings.host, QStringLiteral("10.0.0.7"));
        QCOMPARE(m_server.lastSettings.port, 5433);
        QCOMPARE(m_server.lastSettings.databaseName, QStringLiteral("velmora"));
        QCOMPARE(m_server.lastPassword, QStringLiteral("typed"));
        verifyOnlyMessage(QStringLiteral("پيام"), kConnectionWorks);

        m_folder->prompts.clear();
        m_server.testResult = {false, QStringLiteral("سرور پاسخ نمي دهد")};
        click("testConnectionButton");
        verifyOnlyMessage(kErrorTitle, QStringLiteral("سرور پاسخ نمي دهد"));
        QVERIFY(!stored()); // a test changes nothing
        QVERIFY(!QApplication::overrideCursor());
    }

    void certificateAuthorityIsChosenKeptAndUsed()
    {
        open();
        auto* authority = child<QLineEdit>("certificateAuthorityBox");
        QCOMPARE(authority->accessibleName(), QStringLiteral("فايل گواهي مرجع (CA) سرور:"));
        auto* label = m_window->findChild<QLabel*>(QStringLiteral("Label_certificateAuthorityBox"));
        QVERIFY(label && label->buddy() == authority);
        QVERIFY(child<QLabel>("certificateAuthorityNote")->isVisible());
        QCOMPARE(child<QCheckBox>("requireEncryptionBox")->text(),
                 QStringLiteral("فقط با اتصال رمزنگاري شده (SSL) و پس از بررسي هويت سرور وصل شود"));

        m_folder->prompts.fileAnswers.enqueue(QStringLiteral("/srv/گواهي ها/clinic ca.pem"));
        click("chooseCertificateAuthorityButton");
        QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::OpenFile).size(), 1);
        QCOMPARE(m_folder->prompts.lastFileFolder, QStringLiteral("/etc/ssl/certs"));
        QCOMPARE(authority->text(), QStringLiteral("/srv/گواهي ها/clinic ca.pem"));
        // Cancelling the dialog keeps the chosen file.
        click("chooseCertificateAuthorityButton");
        QCOMPARE(m_folder->prompts.lastFileFolder, QStringLiteral("/srv/گواهي ها"));
        QCOMPARE(authority->text(), QStringLiteral("/srv/گواهي ها/clinic ca.pem"));

        fillIn();
        child<QCheckBox>("requireEncryptionBox")->setChecked(true);
        click("useServerButton");
        QVERIFY(m_server.lastSettings.requireEncryption);
        QCOMPARE(m_server.lastSettings.certificateAuthorityFile,
                 QStringLiteral("/srv/گواهي ها/clinic ca.pem"));
        QCOMPARE(stored()->certificateAuthorityFile, QStringLiteral("/srv/گواهي ها/clinic ca.pem"));
        m_window.reset();
        open();
        QCOMPARE(child<QLineEdit>("certificateAuthorityBox")->text(),
                 QStringLiteral("/srv/گواهي ها/clinic ca.pem"));
    }

    void windowSaysWhatProtectsTheConnection_data()
    {
        QTest::addColumn<ClinicServer::ConnectionSecurity>("security");
        QTest::addColumn<QString>("inUse");
        QTest::addColumn<QString>("tested");
        using S = ClinicServer::ConnectionSecurity;
        QTest::newRow("files") << S::NotOnServer << QString() << QString();
        QTest::newRow("plain") << S::Unencrypted
                               << QStringLiteral(
                                      "اتصال فعلي به سرور رمزنگاري نشده است: اطلاعات آزمودني ها بدون "
                                      "رمز از شبکه مي گذرد.")
                               << QStringLiteral("اين اتصال رمزنگاري نشده است.");
        QTest::newRow("encrypted")
            << S::EncryptedUnverified
            << QStringLiteral("اتصال فعلي به سرور رمزنگاري شده است، اما هويت سرور بررسي نشده است.")
            << QStringLiteral("اين اتصال رمزنگاري شده است، اما هويت سرور بررسي نشده است.");
        QTest::newRow("no answer") << S::Unknown
                                   << QStringLiteral("سرور اکنون پاسخ نمي دهد؛ معلوم نيست که اتصال به آن "
                                                     "رمزنگاري شده است يا نه.")
                                   << QString();
        QTest::newRow("verified")
            << S::EncryptedVerified
            << QStringLiteral("اتصال فعلي به سرور رمزنگاري شده است و هويت سرور با گواهي آن بررسي شده است.")
            << QStringLiteral("اين اتصال رمزنگاري شده است و هويت سرور با گواهي آن بررسي شده است.");
    }
    void windowSaysWhatProtectsTheConnection()
    {
        QFETCH(ClinicServer::ConnectionSecurity, security);
        QFETCH(QString, inUse);
        QFETCH(QString, tested);
        m_server.security = security;
        open();
        auto* line = child<QLabel>("connectionSecurityLine");
        QCOMPARE(line->isVisible(), !inUse.isEmpty());
        QCOMPARE(line->text(), inUse);

        fillIn();
        m_server.testResult = {true, {}, security};
        click("testConnectionButton");
        verifyOnlyMessage(QStringLiteral("پيام"),
                          tested.isEmpty() ? kConnectionWorks : kConnectionWorks + u'\n' + tested);

        // After a switch the line tells of the connection now in use.
        m_server.security = ClinicServer::ConnectionSecurity::NotOnServer;
        click("useFolderFilesButton");
        QVERIFY(!line->isVisible());
        m_server.security = security;
        click("useServerButton");
        QCOMPARE(line->text(), inUse);
    }

    void emptyPasswordIsLookedUpInPgpass()
    {
        QTemporaryDir dir;
        QFile pgpass(dir.filePath(QStringLiteral("pgpass")));
        QVERIFY(pgpass.open(QIODevice::WriteOnly));
        pgpass.write("db.clinic.local:5433:velmora:reception:from\\:file\n");
        pgpass.close();
        QVERIFY(pgpass.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QByteArray before = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", pgpass.fileName().toLocal8Bit());
        open();
        fillIn();
        retype("passwordBox", QString());
        click("testConnectionButton");
        qputenv("PGPASSFILE", before);
        QCOMPARE(m_server.lastPassword, QStringLiteral("from:file"));
    }

    void serverIsRememberedOnlyWhenTestAndSwitchSucceed()
    {
        open();
        fillIn();
        m_server.testResult = {false, QStringLiteral("رمز عبور نادرست است")};
        click("useServerButton");
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("testConnection")});
        verifyOnlyMessage(kErrorTitle, QStringLiteral("رمز عبور نادرست است"));
        QVERIFY(!stored());

        m_folder->prompts.clear();
        m_server.calls.clear();
        m_server.testResult = {true, {}};
        m_server.useResult = {false, QStringLiteral("جدول ها ساخته نشد")};
        click("useServerButton");
        QCOMPARE(m_server.calls, (QStringList{"testConnection", "useServer"}));
        verifyOnlyMessage(kErrorTitle, QStringLiteral("جدول ها ساخته نشد"));
        QVERIFY(!stored());

        m_folder->prompts.clear();
        m_server.useResult = {true, {}};
        click("useServerButton");
        QCOMPARE(m_server.lastFolder, m_folder->path());
        verifyOnlyMessage(QStringLiteral("پيام"), kUsingServer);
        ServerSettings expected = storedServer(true);
        expected.host = QStringLiteral("db.clinic.local");
        expected.requireEncryption = false;
        QCOMPARE(*stored(), expected);
        QFile ini(m_folder->filePath(QStringLiteral("Server.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains("typed"));
    }

    void unwritableServerIniTakesTheProgramBackToItsFiles()
    {
        // A folder in the file's place: the settings cannot be written.
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("Server.ini")));
        open();
        fillIn();
        click("useServerButton");
        QCOMPARE(m_server.calls, (QStringList{"testConnection", "useServer", "useFolderFiles"}));
        // In a running session the files are checked whole before the program works on them.
        QCOMPARE(m_server.lastPageCheck, std::optional(Database::PageCheck::AtOpen));
        const auto shown = messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, kErrorTitle);
        QVERIFY(shown[0].text.contains(QStringLiteral("Server.ini")));
        QVERIFY(
            shown[0].text.endsWith(QStringLiteral("برنامه همچنان با فايل هاي همين کامپيوتر کار مي کند.")));
    }

    void goingBackKeepsTheServerSettingsForLater()
    {
        QVERIFY(ServerSettingsFile::write(m_folder->path(), storedServer(true)));
        open();
        m_server.folderResult = {false, QStringLiteral("فايل ها باز نشد")};
        click("useFolderFilesButton");
        verifyOnlyMessage(kErrorTitle, QStringLiteral("فايل ها باز نشد"));
        QVERIFY(stored()->inUse);

        m_folder->prompts.clear();
        m_server.folderResult = {true, {}};
        click("useFolderFilesButton");
        verifyOnlyMessage(QStringLiteral("پيام"), kUsingFiles);
        QCOMPARE(*stored(), storedServer(false));
        QCOMPARE(m_server.lastFolder, m_folder->path());
    }

    void copyAsksFirstAndPassesOnTheServersRefusal()
    {
        open();
        fillIn();
        click("copyToServerButton"); // the question is answered No
        QCOMPARE(m_folder->prompts.texts(FakePrompts::Kind::YesNo).size(), 1);
        QVERIFY(m_server.calls.isEmpty());

        const QString refusal = QStringLiteral("سرور از قبل آزمودني دارد؛ چيزي کپي نشد.");
        m_server.copyResult = {false, refusal};
        m_folder->prompts.yesNoAnswers.enqueue(true);
        click("copyToServerButton");
        QCOMPARE(m_server.calls, QStringList{QStringLiteral("copyFolderToServer")});
        QCOMPARE(m_server.lastFolder, m_folder->path());
        verifyOnlyMessage(kErrorTitle, refusal);

        m_folder->prompts.clear();
        m_server.copyResult = {true, QStringLiteral("۱۲ آزمودني به سرور کپي شد.")};
        m_folder->prompts.yesNoAnswers.enqueue(true);
        click("copyToServerButton");
        verifyOnlyMessage(QStringLiteral("پيام"), QStringLiteral("۱۲ آزمودني به سرور کپي شد."));
        QVERIFY(!stored()); // copying does not switch the program to the server
    }
};

QTEST_MAIN(FrmClinicServerTest)
#include "FrmClinicServerTest.moc"
