#include "base/Profile.h"

#include "base/AtomicFile.h"

#include <cerrno>
#include <cstring>

namespace vomra {

Result<ProfileIndex> Profile::open() const
{
    auto content = readFileBytes(m_path);
    if (!content)
        return content.error();
    return ProfileIndex(std::move(*content));
}

Result<void> Profile::save(const ProfileIndex &index) const
{
    return writeFileAtomically(m_path, index.bytes());
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const
{
    const auto index = open();
    return index ? index->value(section, key) : std::nullopt;
}

std::string Profile::readString(std::string_view section, std::string_view key, std::string_view def) const
{
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(def);
}

int Profile::readInteger(std::string_view section, std::string_view key, int def) const
{
    const auto v = value(section, key);
    return v ? parseInteger(*v).value_or(def) : def;
}

bool Profile::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

Result<void> Profile::writeString(std::string_view section, std::string_view key, std::string_view value) const
{
    // A missing file starts empty; one that is there but cannot be read must not be
    // replaced by a file holding this one entry.
    auto content = readFileBytes(m_path);
    if (!content && content.error().code != ENOENT)
        return fail("cannot write " + m_path + ": " + std::strerror(content.error().code), content.error().code);
    ProfileIndex index(std::move(content).value_or(std::string()));
    index.setValue(section, key, value);
    return save(index);
}

} // namespace vomra
