#pragma once

class QObject;
class SmallFetch;

// What the network module (velmora_network.so) hands the program it is loaded into. The module
// holds Qt's network side only, never the program's own libraries, so nothing of the program
// exists twice; the C++ types that cross (SmallFetch, Qt's) are the same only where program and
// module come from one build, which the two first fields prove before anything else is used.
struct NetworkModuleEntry
{
    // These two stay first and keep their types in every build, so that any program can read any
    // module's.
    int interfaceVersion;
    const char* buildIdentity;

    // A new fetch owned by `parent`.
    SmallFetch* (*makeFetch)(QObject* parent);
};

// Raised whenever NetworkModuleEntry or SmallFetch changes.
inline constexpr int kNetworkModuleInterface = 1;

// The module's one exported function: extern "C" const NetworkModuleEntry* velmora_network_module().
inline constexpr char kNetworkModuleEntryFunction[] = "velmora_network_module";
using NetworkModuleEntryFunction = const NetworkModuleEntry* (*)();
