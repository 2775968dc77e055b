#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>


// Fetches one small file over HTTP, never keeping more than a bound: the version file and the
// signatures are a few bytes, and a server that sends more is not believed. The answer arrives in
// the background, so the window keeps painting while the server is slow or silent.
class BoundedFetch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BoundedFetch)
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

    explicit BoundedFetch(QObject* parent = nullptr);
    ~BoundedFetch() override;

    // Ends a fetch still running (its done is not called) and asks for url.
    void start(const QUrl& url, qsizetype limit, int timeoutMs, Done done);
    // The running fetch ends and its done is never called.
    void abort();
    bool isRunning() const { return m_reply != nullptr; }

private:
    void readAvailable();
    void finished();
    void end(Outcome outcome);

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    qsizetype m_limit = 0;
    Done m_done;
};
