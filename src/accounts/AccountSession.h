#pragma once

#include "AccountStore.h"
#include "SignInThrottle.h"
#include "common/AppContext.h"
#include "common/Permissions.h"
#include "common/Session.h"

#include <QObject>
#include <QString>

#include <functional>

class Clock;

// Whether a role may use a command: the administrator everything; the clinician registration,
// tests, scoring, charts, prints and exports; reception registration and starting a test.
bool roleAllows(Role role, Command command);

// The signed-in user of a program whose clinic has turned sign-in on.
class AccountSession final : public QObject, public Session
{
    Q_OBJECT
public:
    AccountSession(const AppContext& context, const Clock& clock);

    bool signInRequired() const override { return true; }
    QString userName() const override { return m_userName; }
    bool allows(Command command) const override;

    bool isSignedIn() const { return !m_userName.isEmpty(); }
    Role role() const { return m_role; }
    const QString& folder() const { return m_context.dataFolder; }
    // The folders, for the skins of the sign-in windows.
    const AppContext& context() const { return m_context; }
    SignInThrottle& throttle() { return m_throttle; }

    // The account is signed in (or its role changed); a sign-in through the dialog also tells
    // onSignedIn.
    void signedIn(const Account& account);
    void signedOut();

    // What a sign-in through the dialog, a wrong one and a change of the accounts pass on (the audit
    // trail listens).
    std::function<void(const QString& user)> onSignedIn;
    std::function<void(const QString& typedUser)> onSignInFailed;
    std::function<void(const QString& what, const QString& account)> onAccountChanged;

signals:
    void userChanged();

private:
    AppContext m_context;
    QString m_userName;
    Role m_role = Role::Reception;
    SignInThrottle m_throttle;
};
