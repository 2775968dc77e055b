// Draws the exit dialog's four button pictures into resources/exit: a confirm and a cancel
// button, each plain and lit. Run by hand: make_exit_pictures <source folder>/resources/exit
#include "backup/BackupTexts.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int kScale = 2; // drawn at twice the on-screen size, for sharp edges on dense screens
constexpr int kWidth = 96 * kScale;
constexpr int kHeight = 35 * kScale;

struct Look
{
    QColor top;
    QColor bottom;
    QColor border;
    QColor text;
};

QImage draw(const QString& caption, bool confirm, bool lit)
{
    // Confirm is green, cancel is grey-blue; the lit version is brighter with a warm border.
    const Look look = confirm ? (lit ? Look{{126, 214, 135}, {46, 150, 70}, {255, 196, 60}, Qt::white}
                                     : Look{{88, 170, 98}, {36, 112, 54}, {24, 74, 36}, {240, 248, 240}})
                              : (lit ? Look{{150, 186, 226}, {70, 112, 170}, {255, 196, 60}, Qt::white}
                                     : Look{{120, 146, 178}, {64, 86, 120}, {40, 52, 74}, {236, 240, 246}});
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QRectF body(2, 2, kWidth - 4, kHeight - 4);
    QPainterPath outline;
    outline.addRoundedRect(body, 10 * kScale / 2.0, 10 * kScale / 2.0);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, look.top);
    fill.setColorAt(1, look.bottom);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(look.border, lit ? 3 : 2));
    painter.drawPath(outline);

    // A mark at the right, where Persian reading starts: a tick to confirm, a cross to cancel.
    const QRectF mark(kWidth - 30 * kScale, 9 * kScale, 17 * kScale, 17 * kScale);
    painter.setPen(QPen(look.text, 3 * kScale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (confirm) {
        painter.drawPolyline(QPolygonF{{mark.left(), mark.center().y()},
                                       {mark.left() + mark.width() * 0.4, mark.bottom()},
                                       {mark.right(), mark.top()}});
    } else {
        painter.drawLine(mark.topLeft(), mark.bottomRight());
        painter.drawLine(mark.topRight(), mark.bottomLeft());
    }

    QFont font(QStringLiteral("Nazli"));
    font.setPixelSize(16 * kScale);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(look.text);
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.drawText(QRectF(6 * kScale, 0, kWidth - 38 * kScale, kHeight), Qt::AlignCenter, caption);
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_exit_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    struct Picture
    {
        const char* file;
        bool confirm;
        bool lit;
    };
    for (const Picture& picture :
         {Picture{"confirm.png", true, false}, Picture{"confirm-lit.png", true, true},
          Picture{"cancel.png", false, false}, Picture{"cancel-lit.png", false, true}}) {
        const QString caption = picture.confirm ? BackupTexts::confirmPicture : BackupTexts::cancelPicture;
        const QString path = folder.filePath(QString::fromLatin1(picture.file));
        if (!draw(caption, picture.confirm, picture.lit).save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
