#pragma once

#include "ReliableChange.h"
#include "ScoringKey.h"

#include <QStringList>

#include <array>
#include <optional>

// The reliable change between two administrations of one subject as a table of texts, one row per
// scale: the two scores, the change, the index, the verdict and the reliability it rests on. The
// history window shows it and the one-subject report prints it. Pure functions.
namespace ChangeTable {

constexpr int kColumns = 7;
using Row = std::array<QString, kColumns>;
using Rows = std::array<Row, ScoringKey::kScaleCount>;

QStringList headers();

// What the estimate of the clinic's norms is: still being read, read, or unreadable.
struct Estimate
{
    bool underWay = false;
    std::optional<ReliableChange::Norms> norms; // none while under way or when unreadable
};

Rows rows(const ScoringKey::ItemTexts& earlier, const ScoringKey::ItemTexts& later, const Estimate& estimate);

// The line under the table: what the estimate rests on, or why there is none.
QString basis(const Estimate& estimate);

} // namespace ChangeTable
