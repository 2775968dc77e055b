#pragma once

#include "datastore/AdministrationStore.h"

#include <QString>

class QWidget;
struct AppContext;

// Before a test or an answer sheet of a subject who already has a scored administration: the
// clinician says whether this is a new administration (the earlier one is kept whole in the
// subject's history, and the answers and scores start empty) or a correction of the last one
// (its answers are replaced, as they are typed).
namespace RetestChoice {

enum class Outcome
{
    Proceed,  // no earlier administration, a correction, or the new one has begun
    Cancelled // cancelled, or the earlier one could not be kept (the user was told): nothing changed
};

Outcome ask(const AppContext& context, QWidget* parent, const QString& code,
            AdministrationStore::Entry entry);

} // namespace RetestChoice
