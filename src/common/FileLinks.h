#pragma once

#include <QString>

namespace FileLinks {

// The file a write to this path really replaces: at the end of a chain of symbolic links, even when
// that file does not exist yet; a path that is no link is given back as it is, made absolute. A
// backup, restore or export writes beside the real file and renames over it, so that a link (to a
// clinic's network drive, say) stays a link.
QString realTarget(const QString& path);

} // namespace FileLinks
