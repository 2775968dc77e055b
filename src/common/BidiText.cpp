#include "BidiText.h"

namespace BidiText {

bool needsIsolation(const QString& value)
{
    bool strongSeen = false;
    bool reorderable = false;
    for (const QChar c : value) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
            // Right to left from its first strong character on, as the text around it.
            if (!strongSeen)
                return false;
            reorderable = true;
            break;
        case QChar::DirL:
            strongSeen = true;
            break;
        case QChar::DirEN:
        case QChar::DirAN:
        case QChar::DirWS:
            break;
        default: // signs, quotes, slashes, controls: these move with the text around them
            reorderable = true;
            break;
        }
    }
    return reorderable;
}

QString isolated(const QString& value)
{
    if (!needsIsolation(value))
        return value;
    return kLeftToRightIsolate + value + kPopDirectionalIsolate;
}

} // namespace BidiText
