#pragma once

#include "ChangeTable.h"
#include "common/AppContext.h"

#include <optional>

class QWidget;

// The clinic's norms for a print that needs them now: the ones kept from an earlier reading when
// the data has not changed since, or a reading beside the window under a progress dialog that
// says how far it has got and can be cancelled.
namespace EstimateProgress {

// The estimate, read or unreadable; nullopt when the user cancelled the reading.
std::optional<ChangeTable::Estimate> waitFor(const AppContext& context, QWidget* parent);

} // namespace EstimateProgress
