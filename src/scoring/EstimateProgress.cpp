#include "EstimateProgress.h"

#include "ReliabilityEstimate.h"
#include "ScoringTexts.h"
#include "common/BackgroundWork.h"
#include "common/CommonTexts.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace EstimateProgress {

namespace {

// How often the dialog shows the count while the reading runs.
constexpr int kShowInterval = 100;

} // namespace

std::optional<ChangeTable::Estimate> waitFor(const AppContext& context, QWidget* parent)
{
    const QString connectionName = Database::connectionName(context.dataFolder, Database::File::Clinical);
    const QString mark =
        ReliabilityEstimate::dataMark(Database::connection(context.dataFolder, Database::File::Clinical));
    if (auto norms = ReliabilityEstimate::kept(connectionName, mark))
        return ChangeTable::Estimate{false, norms};

    QProgressDialog dialog(ScoringTexts::estimating, CommonTexts::cancel, 0, 0, parent);
    dialog.setWindowTitle(CommonTexts::attentionTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(300);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    auto progress = std::make_shared<ReliabilityEstimate::Progress>();
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [progress] { progress->stop = true; });

    BackgroundWork beside;
    bool done = false;
    std::optional<ReliableChange::Norms> norms;
    beside.start([connectionName, mark,
                  progress] { return ReliabilityEstimate::read(connectionName, mark, progress); },
                 [&](const std::optional<ReliableChange::Norms>& result) {
                     norms = result;
                     done = true;
                 });
    // The count is shown every little while; the timer also wakes the loop below to show it.
    QTimer showCount;
    QObject::connect(&showCount, &QTimer::timeout, &dialog, [&dialog, progress] {
        const qint64 total = progress->total;
        if (total <= 0)
            return;
        const qint64 read = std::min<qint64>(progress->read, total);
        // A progress dialog counts in int; a store may hold more, so it counts in thousands.
        const qint64 scale = total > 1'000'000 ? 1000 : 1;
        dialog.setMaximum(int(total / scale));
        dialog.setValue(int(read / scale));
        dialog.setLabelText(ScoringTexts::estimatingCount.arg(read).arg(total));
    });
    showCount.start(kShowInterval);
    while (!done) {
        // The windows repaint all the while; until the modal dialog is on screen nothing else
        // takes clicks that could start a second print.
        QCoreApplication::processEvents(
            QEventLoop::WaitForMoreEvents |
            (dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    }
    showCount.stop();
    // Read before the dialog closes: closing a progress dialog counts as cancelling it.
    const bool cancelled = progress->stop;
    dialog.close();
    if (cancelled)
        return std::nullopt;
    return ChangeTable::Estimate{false, norms};
}

} // namespace EstimateProgress
