#include "FileLinks.h"

#include <QFileInfo>

namespace FileLinks {

QString realTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    // A chain that ends at a file: the system's own answer, folder links within it included.
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A chain that ends at a file not made yet is followed link by link; as the system does, a
    // chain longer than this is taken as a loop.
    QString current = info.absoluteFilePath();
    for (int step = 0; step < 40; ++step) {
        const QFileInfo link(current);
        if (!link.isSymLink())
            return current;
        const QString target = link.symLinkTarget();
        if (target.isEmpty())
            return current;
        current = target;
    }
    return info.absoluteFilePath();
}

} // namespace FileLinks
