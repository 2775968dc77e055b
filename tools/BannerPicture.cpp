// Draws the main window's banner, the product name on a soft gradient, into
// resources/banner/banner.png. The program shows the picture as it is: drawing it at every start
// would read two typefaces and lay out their text before the first window could show.
// Run by hand: make_banner_picture <source folder>/resources/banner
// With --pixels <picture> <file> it writes the picture's pixels as they lie in memory, which the
// build does for the program: a decoded picture is shown without a picture decoder.
#include "common/Twips.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

QImage draw()
{
    // Opaque, as a window's own pixels are: the text is smoothed the same way.
    QImage image(twipsSize(6480, 2400), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor(28, 64, 112));
    gradient.setColorAt(1, QColor(74, 140, 170));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(255, 255, 255));
    QFont title(QStringLiteral("Titr"));
    title.setPointSize(22);
    painter.setFont(title);
    painter.drawText(image.rect().adjusted(0, 8, 0, -image.height() / 3), Qt::AlignCenter,
                     QStringLiteral("ولمورا Velmora"));
    QFont subtitle(QStringLiteral("Nazli"));
    subtitle.setPointSize(12);
    painter.setFont(subtitle);
    painter.drawText(image.rect().adjusted(0, image.height() / 2, 0, -6), Qt::AlignCenter,
                     QStringLiteral("سنجش نيازهاي پنجگانه"));
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--pixels") == 0) {
        const QImage picture = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
        QFile file(QString::fromLocal8Bit(argv[3]));
        const qint64 size = picture.sizeInBytes();
        if (picture.isNull() || !file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(picture.constBits()), size) != size || !file.flush()) {
            std::fprintf(stderr, "could not write the pixels of %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_banner_picture <folder>\n");
        return 2;
    }
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("banner.png"));
    if (!draw().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
