#pragma once

#include "common/AppContext.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

// The choices of the research export before its file dialog: one row per subject or one per
// administration, and whether the export is anonymised; with the latter, a way to enter the
// clinic's earlier key so that this export joins those made with it.
class ExportOptionsDialog final : public QDialog
{
    Q_OBJECT
public:
    // `enterEarlierKey` runs when the user asks to enter an earlier key. The dialog wears the
    // clinic's skin whichever window it opens over.
    ExportOptionsDialog(const AppContext& context, std::function<void()> enterEarlierKey, QWidget* parent);

    bool perAdministration() const;
    bool anonymised() const;

private:
    QRadioButton* m_perSubject = nullptr;
    QRadioButton* m_perAdministration = nullptr;
    QCheckBox* m_anonymised = nullptr;
    QPushButton* m_earlierKey = nullptr;
};
