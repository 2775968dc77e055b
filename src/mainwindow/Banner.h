#pragma once

#include <QImage>
#include <QSize>

#include <memory>

class QThread;

// The main window's banner: the product name on a soft gradient, drawn rather than shipped as a
// picture file.
namespace Banner {

QSize size();
QImage draw();

// Draws the banner on a thread of its own while the program opens its data files, so that the
// first window finds it ready: its text needs the font configuration and two typefaces read,
// which take several milliseconds. Only where the platform lays out text on any thread (X11);
// elsewhere the window draws it itself. Waits for the thread when it goes.
class Preparation final
{
public:
    Preparation();
    explicit Preparation(bool onThread);
    ~Preparation();
    Preparation(const Preparation&) = delete;
    Preparation& operator=(const Preparation&) = delete;

private:
    friend QImage take();
    std::unique_ptr<QThread> m_thread;
    QImage m_image;
};

// The banner prepared, once its drawing is done; drawn now when none was prepared or it was taken.
QImage take();

} // namespace Banner
