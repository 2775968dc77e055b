#include "RareWindows.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT RareWindows* velmoraRareWindows()
{
    return &linkedRareWindows();
}
