#include "recipe/core/LibraryOperations.h"

#include "base/AtomicFile.h"
#include "base/Gbk.h"
#include "base/NativePath.h"
#include "recipe/core/Recipe.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

std::string folderOf(const std::string &path)
{
    const std::string p = withoutTrailingSlash(path);
    return p.substr(0, p.find_last_of('/') + 1);
}

std::string baseName(const std::string &path)
{
    const std::string p = withoutTrailingSlash(path);
    return p.substr(p.find_last_of('/') + 1);
}

TManageResult failed(int error)
{
    return {false, {}, error};
}

// A rename that never replaces: the kernel's no-replace rename, or link and
// unlink for a file where the file system has no such rename.
int renameNoReplace(const std::string &from, const std::string &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (pathExists(to))
        return EEXIST;
    struct stat st {};
    if (::lstat(from.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        if (::link(from.c_str(), to.c_str()) != 0)
            return errno;
        ::unlink(from.c_str());
        return 0;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// A copy of a regular file as a new file (O_EXCL); a half-made copy is removed.
int copyNew(const std::string &from, const std::string &to)
{
    const auto bytes = readFileBytes(from);
    if (!bytes)
        return bytes.error().code ? bytes.error().code : EIO;
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return errno;
    std::size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::write(fd, bytes->data() + done, bytes->size() - done);
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(to.c_str());
            return err;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(to.c_str());
        return err;
    }
    return 0;
}

bool endsWithIgnoringCase(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && pathsEqualIgnoringCase(s.substr(s.size() - tail.size()), tail);
}

} // namespace

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string manageReason(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return "已存在同名的文件或文件夹";
    case EACCES:
    case EPERM:
    case EROFS:
        return "没有权限";
    case ENOENT:
        return "文件或文件夹不存在";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足";
    case EXDEV:
        return "不在同一文件系统上";
    case EINVAL:
        return "名称或目标无效";
    case ENAMETOOLONG:
        return "名称太长";
    default:
        return std::strerror(error);
    }
}

bool IsLibraryEntry(const std::string &path, const std::string &programFolder)
{
    const std::string p = withoutTrailingSlash(path);
    if (p.size() <= programFolder.size() || p.compare(0, programFolder.size(), programFolder) != 0)
        return false;
    const std::string rest = p.substr(programFolder.size());
    const std::size_t slash = rest.find('/');
    if (pathsEqualIgnoringCase(rest.substr(0, slash), "Theme"))
        return false;
    return slash != std::string::npos || isFolder(p);
}

bool validEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

TManageResult NewRecipeFolder(const std::string &parent, std::string_view base)
{
    if (!validEntryName(base))
        return failed(EINVAL);
    const std::string folder = withoutTrailingSlash(parent) + "/";
    for (int n = 1; n < 1000; ++n) {
        const std::string path = folder + std::string(base) + (n == 1 ? "" : " (" + std::to_string(n) + ")");
        if (::mkdir(path.c_str(), 0777) == 0)
            return {true, path + "/", 0};
        if (errno != EEXIST)
            return failed(errno);
    }
    return failed(EEXIST);
}

TManageResult RenameRecipeEntry(const std::string &diskPath, std::string_view newName)
{
    if (!validEntryName(newName))
        return failed(EINVAL);
    const bool folder = isFolder(diskPath);
    const std::string from = withoutTrailingSlash(diskPath);
    std::string name(newName);
    if (!folder) {
        const std::string old = baseName(from);
        const std::string ext = old.size() > 4 ? old.substr(old.size() - 4) : std::string();
        if (!ext.empty() && !endsWithIgnoringCase(name, ext))
            name += ext;
    }
    const std::string to = folderOf(from) + name;
    const std::string shownTo = folder ? to + "/" : to;
    if (to == from)
        return {true, shownTo, 0};
    if (const int err = renameNoReplace(from, to))
        return failed(err);
    return {true, shownTo, 0};
}

TManageResult MoveRecipeEntry(const std::string &diskPath, const std::string &destFolder, bool copy,
                              const std::string &programFolder)
{
    const std::string dest = withoutTrailingSlash(destFolder) + "/";
    if (!IsLibraryEntry(dest, programFolder) || !isFolder(dest))
        return failed(EINVAL);
    if (!isRegularFile(diskPath))
        return failed(pathExists(diskPath) ? EINVAL : ENOENT);
    const std::string to = dest + baseName(diskPath);
    if (!copy && folderOf(diskPath) == dest)
        return {true, to, 0};
    if (const int err = copy ? copyNew(diskPath, to) : renameNoReplace(diskPath, to))
        return failed(err);
    return {true, to, 0};
}

TManageResult AddRecipeFile(const std::string &path, std::string_view bytes, bool replace)
{
    if (replace) {
        if (const auto written = writeFileAtomically(path, bytes); !written)
            return failed(written.error().code ? written.error().code : EIO);
        return {true, path, 0};
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return failed(errno);
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    const int err = written ? 0 : (errno ? errno : EIO);
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return failed(err ? err : EIO);
    }
    return {true, path, 0};
}

Result<TRecipeBody> ReadRecipeBody(const std::string &diskPath, const std::string &itemName)
{
    const auto bytes = ReadRecipeFile(diskPath);
    if (!bytes)
        return bytes.error();
    TRecipeBody body;
    std::string_view text(*bytes);
    if (startsWithUtf8Bom(text)) {
        body.utf8 = true;
        text.remove_prefix(3);
    }
    if (itemName.empty()) {
        body.text = std::string(text);
        return body;
    }
    auto lines = IniItemLines(text, itemName);
    if (!lines)
        return fail("no item [" + itemName + "] in " + diskPath);
    while (!lines->empty() && lines->back().empty())
        lines->pop_back();
    for (std::size_t i = 0; i < lines->size(); ++i)
        body.text += (i ? "\r\n" : "") + (*lines)[i];
    return body;
}

std::string CollectionTemplate()
{
    return gbk::fromUtf8("[ItemList]\r\nItemCount=1\r\nItemName1=新条目\r\n\r\n[新条目]\r\n在这里写下秘笈的文字\r\n");
}

} // namespace vomra
