#include "Banner.h"

#include "common/Twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QThread>

namespace Banner {

namespace {

Preparation* current = nullptr; // the one a start-up made, while it lasts

} // namespace

QSize size()
{
    return twipsSize(6480, 2400);
}

QImage draw()
{
    // Opaque, as a window's own pixels are: the text is smoothed the same way.
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor(28, 64, 112));
    gradient.setColorAt(1, QColor(74, 140, 170));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(255, 255, 255));
    QFont title(QStringLiteral("B Titr"));
    title.setPointSize(22);
    painter.setFont(title);
    painter.drawText(image.rect().adjusted(0, 8, 0, -image.height() / 3), Qt::AlignCenter,
                     QStringLiteral("ولمورا Velmora"));
    QFont subtitle(QStringLiteral("B Nazanin"));
    subtitle.setPointSize(12);
    painter.setFont(subtitle);
    painter.drawText(image.rect().adjusted(0, image.height() / 2, 0, -6), Qt::AlignCenter,
                     QStringLiteral("سنجش نيازهاي پنجگانه"));
    return image;
}

Preparation::Preparation() : Preparation(QGuiApplication::platformName() == QLatin1String("xcb")) {}

Preparation::Preparation(bool onThread)
{
    if (!onThread)
        return;
    m_thread.reset(QThread::create([this] {
        m_image = draw();
        // The window's own text, in both typefaces, finds the fonts and their stand-ins known.
        (void)QFontMetrics(QFont(QStringLiteral("B Nazanin")))
            .horizontalAdvance(QStringLiteral("ولمورا Velmora"));
    }));
    m_thread->start();
    current = this;
}

Preparation::~Preparation()
{
    if (current == this)
        current = nullptr;
    if (m_thread)
        m_thread->wait();
}

QImage take()
{
    if (!current)
        return draw();
    Preparation* preparation = current;
    current = nullptr; // a later window draws its own
    preparation->m_thread->wait();
    return std::move(preparation->m_image);
}

} // namespace Banner
