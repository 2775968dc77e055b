#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <type_traits>
#include <utility>

class QThreadPool;

// The program's one way of doing work beside the window: a read, a check or a write runs on a
// pooled thread and its result is handed back on the owner's thread, where widgets may be touched.
//
// Every start() is a new request and makes the earlier ones stale: a stale request that has not
// begun never runs, and the result of one already running is dropped when it arrives, so a late
// answer never overwrites a newer one. The work must capture values only (copies, connection
// names, folders), never references into a window; the result callback runs on the owner's thread
// and may use the window freely. Destroying the owner waits for work under way.
class BackgroundWork final : public QObject
{
    Q_DISABLE_COPY_MOVE(BackgroundWork)
public:
    explicit BackgroundWork(QObject* parent = nullptr) : QObject(parent) {}
    ~BackgroundWork() override { waitForAll(); }

    template <typename Work, typename Done> void start(Work work, Done done)
    {
        using Result = std::invoke_result_t<Work>;
        supersede();
        const quint64 request = m_latest;
        m_waiting = true;
        auto* watcher = new QFutureWatcher<Result>(this);
        connect(watcher, &QFutureWatcherBase::finished, this,
                [this, watcher, request, done = std::move(done)]() mutable {
                    watcher->deleteLater();
                    if (request != m_latest || watcher->isCanceled())
                        return;
                    m_waiting = false;
                    if constexpr (std::is_void_v<Result>)
                        done();
                    else
                        done(watcher->result());
                });
        QFuture<Result> future = QtConcurrent::run(pool(), std::move(work));
        m_underWay.append(QFuture<void>(future));
        watcher->setFuture(future);
    }

    // Results of every request made so far are ignored, and those not yet begun never run.
    void supersede();
    // True from a start() until its result has been handed over (or superseded).
    bool isWaiting() const { return m_waiting; }
    // Blocks until no work of this owner runs any more; results still arrive as events.
    void waitForAll();

private:
    // Low priority: the work must not take the processor from the window's own painting.
    static QThreadPool* pool();

    quint64 m_latest = 0;
    bool m_waiting = false;
    QList<QFuture<void>> m_underWay;
};
