#include "FrmNemudar1.h"

FrmNemudar1::FrmNemudar1(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmNemudar1"));
}

FrmNemudar1::~FrmNemudar1() = default;

void FrmNemudar1::setInput(const NeedsChartInput& input)
{
    m_input = input;
}
