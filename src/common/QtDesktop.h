#pragma once

#include "Desktop.h"

class QtDesktop final : public Desktop
{
public:
    void openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments = {}) override;
    void startCalculator() override;
    void quit() override;

    // The calculators looked for, in order of preference.
    static QStringList calculatorCandidates();
};
