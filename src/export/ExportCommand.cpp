#include "ExportCommand.h"

#include "ExportTexts.h"
#include "SubjectExport.h"
#include "SubjectRowReader.h"
#include "calendar/ShamsiDate.h"
#include "common/Clock.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>

namespace {

// How often the window gets to repaint and the cancel button to be heard while rows are written.
constexpr qint64 kEventInterval = 40;

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

QString ExportCommand::withSuffix(const QString& chosen) const
{
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("csv"))
        return chosen;
    // The dialog confirmed replacing the name as typed, not this one.
    const QString path = chosen + QStringLiteral(".xlsx");
    if (QFileInfo::exists(path) && !QFileInfo(path).isDir() &&
        !m_context.prompts->askYesNo(m_parent, ExportTexts::successTitle,
                                     ExportTexts::replaceExisting.arg(QDir::toNativeSeparators(path))))
        return {};
    return path;
}

bool ExportCommand::run(const SubjectSelection& selection)
{
    Prompts& prompts = *m_context.prompts;
    const QSqlDatabase database = Database::connection(m_context.programFolder, Database::File::Clinical);
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
    const QString chosen =
        prompts.saveFileName(m_parent, ExportTexts::saveCaption, proposedPath(), ExportTexts::fileFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = withSuffix(chosen);
    if (path.isEmpty())
        return false;

    QProgressDialog dialog(ExportTexts::progressLabel, ExportTexts::progressCancel, 0, std::max(total, 1),
                           m_parent);
    dialog.setWindowTitle(ExportTexts::progressTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(300);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
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
    const SubjectExport::Outcome outcome = SubjectExport::write(database, selection, path, progress);
    dialog.close();

    const QString shownPath = QDir::toNativeSeparators(path);
    switch (outcome.status) {
    case SubjectExport::Outcome::Status::Cancelled:
        prompts.notice(m_parent, ExportTexts::cancelled);
        return false;
    case SubjectExport::Outcome::Status::Failed:
        prompts.message(m_parent, ExportTexts::failureTitle,
                        ExportTexts::failed.arg(shownPath, outcome.error), Prompts::Icon::Exclamation, true);
        return false;
    case SubjectExport::Outcome::Status::Written:
        break;
    }
    if (prompts.askYesNo(m_parent, ExportTexts::successTitle,
                         ExportTexts::written.arg(QString::number(outcome.subjects), shownPath)) &&
        m_context.desktop)
        m_context.desktop->openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}
