#pragma once

#include "RareWindows.h"

// The program's loadRareWindows(): the module next to the program. This one from a given folder.
RareWindows* loadRareWindowsFrom(const QString& folder, QString* error);
