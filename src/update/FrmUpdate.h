#pragma once

#include "common/AppContext.h"
#include "common/VendorLinks.h"
#include "networkmodule/NetworkModule.h"
#include "release/UpdateServer.h"

#include <QByteArray>
#include <QDialog>
#include <QUrl>

class SmallFetch;
class QLabel;
class QPushButton;

// The update check: asks the vendor's update server for the current version and, when it is newer
// than this program, starts the updater program and closes as accepted: the caller then ends this
// program, which the updater replaces. The question runs in the background, so the window keeps
// painting while the server is slow or silent. A version file counts only with a valid signature
// by the release key beside it; any other is taken as no answer from the server.
class FrmUpdate final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmUpdate)
public:
    // The version file's address and the release key are fixed in the program; tests hand a
    // loopback address and a key of their own instead.
    explicit FrmUpdate(const AppContext& context, const QUrl& versionFile = UpdateServer::versionFile(),
                       const QString& releaseKey = VendorLinks::releaseKey, QWidget* parent = nullptr);
    ~FrmUpdate() override;

    // A server that stays silent this long counts as no connection.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    bool isChecking() const;

    // Every way of closing the window ends a running check and gives the pointer back.
    void done(int result) override;

private:
    void startCheck();
    void versionArrived(const QByteArray& versionFile);
    void signatureArrived(const QByteArray& versionFile, const QByteArray& signature);
    void checkFinished(const QString& versionText);
    void endBusy();
    QString titleText() const;

    AppContext m_context;
    QUrl m_versionFile;
    QString m_releaseKey;
    SmallFetch* m_fetch = nullptr; // none where the network module cannot be used
    NetworkModule::Problem m_moduleProblem = NetworkModule::Problem::None;
    int m_timeoutMs = 20000;
    bool m_busyPointer = false;
    QLabel* m_title = nullptr;      // Label1
    QPushButton* m_check = nullptr; // Command1
};
