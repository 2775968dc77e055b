#pragma once

#include "SmallFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

// The fetch of one small file (SmallFetch.h) through Qt's network library.
class BoundedFetch final : public SmallFetch
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BoundedFetch)
public:
    explicit BoundedFetch(QObject* parent = nullptr);
    ~BoundedFetch() override;

    void start(const QUrl& url, qsizetype limit, int timeoutMs, Done done) override;
    void abort() override;
    bool isRunning() const override { return m_reply != nullptr; }

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
