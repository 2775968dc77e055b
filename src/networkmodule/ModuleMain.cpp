// The network module: the fetch through Qt's network library, made for the program that loaded it.

#include "NetworkModuleEntry.h"
#include "release/BoundedFetch.h"

namespace {

SmallFetch* makeFetch(QObject* parent)
{
    return new BoundedFetch(parent);
}

const NetworkModuleEntry entry{kNetworkModuleInterface, VELMORA_BUILD_IDENTITY, &makeFetch};

} // namespace

extern "C" Q_DECL_EXPORT const NetworkModuleEntry* velmora_network_module()
{
    return &entry;
}
