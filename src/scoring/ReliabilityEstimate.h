#pragma once

#include "ReliableChange.h"

#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class QSqlDatabase;

// The clinic's norms (ReliableChange::Norms) estimated from every stored administration. A large
// store takes seconds to read, so the reading runs beside the window, reports how far it has got,
// and its result is kept for the program's lifetime until the data changes.
namespace ReliabilityEstimate {

// How far a reading has got; shared between the reading and the window that shows it.
struct Progress
{
    std::atomic<qint64> read{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> stop{false}; // set by the window: the reading ends without a result
};

// A cheap mark of the data's state: it differs after any committed write that could change the
// administrations (and after some that do not, which only costs a new reading). Read on the
// window's own connection. Empty when the state cannot be told: then nothing is kept.
QString dataMark(const QSqlDatabase& db);

// The norms kept from an earlier reading of the connection's database in the state `mark`.
std::optional<ReliableChange::Norms> kept(const QString& connectionName, const QString& mark);

// Reads every administration on a connection of its own, so it may run on a pooled thread, and
// keeps the result under `mark`. Nullopt when the administrations cannot be read or the reading
// was stopped.
std::optional<ReliableChange::Norms> read(const QString& connectionName, const QString& mark,
                                          const std::shared_ptr<Progress>& progress);

} // namespace ReliabilityEstimate
