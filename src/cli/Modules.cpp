#include "cli/Modules.h"

#include "base/ExeFolder.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <ostream>

namespace vomra::cli {

namespace {

// Modules linked in, by entry name; a handful at most.
struct Linked {
    const char *entry = nullptr;
    AnyEntry fn = nullptr;
};
Linked g_linked[4];

} // namespace

void linkModule(const Module &module, AnyEntry entry)
{
    for (Linked &l : g_linked) {
        if (!l.entry || std::strcmp(l.entry, module.entry) == 0) {
            l = {module.entry, entry};
            return;
        }
    }
}

AnyEntry moduleEntry(const Module &module, const char *who, std::ostream &err)
{
    for (const Linked &l : g_linked)
        if (l.entry && std::strcmp(l.entry, module.entry) == 0)
            return l.fn;
    const std::string folder = executableFolder();
    const std::string installed = folder + "../libexec/vomra/";
    std::string path = folder + module.file;
    if (::access(path.c_str(), F_OK) != 0)
        path = installed + module.file;
    if (::access(path.c_str(), F_OK) != 0) {
        err << who << ": cannot load " << module.file << ": not found beside vomra-cli (" << folder << ") nor in "
            << installed << '\n';
        return nullptr;
    }
    // Its symbols stay its own: each module carries its copy of the shared code.
    // Bound lazily, as vomra-cli itself is: binding all of FreeType's and
    // fontconfig's calls at once took longer than drawing a word.
    void *handle = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
        // The loader's reason starts with the path again.
        const char *reason = ::dlerror();
        std::string why = reason ? reason : "unknown error";
        if (why.rfind(path + ": ", 0) == 0)
            why.erase(0, path.size() + 2);
        err << who << ": cannot load " << path << ": " << why << '\n';
        return nullptr;
    }
    void *symbol = ::dlsym(handle, module.entry);
    if (!symbol) {
        err << who << ": cannot load " << path << ": it has no " << module.entry << '\n';
        ::dlclose(handle);
        return nullptr;
    }
    return reinterpret_cast<AnyEntry>(symbol);
}

int runModuleCommand(const Module &module, const char *command, const std::vector<std::string> &args, Io &io)
{
    const std::string who = std::string("vomra-cli ") + command;
    const AnyEntry entry = moduleEntry(module, who.c_str(), io.err);
    if (!entry)
        return kFailed;
    return reinterpret_cast<ModuleCommand>(entry)(&args, &io);
}

} // namespace vomra::cli
