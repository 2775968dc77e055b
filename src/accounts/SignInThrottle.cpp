#include "SignInThrottle.h"

#include "common/Clock.h"

#include <algorithm>

void SignInThrottle::failed()
{
    ++m_failures;
    if (m_failures < kFreeTries)
        return;
    const int doublings = std::min(m_failures - kFreeTries, 10);
    const int wait = std::min(kFirstWaitSeconds << doublings, kLongestWaitSeconds);
    m_nextTry = m_clock.now().addSecs(wait);
}

void SignInThrottle::succeeded()
{
    m_failures = 0;
    m_nextTry = {};
}

int SignInThrottle::secondsToWait() const
{
    if (!m_nextTry.isValid())
        return 0;
    const qint64 left = m_clock.now().msecsTo(m_nextTry);
    return left <= 0 ? 0 : int((left + 999) / 1000);
}
