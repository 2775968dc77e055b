#include "LateLibrary.h"

#include <dlfcn.h>

LateLibrary::LateLibrary(const char* fileName)
    // Its own symbols only: nothing it brings may replace a function another library already uses.
    : m_handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
{
}

void* LateLibrary::address(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}
