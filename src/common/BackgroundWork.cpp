#include "BackgroundWork.h"

#include <QThread>
#include <QThreadPool>

void BackgroundWork::supersede()
{
    ++m_latest;
    m_waiting = false;
    m_underWay.removeIf([](const QFuture<void>& future) { return future.isFinished(); });
    for (QFuture<void>& future : m_underWay)
        future.cancel(); // keeps a stale request that has not begun from running at all
}

void BackgroundWork::waitForAll()
{
    for (QFuture<void>& future : m_underWay)
        future.waitForFinished();
    m_underWay.clear();
}

QThreadPool* BackgroundWork::pool()
{
    static QThreadPool* const shared = [] {
        auto* made = new QThreadPool; // lives as long as the program: work may end at exit
        made->setThreadPriority(QThread::LowPriority);
        return made;
    }();
    return shared;
}
