#pragma once
// The settings kept in QOBR.Ini: read once when the main window is created,
// written once when it closes. Logic only; the main window applies the result.

#include "base/Profile.h"

#include <string>

namespace vomra {

enum class WindowState { Normal, Minimized, Maximized };

struct Settings {
    // The window's outer size, frame included.
    int width = 640;
    int height = 480;
    WindowState state = WindowState::Normal;
    int leftWidth = 192;
    int themeIndex = 0;
    bool transparent = false;
};

inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 480;
inline constexpr int kMinLeftWidth = 192;
inline constexpr int kMaxLeftWidth = 296;

// Section and key names as UTF-8; SettingsFile converts them to the file's GBK.
namespace settings_keys {
inline constexpr const char *kFormSection = "窗体";
inline constexpr const char *kWidth = "宽度";
inline constexpr const char *kHeight = "高度";
inline constexpr const char *kState = "状态";
inline constexpr const char *kLeftWidth = "左边宽度";
inline constexpr const char *kThemeSection = "界面方案";
inline constexpr const char *kTheme = "方案";
inline constexpr const char *kGrinderSection = "图片磨牙器";
inline constexpr const char *kTransparent = "图片透明化";
inline constexpr const char *kStandardRamp = "常规灰度";
inline constexpr const char *kRamp94 = "94 级灰度";
// Both the read and the save of the custom ramp use this key.
inline constexpr const char *kCustomRamp = "自定义灰度";
inline constexpr const char *kStateNormal = "标准";
inline constexpr const char *kStateMaximized = "最大化";
inline constexpr const char *kStateMinimized = "最小化";
} // namespace settings_keys

// The settings file of a program folder ("QOBR.Ini" in it).
std::string settingsPath(const std::string &programFolder);

// The screen the window starts on: its whole size, and the part of it windows
// may cover (without the desktop's panels).
struct ScreenArea {
    int width = 0;
    int height = 0;
    int availableWidth = 0;
    int availableHeight = 0;
};

// Reads with every default and clamp; a window larger than the screen starts
// maximised. The size (outer, frame included) is then cut to the available
// area, so that restoring never makes a window larger than the screen.
Settings readSettings(const Profile &file, const ScreenArea &screen);

// Writes the close-time settings in their fixed order, in one write; the reason
// (naming the file's full path) when it fails.
Result<void> writeSettings(const Profile &file, const Settings &current);

} // namespace vomra
