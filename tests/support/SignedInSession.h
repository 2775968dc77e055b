#pragma once

#include "common/Session.h"

// A clinic that signs its users in, with one user signed in who may use every command.
class SignedInSession final : public Session
{
public:
    explicit SignedInSession(QString user = QStringLiteral("admin")) : m_user(std::move(user)) {}
    bool signInRequired() const override { return true; }
    QString userName() const override { return m_user; }

private:
    QString m_user;
};
