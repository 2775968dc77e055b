#include "LogoFile.h"

#include "datastore/ClinicServer.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace LogoFile {

QString path(const QString& programFolder)
{
    return QDir(programFolder).filePath(kFileName);
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

QImage load(const QString& programFolder)
{
    if (!ClinicServer::isInUse(programFolder))
        return read(path(programFolder));
    QByteArray picture = ClinicServer::storedLogo(programFolder);
    QBuffer buffer(&picture);
    QImageReader reader(&buffer);
    return readFrom(reader);
}

bool store(const QImage& logo, const QString& programFolder)
{
    if (!ClinicServer::isInUse(programFolder))
        return write(logo, programFolder);
    if (logo.isNull())
        return false;
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    return QImageWriter(&buffer, QByteArrayLiteral("png")).write(logo) &&
           ClinicServer::storeLogo(programFolder, picture);
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
