#pragma once
// The skin component: the theme catalogue and one theme's four pictures and
// numbers from Theme.Ini, the frame measures, the copy plans that paint the
// frame and the caption buttons, hit testing and the caption-button press.
// Pure logic: pictures arrive through a loader, painting is a list of cell
// copies the window side carries out, positions are window coordinates.

#include "widgets/core/Color.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vomra {

class ProfileIndex;

// A decoded skin picture, 0x00RRGGBB pixels row by row.
struct TSkinPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool empty() const { return width <= 0 || height <= 0; }
};

// A real skin has a few thousand pixels. A hostile one must not take the
// machine's memory: its four pictures together may have this many, and a
// picture beyond what is left is refused as a broken one would be (each pixel is
// held twice, 4 bytes in the skin and 4 in the copy painted from).
inline constexpr std::int64_t kMaxSkinPixels = 16'000'000;

// Loads a picture file with at most maxPixels pixels, judged before it is
// decoded; nothing when it is missing, larger or not a readable picture.
using TSkinPictureLoader = std::function<std::optional<TSkinPicture>(const std::string &path, std::int64_t maxPixels)>;

enum class TSkinPart : std::uint8_t { TitleBar, TitleButton, FrameLeftRight, FrameBottom };

struct TSkinRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
    bool operator==(const TSkinRect &) const = default;
};

// One plain pixel copy: a cell of a picture to a point of the window.
struct TSkinCopy {
    TSkinPart picture;
    TSkinRect source;
    int x = 0, y = 0;
    bool operator==(const TSkinCopy &) const = default;
};

enum class TSkinButton : std::uint8_t { Min, Max, Close };

// Hit codes: the caption lets the window be moved, a skin button is left to
// the press tracking (a code the window system does not act on).
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSKINBUTTON = 1018;

enum class TSkinAction : std::uint8_t { None, Minimise, MaximiseOrRestore, Close };

class TTheme {
public:
    // Catalogue and files.
    const std::vector<std::string> &ThemeNameList() const { return m_names; }
    const std::string &ThemePath() const { return m_themePath; }
    void setThemePath(std::string path);
    const std::string &ThemeFileName() const { return m_themeFileName; }
    void setThemeFileName(std::string name) { m_themeFileName = std::move(name); }
    std::string ThemeFile() const { return m_themePath + m_themeFileName; }
    // The theme file parsed once and shared by every reader (catalogue, skin,
    // colours, descriptions) until the file changes on disk; null when it
    // cannot be read.
    std::shared_ptr<const ProfileIndex> ThemeFileIndex() const;

    bool ShowMinBtn() const { return m_showMin; }
    void setShowMinBtn(bool on) { m_showMin = on; }
    bool ShowMaxBtn() const { return m_showMax; }
    void setShowMaxBtn(bool on) { m_showMax = on; }
    bool ShowCloseBtn() const { return m_showClose; }
    void setShowCloseBtn(bool on) { m_showClose = on; }
    bool ThemeActivate() const { return m_activate; }
    void setThemeActivate(bool on) { m_activate = on; }

    void LoadThemeNames();
    // Position n of the catalogue, 1-based; false outside it without reading anything.
    bool LoadThemeByIndex(int n, const TSkinPictureLoader &load);
    // The four pictures in order, then the numbers. A failure keeps what loaded
    // before it and the old numbers; a picture too small for its grid is a failure.
    bool LoadTheme(const std::string &name, const TSkinPictureLoader &load);

    // The loaded skin.
    const TSkinPicture &picture(TSkinPart part) const { return m_pictures[static_cast<int>(part)]; }
    TColor FormColor() const { return m_formColor; }
    void setFormColor(TColor c) { m_formColor = c; }
    TColor ActiveColor() const { return m_activeColor; }
    TColor NotActiveColor() const { return m_notActiveColor; }
    int ButtonWidth() const { return m_buttonWidth; }
    int ButtonHeight() const { return m_buttonHeight; }
    int RoundRgnX() const { return m_roundX; }
    int RoundRgnY() const { return m_roundY; }
    int IconX() const { return m_iconX; }
    int IconY() const { return m_iconY; }
    int CaptionX() const { return m_captionX; }
    int CaptionY() const { return m_captionY; }

    int TitleBarHeight() const { return picture(TSkinPart::TitleBar).height / 2; }
    int FrameWidth() const { return picture(TSkinPart::FrameLeftRight).width / 2; }
    int FrameBottomHeight() const { return picture(TSkinPart::FrameBottom).height / 2; }

    // Painting plans for a window of the given outer size.
    std::vector<TSkinCopy> FramePlan(int width, int height, bool active) const;
    std::vector<TSkinCopy> ButtonsPlan(int width, bool active, bool maximised) const;

    TSkinRect ButtonRect(TSkinButton button, int width) const;
    TSkinRect CaptionStrip(int width) const;

    // Window-coordinate hit test: the new result, or nothing when the window
    // system's own result stays. Sets the hot flags; does nothing while no skin
    // is in force.
    std::optional<int> HitTest(int x, int y, int width);

    // The press of a caption button, event by event: the press starts tracking
    // the hot button, every move updates the hot flags, the release says what to do.
    void TrackPress();
    void TrackMove(int x, int y, int width);
    TSkinAction TrackRelease();
    bool Tracking() const { return m_minDown || m_maxDown || m_closeDown; }
    // The pointer left the window: nothing is hot any more.
    void ClearHot() { m_minHot = m_maxHot = m_closeHot = false; }

    bool Hot(TSkinButton b) const;
    bool Down(TSkinButton b) const;

private:
    std::vector<std::string> m_names;
    struct FileStamp {
        std::string path;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written{};
        bool operator==(const FileStamp &) const = default;
    };
    mutable FileStamp m_fileStamp;
    mutable std::shared_ptr<const ProfileIndex> m_file;
    std::string m_themePath;
    std::string m_themeFileName = "Theme.Ini";
    bool m_showMin = true, m_showMax = true, m_showClose = true;
    bool m_activate = false;

    TSkinPicture m_pictures[4];
    TColor m_formColor = clBtnFace;
    TColor m_activeColor = 0;
    TColor m_notActiveColor = 0;
    int m_buttonWidth = 0, m_buttonHeight = 0;
    int m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0, m_closeX = 0, m_closeY = 0;
    int m_iconX = 0, m_iconY = 0, m_captionX = 0, m_captionY = 0;
    int m_roundX = 0, m_roundY = 0;

    bool m_minHot = false, m_maxHot = false, m_closeHot = false;
    bool m_minDown = false, m_maxDown = false, m_closeDown = false;
};

// Where the window's contents go inside the skin frame, in window coordinates,
// for a window of the given outer size. The placement is worked out against the
// classic frame the window would have (4-pixel borders, a 19-pixel caption),
// so the contents sit as they do there.
TSkinRect SkinMainPanelRect(const TTheme &theme, int outerWidth, int outerHeight);

// A theme-file colour from the keys name+"R", name+"G", name+"B", each reduced
// to its low 8 bits.
TColor ReadThemeColour(const ProfileIndex &file, const std::string &section, const std::string &name, int r, int g, int b);

} // namespace vomra
