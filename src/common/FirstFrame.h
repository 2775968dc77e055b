#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <functional>
#include <utility>

// Calls `seen` once, as the first window of the program starts painting its first picture. Work
// the first window does not need is started from here, so that it does not hold the window back.
namespace FirstFrame {

class Watch final : public QObject
{
public:
    Watch(QCoreApplication* application, std::function<void()> seen)
        : QObject(application), m_seen(std::move(seen))
    {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            parent()->removeEventFilter(this);
            std::exchange(m_seen, nullptr)();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_seen;
};

inline void onFirstFrame(QCoreApplication* application, std::function<void()> seen)
{
    new Watch(application, std::move(seen));
}

} // namespace FirstFrame
