#include "LogoFile.h"

#include "datastore/ClinicServer.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace LogoFile {

QString path(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(kFileName);
}

namespace {

QImage readFrom(QImageReader& reader)
{
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

QImage read(const QString& filePath)
{
    QImageReader reader(filePath);
    return readFrom(reader);
}

QImage load(const QString& dataFolder)
{
    if (!ClinicServer::isInUse(dataFolder))
        return read(path(dataFolder));
    QByteArray picture = ClinicServer::storedLogo(dataFolder);
    QBuffer buffer(&picture);
    QImageReader reader(&buffer);
    return readFrom(reader);
}

bool store(const QImage& logo, const QString& dataFolder)
{
    if (!ClinicServer::isInUse(dataFolder))
        return write(logo, dataFolder);
    if (logo.isNull())
        return false;
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    return QImageWriter(&buffer, QByteArrayLiteral("png")).write(logo) &&
           ClinicServer::storeLogo(dataFolder, picture);
}

bool write(const QImage& logo, const QString& dataFolder)
{
    if (logo.isNull())
        return false;
    QSaveFile file(path(dataFolder));
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
