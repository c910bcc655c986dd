#include "base/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

Error cannotRead(const std::string &path, int err)
{
    errno = err;
    return fail("cannot read " + path + ": " + std::strerror(err), err);
}

} // namespace

Result<std::string> readFileBytes(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return cannotRead(path, errno);
    std::string data;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            const int err = errno;
            ::close(fd);
            return cannotRead(path, err);
        }
    }
    ::close(fd);
    return data;
}

namespace {

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that path names once symbolic links in its last part are followed (it
// need not exist); nothing, with errno set, for a loop or an unreadable link.
std::optional<std::string> followLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) >= target.size()) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folderOf(path) + "/" + target;
    }
    errno = ELOOP;
    return std::nullopt;
}

} // namespace

Result<void> writeFileAtomically(const std::string &path, std::string_view bytes)
{
    auto failWith = [&](const std::string &reason, int err = 0) -> Result<void> {
        return fail("cannot write " + path + ": " + reason, err);
    };
    auto failErrno = [&](int err) { return failWith(std::strerror(err), err); };

    const auto target = followLinks(path);
    if (!target)
        return failErrno(errno);

    struct stat st {};
    const bool exists = ::stat(target->c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return failErrno(EISDIR);
        if (!S_ISREG(st.st_mode))
            return failWith("not a plain file");
        // The rename needs only the folder's permission; the file's own says whether
        // the user may change it.
        if (::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
            return failErrno(errno);
    }
    const mode_t mode = exists ? (st.st_mode & 07777) : 0644;

    std::string tmp = folderOf(*target) + "/.vomra-XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0)
        return failErrno(errno);
    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return failErrno(err);
    };

    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    // Keep the owner where we may (as root, say); a user writing someone else's
    // group-writable file becomes its owner, as any replacing editor would.
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Not ours to give away: the new file keeps our ids.
        }
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0 || ::rename(tmp.c_str(), target->c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return failErrno(err);
    }
    return {};
}

} // namespace vomra
