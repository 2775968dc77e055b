#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <functional>

class QEventLoop;
class QNetworkReply;

// Downloads one HTTP resource into one file, on the user-interface thread: DownloadFile returns
// only when the download has ended, and meanwhile keeps the window responsive, so the host's
// handlers (Cancel included) run during the call.
//
// The body is written under a temporary name beside the destination and renamed to it only when
// the whole announced length has arrived, so a cancelled or broken download never leaves a file
// under the package's name that could be started later.
class FileDownloader final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDownloader)
public:
    // The free bytes for a new file in an existing folder; -1 when unknown.
    using FreeSpaceQuery = std::function<qint64(const QString& folder)>;

    explicit FileDownloader(QObject* parent = nullptr);
    ~FileDownloader() override;

    // True when the whole announced length was stored under strDestination and DowloadComplete
    // was raised; false for every failure, a cancel and a reply without content.
    // A call made while another is running is refused with false.
    bool DownloadFile(const QString& strURL, const QString& strDestination, const QString& UserName = {},
                      const QString& Password = {});
    // Takes effect while waiting for the server, or after the block being written.
    void Cancel();
    bool isDownloading() const { return m_running; }

    // A server that stays silent this long, before or during the body, ends the download.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void setFreeSpaceQuery(FreeSpaceQuery query) { m_freeSpace = std::move(query); }

    static constexpr qint64 kBlockSize = 1024;

signals:
    void DownloadErrors(const QString& strError);
    void DownloadEvents(const QString& strEvent);
    void DowloadComplete();
    void DownloadProgress(const QString& intPercent);

private:
    struct Transfer;
    void report(const QString& failure);
    // Waits for a sign of the reply or a cancel; a quitting application counts as a cancel.
    void waitFor(QNetworkReply* reply);
    bool awaitHeaders(QNetworkReply* reply);
    QByteArray nextBlock(QNetworkReply* reply);
    void checkReply(Transfer& transfer, QNetworkReply* reply);
    void writeBody(Transfer& transfer, QNetworkReply* reply);

    QNetworkAccessManager m_transport;
    FreeSpaceQuery m_freeSpace;
    QEventLoop* m_waiting = nullptr;
    int m_timeoutMs = 30000;
    bool m_cancel = false;
    bool m_running = false;
};
