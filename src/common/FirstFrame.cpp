#include "FirstFrame.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace FirstFrame {

namespace {

// A round trip to the X server: it answers only after every request sent before, the picture's
// among them.
void waitForDisplay()
{
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
}

} // namespace

void whenPictureShown(QObject* context, std::function<void()> then)
{
    // Queued: the painting and the sending of the picture end before the next turn of the loop.
    QMetaObject::invokeMethod(
        context,
        [then = std::move(then)] {
            waitForDisplay();
            then();
        },
        Qt::QueuedConnection);
}

} // namespace FirstFrame
