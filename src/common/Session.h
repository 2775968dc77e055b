#pragma once

#include <QString>

enum class Command;

// Who is using the program now, for the windows that record or restrict what is done. A clinic
// that has not turned sign-in on has no session object at all (AppContext::session is null), and
// then every command is offered as before.
class Session
{
public:
    virtual ~Session() = default;

    // The clinic has turned sign-in on: client data is shown only to a signed-in user.
    virtual bool signInRequired() const = 0;
    // The signed-in user's name; empty while nobody is signed in.
    virtual QString userName() const = 0;
    // Whether the signed-in user's role may use a command (common/Permissions.h); nobody signed in
    // may use none.
    virtual bool allows(Command) const { return true; }
};
