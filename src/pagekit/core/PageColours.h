#pragma once
// The page colour scheme: twelve colours that the pages, the menu and the
// widgets inside the main window take their colours from. A theme's section of
// the theme file sets them; the classic look has its own built-in values.

#include "widgets/core/Color.h"

#include <string_view>

namespace vomra {

class Profile;
class ProfileIndex;

struct TPageColours {
    // All black until the first theme is applied.
    TColor LeftColor = 0;
    TColor LeftFontColor = 0;
    TColor LeftFontEnterColor = 0;
    TColor PanelLeftColor = 0;
    TColor PanelRightColor = 0;
    TColor RightColor = 0;
    TColor TitleLeftColor = 0;
    TColor TitleFontColor = 0;
    TColor TitleRightColor = 0;
    TColor TitleBottomColor = 0;
    TColor ThemeFont1Color = 0;
    TColor ThemeFont2Color = 0;

    bool operator==(const TPageColours &) const = default;
};

// The classic look's scheme.
TPageColours BuiltInPageColours();

// What a theme section without any colour keys gives. It differs from the
// built-in scheme in ThemeFont1Color and the blue of ThemeFont2Color.
TPageColours DefaultPageColours();

// The twelve colours of a theme's section, each from the integer keys
// name + "R", "G", "B" reduced to their low 8 bits; a missing or invalid key
// (or a missing file) gives that component's default.
TPageColours ReadPageColours(const Profile &themeFile, std::string_view themeSectionGbk);
// The same from a file already parsed (null: every default).
TPageColours ReadPageColours(const ProfileIndex *themeFile, std::string_view themeSectionGbk);

} // namespace vomra
