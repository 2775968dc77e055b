#pragma once

#include "TrendChart.h"
#include "common/AppContext.h"
#include "common/BackgroundWork.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/AnswerChecks.h"
#include "scoring/ReliabilityEstimate.h"
#include "scoring/ReliableChange.h"

#include <QDialog>
#include <QHash>
#include <QTimer>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QProgressBar;
class QTableWidget;

// One subject's administrations: the list, the trend of the five scales over them, and whether
// the change between two of them is more than measurement error explains. The reliability it
// rests on is estimated beside the window from every administration the clinic has stored.
class FrmHistory final : public QDialog
{
    Q_OBJECT
public:
    FrmHistory(const AppContext& context, const QString& code, const QString& subjectLine,
               QWidget* parent = nullptr);
    // A reading still under way is told to stop, so that closing the window never waits for it.
    ~FrmHistory() override;

    // Reads the subject's administrations; false, with a message, where there are none or they
    // cannot be read.
    bool load();
    const QList<AdministrationStore::Administration>& administrations() const { return m_administrations; }
    bool isEstimating() const { return m_estimate.isWaiting(); }
    // The chosen pair of administrations (indexes into administrations()).
    void choosePair(int earlier, int later);
    void printHistory();

private:
    void fillList();
    void startEstimate();
    void showProgress();
    void showChange();

    AppContext m_context;
    QString m_code;
    QString m_subjectLine;
    QList<AdministrationStore::Administration> m_administrations;
    QHash<int, AdministrationDetails::Details> m_details; // by administration number; none: entered once
    AdministrationDetails::Settings m_checkSettings;
    std::optional<ReliableChange::Norms> m_norms;
    BackgroundWork m_estimate;
    std::weak_ptr<ReliabilityEstimate::Progress> m_progress;
    QTimer m_progressTimer;

    QTableWidget* m_list = nullptr;
    TrendChartView* m_chart = nullptr;
    QComboBox* m_earlier = nullptr;
    QComboBox* m_later = nullptr;
    QTableWidget* m_change = nullptr;
    QLabel* m_basis = nullptr;
    QProgressBar* m_busy = nullptr;
};

// The pieces of the window that are plain arithmetic and text.
namespace HistoryView {

// The score of each scale from the stored answers, as the scoring computes it.
std::array<double, 5> scaleScores(const AdministrationStore::Administration& administration);
QList<TrendChart::Point> trendPoints(const QList<AdministrationStore::Administration>& administrations);
// "1402/02/13 - 1402/09/01", the first and last date.
QString datesText(const QList<AdministrationStore::Administration>& administrations);
QString entryText(AdministrationStore::Entry entry);
// The short names of the raised flags, as the list shows them.
QString flagsText(const QList<AnswerChecks::Flag>& flags);
// How the administration was entered, with how far a sheet entered twice has got.
QString entryText(const AdministrationStore::Administration& administration,
                  const AdministrationDetails::Details& details);

} // namespace HistoryView
