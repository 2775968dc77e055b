#include "FileDownloader.h"

#include "DownloadRules.h"
#include "UpdaterTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStorageInfo>

#include <memory>

namespace T = UpdaterTexts;

namespace {

// The transport may run ahead of the disk by this much; the rest waits in the socket.
constexpr qint64 kReadAhead = 256 * 1024;
constexpr int kWokenByDownload = 1;

qint64 storageFreeSpace(const QString& folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

// The nearest folder of a path that exists, where the free space is asked.
QString existingFolderOf(QString folder)
{
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

// The reply's header block as a server sends it, status line first, lines ending in CR LF.
// Empty when no reply came at all.
QString headerTextOf(const QNetworkReply* reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return {};
    QString text =
        QStringLiteral("HTTP/1.1 ") + QString::number(status.toInt()) + u' ' +
        QString::fromLatin1(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray()) +
        QStringLiteral("\r\n");
    for (const auto& [name, value] : reply->rawHeaderPairs())
        text += QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLatin1(value) +
                QStringLiteral("\r\n");
    return text + QStringLiteral("\r\n");
}

// What to report for a reply that carries no HTTP status.
QString failureWithoutStatus(const QNetworkReply* reply)
{
    switch (reply->error()) {
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        // The address itself cannot be requested.
        return T::requestFailure(reply->errorString());
    default:
        // Refused, unknown host, dropped before a readable status line, or silent past the
        // time-out: to the user all of these are no answer from the server.
        return T::cannotConnect;
    }
}

bool isFollowedRedirect(const QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 300 && status < 400 &&
           reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid();
}

} // namespace

struct FileDownloader::Transfer
{
    QString url;
    QString destination;
    qint64 received = 0;
    qint64 total = 0;
    bool bodyAllowed = false;
};

FileDownloader::FileDownloader(QObject* parent) : QObject(parent), m_freeSpace(storageFreeSpace) {}

FileDownloader::~FileDownloader() = default;

void FileDownloader::Cancel()
{
    m_cancel = true;
    if (m_waiting)
        m_waiting->exit(kWokenByDownload);
}

void FileDownloader::report(const QString& failure)
{
    emit DownloadErrors(failure);
    m_cancel = true;
}

void FileDownloader::waitFor(QNetworkReply* reply)
{
    QEventLoop loop;
    auto wake = [&loop] { loop.exit(kWokenByDownload); };
    connect(reply, &QNetworkReply::readyRead, &loop, wake);
    connect(reply, &QNetworkReply::metaDataChanged, &loop, wake);
    connect(reply, &QNetworkReply::finished, &loop, wake);
    m_waiting = &loop;
    const int how = loop.exec();
    m_waiting = nullptr;
    // Any other end of the loop means the application is quitting: stop rather than spin.
    if (how != kWokenByDownload)
        m_cancel = true;
}

bool FileDownloader::awaitHeaders(QNetworkReply* reply)
{
    auto headersKnown = [reply] {
        return reply->isFinished() || (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
                                       !isFollowedRedirect(reply));
    };
    while (!headersKnown()) {
        if (m_cancel)
            return false;
        waitFor(reply);
    }
    return !m_cancel;
}

QByteArray FileDownloader::nextBlock(QNetworkReply* reply)
{
    // Only the end of the body, or a cancel, gives a short block.
    while (reply->bytesAvailable() < kBlockSize && !reply->isFinished() && !m_cancel)
        waitFor(reply);
    // An aborted transfer (the time-out) is closed and has nothing more to give.
    return reply->isOpen() ? reply->read(kBlockSize) : QByteArray();
}

void FileDownloader::checkReply(Transfer& transfer, QNetworkReply* reply)
{
    const QString headers = headerTextOf(reply);
    const std::optional<QString> failure =
        headers.isEmpty() ? failureWithoutStatus(reply) : DownloadRules::statusFailure(headers, transfer.url);
    if (failure) {
        report(*failure);
        return;
    }
    // The body is stored from the file's first byte: a part that starts elsewhere would be stored
    // in the wrong place.
    if (DownloadRules::statusOf(headers) == u"206" &&
        DownloadRules::rangeStart(QString::fromLatin1(reply->rawHeader("Content-Range"))) !=
            transfer.received) {
        report(T::wrongRange);
        return;
    }
    const std::optional<qint64> total =
        DownloadRules::announcedLength(QString::fromLatin1(reply->rawHeader("Content-Length")));
    if (!total) {
        report(T::requestFailure(QStringLiteral("an announced length beyond any file size")));
        return;
    }
    if (*total == 0) {
        // Nothing would be stored, so there is no package to start.
        report(T::nothingToDownload);
        return;
    }
    transfer.total = *total;
    const qint64 free = m_freeSpace(existingFolderOf(QFileInfo(transfer.destination).absolutePath()));
    if (free >= 0 && free < transfer.total) {
        report(T::notEnoughSpace);
        return;
    }
    transfer.bodyAllowed = true;
}

void FileDownloader::writeBody(Transfer& transfer, QNetworkReply* reply)
{
    const QFileInfo destination(transfer.destination);
    // One level only: the folder is created when its parent exists.
    QDir().mkdir(destination.absolutePath());

    QSaveFile file(transfer.destination);
    if (!file.open(QIODevice::WriteOnly)) {
        report(T::fileFailure(file.error(), file.errorString()));
        return;
    }
    for (;;) {
        const QByteArray block = nextBlock(reply);
        if (file.write(block) != block.size()) {
            report(T::fileFailure(file.error(), file.errorString()));
            return; // the temporary file goes with `file`
        }
        if (m_cancel)
            break;
        transfer.received += block.size();
        emit DownloadProgress(QString::number(DownloadRules::percentOf(transfer.received, transfer.total)));
        QCoreApplication::processEvents();
        if (block.size() < 2)
            break;
    }
    if (m_cancel || transfer.received != transfer.total)
        return; // not committed: the temporary file is removed and the destination is untouched
    if (!file.commit())
        report(T::fileFailure(file.error(), file.errorString()));
}

bool FileDownloader::DownloadFile(const QString& strURL, const QString& strDestination,
                                  const QString& UserName, const QString& Password)
{
    if (m_running)
        return false;
    m_running = true;
    const auto stopped = qScopeGuard([this] { m_running = false; });
    m_cancel = false;
    Transfer transfer{strURL, strDestination};

    emit DownloadEvents(T::gettingInformation);
    QCoreApplication::processEvents();

    QUrl address(strURL);
    if (!UserName.isEmpty())
        address.setUserName(UserName);
    if (!Password.isEmpty())
        address.setPassword(Password);
    QNetworkRequest request(address);
    request.setRawHeader("Range", "bytes=" + QByteArray::number(transfer.received) + "-");
    // The announced length must count the bytes that are stored, so no compressed transfer.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(m_timeoutMs);
    const std::unique_ptr<QNetworkReply> reply(m_transport.get(request));
    reply->setReadBufferSize(kReadAhead);

    if (awaitHeaders(reply.get())) {
        checkReply(transfer, reply.get());
        if (transfer.bodyAllowed && !m_cancel) {
            QCoreApplication::processEvents();
            if (!m_cancel)
                writeBody(transfer, reply.get());
        }
    }

    bool completed = false;
    if (transfer.received == transfer.total) {
        if (!m_cancel) {
            emit DowloadComplete();
            completed = true;
        }
    } else {
        if (!m_cancel)
            report(T::connectionReset);
        m_cancel = true;
        // A file under the package's name that is not this download must not be started later.
        if (QFileInfo(strDestination).isFile())
            QFile::remove(strDestination);
    }
    reply->abort();
    return completed;
}
