#pragma once

#include <QString>

class Clock;
class Desktop;
class Navigator;
class Prompts;
class Session;

// What every window needs from its surroundings: where the program's files are and the
// interfaces to the desktop. The program passes the real ones, tests pass fakes.
struct AppContext
{
    QString programFolder;
    Prompts* prompts = nullptr;
    Desktop* desktop = nullptr;
    Navigator* navigator = nullptr;
    Clock* clock = nullptr;
    // Null where the clinic does not use sign-in.
    Session* session = nullptr;
};
