#pragma once

#include "common/AppContext.h"

#include <QWidget>

// The scoring window: choose and score a subject, compare a couple, open the chart.
class FrmkLID final : public QWidget
{
    Q_OBJECT
public:
    explicit FrmkLID(const AppContext& context, QWidget* parent = nullptr);
    ~FrmkLID() override;

private:
    AppContext m_context;
};
