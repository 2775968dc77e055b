#pragma once

class QCoreApplication;

// Loads Qt's own Persian texts for the standard buttons and dialogs (OK, Cancel, Yes, No, the file
// dialog), so that they speak the language of the rest of the program. False when the machine
// has no such translation; the standard texts then stay as Qt ships them.
bool loadQtPersianTexts(QCoreApplication& app);

// What both programs (Velmora and its updater) read in: right to left, the Persian typefaces the
// program was designed with and the free ones that stand in for them, and Qt's Persian texts.
void setUpPersianApplication(QCoreApplication& app);
