#include "ExportCommand.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"

#include "Anonymising.h"
#include "ExportOptionsDialog.h"
#include "ExportTexts.h"
#include "SubjectExport.h"
#include "SubjectRowReader.h"
#include "calendar/ShamsiDate.h"
#include "common/BackgroundWork.h"
#include "common/BidiText.h"
#include "common/Clock.h"
#include "common/Desktop.h"
#include "common/FileProblem.h"
#include "common/Prompts.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <optional>

namespace {

// How often the window gets to repaint and the cancel button to be heard while rows are written.
constexpr qint64 kEventInterval = 40;

// A progress dialog closes itself on Escape or its title bar's close button. While the file is
// packed that would leave the user without a word until the packing ends, so the close is turned
// into the cancel request alone.
class CloseAsCancel final : public QObject
{
public:
    CloseAsCancel(QProgressDialog& dialog, const bool& finishing) : m_dialog(dialog), m_finishing(finishing)
    {
        dialog.installEventFilter(this);
    }
    ~CloseAsCancel() override { m_dialog.removeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(CloseAsCancel)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_dialog || !m_finishing)
            return false;
        const bool escape =
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (event->type() != QEvent::Close && !escape)
            return false;
        event->ignore();
        emit m_dialog.canceled();
        return true;
    }

private:
    QProgressDialog& m_dialog;
    const bool& m_finishing;
};

} // namespace

ExportCommand::ExportCommand(const AppContext& context, QWidget* parent)
    : m_context(context), m_parent(parent)
{
}

QString ExportCommand::proposedPath() const
{
    const QDate today = m_context.clock ? m_context.clock->now().date() : QDate::currentDate();
    QString date = ShamsiDate(today, 0);
    date.replace(u'/', u'-'); // "/" cannot stand in a file name
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(ExportTexts::proposedNamePrefix + date + QStringLiteral(".xlsx"));
}

bool ExportCommand::enterEarlierKey()
{
    Prompts& prompts = *m_context.prompts;
    const std::optional<QString> typed =
        prompts.askPassword(m_parent, ExportTexts::keyTitle, ExportTexts::keyPrompt);
    if (!typed)
        return false;
    const std::optional<QByteArray> key = Anonymising::keyOfText(*typed);
    if (!key) {
        prompts.message(m_parent, ExportTexts::failureTitle, ExportTexts::keyInvalid,
                        Prompts::Icon::Exclamation, true);
        return false;
    }
    QString error;
    const std::optional<QByteArray> current = Anonymising::loadKey(m_context.dataFolder, &error);
    // A key that cannot be read is replaced only when the user says so, as a different one would be.
    if (current != key && (!current || !current->isEmpty()) &&
        !prompts.askYesNo(m_parent, ExportTexts::keyTitle, ExportTexts::keyReplace))
        return false;
    if (!Anonymising::storeKey(m_context.dataFolder, *key, &error)) {
        prompts.message(m_parent, ExportTexts::failureTitle, ExportTexts::keyNotStored.arg(error),
                        Prompts::Icon::Exclamation, true);
        return false;
    }
    prompts.notice(m_parent, ExportTexts::keyKept);
    return true;
}

std::optional<QByteArray> ExportCommand::clinicKey()
{
    Prompts& prompts = *m_context.prompts;
    QString error;
    const std::optional<QByteArray> kept = Anonymising::loadKey(m_context.dataFolder, &error);
    if (!kept) {
        prompts.message(m_parent, ExportTexts::failureTitle, ExportTexts::keyNotRead.arg(error),
                        Prompts::Icon::Exclamation, true);
        return std::nullopt;
    }
    if (!kept->isEmpty())
        return kept;
    const QByteArray key = Anonymising::newKey();
    if (key.isEmpty() || !Anonymising::storeKey(m_context.dataFolder, key, &error)) {
        prompts.message(m_parent, ExportTexts::failureTitle, ExportTexts::keyNotStored.arg(error),
                        Prompts::Icon::Exclamation, true);
        return std::nullopt;
    }
    // The key reads left to right inside the right-to-left message.
    prompts.message(m_parent, ExportTexts::keyTitle,
                    ExportTexts::keyCreated.arg(BidiText::isolated(Anonymising::keyText(key))),
                    Prompts::Icon::Information, true);
    return key;
}

QString ExportCommand::withSuffix(const QString& chosen) const
{
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("csv") || suffix == QLatin1String("sav"))
        return chosen;
    // The dialog confirmed replacing the name as typed, not this one.
    const QString path = chosen + QStringLiteral(".xlsx");
    if (QFileInfo::exists(path) && !QFileInfo(path).isDir() &&
        !m_context.prompts->askYesNo(
            m_parent, ExportTexts::successTitle,
            ExportTexts::replaceExisting.arg(BidiText::isolated(QDir::toNativeSeparators(path)))))
        return {};
    return path;
}

bool ExportCommand::run(const SubjectSelection& selection, std::optional<Choice> choice)
{
    Prompts& prompts = *m_context.prompts;
    const QSqlDatabase database = Database::connection(m_context.dataFolder, Database::File::Clinical);
    SubjectRowReader reader(database, selection);
    const int total = reader.count();
    if (total < 0) {
        prompts.message(m_parent, ExportTexts::failureTitle, ExportTexts::readFailed.arg(reader.lastError()),
                        Prompts::Icon::Exclamation, true);
        return false;
    }
    if (total == 0) {
        prompts.notice(m_parent, ExportTexts::noSubjects);
        return false;
    }
    if (!choice) {
        ExportOptionsDialog options(
            m_context, [this] { enterEarlierKey(); }, m_parent);
        if (options.exec() != QDialog::Accepted)
            return false;
        choice = Choice{options.perAdministration(), options.anonymised()};
    }
    SubjectExport::Options exportOptions;
    exportOptions.perAdministration = choice->perAdministration;
    const QString chosen =
        prompts.saveFileName(m_parent, ExportTexts::saveCaption, proposedPath(), ExportTexts::fileFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = withSuffix(chosen);
    if (path.isEmpty())
        return false;
    if (choice->anonymised) {
        const std::optional<QByteArray> key = clinicKey();
        if (!key)
            return false;
        exportOptions.anonymisingKey = *key;
    }

    QProgressDialog dialog(ExportTexts::progressLabel, ExportTexts::progressCancel, 0, std::max(total, 1),
                           m_parent);
    dialog.setWindowTitle(ExportTexts::progressTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(300);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // The cancel button is heard in both phases; during the last one it cannot stop the packing
    // at once, so it says so, and the packed file is dropped when the packing ends.
    bool finishing = false;
    bool cancelWhenFinished = false;
    QObject::disconnect(&dialog, SIGNAL(canceled()), &dialog, SLOT(cancel()));
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        if (!finishing) {
            dialog.cancel();
            return;
        }
        cancelWhenFinished = true;
        dialog.setLabelText(ExportTexts::cancellingLabel);
        if (auto* button = dialog.findChild<QPushButton*>())
            button->setEnabled(false);
    });
    // Closing the dialog or pressing Escape cancels as the button does, without hiding the dialog
    // while the packing still runs.
    CloseAsCancel closeAsCancel(dialog, finishing);

    QElapsedTimer sinceEvents;
    bool first = true;
    const auto progress = [&](int written, int count) {
        if (first || sinceEvents.elapsed() >= kEventInterval) {
            first = false;
            dialog.setMaximum(std::max(count, 1));
            dialog.setValue(std::min(written, std::max(count, 1)));
            // Until the modal dialog is on screen, other windows must not take clicks that could
            // start a second export or close the database; they still repaint.
            QCoreApplication::processEvents(dialog.isVisible() ? QEventLoop::AllEvents
                                                               : QEventLoop::ExcludeUserInputEvents);
            sinceEvents.restart();
        }
        return !dialog.wasCanceled();
    };
    const auto finisher = [&](const SubjectExport::Work& work) -> std::optional<bool> {
        finishing = true;
        dialog.setLabelText(ExportTexts::finishingLabel);
        dialog.setRange(0, 0); // no part of the packing can be counted: the bar shows it is busy
        BackgroundWork beside;
        std::optional<bool> finished;
        beside.start([work] { return work(); }, [&finished](bool result) { finished = result; });
        while (!finished) {
            // The window repaints all the while; until the modal dialog is on screen nothing
            // else takes clicks.
            QCoreApplication::processEvents(
                QEventLoop::WaitForMoreEvents |
                (dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
        }
        finishing = false;
        return cancelWhenFinished ? std::nullopt : finished;
    };
    const SubjectExport::Outcome outcome =
        SubjectExport::write(database, selection, path, progress, finisher, exportOptions);
    dialog.close();

    // A path reads left to right inside the right-to-left message.
    const QString shownPath = BidiText::isolated(QDir::toNativeSeparators(path));
    switch (outcome.status) {
    case SubjectExport::Outcome::Status::Cancelled:
        prompts.notice(m_parent, ExportTexts::cancelled);
        return false;
    case SubjectExport::Outcome::Status::Failed: {
        const QString message = ExportTexts::failed.arg(shownPath, outcome.error);
        prompts.message(m_parent, ExportTexts::failureTitle,
                        outcome.writeFailed ? withWriteProblem(message, path) : message,
                        Prompts::Icon::Exclamation, true);
        return false;
    }
    case SubjectExport::Outcome::Status::Written:
        break;
    }
    AuditTrail::record(m_context, AuditTrail::Action::Exported, {},
                       choice->anonymised ? AuditTexts::anonymisedExportDetail(outcome.subjects)
                                          : AuditTexts::subjectCount(outcome.subjects),
                       m_parent);
    const QString written =
        choice->perAdministration
            ? ExportTexts::writtenAdministrations.arg(QString::number(outcome.rows),
                                                      QString::number(outcome.subjects), shownPath)
            : ExportTexts::written.arg(QString::number(outcome.subjects), shownPath);
    if (prompts.askYesNo(m_parent, ExportTexts::successTitle, written) && m_context.desktop)
        m_context.desktop->openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}
