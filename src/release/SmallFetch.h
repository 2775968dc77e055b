#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>

// Fetches one small file over HTTP, never keeping more than a bound: the version file and the
// signatures are a few bytes, and a server that sends more is not believed. The answer arrives in
// the background, so the window keeps painting while the server is slow or silent.
//
// The program reaches the implementation (BoundedFetch) through the network module, so that
// Qt's network library and what it brings are loaded only when an update check is made. Only
// this interface crosses into the module: it must not change without the module's interface
// version (NetworkModuleEntry.h).
class SmallFetch : public QObject
{
public:
    enum class Outcome
    {
        Received,
        // No success answer: no connection, a time-out, or a status other than 2xx.
        Failed,
        // More than the bound was announced or arrived.
        TooLarge,
    };
    // Called once per start, on the owner's thread; a later start() may be made from inside it.
    using Done = std::function<void(Outcome outcome, const QByteArray& body)>;

    explicit SmallFetch(QObject* parent) : QObject(parent) {}

    // Ends a fetch still running (its done is not called) and asks for url.
    virtual void start(const QUrl& url, qsizetype limit, int timeoutMs, Done done) = 0;
    // The running fetch ends and its done is never called.
    virtual void abort() = 0;
    virtual bool isRunning() const = 0;
};
