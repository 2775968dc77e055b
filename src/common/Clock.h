#pragma once

#include <QDateTime>

// The desktop's clock, behind an interface so that dates and times in tests are fixed.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
