#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <functional>
#include <utility>

// The first picture of the program's first window. Work that window does not need is started once
// its picture is on the display, so that it does not hold the picture back.
namespace FirstFrame {

// Calls `seen` once, as the first window of the program starts painting its first picture.
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

// Called while a picture is painted: calls `then` (with `context` still alive) once the picture has
// reached the display. The painting finishes first; on X11 the server is then asked a question,
// and its answer comes only after it has drawn the picture. Work started earlier would compete
// with the server for the processor while it draws.
void whenPictureShown(QObject* context, std::function<void()> then);

} // namespace FirstFrame
