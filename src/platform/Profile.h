#pragma once
// Windows-style profile (INI) files on GBK bytes: QOBR.Ini, Theme.Ini and recipe
// collections. Section and key names match without regard to ASCII case, values
// are trimmed and at most 2047 bytes, the first of duplicate sections or keys wins.
// Every call opens the file and releases it before returning; nothing is cached.
// A write changes one entry and keeps every other line byte for byte; the new file
// is written beside the old one and renamed over it, so a failed write leaves the
// old file as it was.

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

    // The raw value, or nothing when the file, section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal with optional sign, or "0x"/"0X" hexadecimal; anything else gives def.
    int readInteger(std::string_view section, std::string_view key, int def) const;
    // Read as an integer: not 0 is true.
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    // Returns false and sets *error (naming the full path) when the file cannot be written.
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     std::string *error = nullptr) const;
    bool writeInteger(std::string_view section, std::string_view key, int value,
                      std::string *error = nullptr) const;
    bool writeBool(std::string_view section, std::string_view key, bool value,
                   std::string *error = nullptr) const;

    // The integer rule of readInteger on a bare value.
    static std::optional<int> parseInteger(std::string_view text);
    // Name comparison of sections and keys: ASCII letters without regard to case.
    static bool namesEqual(std::string_view a, std::string_view b);

    // In-memory forms of the read and the write, for callers that already hold
    // the file's bytes (and for tests).
    static std::optional<std::string> lookup(std::string_view content, std::string_view section,
                                             std::string_view key);
    static std::string withEntry(std::string_view content, std::string_view section,
                                 std::string_view key, std::string_view value);

private:
    std::string m_path;
};

// Reads a whole file; nothing when it cannot be opened.
std::optional<std::string> readFileBytes(const std::string &path);
// Writes through a temporary file in the same folder and a rename.
bool writeFileAtomically(const std::string &path, std::string_view bytes, std::string *error);

} // namespace vomra
