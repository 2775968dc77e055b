#include "backup/Frmbackup.h"
#include "TestProgramFolder.h"
#include "backup/BackupTexts.h"
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
#include <QPushButton>
#include <QSqlQuery>
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

private slots:
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
};

QTEST_MAIN(FrmbackupTest)
#include "FrmbackupTest.moc"
