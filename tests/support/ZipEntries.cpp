#include "ZipEntries.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace {

struct ArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

Archive openArchive(const QString& path)
{
    int error = 0;
    return Archive(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
}

} // namespace

namespace ZipEntries {

QStringList names(const QString& archivePath)
{
    const Archive archive = openArchive(archivePath);
    if (!archive)
        return {};
    QStringList result;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS))
            result << QString::fromUtf8(name);
    }
    return result;
}

QByteArray read(const QString& archivePath, const QString& entryName)
{
    const Archive archive = openArchive(archivePath);
    if (!archive)
        return {};
    const QByteArray name = entryName.toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive.get(), name.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return {};
    zip_file_t* file = zip_fopen(archive.get(), name.constData(), 0);
    if (!file)
        return {};
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
    // A damaged entry fails its checksum only when read past its end.
    char beyond = 0;
    const bool atEnd = zip_fread(file, &beyond, 1) == 0;
    zip_fclose(file);
    if (got != static_cast<zip_int64_t>(stat.size) || !atEnd)
        return {};
    return bytes;
}

} // namespace ZipEntries
