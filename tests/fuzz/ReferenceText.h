#pragma once
// Plain references for the double-byte text rules, shared by the fuzz harnesses:
// a character walk, the character count and the cyclic pick, written straight
// from the rules and never from the code they check.

#include <string>
#include <string_view>
#include <vector>

namespace vomra::reference {

// The characters of s by the walk: a byte of 127 or more takes the next byte with it.
inline std::vector<std::string> walk(std::string_view s)
{
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = (static_cast<unsigned char>(s[i]) >= 127 && i + 1 < s.size()) ? 2 : 1;
        chars.emplace_back(s.substr(i, len));
        i += len;
    }
    return chars;
}

inline int count(std::string_view s)
{
    int single = 0, high = 0;
    for (const char c : s)
        (static_cast<unsigned char>(c) >= 127 ? high : single)++;
    return single + high / 2;
}

// The cyclic pick of position n, walking from the start every time.
inline std::string pick(std::string_view s, int n)
{
    const int c = count(s);
    if (c == 0)
        return {};
    int k = n % c;
    if (k == 0)
        k = c;
    if (k < 0)
        k += c;
    const auto chars = walk(s);
    return k <= static_cast<int>(chars.size()) ? chars[static_cast<std::size_t>(k - 1)] : std::string();
}

} // namespace vomra::reference
