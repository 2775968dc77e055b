#pragma once

#include "AccountStore.h"
#include "common/AppContext.h"
#include "common/BackgroundWork.h"

#include <QDialog>

class AccountSession;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// A new account (or the first administrator, which turns sign-in on), or a new password for one:
// the password twice, hashed beside the window, then stored. The boxes are cleared whatever
// happens; a refusal stays on screen in the window's status line.
class AccountDialog final : public QDialog
{
    Q_OBJECT
public:
    enum class Kind
    {
        FirstAdministrator,
        NewAccount,
        NewPassword
    };
    AccountDialog(const AppContext& context, Prompts& prompts, Kind kind, const QString& account = {},
                  QWidget* parent = nullptr);

    // The account stored, once accepted.
    const QString& storedName() const { return m_storedName; }
    bool isHashing() const { return m_hashing.isWaiting(); }

private:
    void save();

    AppContext m_context;
    QString m_folder;
    Prompts& m_prompts;
    Kind m_kind;
    QString m_account;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_repeat = nullptr;
    QComboBox* m_role = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_save = nullptr;
    QString m_storedName;
    BackgroundWork m_hashing;
};

// The administrator's window: the accounts and their roles, a new account, another role, a new
// password for an account, and the minutes without input after which the program locks.
class AccountsWindow final : public QDialog
{
    Q_OBJECT
public:
    AccountsWindow(AccountSession& session, Prompts& prompts, QWidget* parent = nullptr);

private:
    void reload();
    QString chosenAccount() const;
    void addAccount();
    void changeRole();
    void newPassword();
    void saveLockMinutes();

    AccountSession& m_session;
    Prompts& m_prompts;
    QListWidget* m_list = nullptr;
    QComboBox* m_role = nullptr;
    QLineEdit* m_lockMinutes = nullptr;
};
