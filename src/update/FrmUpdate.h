#pragma once

#include "common/AppContext.h"
#include "common/VendorLinks.h"

#include <QDialog>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QUrl>

class QLabel;
class QPushButton;

// The update check: asks the vendor's update server for the current version and, when it is newer
// than this program, starts the updater program and closes as accepted: the caller then ends this
// program, which the updater replaces. The question runs in the background, so the window keeps
// painting while the server is slow or silent.
class FrmUpdate final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmUpdate)
public:
    // The version file's address is fixed in the program; tests hand a loopback address instead.
    explicit FrmUpdate(const AppContext& context,
                       const QUrl& versionFile = QUrl(VendorLinks::latestVersionFile),
                       QWidget* parent = nullptr);
    ~FrmUpdate() override;

    // A server that stays silent this long counts as no connection.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    bool isChecking() const { return m_reply != nullptr; }

    // Every way of closing the window ends a running check and gives the pointer back.
    void done(int result) override;

private:
    void startCheck();
    void checkFinished();
    void endBusy();
    QString titleText() const;

    AppContext m_context;
    QUrl m_versionFile;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    int m_timeoutMs = 20000;
    bool m_busyPointer = false;
    QLabel* m_title = nullptr;      // Label1
    QPushButton* m_check = nullptr; // Command1
};
