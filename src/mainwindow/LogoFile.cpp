#include "LogoFile.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace LogoFile {

QString path(const QString& programFolder)
{
    return QDir(programFolder).filePath(kFileName);
}

QImage read(const QString& filePath)
{
    QImageReader reader(filePath);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

bool write(const QImage& logo, const QString& programFolder)
{
    if (logo.isNull())
        return false;
    QSaveFile file(path(programFolder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // PNG loses nothing and keeps a transparent background; the readers decide by content, so the
    // name VMpic.jpg does not matter to them.
    QImageWriter writer(&file, QByteArrayLiteral("png"));
    if (!writer.write(logo)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace LogoFile
