#pragma once
// Windows-style profile (INI) files on GBK bytes: QOBR.Ini, Theme.Ini and recipe
// collections. Section and key names match without regard to ASCII case (the two
// bytes of a double-byte character compare exactly), values are trimmed and at
// most 2047 bytes, the first of duplicate sections or keys wins. A write changes
// one entry and keeps every other line byte for byte; the new file is written
// beside the old one and renamed over it, so a failed write leaves the old file
// as it was.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// One profile file's bytes, split once into sections and keys, for any number of
// lookups: open once, look up many.
class ProfileIndex {
public:
    ProfileIndex() = default;
    explicit ProfileIndex(std::string content);

    // The raw value (trimmed, cut at kMaxValue), or nothing when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal with optional sign, or "0x"/"0X" hexadecimal; anything else gives def.
    int readInteger(std::string_view section, std::string_view key, int def) const;
    // Read as an integer: not 0 is true.
    bool readBool(std::string_view section, std::string_view key, bool def) const;
    bool hasSection(std::string_view section) const;

    // Replaces the key's entry in place, or adds it at the end of its section (the
    // section at the end of the text); every other byte stays.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    const std::string &bytes() const { return m_content; }

private:
    struct Span {
        std::size_t begin = 0;
        std::size_t size = 0;
    };
    struct Section {
        Span name;
        std::size_t headerEnd = 0;  // just past the header line and its line end
        std::size_t lastFilled = 0; // just past the last non-blank line of its body
    };
    struct Entry {
        std::uint32_t section = 0;
        Span key;
        std::size_t lineBegin = 0;
        std::size_t lineEnd = 0; // past the line end
    };
    // Open addressing from a name's hash to the number of its section or entry;
    // the caller compares the names themselves.
    class NameTable {
    public:
        template <typename Matches> std::optional<std::uint32_t> find(std::size_t hash, Matches matches) const;
        void add(std::size_t hash, std::uint32_t number);
        void clear();

    private:
        struct Slot {
            std::size_t hash = 0;
            std::uint32_t number = 0; // number + 1; 0 is a free slot
        };
        std::vector<Slot> m_slots;
        std::size_t m_used = 0;
    };

    void build();
    std::string_view text(Span s) const { return std::string_view(m_content).substr(s.begin, s.size); }
    std::optional<std::uint32_t> findSection(std::string_view name) const;
    std::optional<std::uint32_t> findEntry(std::uint32_t section, std::string_view key) const;

    std::string m_content;
    std::vector<Section> m_sections; // the first section of each name only
    std::vector<Entry> m_entries;    // the first key of each name in those sections
    NameTable m_sectionTable;
    NameTable m_entryTable;
};

class Profile {
public:
    static constexpr std::size_t kMaxValue = 2047;

    explicit Profile(std::string path) : m_path(std::move(path)) {}
    const std::string &path() const { return m_path; }

    // Reads and indexes the file once; nothing when it cannot be read.
    std::optional<ProfileIndex> open() const;
    // Writes the index's bytes as the file (see writeFileAtomically).
    bool save(const ProfileIndex &index, std::string *error = nullptr) const;

    // One-shot forms: each call opens the file and releases it before returning.
    // The raw value, or nothing when the file, section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    int readInteger(std::string_view section, std::string_view key, int def) const;
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

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string &path);

// Writes bytes as the file at path: through a temporary file in the file's folder
// and a rename, so a failure leaves the old file whole. A symbolic link is followed
// to the file it names, which is replaced while the link stays. The old file's mode
// is kept; a file the user may not write (or that is not a plain file) is refused.
// On failure *error names path: "cannot write <path>: <reason>".
bool writeFileAtomically(const std::string &path, std::string_view bytes, std::string *error);

} // namespace vomra
