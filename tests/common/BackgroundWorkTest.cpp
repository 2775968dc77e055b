#include "common/BackgroundWork.h"

#include <QSemaphore>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

class BackgroundWorkTest : public QObject
{
    Q_OBJECT

private slots:
    // A late answer must never replace a newer one: only the last request's result is handed over,
    // on the owner's thread, however the earlier ones finish.
    void onlyTheNewestRequestsResultArrivesOnTheOwnersThread()
    {
        BackgroundWork work;
        QSemaphore releaseFirst;
        QList<int> delivered;
        QThread* deliveredOn = nullptr;
        work.start(
            [&releaseFirst] {
                releaseFirst.acquire(); // still reading when the second request comes
                return 1;
            },
            [&](int value) { delivered << value; });
        work.start([] { return 2; },
                   [&](int value) {
                       delivered << value;
                       deliveredOn = QThread::currentThread();
                   });
        QVERIFY(work.isWaiting());
        QVERIFY(QTest::qWaitFor([&] { return !delivered.isEmpty(); }, 5000));
        releaseFirst.release();
        work.waitForAll();
        QCoreApplication::processEvents();
        QCOMPARE(delivered, QList<int>{2});
        QCOMPARE(deliveredOn, QThread::currentThread());
        QVERIFY(!work.isWaiting());
    }

    void aSupersededRequestThatHasNotBegunNeverRuns()
    {
        BackgroundWork work;
        QSemaphore release;
        std::atomic<int> begun{0};
        std::atomic<int> queuedRuns{0};
        bool anyDelivered = false;
        // Every thread of the pool busy, so that the requests after them wait in its queue.
        const int threads = QThread::idealThreadCount();
        for (int i = 0; i < threads; ++i) {
            work.start(
                [&] {
                    ++begun;
                    release.acquire();
                },
                [&] { anyDelivered = true; });
            // Each begun before the next is asked for, which would otherwise keep it from beginning.
            QVERIFY(QTest::qWaitFor([&] { return begun.load() == i + 1; }, 5000));
        }
        for (int i = 0; i < 5; ++i)
            work.start([&] { ++queuedRuns; }, [&] { anyDelivered = true; });
        work.supersede();
        QVERIFY(!work.isWaiting());
        release.release(threads);
        work.waitForAll();
        QCoreApplication::processEvents();
        QCOMPARE(queuedRuns.load(), 0);
        QVERIFY(!anyDelivered);
    }

    // The owner may be destroyed with work under way: the work ends first and its result, which
    // names the destroyed owner's window, is never handed over.
    void destroyingTheOwnerWaitsForTheWorkAndDropsItsResult()
    {
        std::atomic<bool> finished{false};
        bool delivered = false;
        {
            auto work = std::make_unique<BackgroundWork>();
            work->start(
                [&finished] {
                    QThread::msleep(100);
                    finished = true;
                    return 0;
                },
                [&delivered](int) { delivered = true; });
        }
        QVERIFY(finished.load());
        QCoreApplication::processEvents();
        QVERIFY(!delivered);
    }
};

QTEST_GUILESS_MAIN(BackgroundWorkTest)
#include "BackgroundWorkTest.moc"
