#pragma once

#include "common/AppContext.h"
#include "common/SubjectSelection.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

// The command "خروجي اکسل": asks for the file, writes the selected subjects to it under a
// cancellable progress dialog and tells the user how it went.
class ExportCommand final
{
public:
    ExportCommand(const AppContext& context, QWidget* parent);

    // What the user chose before the file dialog.
    struct Choice
    {
        bool perAdministration = false;
        bool anonymised = false;
    };

    // True when a file was written. Without a choice given, the user is asked in the options dialog.
    bool run(const SubjectSelection& selection, std::optional<Choice> choice = std::nullopt);

    // Asks for the clinic's earlier anonymising key and keeps it in place of the current one;
    // true when a key was kept.
    bool enterEarlierKey();

    // The name proposed in the file dialog: the documents folder, "Velmora-", today's Jalali
    // date as 1402-02-13 and ".xlsx".
    QString proposedPath() const;

private:
    // The clinic's anonymising key; one is made, kept and shown once when there is none. Nullopt
    // when it can be neither read nor made (the user has been told).
    std::optional<QByteArray> clinicKey();

    // The chosen name with a suffix the export knows; empty when the user declines to replace the
    // file that a supplied suffix would name.
    QString withSuffix(const QString& chosen) const;

    AppContext m_context;
    QWidget* m_parent;
};
