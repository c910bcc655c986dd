#pragma once
// Windows-style profile (INI) files on GBK bytes: QOBR.Ini, Theme.Ini and recipe
// collections. Section and key names match without regard to ASCII case (the two
// bytes of a double-byte character compare exactly), values are trimmed and at
// most 2047 bytes, the first of duplicate sections or keys wins. A write changes
// one entry and keeps every other line byte for byte; the new file is written
// beside the old one and renamed over it, so a failed write leaves the old file
// as it was.

#include "base/ProfileIndex.h"
#include "base/Result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

class Profile {
public:
    static constexpr std::size_t kMaxValue = 2047;

    explicit Profile(std::string path) : m_path(std::move(path)) {}
    const std::string &path() const { return m_path; }

    // Reads and indexes the file once; the reason when it cannot be read.
    Result<ProfileIndex> open() const;
    // Writes the index's bytes as the file (see writeFileAtomically).
    Result<void> save(const ProfileIndex &index) const;

    // One-shot forms: each call opens the file and releases it before returning.
    // The raw value, or nothing when the file, section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    int readInteger(std::string_view section, std::string_view key, int def) const;
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    // The reason, naming the full path, when the file cannot be written.
    Result<void> writeString(std::string_view section, std::string_view key, std::string_view value) const;

    // The integer rule of readInteger on a bare value.
    static std::optional<int> parseInteger(std::string_view text);
    // Name comparison of sections and keys: ASCII letters without regard to case,
    // a lead byte (127 or above) and the byte after it exactly.
    static bool namesEqual(std::string_view a, std::string_view b);

    // In-memory forms of one read and one write, for callers that already hold the
    // file's bytes (and for tests). Each indexes the whole text: for more than one
    // lookup, make a ProfileIndex.
    static std::optional<std::string> lookup(std::string_view content, std::string_view section,
                                             std::string_view key);
    static std::string withEntry(std::string_view content, std::string_view section,
                                 std::string_view key, std::string_view value);

private:
    std::string m_path;
};

} // namespace vomra
