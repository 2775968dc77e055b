#include "LockGuard.h"

#include "AccountSession.h"
#include "AccountStore.h"
#include "AccountTexts.h"
#include "SignInDialog.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// An opaque sheet over everything a window shows, kept on top of the window's children and at the
// window's size.
class LockCover final : public QWidget
{
public:
    explicit LockCover(QWidget* window) : QWidget(window)
    {
        setObjectName(QStringLiteral("LockCover"));
        setAutoFillBackground(true);
        QPalette shade = window->palette();
        QColor colour = shade.color(QPalette::Window);
        colour.setAlpha(255);
        shade.setColor(QPalette::Window, colour);
        setPalette(shade);
        auto* text = new QLabel(AccountTexts::unlockHeading, this);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignCenter);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(text);
        setGeometry(window->rect());
        window->installEventFilter(this);
        show();
        raise();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent()) {
            if (event->type() == QEvent::Resize)
                setGeometry(parentWidget()->rect());
            // A child shown later would lie above the cover.
            else if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished ||
                     event->type() == QEvent::LayoutRequest)
                QTimer::singleShot(0, this, [this] { raise(); });
        }
        return false;
    }
};

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}

} // namespace

LockGuard::LockGuard(AccountSession& session, QObject* parent) : QObject(parent), m_session(session)
{
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    connect(m_idle, &QTimer::timeout, this, &LockGuard::lockNow);
}

LockGuard::~LockGuard()
{
    uncoverWindows();
}

int LockGuard::lockMilliseconds() const
{
    return AccountStore::lockMinutes(m_session.folder()) * 60 * 1000;
}

void LockGuard::start()
{
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
    m_idle->setInterval(lockMilliseconds());
    if (!m_suspended)
        m_idle->start();
}

void LockGuard::setSuspended(bool suspended)
{
    m_suspended = suspended;
    if (suspended)
        m_idle->stop();
    else
        m_idle->start();
}

bool LockGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_locked && !m_suspended && isInput(event->type()) && watched->isWidgetType())
        m_idle->start();
    return QObject::eventFilter(watched, event);
}

void LockGuard::coverWindows()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (!window->isVisible() || type == Qt::Popup || type == Qt::ToolTip ||
            qobject_cast<SignInDialog*>(window))
            continue;
        m_covers.append(new LockCover(window));
    }
}

void LockGuard::uncoverWindows()
{
    for (const QPointer<QWidget>& cover : std::as_const(m_covers))
        delete cover.data();
    m_covers.clear();
}

void LockGuard::lockNow()
{
    if (m_locked || m_suspended || !m_session.isSignedIn())
        return;
    m_locked = true;
    m_idle->stop();
    coverWindows();
    // The dialog cannot be cancelled; it returns once the same user or an administrator is in, or
    // when the program is ending, which leaves the covers on.
    if (!SignInDialog::run(m_session, SignInDialog::Purpose::Unlock))
        return;
    uncoverWindows();
    m_locked = false;
    m_idle->setInterval(lockMilliseconds());
    m_idle->start();
}
