#pragma once

#include <QString>

class ClinicServerActions;
class Prompts;

// Before the first window opens: when Server.ini says the clinic works on its server, the program
// folder's databases are switched to it, with the password from .pgpass or asked for. When that
// fails the user hears why and chooses between this computer's files and quitting.
// False when the program must end.
bool startOnClinicServer(const QString& folder, ClinicServerActions& actions, Prompts& prompts,
                         const QString& pgpassPath = {});
