#pragma once

#include "common/AppContext.h"

#include <QDialog>

// The on-screen test: one subject answers the 35 items one at a time.
class FrmTest final : public QDialog
{
    Q_OBJECT
public:
    explicit FrmTest(const AppContext& context, QWidget* parent = nullptr);
    ~FrmTest() override;

    // Prepares the window for a registered subject code: its subject and answer rows, an answer
    // row created when the subject has none; the window is in its intro state.
    void prepareForCode(const QString& code);
    // Puts the window back into its intro state with item number 0, for the next opening.
    void resetToIntro();

private:
    AppContext m_context;
};
