#include "FirstFrame.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>

#include <xcb/xcb.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

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

// Maps every page of [bits, bits + bytes) into the process: by the kernel in one call where it can,
// then by one read of each page, as a virtual machine may map a page for itself only when it is
// first touched. Reading leaves the contents as they were.
void mapPages(const uchar* bits, qsizetype bytes)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0)
        return;
#ifdef MADV_POPULATE_WRITE
    const auto start = reinterpret_cast<quintptr>(bits) & ~(static_cast<quintptr>(pageSize) - 1);
    const auto end = reinterpret_cast<quintptr>(bits) + static_cast<quintptr>(bytes);
    // Older kernels refuse it, and the reads map the pages.
    (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#endif
    for (qsizetype offset = 0; offset < bytes; offset += pageSize)
        (void)*static_cast<const volatile uchar*>(bits + offset);
}

} // namespace

BackingStoreWarmUp::BackingStoreWarmUp(QWidget* window)
{
    window->winId(); // the native window, which the backing store belongs to
    QBackingStore* store = window->backingStore();
    if (!store)
        return;
    store->resize(window->size()); // as the first paint would; the same size then keeps it
    // Where the backing store is an image in this process's memory, as on X11.
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return;
    const auto* image = static_cast<const QImage*>(device);
    if (image->isNull())
        return;
    try {
        m_thread = std::thread(mapPages, image->constBits(), image->sizeInBytes());
    } catch (const std::system_error&) {
        // No thread to be had: the pages are mapped as they are painted.
    }
}

BackingStoreWarmUp::~BackingStoreWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}

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
