#include "FrmTest.h"

FrmTest::FrmTest(const AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmTest"));
}

FrmTest::~FrmTest() = default;

void FrmTest::prepareForCode(const QString&) {}

void FrmTest::resetToIntro() {}
