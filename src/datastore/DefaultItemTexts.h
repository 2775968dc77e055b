#pragma once

#include <QStringList>

// The 35 item texts a new DABSH.skn starts with, seven per need in the blocks of the scoring key:
// items 1–7 survival, 8–14 love and belonging, 15–21 freedom, 22–28 power, 29–35 fun.
QStringList defaultItemTexts();
