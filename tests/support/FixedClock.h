#pragma once

#include "common/Clock.h"

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime at = QDateTime(QDate(2023, 5, 3), QTime(14, 5, 9))) : at(std::move(at)) {}
    QDateTime now() const override { return at; }
    QDateTime at;
};
