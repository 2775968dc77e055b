#pragma once

#include <optional>

// A C library of a file format opened the first time a document of that format is written,
// rather than by the dynamic loader as the program starts: the program's first picture no longer
// waits for libraries most sessions never use (bench_startup: libzip, libxlsxwriter and ReadStat,
// with libcrypto, minizip and bz2 that they bring, took the program about 5 ms longer to reach main).
//
// A library is named by its file name with the number of its interface (its SONAME, read from the
// library the build linked against), so only a library with the interface the headers describe is
// opened. Each function is typed after the library's own header. A library or function that is not
// there leaves the table empty, and the writer that needed it reports a failure rather than
// crashing. The library stays open for the rest of the program.
class LateLibrary final
{
public:
    explicit LateLibrary(const char* fileName);

    bool isOpen() const { return m_handle != nullptr; }

    // Fills `function` with the library's function of that name; false where it has none.
    template <typename Function> bool resolve(const char* name, Function*& function) const
    {
        function = reinterpret_cast<Function*>(address(name));
        return function != nullptr;
    }

private:
    void* address(const char* name) const;

    void* m_handle = nullptr;
};

// The member of a function table for the function `name`, typed as the library's header declares it.
#define VELMORA_LATE_FUNCTION(name) decltype(&::name) name = nullptr;
// Resolves that member in `library` into `table`, clearing `complete` where it is missing.
#define VELMORA_RESOLVE_LATE_FUNCTION(name) complete = library.resolve(#name, table.name) && complete;

// The function table made once from `fileName` by `resolveAll(library, table, complete)`, or
// nothing where the library or one of its functions is missing. Thread-safe: the first caller opens
// it, any other waits.
template <typename Table, typename ResolveAll>
const Table* loadLateLibraryOnce(const char* fileName, ResolveAll resolveAll)
{
    static const std::optional<Table> loaded = [&]() -> std::optional<Table> {
        const LateLibrary library(fileName);
        if (!library.isOpen())
            return std::nullopt;
        Table table;
        bool complete = true;
        resolveAll(library, table, complete);
        return complete ? std::optional<Table>(table) : std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}
