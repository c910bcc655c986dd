#include "theme/core/ThemeCatalogue.h"

#include <algorithm>

namespace vomra {

std::vector<std::string> LoadThemeNames(const Profile &themeFile)
{
    const auto ini = themeFile.open();
    return ini ? LoadThemeNames(*ini) : std::vector<std::string>{};
}

std::vector<std::string> LoadThemeNames(const ProfileIndex &file)
{
    std::vector<std::string> names;
    const ProfileIndex *ini = &file;
    int count = ini->readInteger("Theme", "ThemeCount", 0);
    // A file cannot hold more names than lines: a huge count must not spin.
    const std::string &bytes = ini->bytes();
    const auto lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    count = std::min(count, lines);
    for (int n = 1; n <= count; ++n) {
        auto name = ini->value("Theme", "ThemeName" + std::to_string(n));
        if (name && !name->empty())
            names.push_back(std::move(*name));
    }
    return names;
}

int ValidThemeIndex(int index, int catalogueSize, const std::function<bool(int position)> &loadByIndex)
{
    if (catalogueSize <= 0)
        return 0;
    if (index > catalogueSize)
        index = catalogueSize;
    if (index < 1 || !loadByIndex(index))
        return 0;
    return index;
}

} // namespace vomra
