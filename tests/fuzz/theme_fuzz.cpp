// Theme.Ini and skin pictures of any shape: the catalogue, LoadTheme, and the
// frame and button plans for a few window sizes. Every planned copy must take its
// cell from inside its picture, and hit testing must not overflow.
//
// Input: 16 bytes of picture sizes (width and height of the four pictures, two
// bytes each, taken below 300), then the Theme.Ini text.
#include "theme/Theme.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace vomra;

namespace {

std::string Folder()
{
    static std::string folder = [] {
        char tmpl[] = "/tmp/vomra-theme-fuzzXXXXXX";
        const char *dir = mkdtemp(tmpl);
        if (!dir)
            abort();
        return std::string(dir) + "/";
    }();
    return folder;
}

void Check(bool ok)
{
    if (!ok)
        abort();
}

void CheckPlan(const TTheme &theme, const std::vector<TSkinCopy> &plan)
{
    for (const TSkinCopy &c : plan) {
        const TSkinPicture &p = theme.picture(c.picture);
        Check(c.source.left >= 0 && c.source.top >= 0 && c.source.width > 0 && c.source.height > 0);
        Check(c.source.left + c.source.width <= p.width && c.source.top + c.source.height <= p.height);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 16)
        return 0;
    int sizes[8];
    for (int i = 0; i < 8; ++i)
        sizes[i] = (data[2 * i] | (data[2 * i + 1] << 8)) % 300;
    const std::string ini(reinterpret_cast<const char *>(data) + 16, size - 16);
    const std::string folder = Folder();
    FILE *f = fopen((folder + "Theme.Ini").c_str(), "wb");
    if (!f)
        return 0;
    fwrite(ini.data(), 1, ini.size(), f);
    fclose(f);

    TTheme theme;
    theme.setThemePath(folder);
    theme.LoadThemeNames();
    int next = 0;
    const TSkinPictureLoader load = [&](const std::string &, std::int64_t) -> std::optional<TSkinPicture> {
        const int i = next++ % 4;
        if (sizes[2 * i] == 0)
            return std::nullopt;
        return TSkinPicture{sizes[2 * i], sizes[2 * i + 1], {}};
    };
    const int count = static_cast<int>(theme.ThemeNameList().size());
    for (int n = 0; n <= count + 1 && n < 8; ++n) {
        next = 0;
        theme.LoadThemeByIndex(n, load);
        theme.setThemeActivate(true);
        for (const auto &[w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{640, 480}, std::pair{2000, 1500}}) {
            CheckPlan(theme, theme.FramePlan(w, h, n % 2 == 0));
            CheckPlan(theme, theme.ButtonsPlan(w, n % 2 == 1, w > 100));
            theme.HitTest(w / 2, 3, w);
            theme.TrackPress();
            theme.TrackMove(w - 20, 10, w);
            theme.TrackRelease();
            SkinMainPanelRect(theme, w, h);
        }
    }
    return 0;
}
