#include "base/CellWidth.h"
#include "base/LazyLibrary.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unicode/uvernum.h>

#include <algorithm>
#include <utility>

namespace vomra::cells {

namespace {

// ICU's character data, opened when a width is first asked for (LazyLibrary.h);
// it is a dependency of the package, so a missing one ends the process.
constinit LazyLibrary icu("libicuuc.so." U_ICU_VERSION_SHORT);
constinit const LazyCall<decltype(&::u_charType)> u_charType{icu, VOMRA_SYMBOL_NAME(u_charType)};
constinit const LazyCall<decltype(&::u_getIntPropertyValue)> u_getIntPropertyValue{icu,
                                                                                   VOMRA_SYMBOL_NAME(u_getIntPropertyValue)};

} // namespace

Kind kindOf(char32_t c)
{
    const auto cp = static_cast<UChar32>(c);
    const auto category = static_cast<UCharCategory>(u_charType(cp));
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR
        || (category == U_CONTROL_CHAR && c != '\t'))
        return Kind::Zero;
    switch (u_getIntPropertyValue(cp, UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_WIDE:
    case U_EA_FULLWIDTH:
        return Kind::Wide;
    case U_EA_AMBIGUOUS:
        return Kind::Ambiguous;
    default:
        return Kind::Narrow;
    }
}

std::u32string decodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    const auto *s = reinterpret_cast<const uint8_t *>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        out.push_back(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
    }
    return out;
}

std::string encodeUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (char32_t c : text) {
        uint8_t buf[4];
        int32_t n = 0;
        UBool error = false;
        U8_APPEND(buf, n, 4, static_cast<UChar32>(c), error);
        if (error)
            out += "\xEF\xBF\xBD";
        else
            out.append(reinterpret_cast<const char *>(buf), static_cast<std::size_t>(n));
    }
    return out;
}

LineCells measure(std::u32string_view line)
{
    LineCells cells;
    for (char32_t c : line) {
        switch (kindOf(c)) {
        case Kind::Zero:
            break;
        case Kind::Narrow:
            ++cells.narrow, ++cells.wide;
            break;
        case Kind::Wide:
            cells.narrow += 2, cells.wide += 2;
            break;
        case Kind::Ambiguous:
            ++cells.narrow, cells.wide += 2;
            if (cells.ambiguous.find(c) == std::u32string::npos)
                cells.ambiguous.push_back(c);
            break;
        }
    }
    return cells;
}

namespace {

// Ambiguous characters of GBK pictures and their stand-ins of like shape:
// full-width (all in GBK) and a pair of narrow ones.
struct StandIn {
    char32_t ambiguous;
    const char32_t *fullWidth;
    const char32_t *narrowPair;
};
constexpr StandIn kStandIns[] = {
    {U'■', U"〓", U"##"}, {U'□', U"口", U"[]"}, {U'▲', U"＾", U"/\\"}, {U'△', U"＾", U"/\\"},
    {U'▼', U"Ｖ", U"\\/"}, {U'▽', U"Ｖ", U"\\/"}, {U'◆', U"〓", U"<>"}, {U'◇', U"口", U"<>"},
    {U'●', U"〇", U"()"}, {U'○', U"〇", U"()"}, {U'◎', U"回", U"()"}, {U'⊙', U"回", U"()"},
    {U'★', U"＊", U"**"}, {U'☆', U"＊", U"**"}, {U'※', U"米", U"**"}, {U'×', U"Ｘ", U"xx"},
    {U'÷', U"－", U"--"}, {U'─', U"－", U"--"}, {U'━', U"－", U"=="}, {U'│', U"｜", U"||"},
    {U'┃', U"｜", U"||"}, {U'┼', U"十", U"++"}, {U'→', U"＞", U"->"}, {U'←', U"＜", U"<-"},
    {U'↑', U"＾", U"/\\"}, {U'↓', U"Ｖ", U"\\/"}, {U'§', U"＄", U"SS"}, {U'°', U"。", U"o "},
    {U'±', U"＋", U"+-"}, {U'…', U"…", U".."}, {U'‥', U"‥", U".."}, {U'·', U"．", U". "},
    {U'“', U"＂", U"\"\""}, {U'”', U"＂", U"\"\""}, {U'‘', U"＇", U"''"}, {U'’', U"＇", U"''"},
    {U'≡', U"＝", U"=="}, {U'≈', U"～", U"~~"}, {U'∞', U"８", U"oo"}, {U'√', U"Ｖ", U"\\/"},
};

const StandIn *standInFor(char32_t c)
{
    for (const StandIn &s : kStandIns)
        if (s.ambiguous == c)
            return &s;
    return nullptr;
}

} // namespace

std::u32string fullWidthFor(char32_t c)
{
    const StandIn *s = standInFor(c);
    // A stand-in that is itself ambiguous would not help.
    if (!s || kindOf(s->fullWidth[0]) != Kind::Wide)
        return {};
    return s->fullWidth;
}

std::u32string narrowPairFor(char32_t c)
{
    const StandIn *s = standInFor(c);
    return s ? std::u32string(s->narrowPair) : std::u32string();
}

std::u32string replaceAmbiguous(std::u32string_view line, bool narrow)
{
    std::u32string out;
    out.reserve(line.size());
    for (char32_t c : line) {
        if (kindOf(c) == Kind::Ambiguous) {
            const std::u32string standIn = narrow ? narrowPairFor(c) : fullWidthFor(c);
            if (!standIn.empty()) {
                out += standIn;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

Mix ambiguousMix(std::u32string_view text)
{
    Mix mix;
    bool wide = false;
    for (char32_t c : text) {
        const Kind kind = kindOf(c);
        if (kind == Kind::Wide)
            wide = true;
        else if (kind == Kind::Ambiguous && mix.ambiguous.find(c) == std::u32string::npos)
            mix.ambiguous.push_back(c);
    }
    mix.mixed = wide && !mix.ambiguous.empty();
    if (!mix.mixed)
        mix.ambiguous.clear();
    return mix;
}

} // namespace vomra::cells
