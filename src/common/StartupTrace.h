#pragma once

#include "FirstFrame.h"

#include <QtGlobal>

#include <cstdio>
#include <ctime>

// Marks of the start-up steps for the start-up benchmark: with VELMORA_STARTUP_TRACE set, each mark
// writes "startup <monotonic ns> <step>" to the error output. The first window writes "first paint"
// as it starts painting its first picture and "first picture shown" once the display has it. The
// benchmark subtracts the time it started the process. Without the variable a mark costs one test
// of a flag.
namespace StartupTrace {

inline bool enabled()
{
    static const bool on = qEnvironmentVariableIsSet("VELMORA_STARTUP_TRACE");
    return on;
}

inline void mark(const char* step)
{
    if (!enabled())
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "startup %lld %s\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                 step);
    std::fflush(stderr);
}

// Marks the first picture of a window when tracing is on.
inline void watchFirstFrame(QCoreApplication* application)
{
    if (enabled())
        FirstFrame::onFirstFrame(application, [application] {
            mark("first paint");
            FirstFrame::whenPictureShown(application, [] { mark("first picture shown"); });
        });
}

} // namespace StartupTrace
