#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vomra::test {

TempFolder::TempFolder()
{
    std::string templ = (fs::temp_directory_path() / "vomra-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = templ + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    // Restore write permission first: tests make folders read-only.
    for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

void TempFolder::write(const std::string &name, const std::string &bytes) const
{
    const fs::path p = fs::path(m_path) / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read(const std::string &name) const
{
    std::ifstream in(fs::path(m_path) / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void TempFolder::copyFixture(const std::string &fixture) const
{
    fs::copy(fs::path(VOMRA_TEST_DATA) / fixture, m_path, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

} // namespace vomra::test
