#include "theme/ThemeCatalogue.h"

#include <algorithm>

namespace vomra {

std::vector<std::string> LoadThemeNames(const Profile &themeFile)
{
    std::vector<std::string> names;
    const auto content = readFileBytes(themeFile.path());
    if (!content)
        return names;
    int count = Profile::parseInteger(Profile::lookup(*content, "Theme", "ThemeCount").value_or("0")).value_or(0);
    // A file cannot hold more names than lines: a huge count must not spin.
    const auto lines = static_cast<int>(std::count(content->begin(), content->end(), '\n')) + 1;
    count = std::min(count, lines);
    for (int n = 1; n <= count; ++n) {
        auto name = Profile::lookup(*content, "Theme", "ThemeName" + std::to_string(n));
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
