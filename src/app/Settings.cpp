#include "app/Settings.h"

#include "platform/Gbk.h"

#include <algorithm>

namespace vomra {

namespace k = settings_keys;

namespace {
std::string g(const char *utf8) { return gbk::fromUtf8(utf8); }
} // namespace

std::string settingsPath(const std::string &programFolder) { return programFolder + "QOBR.Ini"; }

std::string readUtf8(const Profile &file, const char *section, const char *key, const char *def)
{
    return gbk::toUtf8(file.readString(g(section), g(key), g(def)));
}

bool writeUtf8(const Profile &file, const char *section, const char *key, const std::string &valueUtf8)
{
    return file.writeString(g(section), g(key), gbk::fromUtf8(valueUtf8));
}

Settings readSettings(const Profile &file, int screenWidth, int screenHeight)
{
    Settings s;
    const std::string form = g(k::kFormSection);
    s.width = std::max(file.readInteger(form, g(k::kWidth), kMinWindowWidth), kMinWindowWidth);
    s.height = std::max(file.readInteger(form, g(k::kHeight), kMinWindowHeight), kMinWindowHeight);
    const std::string state = file.readString(form, g(k::kState), g(k::kStateNormal));
    const bool savedMaximized = state == g(k::kStateMaximized);
    if (savedMaximized) {
        // A window closed maximised comes back to 640 x 480 when restored.
        s.width = kMinWindowWidth;
        s.height = kMinWindowHeight;
    }
    if (screenWidth < s.width || screenHeight < s.height)
        s.state = WindowState::Maximized;
    else if (state == g(k::kStateMinimized))
        s.state = WindowState::Minimized;
    else if (savedMaximized)
        s.state = WindowState::Maximized;
    else
        s.state = WindowState::Normal;

    s.leftWidth = std::clamp(file.readInteger(form, g(k::kLeftWidth), kMinLeftWidth), kMinLeftWidth,
                             kMaxLeftWidth);
    s.themeIndex = std::max(file.readInteger(g(k::kThemeSection), g(k::kTheme), 0), 0);
    s.transparent = file.readBool(g(k::kGrinderSection), g(k::kTransparent), false);
    return s;
}

bool writeSettings(const Profile &file, const Settings &current, std::string *failedPath)
{
    const std::string form = g(k::kFormSection);
    const bool maximized = current.state == WindowState::Maximized;
    const char *stateText = maximized                                      ? k::kStateMaximized
                            : current.state == WindowState::Minimized ? k::kStateMinimized
                                                                           : k::kStateNormal;
    const bool ok = file.writeInteger(form, g(k::kWidth), maximized ? kMinWindowWidth : current.width)
        && file.writeInteger(form, g(k::kHeight), maximized ? kMinWindowHeight : current.height)
        && file.writeString(form, g(k::kState), g(stateText))
        && file.writeInteger(form, g(k::kLeftWidth), current.leftWidth)
        && file.writeInteger(g(k::kThemeSection), g(k::kTheme), current.themeIndex)
        && file.writeBool(g(k::kGrinderSection), g(k::kTransparent), current.transparent);
    if (!ok && failedPath)
        *failedPath = file.path();
    return ok;
}

} // namespace vomra
