#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Starting programs, opening web addresses and ending the program go through this interface.
// None of these report failure to the user.
class Desktop
{
public:
    virtual ~Desktop() = default;
    virtual void openUrl(const QUrl& url) = 0;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments = {}) = 0;
    // Starts the first desktop calculator found on the machine, without waiting.
    virtual void startCalculator() = 0;
    virtual void quit() = 0;
};
