#pragma once

#include <QString>

class Clock;
class Desktop;
class Navigator;
class Prompts;
class Session;

// What every window needs from its surroundings: where the user's data files are and the
// interfaces to the desktop. The program passes the real ones, tests pass fakes.
struct AppContext
{
    // DABSH.skn, Theme.skn, VMpic.jpg, skin/skin.txt, Back/, Server.ini and the lock: beside the
    // program in a portable copy, in the user's own data folder where the program is installed.
    QString dataFolder;
    // The shipped, read-only files (skin/1.skn … skin/48.skn): the data folder itself in a portable
    // copy, the package's share/velmora folder where installed.
    QString sharedFolder;
    Prompts* prompts = nullptr;
    Desktop* desktop = nullptr;
    Navigator* navigator = nullptr;
    Clock* clock = nullptr;
    // Null where the clinic does not use sign-in.
    Session* session = nullptr;
};
