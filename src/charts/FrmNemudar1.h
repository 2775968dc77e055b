#pragma once

#include "common/AppContext.h"
#include "common/NeedsChartInput.h"

#include <QWidget>

// The needs chart: the five scores of one subject, or of a couple, as a line chart.
class FrmNemudar1 final : public QWidget
{
    Q_OBJECT
public:
    explicit FrmNemudar1(const AppContext& context, QWidget* parent = nullptr);
    ~FrmNemudar1() override;

    void setInput(const NeedsChartInput& input);

private:
    AppContext m_context;
    NeedsChartInput m_input;
};
