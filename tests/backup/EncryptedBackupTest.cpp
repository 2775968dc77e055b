#include "../accounts/QuickHash.h"
#include "AuditRows.h"
#include "SignedInSession.h"
#include "TestProgramFolder.h"
#include "accounts/AccountStore.h"
#include "accounts/PasswordHash.h"
#include "audit/AuditTrail.h"
#include "backup/BackupCipher.h"
#include "backup/BackupTexts.h"
#include "backup/DatabaseBackup.h"
#include "backup/Frmbackup.h"
#include "common/Session.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

using Kind = DatabaseBackup::Outcome::Kind;
namespace T = BackupTexts;

namespace {

// Quick to derive: the tests are about the file, not about the cost of guessing.
const BackupCipher::Strength kQuick{crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

} // namespace

class EncryptedBackupTest : public QObject
{
    Q_OBJECT

    QStringList codes(TestProgramFolder& folder)
    {
        QStringList result;
        for (const DataView::Row& row : folder.view(QStringLiteral("IDE"))->rows())
            result << row.value(QStringLiteral("Code"));
        return result;
    }
    // Subjects enough for the backup to take several chunks.
    void addSubjects(TestProgramFolder& folder, int count)
    {
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        db.transaction();
        for (int i = 1; i <= count; ++i)
            folder.addSubject(QString::number(i), QStringLiteral("Nilufar%1").arg(i));
        db.commit();
    }
    DatabaseBackup::Outcome backUp(TestProgramFolder& folder, const QString& path, const QString& password)
    {
        return DatabaseBackup::backUp(folder.path(), path, {}, DatabaseBackup::Encryption{password, kQuick});
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void anEncryptedBackupOpensWithItsPasswordOnly()
    {
        TestProgramFolder folder;
        addSubjects(folder, 600);
        QTemporaryDir elsewhere;
        // Told apart by content, not by name.
        const QString backup = elsewhere.filePath(QStringLiteral("backup.dat"));
        const auto made = backUp(folder, backup, QStringLiteral("گذرواژه-۱"));
        QVERIFY2(made.ok(), qPrintable(made.description));
        const QByteArray bytes = readFile(backup);
        QVERIFY(bytes.startsWith(BackupCipher::magic));
        QVERIFY(bytes.size() > 2 * BackupCipher::kChunkSize);
        QVERIFY(!bytes.contains("SQLite format 3"));
        QVERIFY(!bytes.contains("Nilufar"));
        QVERIFY(BackupCipher::isEncrypted(backup));
        QVERIFY(!BackupCipher::isEncrypted(folder.filePath(Database::clinicalFileName)));
        // Nothing else was left beside the backup or the database.
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"backup.dat"});

        folder.addSubject(QStringLiteral("later"));
        const QByteArray current = readFile(folder.filePath(Database::clinicalFileName));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));
        auto restored = DatabaseBackup::restore(folder.path(), backup, now, {}, QStringLiteral("گذرواژه-1"));
        QCOMPARE(restored.kind, Kind::Refused);
        QCOMPARE(restored.description, T::wrongBackupPassword);
        restored = DatabaseBackup::restore(folder.path(), backup, now);
        QCOMPARE(restored.kind, Kind::Refused);
        QCOMPARE(readFile(folder.filePath(Database::clinicalFileName)), current);
        QVERIFY(!QDir(folder.filePath(T::backupFolder)).exists());

        restored = DatabaseBackup::restore(folder.path(), backup, now, {}, QStringLiteral("گذرواژه-۱"));
        QVERIFY2(restored.ok(), qPrintable(restored.description));
        const QStringList back = codes(folder);
        QCOMPARE(back.size(), 600);
        QVERIFY(!back.contains(QStringLiteral("later")));
        // The database it replaced was kept as a plain safety copy in Back/.
        QCOMPARE(QDir(folder.filePath(T::backupFolder)).entryList(QDir::Files).size(), 1);
    }

    void aDamagedOrCutFileChangesNothing()
    {
        TestProgramFolder folder;
        addSubjects(folder, 600);
        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("b.mdbB"));
        QVERIFY(backUp(folder, backup, QStringLiteral("pw")).ok());
        const QByteArray whole = readFile(backup);
        const QByteArray current = readFile(folder.filePath(Database::clinicalFileName));
        const QDateTime now(QDate(2023, 5, 3), QTime(14, 5, 9));

        QByteArray laterByte = whole;
        laterByte[whole.size() - 40] = char(laterByte.at(whole.size() - 40) ^ 1);
        QByteArray badHeader = whole;
        badHeader[16] = 9;
        const QList<QPair<QByteArray, QString>> damaged{
            {whole.left(whole.size() - 100), T::encryptedDamaged}, // cut within the last chunk
            {whole.left(BackupCipher::kHeaderSize + 4 + 65536 + 17),
             T::encryptedDamaged},              // cut after a chunk
            {whole + "x", T::encryptedDamaged}, // something after the end
            {laterByte, T::encryptedDamaged},
            {badHeader, T::encryptedDamaged},
            {whole.left(40), T::encryptedDamaged},
        };
        for (const auto& [content, message] : damaged) {
            const QString path = elsewhere.filePath(QStringLiteral("damaged.mdbB"));
            QVERIFY(writeFile(path, content));
            const auto outcome = DatabaseBackup::restore(folder.path(), path, now, {}, QStringLiteral("pw"));
            QCOMPARE(outcome.kind, Kind::Refused);
            QCOMPARE(outcome.description, message);
            QCOMPARE(readFile(folder.filePath(Database::clinicalFileName)), current);
        }
        QVERIFY(!QDir(folder.filePath(T::backupFolder)).exists());
        QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(Database::clinicalFileName);
        left.removeAll(Database::themeFileName);
        QCOMPARE(left, QStringList());
    }

    // A restore brings back the records only: the trail goes on from where it is, and who may sign
    // in stays as it is, even when the backup was made before sign-in was turned on.
    void aRestoreNeverRewindsTheTrailNorTheAccounts()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("1"));
        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("plain.mdbB"));
        QVERIFY(DatabaseBackup::backUp(folder.path(), backup).ok());
        QVERIFY(readFile(backup).startsWith("SQLite format 3"));

        QVERIFY(AccountStore::addAccount(folder.path(), QStringLiteral("admin"),
                                         quickHash(QStringLiteral("a")), Role::Administrator)
                    .ok);
        SignedInSession session;
        folder.context().session = &session;
        QVERIFY(AuditTrail::record(folder.context(), AuditTrail::Action::Deleted, QStringLiteral("1")));
        QVERIFY(DatabaseBackup::restore(folder.path(), backup, QDateTime(QDate(2023, 5, 3), QTime(14, 5, 9)))
                    .ok());
        QCOMPARE(codes(folder), QStringList{"1"});
        QCOMPARE(auditRows(folder.path()), QStringList{QStringLiteral("deletion|1||admin")});
        QVERIFY(AuditTrail::check(Database::connection(folder.path(), Database::File::Clinical)).intact());
        QCOMPARE(AccountStore::signInState(folder.path()), AccountStore::SignInState::On);
        QVERIFY(PasswordHash::matches(AccountStore::find(folder.path(), QStringLiteral("admin"))->hash,
                                      QStringLiteral("a")));

        // On a computer without accounts, a protected record restored stays protected.
        const QString signedInBackup = elsewhere.filePath(QStringLiteral("later.mdbB"));
        QVERIFY(DatabaseBackup::backUp(folder.path(), signedInBackup).ok());
        TestProgramFolder fresh;
        QVERIFY(
            DatabaseBackup::restore(fresh.path(), signedInBackup, QDateTime(QDate(2023, 5, 4), QTime(9, 0)))
                .ok());
        QCOMPARE(AccountStore::signInState(fresh.path()), AccountStore::SignInState::On);
    }

    void theWindowEncryptsWhereSignInIsOnAndAsksForThePasswordTwice()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("5"));
        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("w.mdbB"));
        {
            // Without sign-in the plain backup is what the window writes, unless asked.
            Frmbackup window(folder.context());
            QVERIFY(!window.findChild<QCheckBox*>(QStringLiteral("encryptBackup"))->isChecked());
        }
        SignedInSession session;
        folder.context().session = &session;
        Frmbackup window(folder.context());
        window.setEncryptionStrength(kQuick);
        auto* encrypt = window.findChild<QCheckBox*>(QStringLiteral("encryptBackup"));
        QVERIFY(encrypt->isChecked());
        QCOMPARE(encrypt->accessibleName(), T::encryptCaption);
        window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(backup);
        auto& prompts = folder.prompts;
        prompts.passwordAnswers << QStringLiteral("one") << QStringLiteral("two");
        window.makeBackup();
        QCOMPARE(prompts.shown.constLast().text, T::passwordsDiffer);
        QVERIFY(!QFileInfo::exists(backup));
        prompts.passwordAnswers << QString();
        window.makeBackup();
        QCOMPARE(prompts.shown.constLast().text, T::passwordEmpty);
        QVERIFY(!QFileInfo::exists(backup));

        prompts.passwordAnswers << QStringLiteral("same") << QStringLiteral("same");
        window.makeBackup();
        QCOMPARE(prompts.shown.constLast().text, T::backupDone);
        QVERIFY(BackupCipher::isEncrypted(backup));
        QCOMPARE(folder.desktop.quits, 1);
        QVERIFY(auditRows(folder.path()).constLast().startsWith(QStringLiteral("backup||")));
        QVERIFY(auditRows(folder.path()).constLast().endsWith(QStringLiteral("w.mdbB|admin")));

        // The restore asks for the password of an encrypted file; a wrong one changes nothing.
        folder.addSubject(QStringLiteral("6"));
        window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(backup);
        prompts.yesNoAnswers << true;
        prompts.passwordAnswers << QStringLiteral("other");
        window.restore();
        QCOMPARE(prompts.shown.constLast().text, T::wrongBackupPassword);
        QCOMPARE(codes(folder), (QStringList{"5", "6"}));
        prompts.yesNoAnswers << true;
        prompts.passwordAnswers << QStringLiteral("same");
        window.restore();
        QCOMPARE(prompts.shown.constLast().text, T::restoreDone);
        QCOMPARE(codes(folder), QStringList{"5"});
        QVERIFY(auditRows(folder.path()).constLast().startsWith(QStringLiteral("restore||w.mdbB|admin")));
    }

    void thePasswordIsInNoFileTheProgramWrote()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("5"));
        SignedInSession session;
        folder.context().session = &session;
        QTemporaryDir elsewhere;
        const QString backup = elsewhere.filePath(QStringLiteral("secret.mdbB"));
        const QString password = QStringLiteral("Lantern-Quiet-7391-فانوس");
        {
            Frmbackup window(folder.context(), nullptr, Frmbackup::Occasion::RunningProgram);
            window.setEncryptionStrength(kQuick);
            window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(backup);
            folder.prompts.passwordAnswers << password << password;
            window.makeBackup();
            QCOMPARE(folder.prompts.shown.constLast().text, T::backupDone);
        }
        {
            Frmbackup window(folder.context(), nullptr, Frmbackup::Occasion::RunningProgram);
            window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(backup);
            folder.prompts.yesNoAnswers << true;
            folder.prompts.passwordAnswers << password;
            window.restore();
            QCOMPARE(folder.prompts.shown.constLast().text, T::restoreDone);
        }
        const QList<QByteArray> secrets{
            password.toUtf8(),
            QByteArray(reinterpret_cast<const char*>(password.utf16()), password.size() * 2),
            password.toUtf8().toHex(), password.toUtf8().toBase64()};
        QStringList folders{folder.path(), elsewhere.path()};
        for (auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::AppDataLocation,
                              QStandardPaths::GenericDataLocation, QStandardPaths::GenericCacheLocation,
                              QStandardPaths::AppConfigLocation})
            folders << QStandardPaths::writableLocation(location);
        int files = 0;
        for (const QString& root : folders) {
            QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const QByteArray content = readFile(path);
                ++files;
                for (const QByteArray& secret : secrets)
                    QVERIFY2(!content.contains(secret), qPrintable(path));
            }
        }
        QVERIFY(files >= 4); // the databases, the safety copy and the backup at least
        for (const auto& shown : std::as_const(folder.prompts.shown))
            QVERIFY(!shown.text.contains(password));
    }
};

QTEST_MAIN(EncryptedBackupTest)
#include "EncryptedBackupTest.moc"
