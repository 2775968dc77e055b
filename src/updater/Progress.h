#pragma once

#include "common/AppContext.h"
#include "common/VendorLinks.h"
#include "release/ReleaseSignature.h"
#include "release/UpdateServer.h"

#include <QWidget>

class BackgroundWork;
class BoundedFetch;
class FileDownloader;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The updater's window: on the user's command it downloads the installation package into the
// updater's folder, shows the progress, and on success starts the package and ends the updater.
// The caption of the download button is the window's only record of whether a download runs.
//
// A downloaded package is started or opened only when the signature the server offers beside it
// (the package's address and ".minisig") holds for the release key; any other is removed.
class Progress final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Progress)
public:
    // The package's address and the release key are part of the window's design; tests hand it a
    // loopback address and a key of their own.
    explicit Progress(const AppContext& context,
                      const QString& packageUrl = UpdateServer::installationPackage(),
                      const QString& releaseKey = VendorLinks::releaseKey, QWidget* parent = nullptr);
    ~Progress() override;

    FileDownloader* downloader() const { return m_downloader; }
    // From a completed download until its signature is judged.
    bool isCheckingSignature() const { return m_checking; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void downloadClicked();
    void downloadFailed(const QString& text);
    void downloadCompleted();
    void signatureArrived(const QByteArray& signature);
    void signatureJudged(ReleaseSignature::Verdict verdict);
    void refusePackage(const QString& reason);
    void abandonCheck();
    void backToIdle();
    void startPackage();
    void endUpdater();

    AppContext m_context;
    QString m_destination;
    QString m_signatureUrl;
    QString m_releaseKey;
    bool m_checking = false;
    FileDownloader* m_downloader = nullptr;
    BoundedFetch* m_signatureFetch = nullptr;
    BackgroundWork* m_verification = nullptr;
    QLineEdit* m_address = nullptr;    // Text
    QProgressBar* m_bar = nullptr;     // ProgressBar
    QLabel* m_percent = nullptr;       // Label4
    QPushButton* m_download = nullptr; // cmdUpdate
    QTimer* m_percentTimer = nullptr;  // Timer1
};
