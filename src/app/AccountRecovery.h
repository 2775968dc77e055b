#pragma once

#include <QString>

#include <cstdio>

// The way back in when the last administrator's password is forgotten: the computer's user, who
// can write the program's data files, starts `Velmora --new-administrator` in a terminal while the
// program is closed, and types a user name and a password twice; one new administrator account is
// made in the folder's DABSH.skn. Nothing inside the running program leads here.
namespace AccountRecovery {

inline const char* const option = "--new-administrator";

bool isAsked(int argc, char* argv[]);

// Reads the name and the password twice from `in` (echo off on a terminal), writes what it says to
// `out`; the exit code of the program.
int run(const QString& folder, std::FILE* in, std::FILE* out);

} // namespace AccountRecovery
