#include "pagekit/core/PageColours.h"

#include "base/Profile.h"

#include <array>
#include <optional>
#include <string>

namespace vomra {

namespace {

struct Entry {
    const char *name;
    TColor TPageColours::*member;
    TColor fallback;
};

// In the order the theme file is read.
const std::array<Entry, 12> &entries()
{
    static const std::array<Entry, 12> table{{
        {"LeftColor", &TPageColours::LeftColor, RGB(212, 208, 200)},
        {"LeftFontColor", &TPageColours::LeftFontColor, RGB(0, 0, 0)},
        {"LeftFontEnterColor", &TPageColours::LeftFontEnterColor, RGB(0, 0, 255)},
        {"PanelLeftColor", &TPageColours::PanelLeftColor, RGB(255, 255, 255)},
        {"PanelRightColor", &TPageColours::PanelRightColor, RGB(212, 208, 200)},
        {"RightColor", &TPageColours::RightColor, RGB(202, 198, 190)},
        {"TitleLeftColor", &TPageColours::TitleLeftColor, RGB(202, 198, 190)},
        {"TitleFontColor", &TPageColours::TitleFontColor, RGB(255, 255, 255)},
        {"TitleRightColor", &TPageColours::TitleRightColor, RGB(212, 208, 200)},
        {"TitleBottomColor", &TPageColours::TitleBottomColor, RGB(202, 198, 190)},
        {"ThemeFont1Color", &TPageColours::ThemeFont1Color, RGB(202, 198, 190)},
        {"ThemeFont2Color", &TPageColours::ThemeFont2Color, RGB(93, 93, 189)},
    }};
    return table;
}

int component(const ProfileIndex *ini, std::string_view section, const std::string &key,
              int fallback)
{
    return ini ? ini->readInteger(section, key, fallback) : fallback;
}

} // namespace

TPageColours BuiltInPageColours()
{
    TPageColours c = DefaultPageColours();
    c.ThemeFont1Color = RGB(0, 128, 128);
    c.ThemeFont2Color = RGB(93, 93, 198);
    return c;
}

TPageColours DefaultPageColours()
{
    TPageColours c;
    for (const Entry &e : entries())
        c.*e.member = e.fallback;
    return c;
}

TPageColours ReadPageColours(const Profile &themeFile, std::string_view themeSectionGbk)
{
    // One read of the file for all 36 keys.
    const Result<ProfileIndex> content = themeFile.open();
    return ReadPageColours(content ? &*content : nullptr, themeSectionGbk);
}

TPageColours ReadPageColours(const ProfileIndex *content, std::string_view themeSectionGbk)
{
    TPageColours c;
    for (const Entry &e : entries()) {
        const std::string name = e.name;
        const Channels def{static_cast<int>(e.fallback & 0xFF), static_cast<int>((e.fallback >> 8) & 0xFF),
                           static_cast<int>((e.fallback >> 16) & 0xFF)};
        // RGB keeps the low 8 bits of each component: 511 gives 255, 256 gives 0.
        c.*e.member = RGB(component(content, themeSectionGbk, name + "R", def.red),
                          component(content, themeSectionGbk, name + "G", def.green),
                          component(content, themeSectionGbk, name + "B", def.blue));
    }
    return c;
}

} // namespace vomra
