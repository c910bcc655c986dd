#pragma once
// A profile file's bytes parsed into sections and keys (the rules are in
// Profile.h).

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

} // namespace vomra
