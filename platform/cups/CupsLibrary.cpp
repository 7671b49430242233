#include "platform/cups/CupsLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace krn310 {

namespace {

std::optional<TCupsLibrary> Load()
{
    void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return std::nullopt;
    TCupsLibrary library;
    bool complete = true;
#define KRN310_CUPS_LOAD(name)                                                \
    library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && library.name != nullptr;
    KRN310_CUPS_FUNCTIONS(KRN310_CUPS_LOAD)
#undef KRN310_CUPS_LOAD
    if (!complete) {
        dlclose(handle);
        return std::nullopt;
    }
    // The handle stays open: the functions are used until the process ends.
    return library;
}

} // namespace

const TCupsLibrary* CupsLibrary()
{
    static const std::optional<TCupsLibrary> library = Load();
    return library ? &*library : nullptr;
}

} // namespace krn310
