#include "platform/ExeFolder.h"

#include <climits>
#include <unistd.h>

namespace vomra {

std::string folderOfPath(const std::string &fullName)
{
    const std::size_t slash = fullName.find_last_of('/');
    return slash == std::string::npos ? std::string() : fullName.substr(0, slash + 1);
}

std::string exeFolder()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return folderOfPath(std::string(buf, static_cast<std::size_t>(n)));
}

} // namespace vomra
