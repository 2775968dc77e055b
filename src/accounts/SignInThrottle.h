#pragma once

#include <QDateTime>

class Clock;

// Wrong sign-ins in a row make the next try wait: from the fifth on, 30 seconds, doubled for each
// further one, up to a quarter of an hour. A right one starts the count afresh. Kept for the
// program's whole run, whichever window asked.
class SignInThrottle final
{
public:
    explicit SignInThrottle(const Clock& clock) : m_clock(clock) {}

    static constexpr int kFreeTries = 5;
    static constexpr int kFirstWaitSeconds = 30;
    static constexpr int kLongestWaitSeconds = 15 * 60;

    void failed();
    void succeeded();
    // Whole seconds until the next try may be checked; 0 when it may be now.
    int secondsToWait() const;
    int failuresInARow() const { return m_failures; }

private:
    const Clock& m_clock;
    int m_failures = 0;
    QDateTime m_nextTry;
};
