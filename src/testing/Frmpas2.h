#pragma once

#include "common/AppContext.h"

#include <QDialog>

// The answer sheet: the clinician types a subject's 35 answers from a paper sheet.
class Frmpas2 final : public QDialog
{
    Q_OBJECT
public:
    explicit Frmpas2(const AppContext& context, QWidget* parent = nullptr);
    ~Frmpas2() override;

private:
    AppContext m_context;
};
