#include "backup/Frmbackup.h"
#include "TestProgramFolder.h"
#include "backup/BackupTexts.h"
#include "backup/DatabaseBackup.h"
#include "common/CommonTexts.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using Kind = FakePrompts::Kind;
namespace T = BackupTexts;

namespace {

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

class FrmbackupTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Frmbackup> m_window;
    QTemporaryDir m_elsewhere;

    FakePrompts& prompts() { return m_folder->prompts; }
    template <typename W = QWidget> W* child(const char* name)
    {
        auto* widget = m_window->findChild<W*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
    QString labelText(const char* name) { return child<QLabel>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    QString database() const { return m_folder->filePath(Database::clinicalFileName); }

    void openWindow()
    {
        m_window = std::make_unique<Frmbackup>(m_folder->context());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // The only message shown so far.
    FakePrompts::Shown lastMessage()
    {
        for (auto it = prompts().shown.crbegin(); it != prompts().shown.crend(); ++it)
            if (it->kind == Kind::Message)
                return *it;
        return {};
    }
    void addSubjects(int count)
    {
        for (int i = 0; i < count; ++i)
            m_folder->addSubject(QString::number(100 + i));
    }

    // Many subjects in one transaction.
    void addManySubjects(int count)
    {
        QSqlDatabase db = Database::connection(m_folder->path(), Database::File::Clinical);
        QVERIFY(db.transaction());
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("INSERT INTO IDE (Code, FName) VALUES (?, ?)")));
        for (int i = 0; i < count; ++i) {
            insert.addBindValue(QStringLiteral("k%1").arg(i));
            insert.addBindValue(QString(120, u'ع'));
            QVERIFY(insert.exec());
        }
        QVERIFY(db.commit());
    }

private slots:
    // The folder of the last backup is kept in the user's settings, which the tests leave alone.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        addSubjects(2);
        openWindow();
    }
    void cleanup()
    {
        m_window.reset();
        m_folder.reset();
    }

    void opensWithDateClockAndHiddenHelp()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Back up ...  Reastor"));
        QCOMPARE(m_window->pos(), twipsPoint(2340, 765));
        QCOMPARE(labelText("Label1"), QStringLiteral("1402.2.13"));
        QCOMPARE(labelText("Label3"), QStringLiteral("1402.2.13"));
        QCOMPARE(labelText("Label2"), QStringLiteral("14.05"));
        QVERIFY(!child("Frame1")->isVisible());
        QCOMPARE(child("Frame1")->geometry(), twipsRect(1035, 90, 5535, 2835));
        auto* clock = child<QTimer>("Timer1");
        QVERIFY(clock->isActive());
        QCOMPARE(clock->interval(), 1000);
        QCOMPARE(child<QLineEdit>("Text1")->accessibleName(), T::backupPathCaption);
        QCOMPARE(child<QLineEdit>("Text2")->accessibleName(), T::restorePathCaption);
        QCOMPARE(child<QPushButton>("VisualButtonEx2")->text(), QStringLiteral("BACKUP"));
        QCOMPARE(child<QPushButton>("VisualButtonEx3")->text(), QStringLiteral("REASTOR"));
    }

    void helpPanelOpensAndClosesWithItsOwnButton()
    {
        click("Command3");
        QVERIFY(child("Frame1")->isVisible());
        QVERIFY(child<QPlainTextEdit>("Text4")->isReadOnly());
        QVERIFY(child<QPlainTextEdit>("Text4")->toPlainText().contains(QStringLiteral("BACKUP")));
        click("Command2");
        QVERIFY(!child("Frame1")->isVisible());
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void proposedNameKeepsTheOpeningDateAndTakesTheShownTime()
    {
        // Midnight passes while the window is open: the date stays, the clock label moves on.
        m_folder->clock.at = QDateTime(QDate(2023, 5, 4), QTime(0, 3, 0));
        QTRY_COMPARE_WITH_TIMEOUT(labelText("Label2"), QStringLiteral("0.03"), 3000);
        QCOMPARE(labelText("Label1"), QStringLiteral("1402.2.13"));
        click("b1");
        const QString name = QStringLiteral("Velmoraدر تاريخ1402.2.13 ساعت)0.03).mdbB");
        QCOMPARE(prompts().lastFileFolder, name); // no Back folder yet: the dialog's own place
        QCOMPARE(prompts().lastFileFilter, QStringLiteral("Database Backup (*.mdbB)"));
        QVERIFY(QDir().mkpath(m_folder->filePath(T::backupFolder)));
        click("b1");
        QCOMPARE(prompts().lastFileFolder, m_folder->filePath(QStringLiteral("Back/")) + name);
    }

    void fileDialogsFillTheirBoxesAndCancelKeepsThem()
    {
        prompts().fileAnswers.enqueue(QStringLiteral("/x/a.mdbB"));
        click("b1");
        QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("/x/a.mdbB"));
        click("b1"); // cancelled
        QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("/x/a.mdbB"));
        prompts().fileAnswers.enqueue(QStringLiteral("/x/b.mdbB"));
        click("b2");
        QCOMPARE(prompts().lastFileFolder, QString()); // no Back folder: the dialog's own place
        QVERIFY(QDir().mkpath(m_folder->filePath(T::backupFolder)));
        QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("/x/b.mdbB"));
        click("b2");
        QCOMPARE(prompts().lastFileFolder, m_folder->filePath(QStringLiteral("Back")));
        QCOMPARE(child<QLineEdit>("Text2")->text(), QStringLiteral("/x/b.mdbB"));
        QCOMPARE(prompts().texts(Kind::Message), QStringList());
    }

    void emptyPathsAreRefusedWithAWarning()
    {
        click("VisualButtonEx2");
        QCOMPARE(lastMessage().title, QStringLiteral("خطا"));
        QCOMPARE(lastMessage().text, T::backupPathEmpty);
        QCOMPARE(lastMessage().icon, Prompts::Icon::Exclamation);
        QVERIFY(lastMessage().rightToLeft);
        click("VisualButtonEx3");
        QCOMPARE(lastMessage().title, QStringLiteral("خطا"));
        QCOMPARE(lastMessage().text, T::restorePathEmpty);
        QCOMPARE(m_folder->desktop.quits, 0);
        QVERIFY(m_window->isVisible());
    }

    void existingBackupIsKeptWhenReplacingIsRefused()
    {
        const QString path = m_elsewhere.filePath(QStringLiteral("old.mdbB"));
        QVERIFY(writeFile(path, "older backup"));
        child<QLineEdit>("Text1")->setText(path);
        prompts().yesNoAnswers.enqueue(false);
        click("VisualButtonEx2");
        QCOMPARE(prompts().texts(Kind::YesNo), QStringList{T::overwriteQuestion});
        QCOMPARE(lastMessage().text, T::backupRefused);
        QCOMPARE(lastMessage().title, QStringLiteral("Velmora V:"));
        QCOMPARE(lastMessage().icon, Prompts::Icon::Information);
        QCOMPARE(readFile(path), QByteArray("older backup"));
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void backupReplacesALargerFileAndEndsTheProgram()
    {
        const QString path = m_elsewhere.filePath(QStringLiteral("old.mdbB"));
        QVERIFY(writeFile(path, QByteArray(5 * readFile(database()).size(), 'z')));
        child<QLineEdit>("Text1")->setText(path);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx2");
        QCOMPARE(readFile(path), readFile(database()));
        QCOMPARE(lastMessage().text, T::backupDone);
        QCOMPARE(lastMessage().icon, Prompts::Icon::None);
        QCOMPARE(m_folder->desktop.quits, 1);
    }

    void commandsAreDisabledWhileACopyRuns()
    {
        addSubjects(300);
        const QString path = m_elsewhere.filePath(QStringLiteral("new.mdbB"));
        child<QLineEdit>("Text1")->setText(path);
        child<QLineEdit>("Text2")->setText(path);
        bool checked = false;
        // Runs inside the copy, when it first lets events through.
        QTimer::singleShot(0, m_window.get(), [&] {
            checked = true;
            QVERIFY(m_window->isCopying());
            for (const char* name : {"b1", "b2", "VisualButtonEx2", "VisualButtonEx3", "Command1"})
                QVERIFY2(!child(name)->isEnabled(), name);
            m_window->makeBackup();
            m_window->restore();
            QVERIFY(!m_window->close());
        });
        click("VisualButtonEx2");
        QVERIFY(checked);
        // One copy, one message, one end of the program.
        QCOMPARE(prompts().texts(Kind::Message), QStringList{T::backupDone});
        QCOMPARE(prompts().texts(Kind::YesNo), QStringList());
        QCOMPARE(m_folder->desktop.quits, 1);
        QVERIFY(child("VisualButtonEx2")->isEnabled());
    }

    void restoreRefusedByTheUserChangesNothing()
    {
        const QByteArray before = readFile(database());
        child<QLineEdit>("Text2")->setText(m_elsewhere.filePath(QStringLiteral("x.mdbB")));
        prompts().yesNoAnswers.enqueue(false);
        click("VisualButtonEx3");
        QCOMPARE(prompts().texts(Kind::YesNo), QStringList{T::restoreQuestion});
        QCOMPARE(lastMessage().text, QStringLiteral("عدم موفقيت در بازيابي اطلاعات "));
        QCOMPARE(readFile(database()), before);
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void restoreFromAMissingFileShowsTheCopyFailure()
    {
        const QByteArray before = readFile(database());
        const QString missing = m_elsewhere.filePath(QStringLiteral("gone.mdbB"));
        child<QLineEdit>("Text2")->setText(missing);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx3");
        QVERIFY(lastMessage().text.startsWith(T::copyFailed + QStringLiteral("\r\n") + T::sourceMissing));
        QCOMPARE(lastMessage().icon, Prompts::Icon::Critical);
        QVERIFY(lastMessage().rightToLeft);
        QCOMPARE(readFile(database()), before);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void aBackupIntoAMissingFolderSaysWhyItFailed()
    {
        child<QLineEdit>("Text1")->setText(m_elsewhere.filePath(QStringLiteral("gone/x.mdbB")));
        click("VisualButtonEx2");
        QVERIFY2(
            lastMessage().text.startsWith(T::copyFailed + QStringLiteral("\r\n") + T::destinationUnwritable),
            qPrintable(lastMessage().text));
        QVERIFY(lastMessage().text.endsWith(QStringLiteral("\n") + CommonTexts::folderMissing));
        QCOMPARE(lastMessage().icon, Prompts::Icon::Critical);
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void restoreOfATextFileIsRefusedWithAClearWarning()
    {
        const QByteArray before = readFile(database());
        const QString text = m_elsewhere.filePath(QStringLiteral("notes.mdbB"));
        QVERIFY(writeFile(text, "not a database"));
        child<QLineEdit>("Text2")->setText(text);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx3");
        QCOMPARE(lastMessage().title, QStringLiteral("خطا"));
        QCOMPARE(lastMessage().text, T::notABackup);
        QCOMPARE(readFile(database()), before);
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void backupThenRestoreBringsTheSubjectsBack()
    {
        const QString path = m_elsewhere.filePath(QStringLiteral("b.mdbB"));
        child<QLineEdit>("Text1")->setText(path);
        click("VisualButtonEx2");
        QCOMPARE(m_folder->desktop.quits, 1);
        addSubjects(5);
        QCOMPARE(m_folder->view(QStringLiteral("IDE"))->count(), 7);
        child<QLineEdit>("Text2")->setText(path);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx3");
        QCOMPARE(lastMessage().text, T::restoreDone);
        QCOMPARE(m_folder->desktop.quits, 2);
        QCOMPARE(readFile(database()), readFile(path));
        QCOMPARE(m_folder->view(QStringLiteral("IDE"))->count(), 2);
    }

    void everyWayOutEndsTheProgram()
    {
        click("Command1");
        QCOMPARE(m_folder->desktop.quits, 1);
        openWindow();
        m_window->close(); // the window's close box
        QCOMPARE(m_folder->desktop.quits, 2);
    }

    void theWindowSaysWhatItDoesWhileTheCopyIsChecked()
    {
        addManySubjects(30000); // enough that reading the copy through takes a while
        const QString path = m_elsewhere.filePath(QStringLiteral("checked.mdbB"));
        child<QLineEdit>("Text1")->setText(path);
        QStringList states;
        bool busyBar = false;
        QTimer look;
        look.setInterval(0);
        connect(&look, &QTimer::timeout, this, [&] {
            const QString state = labelText("copyState");
            if (states.isEmpty() || states.constLast() != state)
                states << state;
            busyBar =
                busyBar || (state == T::checkingCopy && child<QProgressBar>("ProgressBar1")->maximum() == 0);
            QVERIFY(!child("VisualButtonEx2")->isEnabled() || state.isEmpty());
        });
        look.start();
        click("VisualButtonEx2");
        look.stop();
        QCOMPARE(lastMessage().text, T::backupDone);
        QVERIFY2(states.contains(T::checkingCopy), qPrintable(states.join(u'|')));
        QVERIFY(busyBar);
        QCOMPARE(labelText("copyState"), QString());
    }

    void fromTheSettingsTheProgramGoesOnAfterABackupOrARestore()
    {
        m_window =
            std::make_unique<Frmbackup>(m_folder->context(), nullptr, Frmbackup::Occasion::RunningProgram);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy finished(m_window.get(), &Frmbackup::finished);
        const QString path = m_elsewhere.filePath(QStringLiteral("settings.mdbB"));
        child<QLineEdit>("Text1")->setText(path);
        click("VisualButtonEx2");
        QCOMPARE(lastMessage().text, T::backupDone);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QVERIFY(!m_window->isVisible());

        addSubjects(3);
        m_window->show();
        child<QLineEdit>("Text2")->setText(path);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx3");
        QCOMPARE(lastMessage().text, T::restoreDone);
        QCOMPARE(finished.size(), 2);
        QCOMPARE(finished.at(1).at(0).toBool(), true);
        QCOMPARE(m_folder->view(QStringLiteral("IDE"))->count(), 2);
        QCOMPARE(m_folder->desktop.quits, 0);
    }

    void aDamagedFileIsSavedForRecoveryOrRestored()
    {
        const QString backup = m_elsewhere.filePath(QStringLiteral("last.mdbB"));
        child<QLineEdit>("Text1")->setText(backup);
        click("VisualButtonEx2");
        m_window.reset();
        const int quitsBefore = m_folder->desktop.quits;
        addManySubjects(600);
        m_folder->closeDatabases();
        {
            QFile file(database());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(file.size() / 2 / 4096 * 4096) && file.write(QByteArray(8192, 'x')) == 8192);
        }
        const QByteArray damaged = readFile(database());

        m_window =
            std::make_unique<Frmbackup>(m_folder->context(), nullptr, Frmbackup::Occasion::DamagedDatabase);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy finished(m_window.get(), &Frmbackup::finished);
        QCOMPARE(labelText("damagedIntro"), T::damagedIntro(Database::clinicalFileName));
        QCOMPARE(child<QPushButton>("VisualButtonEx2")->text(), T::saveDamagedCommand);
        // Nothing of the window is cut off by the message above it.
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            if (widget->isVisibleTo(m_window.get()) && widget->parentWidget() == m_window.get())
                QVERIFY2(m_window->rect().contains(widget->geometry()), qPrintable(widget->objectName()));
        }

        // The copy for recovery: a name of its own, offered in the save dialog.
        const QString copy = m_elsewhere.filePath(QStringLiteral("damaged.skn"));
        prompts().fileAnswers.enqueue(copy);
        click("b1");
        QVERIFY(prompts().lastFileFolder.endsWith(
            DatabaseBackup::damagedCopyName(QStringLiteral("1402.2.13"), QStringLiteral("14.05"))));
        QCOMPARE(child<QLineEdit>("Text1")->text(), copy);
        click("VisualButtonEx2");
        QCOMPARE(lastMessage().text, T::damagedCopyDone);
        QCOMPARE(readFile(copy), damaged);
        QVERIFY(m_window->isVisible());
        // Not over the backup.
        child<QLineEdit>("Text1")->setText(backup);
        const QByteArray backupContent = readFile(backup);
        click("VisualButtonEx2");
        QVERIFY(lastMessage().text.startsWith(T::damagedCopyNameTaken));
        QCOMPARE(readFile(backup), backupContent);
        QCOMPARE(finished.size(), 0);

        // The restore of the last backup; then the program starts on it.
        child<QLineEdit>("Text2")->setText(backup);
        prompts().yesNoAnswers.enqueue(true);
        click("VisualButtonEx3");
        QCOMPARE(lastMessage().text, T::restoreDone);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QCOMPARE(readFile(database()), backupContent);
        QCOMPARE(m_folder->desktop.quits, quitsBefore);
    }

    void theWindowForADamagedFileWaitsForTheUsersChoice()
    {
        m_window.reset();
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<Frmbackup*>(QApplication::activeModalWidget());
            shown =
                window && window->occasion() == Frmbackup::Occasion::DamagedDatabase && window->isVisible();
            if (window)
                QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")),
                                  Qt::LeftButton);
        });
        QVERIFY(!Frmbackup::runForDamagedDatabase(m_folder->context()));
        QVERIFY(shown);
        QCOMPARE(m_folder->desktop.quits, 0);
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    }
};

QTEST_MAIN(FrmbackupTest)
#include "FrmbackupTest.moc"
