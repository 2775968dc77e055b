#include "RareWindows.h"

RareWindows* loadRareWindows(QString*)
{
    return &linkedRareWindows();
}
