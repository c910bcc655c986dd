#include "base/Settings.h"

#include "base/AtomicFile.h"
#include "base/Gbk.h"

#include <algorithm>

namespace vomra {

namespace k = settings_keys;

namespace {
std::string g(const char *utf8) { return gbk::fromUtf8(utf8); }

// The file's bytes, read once, with the reading rules of Profile over them.
struct ReadOnce {
    std::string content;

    std::string string(const std::string &section, const char *key, const std::string &def) const
    {
        return Profile::lookup(content, section, g(key)).value_or(def);
    }
    int integer(const std::string &section, const char *key, int def) const
    {
        const auto v = Profile::lookup(content, section, g(key));
        return v ? Profile::parseInteger(*v).value_or(def) : def;
    }
};
} // namespace

std::string settingsPath(const std::string &programFolder) { return programFolder + "QOBR.Ini"; }

Settings readSettings(const Profile &file, const ScreenArea &screen)
{
    Settings s;
    const ReadOnce ini{readFileBytes(file.path()).value_or(std::string())};
    const std::string form = g(k::kFormSection);
    s.width = std::max(ini.integer(form, k::kWidth, kMinWindowWidth), kMinWindowWidth);
    s.height = std::max(ini.integer(form, k::kHeight, kMinWindowHeight), kMinWindowHeight);
    const std::string state = ini.string(form, k::kState, g(k::kStateNormal));
    const bool savedMaximized = state == g(k::kStateMaximized);
    if (savedMaximized) {
        // A window closed maximised comes back to 640 x 480 when restored.
        s.width = kMinWindowWidth;
        s.height = kMinWindowHeight;
    }
    if (screen.width < s.width || screen.height < s.height)
        s.state = WindowState::Maximized;
    else if (state == g(k::kStateMinimized))
        s.state = WindowState::Minimized;
    else if (savedMaximized)
        s.state = WindowState::Maximized;
    else
        s.state = WindowState::Normal;

    // Never restored larger than the screen (but never below the minimum size).
    s.width = std::min(s.width, std::max(screen.availableWidth, kMinWindowWidth));
    s.height = std::min(s.height, std::max(screen.availableHeight, kMinWindowHeight));

    s.leftWidth = std::clamp(ini.integer(form, k::kLeftWidth, kMinLeftWidth), kMinLeftWidth, kMaxLeftWidth);
    s.themeIndex = std::max(ini.integer(g(k::kThemeSection), k::kTheme, 0), 0);
    s.transparent = ini.integer(g(k::kGrinderSection), k::kTransparent, 0) != 0;
    return s;
}

Result<void> writeSettings(const Profile &file, const Settings &current)
{
    const std::string form = g(k::kFormSection);
    const bool maximized = current.state == WindowState::Maximized;
    const char *stateText = maximized                                      ? k::kStateMaximized
                            : current.state == WindowState::Minimized ? k::kStateMinimized
                                                                           : k::kStateNormal;
    // All six entries go into the file's bytes first and the file is written once:
    // one rename instead of six, and a failure leaves the old file whole.
    std::string content = readFileBytes(file.path()).value_or(std::string());
    auto put = [&content](const std::string &section, const char *key, const std::string &value) {
        content = Profile::withEntry(content, section, g(key), value);
    };
    put(form, k::kWidth, std::to_string(maximized ? kMinWindowWidth : current.width));
    put(form, k::kHeight, std::to_string(maximized ? kMinWindowHeight : current.height));
    put(form, k::kState, g(stateText));
    put(form, k::kLeftWidth, std::to_string(current.leftWidth));
    put(g(k::kThemeSection), k::kTheme, std::to_string(current.themeIndex));
    put(g(k::kGrinderSection), k::kTransparent, current.transparent ? "1" : "0");
    return writeFileAtomically(file.path(), content);
}

} // namespace vomra
