#include "base/LazyLibrary.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace vomra {

bool LazyLibrary::available()
{
    // Bound lazily, as the executable is; its symbols stay out of the global
    // scope, so nothing else can come to depend on them.
    std::call_once(m_once, [this] { m_handle = ::dlopen(m_soname, RTLD_LAZY | RTLD_LOCAL); });
    return m_handle != nullptr;
}

void *LazyLibrary::symbol(const char *name)
{
    return available() ? ::dlsym(m_handle, name) : nullptr;
}

void *LazyLibrary::require(const char *name)
{
    void *found = symbol(name);
    if (!found) {
        std::fprintf(stderr, "vomra: %s: no %s (%s)\n", m_soname, name,
                     available() ? "a library of another version" : "the library cannot be loaded");
        std::abort();
    }
    return found;
}

} // namespace vomra
