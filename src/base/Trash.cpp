#include "base/Trash.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

bool makeFolders(const std::string &folder)
{
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i != folder.size() && folder[i] != '/')
            continue;
        const std::string part = folder.substr(0, i);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// The trash record's Path: every byte outside the unreserved set percent-encoded.
std::string percentEncoded(const std::string &path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || std::strchr("-_.~/", c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string absolute(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char buf[4096];
    if (!::getcwd(buf, sizeof buf))
        return path;
    return std::string(buf) + "/" + path;
}

} // namespace

std::string homeTrashFolder()
{
    const char *data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/Trash";
    const char *home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Trash";
}

bool moveToTrash(const std::string &pathIn, int *errorNumber)
{
    std::string path = absolute(pathIn);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    auto fail = [errorNumber](int err) {
        if (errorNumber)
            *errorNumber = err;
        return false;
    };
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return fail(errno);
    const std::string trash = homeTrashFolder();
    if (!makeFolders(trash + "/files") || !makeFolders(trash + "/info"))
        return fail(errno);
    const std::string base = path.substr(path.find_last_of('/') + 1);

    // The record is claimed first (O_EXCL), so two deletions never share a name.
    std::string name;
    int fd = -1;
    for (int n = 1; n < 10000 && fd < 0; ++n) {
        name = n == 1 ? base : base + "." + std::to_string(n);
        fd = ::open((trash + "/info/" + name + ".trashinfo").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
        if (fd >= 0 && ::access((trash + "/files/" + name).c_str(), F_OK) == 0) {
            ::close(fd); // a stray entry without its record: leave it alone
            fd = -1;
        }
    }
    if (fd < 0)
        return fail(EEXIST);
    const std::string info = trash + "/info/" + name + ".trashinfo";
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    ::localtime_r(&now, &tm);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    const std::string record = "[Trash Info]\nPath=" + percentEncoded(path) + "\nDeletionDate=" + date + "\n";
    const bool written = ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    ::close(fd);
    if (!written || ::rename(path.c_str(), (trash + "/files/" + name).c_str()) != 0) {
        const int err = written ? errno : EIO;
        ::unlink(info.c_str());
        return fail(err);
    }
    return true;
}

} // namespace vomra
