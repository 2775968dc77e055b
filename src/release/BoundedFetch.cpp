#include "BoundedFetch.h"

#include <QNetworkReply>
#include <QNetworkRequest>

BoundedFetch::BoundedFetch(QObject* parent) : SmallFetch(parent) {}

BoundedFetch::~BoundedFetch()
{
    abort();
}

void BoundedFetch::start(const QUrl& url, qsizetype limit, int timeoutMs, Done done)
{
    abort();
    m_body.clear();
    m_limit = limit;
    m_done = std::move(done);
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    // A cached answer would hide a release published since the last check.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // The bound counts the bytes the server sends.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = m_network.get(request);
    m_reply->setReadBufferSize(limit + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_limit)
            end(Outcome::TooLarge);
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &BoundedFetch::readAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &BoundedFetch::finished);
}

void BoundedFetch::abort()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    m_done = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void BoundedFetch::readAvailable()
{
    if (!m_reply)
        return;
    m_body += m_reply->read(m_limit + 1 - m_body.size());
    if (m_body.size() > m_limit)
        end(Outcome::TooLarge);
}

void BoundedFetch::finished()
{
    if (!m_reply)
        return;
    readAvailable();
    if (!m_reply)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page is never taken for the file.
    const bool success = m_reply->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
    end(success ? Outcome::Received : Outcome::Failed);
}

void BoundedFetch::end(Outcome outcome)
{
    Done done = std::move(m_done);
    const QByteArray body = outcome == Outcome::Received ? m_body : QByteArray();
    abort();
    m_body.clear();
    if (done)
        done(outcome, body);
}
