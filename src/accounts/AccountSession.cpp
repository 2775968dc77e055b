#include "AccountSession.h"

bool roleAllows(Role role, Command command)
{
    switch (role) {
    case Role::Administrator:
        return true;
    case Role::Clinician:
        switch (command) {
        case Command::Register:
        case Command::RunTest:
        case Command::AnswerSheet:
        case Command::Scoring:
        case Command::Charts:
        case Command::Print:
        case Command::Export:
        case Command::SubjectFinder:
        case Command::LeaveLockedTest:
            return true;
        default:
            return false;
        }
    case Role::Reception:
        return command == Command::Register || command == Command::RunTest;
    }
    return false;
}

AccountSession::AccountSession(const AppContext& context, const Clock& clock)
    : m_context{context.dataFolder, context.sharedFolder}, m_throttle(clock)
{
}

bool AccountSession::allows(Command command) const
{
    return isSignedIn() && roleAllows(m_role, command);
}

void AccountSession::signedIn(const Account& account)
{
    const bool changed = account.name != m_userName || account.role != m_role;
    m_userName = account.name;
    m_role = account.role;
    m_throttle.succeeded();
    if (changed)
        emit userChanged();
}

void AccountSession::signedOut()
{
    m_userName.clear();
    emit userChanged();
}
