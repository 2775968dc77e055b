#include "FrmkLID.h"

FrmkLID::FrmkLID(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmkLID"));
}

FrmkLID::~FrmkLID() = default;
