#pragma once

#include "common/AppContext.h"
#include "common/VendorLinks.h"

#include <QWidget>

class FileDownloader;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The updater's window: on the user's command it downloads the installation package into the
// updater's folder, shows the progress, and on success starts the package and ends the updater.
// The caption of the download button is the window's only record of whether a download runs.
class Progress final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Progress)
public:
    // The package's address is part of the window's design; tests hand it a loopback address.
    explicit Progress(const AppContext& context, const QString& packageUrl = VendorLinks::installationPackage,
                      QWidget* parent = nullptr);
    ~Progress() override;

    FileDownloader* downloader() const { return m_downloader; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void downloadClicked();
    void downloadFailed(const QString& text);
    void downloadCompleted();
    void backToIdle();
    void startPackage();
    void endUpdater();

    AppContext m_context;
    QString m_destination;
    FileDownloader* m_downloader = nullptr;
    QLineEdit* m_address = nullptr;    // Text
    QProgressBar* m_bar = nullptr;     // ProgressBar
    QLabel* m_percent = nullptr;       // Label4
    QPushButton* m_download = nullptr; // cmdUpdate
    QTimer* m_percentTimer = nullptr;  // Timer1
};
