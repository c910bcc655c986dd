#pragma once
// The one folder a harness makes its files in: under TMPDIR, made at the first
// call, removed with everything in it when the process exits.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vomra {

// The folder's path with a trailing "/"; name goes into the folder's name.
inline const std::string &fuzzTempFolder(const char *name)
{
    // On the heap so that it outlives the other statics when the exit handler runs.
    static const std::string *path = [name] {
        std::string templ = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
        if (!mkdtemp(templ.data()))
            std::abort();
        const auto *made = new std::string(templ + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*path, ec);
        });
        return made;
    }();
    return *path;
}

} // namespace vomra
