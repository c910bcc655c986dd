#include "base/ExeFolder.h"

#include "base/InstalledCopy.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace vomra {

namespace fs = std::filesystem;

namespace {

constexpr const char *kSettingsName = "QOBR.Ini";
constexpr const char *kHelpName = "QOBR.CHM";

std::string withSlash(std::string path)
{
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path;
}

bool isFile(const fs::path &p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

} // namespace

std::string folderOfPath(const std::string &fullName)
{
    const std::size_t slash = fullName.find_last_of('/');
    return slash == std::string::npos ? std::string() : fullName.substr(0, slash + 1);
}

std::string executableFolder()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return folderOfPath(std::string(buf, static_cast<std::size_t>(n)));
}

std::string installedShareFolder(const std::string &exeDir)
{
    if (exeDir.empty())
        return {};
    const fs::path share = fs::path(withSlash(exeDir)) / ".." / "share" / "vomra";
    std::error_code ec;
    if (!fs::is_directory(share, ec))
        return {};
    return withSlash(fs::weakly_canonical(share, ec).string());
}

std::string userDataFolder(const char *xdgDataHome, const char *home)
{
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (xdgDataHome && xdgDataHome[0] == '/')
        return withSlash(xdgDataHome) + "vomra/";
    std::string base = home ? home : "";
    if (base.empty()) {
        if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            base = pw->pw_dir;
    }
    return withSlash(base) + ".local/share/vomra/";
}

bool exeFolderIsProgramFolder(const std::string &exeDir, const std::string &shareDir)
{
    if (shareDir.empty())
        return true;
    return ::access(exeDir.c_str(), W_OK) == 0 && isFile(fs::path(exeDir) / kSettingsName);
}

bool seedFolder(const std::string &from, const std::string &to, std::string *error)
{
    std::error_code ec;
    auto fail = [&](const fs::path &p) {
        if (error)
            *error = p.string() + ": " + ec.message();
        return false;
    };
    fs::create_directories(to, ec);
    if (ec)
        return fail(to);
    fs::recursive_directory_iterator it(from, fs::directory_options::follow_directory_symlink, ec);
    if (ec)
        return fail(from);
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return fail(from);
        const fs::path target = fs::path(to) / fs::relative(it->path(), from, ec);
        if (ec)
            return fail(it->path());
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
            if (ec)
                return fail(target);
        } else if (it->is_regular_file(ec) && !fs::exists(fs::symlink_status(target, ec))) {
            if (!fs::copy_file(it->path(), target, fs::copy_options::skip_existing, ec))
                return fail(target);
            // Installed files may be read-only; the user's copies are the user's to change.
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
        }
    }
    return true;
}

std::string resolveProgramFolder(const std::string &exeDir, const std::string &userDir)
{
    const std::string share = installedShareFolder(exeDir);
    if (exeFolderIsProgramFolder(exeDir, share))
        return withSlash(exeDir);
    const std::string user = withSlash(userDir);
    if (!isFile(fs::path(user) / kSettingsName) && !seedFolder(share, user))
        return share;
    refreshInstalledCopy(share + kHelpName, user + kHelpName);
    return user;
}

std::string ExeFolder()
{
    return resolveProgramFolder(executableFolder(), userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
}

} // namespace vomra
