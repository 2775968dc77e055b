#pragma once

class QCoreApplication;

// Loads Qt's own Persian texts for the standard buttons and dialogs (OK, Cancel, Yes, No, the file
// dialog), so that they speak the language of the rest of the program. False when the machine
// has no such translation; the standard texts then stay as Qt ships them.
bool loadQtPersianTexts(QCoreApplication& app);
