#include "Frmbackup.h"

#include "BackupTexts.h"
#include "DatabaseBackup.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "calendar/ShamsiDate.h"
#include "common/CaptionLabel.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "common/Twips.h"
#include "datastore/Database.h"
#include "widgets/WindowSkin.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>

namespace {

namespace T = BackupTexts;

// The progress bar is redrawn at most this often, fast enough to look smooth and rare enough
// to leave the time to the copy.
constexpr qint64 kProgressIntervalMs = 20;

// The window's height, with a row under the progress bar that says what a copy is doing, and
// the height of the message above the rows for a damaged file.
// A row under the restore path holds the choice of an encrypted backup.
constexpr int kEncryptRow = 420;
constexpr int kHeight = 3315 + kEncryptRow;
constexpr int kCommandTop = 2430 + kEncryptRow;
constexpr int kIntroHeight = 1200;

// The file dialogs take the filter as "description (pattern)".
QString dialogFilter(const QString& filter = T::fileFilter)
{
    const QStringList parts = filter.split(u'|');
    return parts.value(0).trimmed() + QStringLiteral(" (") + parts.value(1) + u')';
}

} // namespace

Frmbackup::Frmbackup(const AppContext& context, QWidget* parent, Occasion occasion)
    : QWidget(parent), m_context(context), m_occasion(occasion)
{
    const bool damaged = m_occasion == Occasion::DamagedDatabase;
    // For a damaged file the window opens with the message that says why, above its rows.
    const int top = damaged ? kIntroHeight : 0;
    const auto at = [top](int left, int y, int width, int height) {
        return twipsRect(left, y + top, width, height);
    };
    setObjectName(QStringLiteral("Frmbackup"));
    setWindowTitle(T::windowCaption);
    setFixedSize(twipsSize(6780, kHeight + top));
    move(twipsPoint(2340, 765));

    if (damaged) {
        auto* intro = new QLabel(T::damagedIntro(Database::clinicalFileName), this);
        intro->setObjectName(QStringLiteral("damagedIntro"));
        intro->setWordWrap(true);
        intro->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        intro->setGeometry(twipsRect(240, 120, 6300, kIntroHeight - 60));
        intro->setAccessibleName(intro->text());
    }

    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("Label1"));
    m_date->setGeometry(at(3900, 150, 1680, 330));
    addCaptionLabel(m_date, T::dateCaption, at(5640, 150, 900, 330));
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("Label2"));
    m_time->setGeometry(at(1380, 150, 1200, 330));
    addCaptionLabel(m_time, T::timeCaption, at(2640, 150, 900, 330));
    m_dateCopy = new QLabel(this);
    m_dateCopy->setObjectName(QStringLiteral("Label3"));
    m_dateCopy->hide();

    m_backupPath = new QLineEdit(this);
    m_backupPath->setObjectName(QStringLiteral("Text1"));
    m_backupPath->setGeometry(at(960, 690, 3780, 360));
    addCaptionLabel(m_backupPath, damaged ? T::damagedCopyCaption : T::backupPathCaption,
                    at(4800, 690, 1740, 360));
    auto* chooseBackup = addCommand(this, QStringLiteral("b1"), T::chooseFile, at(240, 690, 660, 360));
    connect(chooseBackup, &QPushButton::clicked, this, &Frmbackup::chooseBackupFile);

    m_restorePath = new QLineEdit(this);
    m_restorePath->setObjectName(QStringLiteral("Text2"));
    m_restorePath->setGeometry(at(960, 1170, 3780, 360));
    addCaptionLabel(m_restorePath, T::restorePathCaption, at(4800, 1170, 1740, 360));
    auto* chooseRestore = addCommand(this, QStringLiteral("b2"), T::chooseFile, at(240, 1170, 660, 360));
    connect(chooseRestore, &QPushButton::clicked, this, &Frmbackup::chooseRestoreFile);

    // File paths read left to right whatever the window's direction.
    for (QLineEdit* path : {m_backupPath, m_restorePath})
        path->setLayoutDirection(Qt::LeftToRight);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_encrypt = new QCheckBox(T::encryptCaption, this);
    m_encrypt->setObjectName(QStringLiteral("encryptBackup"));
    m_encrypt->setGeometry(at(960, 1620, 5580, 360));
    m_encrypt->setAccessibleName(T::encryptCaption);
    // Where the clinic signs its users in, a backup is encrypted unless the user chooses otherwise;
    // a program without sign-in writes the plain backup, as before, unless asked.
    m_encrypt->setChecked(m_context.session && m_context.session->signInRequired());
    m_encrypt->setVisible(!damaged);

    m_progress->setGeometry(at(240, 1710 + kEncryptRow, 6300, 300));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(T::progressCaption);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("copyState"));
    m_state->setAlignment(Qt::AlignCenter);
    m_state->setGeometry(at(240, 2040 + kEncryptRow, 6300, 330));

    auto* backup =
        addCommand(this, QStringLiteral("VisualButtonEx2"),
                   damaged ? T::saveDamagedCommand : T::backupCommand, at(5040, kCommandTop, 1500, 480));
    connect(backup, &QPushButton::clicked, this, &Frmbackup::makeBackup);
    auto* restore = addCommand(this, QStringLiteral("VisualButtonEx3"), T::restoreCommand,
                               at(3460, kCommandTop, 1500, 480));
    connect(restore, &QPushButton::clicked, this, &Frmbackup::restore);
    auto* help = addCommand(this, QStringLiteral("Command3"), T::help, at(1880, kCommandTop, 1500, 480));
    auto* quit = addCommand(this, QStringLiteral("Command1"), CommonTexts::exitCaption,
                            at(240, kCommandTop, 1500, 480));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    m_commands = {chooseBackup, chooseRestore, m_backupPath, m_restorePath, m_encrypt, backup, restore, quit};

    buildHelpPanel();
    connect(help, &QPushButton::clicked, this, [this] {
        m_helpPanel->show();
        m_helpPanel->raise();
    });

    // Opening: the skin, the clock and the date, the help panel's place, the clock's timer.
    Skins::applyCurrent(this, m_context);
    m_time->setText(currentTime());
    m_date->setText(ShamsiDate(m_context.clock->now().date(), 4));
    m_dateCopy->setText(m_date->text());
    m_helpPanel->setGeometry(at(1035, 90, 5535, 2835));
    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, [this] { m_time->setText(currentTime()); });
    m_clock->start();
}

Frmbackup::~Frmbackup() = default;

bool Frmbackup::runForDamagedDatabase(const AppContext& context)
{
    // The program must not end when this window closes and no other is shown: after a restore
    // it goes on with the restored file.
    const bool quitOnLastWindowClosed = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    bool restored = false;
    {
        Frmbackup window(context, nullptr, Occasion::DamagedDatabase);
        window.setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        connect(&window, &Frmbackup::finished, &loop, [&](bool replaced) {
            restored = replaced;
            loop.quit();
        });
        window.show();
        window.activateWindow();
        loop.exec();
    }
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    return restored;
}

QPushButton* Frmbackup::addCommand(QWidget* parent, const QString& name, const QString& caption,
                                   const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAccessibleName(caption);
    return button;
}

void Frmbackup::buildHelpPanel()
{
    m_helpPanel = Skins::addPanel(this, QStringLiteral("Frame1"), twipsRect(1035, 90, 5535, 2835));
    auto* text = new QPlainTextEdit(m_helpPanel);
    text->setObjectName(QStringLiteral("Text4"));
    QTextOption rightToLeft = text->document()->defaultTextOption();
    rightToLeft.setTextDirection(Qt::RightToLeft);
    rightToLeft.setAlignment(Qt::AlignRight);
    text->document()->setDefaultTextOption(rightToLeft);
    text->setPlainText(T::helpText);
    text->setReadOnly(true);
    text->setAccessibleName(T::help);
    text->setGeometry(twipsRect(120, 120, 5295, 2055));
    auto* close = addCommand(m_helpPanel, QStringLiteral("Command2"), CommonTexts::exitCaption,
                             twipsRect(2040, 2265, 1440, 450));
    connect(close, &QPushButton::clicked, m_helpPanel, &QWidget::hide);
    m_helpPanel->hide();
}

QString Frmbackup::currentTime() const
{
    return m_context.clock->now().time().toString(QStringLiteral("H.mm"));
}

QString Frmbackup::dialogStart(const QString& fileName) const
{
    // The Back folder when it exists; otherwise the dialog opens where it would by itself.
    const QString back = QDir(m_context.dataFolder).filePath(T::backupFolder);
    if (!QFileInfo(back).isDir())
        return fileName;
    return fileName.isEmpty() ? back : QDir(back).filePath(fileName);
}

void Frmbackup::chooseBackupFile()
{
    // The date is the one taken when the window opened, the time the one shown now.
    const bool damaged = m_occasion == Occasion::DamagedDatabase;
    const QString name = damaged ? DatabaseBackup::damagedCopyName(m_dateCopy->text(), m_time->text())
                                 : DatabaseBackup::proposedBackupName(m_dateCopy->text(), m_time->text());
    const QString chosen = m_context.prompts->saveFileName(
        this, damaged ? T::damagedSaveDialogCaption : T::saveDialogCaption, dialogStart(name),
        dialogFilter(damaged ? T::damagedFileFilter : T::fileFilter));
    if (!chosen.isEmpty())
        m_backupPath->setText(chosen);
}

void Frmbackup::chooseRestoreFile()
{
    const QString chosen =
        m_context.prompts->openFileName(this, T::openDialogCaption, dialogStart({}), dialogFilter());
    if (!chosen.isEmpty())
        m_restorePath->setText(chosen);
}

void Frmbackup::makeBackup()
{
    if (m_copying)
        return;
    if (m_occasion == Occasion::DamagedDatabase) {
        saveDamagedCopy();
        return;
    }
    Prompts& prompts = *m_context.prompts;
    const QString destination = m_backupPath->text();
    if (destination.isEmpty()) {
        prompts.message(this, CommonTexts::warningTitle, T::backupPathEmpty, Prompts::Icon::Exclamation,
                        true);
        return;
    }
    if (QFileInfo::exists(destination) &&
        !prompts.askYesNo(this, CommonTexts::applicationTitle, T::overwriteQuestion)) {
        prompts.message(this, CommonTexts::applicationTitle, T::backupRefused, Prompts::Icon::Information,
                        true);
        return;
    }
    std::optional<DatabaseBackup::Encryption> encryption;
    if (m_encrypt->isChecked()) {
        std::optional<QString> password = newBackupPassword();
        if (!password)
            return;
        encryption = DatabaseBackup::Encryption{*password, m_strength};
        password->fill(u'\0');
    }
    const QString folder = m_context.dataFolder;
    const bool copied = runCopy([&](const DatabaseBackup::Progress& progress) {
        return DatabaseBackup::backUp(folder, destination, progress, encryption);
    });
    if (encryption)
        encryption->password.fill(u'\0');
    if (!copied)
        return;
    AuditTrail::record(m_context, AuditTrail::Action::BackedUp, {},
                       (encryption ? AuditTexts::encryptedBackup : AuditTexts::plainBackup) +
                           QStringLiteral(": ") + QFileInfo(destination).fileName(),
                       this);
    // The success is told only now, when the file is in place and checked.
    prompts.message(this, CommonTexts::applicationTitle, T::backupDone, Prompts::Icon::None);
    copyDone(false);
}

void Frmbackup::saveDamagedCopy()
{
    Prompts& prompts = *m_context.prompts;
    const QString destination = m_backupPath->text();
    if (destination.isEmpty()) {
        prompts.message(this, CommonTexts::warningTitle, T::damagedCopyPathEmpty, Prompts::Icon::Exclamation,
                        true);
        return;
    }
    const QString folder = m_context.dataFolder;
    if (!runCopy([&](const DatabaseBackup::Progress& progress) {
            return DatabaseBackup::saveDamagedCopy(folder, destination, progress);
        }))
        return;
    // The window stays: the user may still restore the last backup.
    prompts.message(this, CommonTexts::applicationTitle, T::damagedCopyDone, Prompts::Icon::Information,
                    true);
}

QString Frmbackup::restoreQuestion(const QString& source) const
{
    const std::optional<DatabaseBackup::ServerRestoreFacts> server =
        DatabaseBackup::serverRestoreFacts(m_context.dataFolder, source);
    if (!server)
        return T::restoreQuestion;
    const auto count = [](const std::optional<qint64>& value) {
        return value ? QString::number(*value) : T::unknownCount;
    };
    return T::serverRestoreQuestion(server->server, count(server->onServer), count(server->inFile));
}

void Frmbackup::restore()
{
    if (m_copying)
        return;
    Prompts& prompts = *m_context.prompts;
    const QString source = m_restorePath->text();
    if (source.isEmpty()) {
        prompts.message(this, CommonTexts::warningTitle, T::restorePathEmpty, Prompts::Icon::Exclamation,
                        true);
        return;
    }
    if (!prompts.askYesNo(this, CommonTexts::applicationTitle, restoreQuestion(source))) {
        prompts.message(this, CommonTexts::applicationTitle, T::restoreRefused, Prompts::Icon::None);
        return;
    }
    // An encrypted backup is told by its content, whatever its name.
    std::optional<QString> password;
    if (BackupCipher::isEncrypted(source)) {
        password = prompts.askPassword(this, T::passwordTitle, T::askRestorePassword);
        if (!password) {
            prompts.message(this, CommonTexts::applicationTitle, T::restoreRefused, Prompts::Icon::None);
            return;
        }
    }
    const QString folder = m_context.dataFolder;
    const QDateTime now = m_context.clock->now();
    const bool copied = runCopy([&](const DatabaseBackup::Progress& progress) {
        return DatabaseBackup::restore(folder, source, now, progress, password);
    });
    if (password)
        password->fill(u'\0');
    if (!copied)
        return;
    AuditTrail::record(m_context, AuditTrail::Action::Restored, {}, QFileInfo(source).fileName(), this);
    prompts.message(this, CommonTexts::applicationTitle, T::restoreDone, Prompts::Icon::None);
    copyDone(true);
}

bool Frmbackup::runCopy(const std::function<DatabaseBackup::Outcome(const DatabaseBackup::Progress&)>& copy)
{
    setCopying(true);
    DatabaseBackup::Progress progress;
    progress.blockCopied = [this](qint64 done, qint64 total) { showProgress(done, total); };
    progress.checking = [this] { showChecking(); };
    progress.deriving = [this] { showStep(T::deriving, true); };
    progress.encrypting = [this] {
        m_afterBusyStep = T::encrypting;
        showStep(T::encrypting, false);
    };
    const DatabaseBackup::Outcome outcome = copy(progress);
    setCopying(false);
    Prompts& prompts = *m_context.prompts;
    if (outcome.kind == DatabaseBackup::Outcome::Kind::CopyFailed) {
        prompts.message(this, CommonTexts::applicationTitle,
                        T::copyFailed + QStringLiteral("\r\n") + outcome.description, Prompts::Icon::Critical,
                        true);
        return false;
    }
    if (outcome.kind == DatabaseBackup::Outcome::Kind::Refused) {
        prompts.message(this, CommonTexts::warningTitle, outcome.description, Prompts::Icon::Exclamation,
                        true);
        return false;
    }
    return true;
}

void Frmbackup::copyDone(bool restored)
{
    if (m_occasion == Occasion::LeavingProgram) {
        m_context.desktop->quit();
        return;
    }
    m_restored = m_restored || restored;
    // A backup made for a damaged file is its copy, told above; that window closes on a restore only.
    if (m_occasion == Occasion::DamagedDatabase && !restored)
        return;
    close();
}

void Frmbackup::setCopying(bool copying)
{
    m_copying = copying;
    m_afterBusyStep.clear();
    for (QWidget* command : std::as_const(m_commands))
        command->setEnabled(!copying);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_state->setText(copying ? T::copying : QString());
    m_state->setAccessibleName(m_state->text());
    m_sinceProgressShown.start();
    if (copying)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void Frmbackup::showProgress(qint64 done, qint64 total)
{
    if (m_progress->maximum() == 0) {
        // A copy after the check (the safety copy of a restore).
        m_progress->setRange(0, 1000);
        m_state->setText(m_afterBusyStep.isEmpty() ? T::copying : m_afterBusyStep);
        m_state->setAccessibleName(m_state->text());
    }
    if (done < total && m_sinceProgressShown.elapsed() < kProgressIntervalMs)
        return;
    m_sinceProgressShown.start();
    const int value = total > 0 ? static_cast<int>(done * 1000 / total) : 1000;
    if (value == m_progress->value())
        return;
    m_progress->setValue(value);
    // The bar itself waits for a whole chunk of its style before it redraws; the window should
    // show every step.
    m_progress->update();
}

std::optional<QString> Frmbackup::newBackupPassword()
{
    Prompts& prompts = *m_context.prompts;
    std::optional<QString> first = prompts.askPassword(this, T::passwordTitle, T::askNewPassword);
    if (!first)
        return std::nullopt;
    if (first->isEmpty()) {
        prompts.message(this, CommonTexts::warningTitle, T::passwordEmpty, Prompts::Icon::Exclamation, true);
        return std::nullopt;
    }
    std::optional<QString> second = prompts.askPassword(this, T::passwordTitle, T::askPasswordAgain);
    if (!second)
        return std::nullopt;
    const bool same = *second == *first;
    second->fill(u'\0');
    if (!same) {
        first->fill(u'\0');
        prompts.message(this, CommonTexts::warningTitle, T::passwordsDiffer, Prompts::Icon::Exclamation,
                        true);
        return std::nullopt;
    }
    return first;
}

void Frmbackup::showStep(const QString& text, bool busy)
{
    m_progress->setRange(0, busy ? 0 : 1000);
    m_progress->setValue(0);
    m_state->setText(text);
    m_state->setAccessibleName(text);
    m_sinceProgressShown.start();
}

void Frmbackup::showChecking()
{
    // A bar that runs to and fro while the copy is read through: the window is alive, and says so.
    m_progress->setRange(0, 0);
    m_state->setText(T::checkingCopy);
    m_state->setAccessibleName(m_state->text());
}

void Frmbackup::closeEvent(QCloseEvent* event)
{
    // A copy in progress is finished first: its commands are disabled, and so is the close box.
    if (m_copying) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_occasion == Occasion::LeavingProgram) {
        m_context.desktop->quit();
        return;
    }
    emit finished(m_restored);
}
