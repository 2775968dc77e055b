#pragma once

#include "common/AppContext.h"
#include "datastore/ServerSettings.h"

#include <QDialog>

#include <optional>

class ClinicServerActions;
class QCheckBox;
class QLabel;
class QLineEdit;

// The clinic database window: where the clinic's shared PostgreSQL server is, a connection test,
// copying this computer's data to the server, and switching between the server and the program
// folder's own files. The choice is kept in Server.ini; the password never is.
class FrmClinicServer final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmClinicServer)
public:
    FrmClinicServer(const AppContext& context, ClinicServerActions& actions, QWidget* parent = nullptr);

private:
    void showSettings(const ServerSettings& settings);
    // What protects the connection in use, under the fields; nothing on this computer's files.
    void showSecurityInUse();
    void chooseCertificateAuthority();
    // The settings the fields describe; nullopt (after a "خطا" box, focus on the field) when one is
    // missing or out of range.
    std::optional<ServerSettings> typedSettings();
    // The typed password, or the one .pgpass keeps for these settings when none is typed.
    QString passwordFor(const ServerSettings& settings) const;

    void testConnection();
    void copyToServer();
    void useServer();
    void useFolderFiles();

    void showError(const QString& text);
    void showDone(const QString& text);

    AppContext m_context;
    ClinicServerActions& m_actions;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_requireEncryption = nullptr;
    QLineEdit* m_certificateAuthority = nullptr;
    QLabel* m_securityLine = nullptr;
};
