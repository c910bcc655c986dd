#include "x11/XDisplayReach.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace vomra {

namespace {

bool connects(const std::string &path, bool abstract)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0; // an abstract name starts with a zero byte
    if (path.size() + offset >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path + offset, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), len) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool xDisplayReachable(std::string_view display, const std::string &socketDir)
{
    const std::size_t colon = display.rfind(':');
    if (display.empty() || colon == std::string_view::npos)
        return false;
    const std::string_view host = display.substr(0, colon);
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    if (!host.empty() && host != "unix")
        return true;
    const std::string path = socketDir + "/X" + std::string(number);
    return connects(path, false) || connects(path, true);
}

} // namespace vomra
