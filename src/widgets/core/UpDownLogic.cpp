#include "widgets/core/UpDownLogic.h"

#include <algorithm>
#include <cstdlib>

namespace vomra {

TUpDownDirection stepDirection(int increment, int newValue, int min, int max)
{
    if (increment > 0 && newValue <= max)
        return updUp;
    if (increment < 0 && newValue >= min)
        return updDown;
    return updNone;
}

int clampPosition(int value, int min, int max)
{
    const int lo = std::min(min, max);
    const int hi = std::max(min, max);
    return std::clamp(value, lo, hi);
}

int steppedPosition(int position, int increment, int min, int max, bool wrap)
{
    const int lo = std::min(min, max);
    const int hi = std::max(min, max);
    const long long raw = static_cast<long long>(position) + increment;
    if (raw > hi)
        return wrap ? lo : hi;
    if (raw < lo)
        return wrap ? hi : lo;
    return static_cast<int>(raw);
}

std::string formatPosition(int value, bool thousands)
{
    const long long v = value;
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (thousands) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), 1, ',');
    }
    return v < 0 ? "-" + digits : digits;
}

std::optional<int> parsePosition(const std::string &text)
{
    std::string digits;
    for (char ch : text) {
        if (ch == ',' || ch == ' ')
            continue;
        digits += ch;
    }
    if (digits.empty() || digits.size() > 12)
        return std::nullopt;
    std::size_t start = (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
    if (start == digits.size())
        return std::nullopt;
    for (std::size_t i = start; i < digits.size(); ++i)
        if (digits[i] < '0' || digits[i] > '9')
            return std::nullopt;
    const long long v = std::stoll(digits);
    return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

std::vector<ArrowRun> upDownArrow(TUDOrientation orientation, int width, int height, bool second, bool pushed)
{
    // Four rows, narrow to wide, the widest with its centre pixel left out; the
    // second arrow is the mirror image, widest row first.
    const bool vertical = orientation == udVertical;
    const int c = vertical ? width / 2 : height / 2;
    int tip;
    int dir; // from the tip towards the wide end
    if (vertical) {
        if (!second) {
            tip = height / 4 - 1 - (pushed ? 1 : 0);
            dir = 1;
        } else {
            tip = height / 2 + height / 4 - 1 + 3 + (pushed ? 1 : 0);
            dir = -1;
        }
    } else {
        if (!second) {
            tip = width / 4 - 1 - (pushed ? 1 : 0);
            dir = 1;
        } else {
            tip = width / 2 + width / 4 + 2 + (pushed ? 1 : 0);
            dir = -1;
        }
    }
    std::vector<ArrowRun> runs;
    for (int k = 0; k < 3; ++k)
        runs.push_back({tip + dir * k, c - k, c + k});
    runs.push_back({tip + dir * 3, c - 3, c - 1});
    runs.push_back({tip + dir * 3, c + 1, c + 3});
    // Listed top to bottom (left to right) whatever the pointing direction.
    std::stable_sort(runs.begin(), runs.end(), [](const ArrowRun &a, const ArrowRun &b) { return a.line < b.line; });
    return runs;
}

} // namespace vomra
