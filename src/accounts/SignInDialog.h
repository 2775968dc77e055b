#pragma once

#include "AccountStore.h"
#include "common/BackgroundWork.h"

#include <QDialog>
#include <QString>

#include <optional>

class AccountSession;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The skinned window that asks for a user name and password. The password is checked against its
// stored hash beside the window, which keeps repainting and says it is checking; a wrong one
// clears the password box and, from the fifth in a row, the window counts down the wait before the
// next try. What is typed is never kept, logged or shown.
class SignInDialog final : public QDialog
{
    Q_OBJECT
public:
    enum class Purpose
    {
        SignIn,          // at the start: any account; leaving ends the program
        Unlock,          // the program is locked: the same user or an administrator
        ConfirmLeaving,  // a locked test ends early: a clinician or an administrator, nobody signs in
        InterruptedTest, // the program was ended during a locked test: a clinician or an administrator
    };

    SignInDialog(AccountSession& session, Purpose purpose, QWidget* parent = nullptr);
    ~SignInDialog() override;

    // The account whose password was right, once the dialog is accepted.
    const std::optional<Account>& account() const { return m_account; }
    bool isChecking() const { return m_check.isWaiting(); }

    // Opens the dialog and waits; true when an account that fits the purpose signed in. The
    // session takes the account unless the purpose is ConfirmLeaving.
    static bool run(AccountSession& session, Purpose purpose, QWidget* parent = nullptr);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void submit();
    void checked(const QString& typedName, const std::optional<Account>& account, bool right);
    void showWait();
    bool fitsPurpose(const Account& account) const;

    AccountSession& m_session;
    Purpose m_purpose;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_signIn = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_countdown = nullptr;
    std::optional<Account> m_account;
    BackgroundWork m_check;
};
