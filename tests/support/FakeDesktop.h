#pragma once

#include "common/Desktop.h"

#include <QList>
#include <QStringList>
#include <QUrl>

class FakeDesktop final : public Desktop
{
public:
    void openUrl(const QUrl& url) override { openedUrls << url; }
    bool startProgram(const QString& program, const QStringList& arguments = {}) override
    {
        startedPrograms << (arguments.isEmpty() ? program : program + u' ' + arguments.join(u' '));
        return startSucceeds;
    }
    void startCalculator() override { ++calculatorStarts; }
    void quit() override { ++quits; }

    QList<QUrl> openedUrls;
    QStringList startedPrograms;
    bool startSucceeds = true;
    int calculatorStarts = 0;
    int quits = 0;
};
