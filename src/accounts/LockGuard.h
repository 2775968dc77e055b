#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class AccountSession;
class QTimer;
class QWidget;

// Locks the program after the administrator's minutes without input, or when asked: every window
// gets an opaque cover over all it shows, and the sign-in window waits for the same user or an
// administrator. The windows stay as they were underneath, with whatever was typed in them.
class LockGuard final : public QObject
{
    Q_OBJECT
public:
    explicit LockGuard(AccountSession& session, QObject* parent = nullptr);
    ~LockGuard() override;

    // Starts watching the input, with the lock time as stored now (read again on each call).
    void start();
    // Covers every window and waits for the sign-in; returns once unlocked.
    void lockNow();
    bool isLocked() const { return m_locked; }
    // While a locked client test runs, the client's pauses must not lock the program under it.
    void setSuspended(bool suspended);
    int lockMilliseconds() const;

    // The covers only, without the sign-in window (tests look under them).
    void coverWindows();
    void uncoverWindows();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AccountSession& m_session;
    QTimer* m_idle = nullptr;
    bool m_locked = false;
    bool m_suspended = false;
    QList<QPointer<QWidget>> m_covers;
};
