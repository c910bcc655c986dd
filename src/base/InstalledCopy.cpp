#include "base/InstalledCopy.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vomra {

namespace fs = std::filesystem;

namespace {

std::string readRecord(const std::string &path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool writeRecord(const std::string &path, const std::string &stamp)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::trunc);
        out << stamp << '\n';
        if (!out.flush())
            return false;
    }
    std::error_code ec;
    fs::rename(part, path, ec);
    return !ec;
}

} // namespace

std::string contentStamp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::uint64_t hash = 14695981039346656037ULL;
    std::uint64_t size = 0;
    std::array<char, 65536> buf{};
    while (in) {
        in.read(buf.data(), buf.size());
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i) {
            hash ^= static_cast<unsigned char>(buf[static_cast<std::size_t>(i)]);
            hash *= 1099511628211ULL;
        }
        size += static_cast<std::uint64_t>(n);
    }
    if (in.bad())
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%llu %016llx", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(hash));
    return text;
}

std::string copyRecordPath(const std::string &copy)
{
    const fs::path p(copy);
    return (p.parent_path() / ("." + p.filename().string() + ".installed")).string();
}

void refreshInstalledCopy(const std::string &installed, const std::string &copy)
{
    const std::string fresh = contentStamp(installed);
    const std::string held = contentStamp(copy);
    if (fresh.empty() || held.empty())
        return;
    const std::string recordPath = copyRecordPath(copy);
    const std::string record = readRecord(recordPath);
    if (fresh == held) {
        if (record != held)
            writeRecord(recordPath, held);
        return;
    }
    if (!record.empty() && record != held)
        return; // changed by the user
    const std::string part = copy + ".part";
    std::error_code ec;
    if (fs::copy_file(installed, part, fs::copy_options::overwrite_existing, ec)) {
        fs::permissions(part, fs::perms::owner_write, fs::perm_options::add, ec);
        // The copy goes first: when the record is not written after it, the
        // next start finds the copy equal to the installed file and writes it.
        fs::rename(part, copy, ec);
        if (!ec)
            writeRecord(recordPath, fresh);
    }
    if (ec)
        fs::remove(part, ec);
}

} // namespace vomra
