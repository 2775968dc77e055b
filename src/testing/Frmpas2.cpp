#include "Frmpas2.h"

Frmpas2::Frmpas2(const AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frmpas2"));
}

Frmpas2::~Frmpas2() = default;
