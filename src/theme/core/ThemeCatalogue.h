#pragma once
// The theme catalogue of Theme.Ini: section "Theme", key ThemeCount and the
// names ThemeName1 .. ThemeNameN. Empty entries are skipped, so the catalogue
// position (the theme index), not the key's number, names a theme.

#include "base/Profile.h"

#include <functional>
#include <string>
#include <vector>

namespace vomra {

inline constexpr const char *kThemeFileName = "Theme.Ini";
inline constexpr const char *kClassicThemeName = "经典 Windows9x";

std::vector<std::string> LoadThemeNames(const Profile &themeFile);
std::vector<std::string> LoadThemeNames(const ProfileIndex &themeFile);

// The saved index made valid: 0 with an empty catalogue; lowered to the catalogue
// size; 0 when the theme at that position cannot be loaded.
int ValidThemeIndex(int index, int catalogueSize, const std::function<bool(int position)> &loadByIndex);

} // namespace vomra
