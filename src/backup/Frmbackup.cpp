#include "Frmbackup.h"

#include "BackupTexts.h"
#include "DatabaseBackup.h"
#include "calendar/ShamsiDate.h"
#include "common/CaptionLabel.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/Skins.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
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

// The file dialogs take the filter as "description (pattern)".
QString dialogFilter()
{
    const QStringList parts = T::fileFilter.split(u'|');
    return parts.value(0).trimmed() + QStringLiteral(" (") + parts.value(1) + u')';
}

} // namespace

Frmbackup::Frmbackup(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frmbackup"));
    setWindowTitle(T::windowCaption);
    setFixedSize(twipsSize(6780, 3135));
    move(twipsPoint(2340, 765));

    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("Label1"));
    m_date->setGeometry(twipsRect(3900, 150, 1680, 330));
    addCaptionLabel(m_date, T::dateCaption, twipsRect(5640, 150, 900, 330));
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("Label2"));
    m_time->setGeometry(twipsRect(1380, 150, 1200, 330));
    addCaptionLabel(m_time, T::timeCaption, twipsRect(2640, 150, 900, 330));
    m_dateCopy = new QLabel(this);
    m_dateCopy->setObjectName(QStringLiteral("Label3"));
    m_dateCopy->hide();

    m_backupPath = new QLineEdit(this);
    m_backupPath->setObjectName(QStringLiteral("Text1"));
    m_backupPath->setGeometry(twipsRect(960, 690, 3780, 360));
    addCaptionLabel(m_backupPath, T::backupPathCaption, twipsRect(4800, 690, 1740, 360));
    auto* chooseBackup = addCommand(this, QStringLiteral("b1"), T::chooseFile, twipsRect(240, 690, 660, 360));
    connect(chooseBackup, &QPushButton::clicked, this, &Frmbackup::chooseBackupFile);

    m_restorePath = new QLineEdit(this);
    m_restorePath->setObjectName(QStringLiteral("Text2"));
    m_restorePath->setGeometry(twipsRect(960, 1170, 3780, 360));
    addCaptionLabel(m_restorePath, T::restorePathCaption, twipsRect(4800, 1170, 1740, 360));
    auto* chooseRestore =
        addCommand(this, QStringLiteral("b2"), T::chooseFile, twipsRect(240, 1170, 660, 360));
    connect(chooseRestore, &QPushButton::clicked, this, &Frmbackup::chooseRestoreFile);

    // File paths read left to right whatever the window's direction.
    for (QLineEdit* path : {m_backupPath, m_restorePath})
        path->setLayoutDirection(Qt::LeftToRight);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(twipsRect(240, 1710, 6300, 300));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(T::progressCaption);

    auto* backup = addCommand(this, QStringLiteral("VisualButtonEx2"), T::backupCommand,
                              twipsRect(5040, 2250, 1500, 480));
    connect(backup, &QPushButton::clicked, this, &Frmbackup::makeBackup);
    auto* restore = addCommand(this, QStringLiteral("VisualButtonEx3"), T::restoreCommand,
                               twipsRect(3460, 2250, 1500, 480));
    connect(restore, &QPushButton::clicked, this, &Frmbackup::restore);
    auto* help = addCommand(this, QStringLiteral("Command3"), T::help, twipsRect(1880, 2250, 1500, 480));
    auto* quit = addCommand(this, QStringLiteral("Command1"), CommonTexts::exitCaption,
                            twipsRect(240, 2250, 1500, 480));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
    m_commands = {chooseBackup, chooseRestore, m_backupPath, m_restorePath, backup, restore, quit};

    buildHelpPanel();
    connect(help, &QPushButton::clicked, this, [this] {
        m_helpPanel->show();
        m_helpPanel->raise();
    });

    // Opening: the skin, the clock and the date, the help panel's place, the clock's timer.
    Skins::applyCurrent(this, m_context.programFolder);
    m_time->setText(currentTime());
    m_date->setText(ShamsiDate(m_context.clock->now().date(), 4));
    m_dateCopy->setText(m_date->text());
    m_helpPanel->setGeometry(twipsRect(1035, 90, 5535, 2835));
    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, [this] { m_time->setText(currentTime()); });
    m_clock->start();
}

Frmbackup::~Frmbackup() = default;

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
    const QString back = QDir(m_context.programFolder).filePath(T::backupFolder);
    if (!QFileInfo(back).isDir())
        return fileName;
    return fileName.isEmpty() ? back : QDir(back).filePath(fileName);
}

void Frmbackup::chooseBackupFile()
{
    // The date is the one taken when the window opened, the time the one shown now.
    const QString name = DatabaseBackup::proposedBackupName(m_dateCopy->text(), m_time->text());
    const QString chosen =
        m_context.prompts->saveFileName(this, T::saveDialogCaption, dialogStart(name), dialogFilter());
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
    runCopy(
        [&](const Backup::BlockCopied& progress) {
            return DatabaseBackup::backUp(m_context.programFolder, destination, progress);
        },
        T::backupDone);
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
    if (!prompts.askYesNo(this, CommonTexts::applicationTitle, T::restoreQuestion)) {
        prompts.message(this, CommonTexts::applicationTitle, T::restoreRefused, Prompts::Icon::None);
        return;
    }
    runCopy(
        [&](const Backup::BlockCopied& progress) {
            return DatabaseBackup::restore(m_context.programFolder, source, m_context.clock->now(), progress);
        },
        T::restoreDone);
}

void Frmbackup::runCopy(const std::function<DatabaseBackup::Outcome(const Backup::BlockCopied&)>& copy,
                        const QString& doneText)
{
    setCopying(true);
    const DatabaseBackup::Outcome outcome =
        copy([this](qint64 done, qint64 total) { showProgress(done, total); });
    setCopying(false);
    Prompts& prompts = *m_context.prompts;
    if (outcome.kind == DatabaseBackup::Outcome::Kind::CopyFailed) {
        prompts.message(this, CommonTexts::applicationTitle,
                        T::copyFailed + QStringLiteral("\r\n") + outcome.description, Prompts::Icon::Critical,
                        true);
        return;
    }
    if (outcome.kind == DatabaseBackup::Outcome::Kind::Refused) {
        prompts.message(this, CommonTexts::warningTitle, outcome.description, Prompts::Icon::Exclamation,
                        true);
        return;
    }
    // The success is told only now, when the file is in place and checked; then the program ends.
    prompts.message(this, CommonTexts::applicationTitle, doneText, Prompts::Icon::None);
    m_context.desktop->quit();
}

void Frmbackup::setCopying(bool copying)
{
    m_copying = copying;
    for (QWidget* command : std::as_const(m_commands))
        command->setEnabled(!copying);
    m_progress->setValue(0);
    m_sinceProgressShown.start();
    if (copying)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void Frmbackup::showProgress(qint64 done, qint64 total)
{
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

void Frmbackup::closeEvent(QCloseEvent* event)
{
    // A copy in progress is finished first: its commands are disabled, and so is the close box.
    if (m_copying) {
        event->ignore();
        return;
    }
    event->accept();
    m_context.desktop->quit();
}
