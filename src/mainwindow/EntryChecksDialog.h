#pragma once

#include "common/AppContext.h"
#include "datastore/AdministrationDetails.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The clinic's settings for paper sheets entered twice and for the thresholds of the answer
// patterns that are flagged (AdministrationDetails::Settings). Stored at "ذخيره " only when every
// value is a whole number in its range; otherwise nothing is stored and the typed values stay.
class EntryChecksDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EntryChecksDialog)
public:
    explicit EntryChecksDialog(const AppContext& context, QWidget* parent = nullptr);

    // The typed values as settings; nullopt when one is out of its range or no whole number.
    std::optional<AdministrationDetails::Settings> typedSettings() const;

private:
    void save();

    AppContext m_context;
    QCheckBox* m_doubleEntry = nullptr;
    QLineEdit* m_fastItem = nullptr;
    QLineEdit* m_fastTest = nullptr;
    QLineEdit* m_longRun = nullptr;
    QLineEdit* m_unanswered = nullptr;
};
