#pragma once

#include "common/AppContext.h"
#include "common/SubjectSelection.h"

#include <QString>

class QWidget;

// The command "خروجي اکسل": asks for the file, writes the selected subjects to it under a
// cancellable progress dialog and tells the user how it went.
class ExportCommand final
{
public:
    ExportCommand(const AppContext& context, QWidget* parent);

    // True when a file was written.
    bool run(const SubjectSelection& selection);

    // The name proposed in the file dialog: the documents folder, "Velmora-", today's Jalali
    // date as 1402-02-13 and ".xlsx".
    QString proposedPath() const;

private:
    // The chosen name with a suffix the export knows; empty when the user declines to replace the
    // file that a supplied suffix would name.
    QString withSuffix(const QString& chosen) const;

    AppContext m_context;
    QWidget* m_parent;
};
