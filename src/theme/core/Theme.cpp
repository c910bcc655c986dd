#include "theme/core/Theme.h"

#include "base/Gbk.h"
#include "base/Profile.h"
#include "theme/core/ThemeCatalogue.h"

#include <algorithm>

namespace vomra {

namespace {

// Columns and rows of each picture's grid, in TSkinPart order.
constexpr int kGridColumns[4] = {3, 4, 2, 3};
constexpr int kGridRows[4] = {2, 5, 2, 2};

// Positions beyond any screen are kept in a range where the window arithmetic
// cannot overflow.
int ReadPosition(const ProfileIndex &file, const std::string &section, const char *key, int def)
{
    const int v = file.readInteger(section, key, def);
    return v < -65536 ? -65536 : v > 65536 ? 65536 : v;
}

bool GridHasCells(TSkinPart part, const TSkinPicture &p)
{
    const int i = static_cast<int>(part);
    return p.width / kGridColumns[i] > 0 && p.height / kGridRows[i] > 0;
}

// A three-cell strip (title bar or bottom frame) at row y: tiles from both
// ends towards the middle, then the corners over them.
void PlanStrip(std::vector<TSkinCopy> &plan, TSkinPart part, const TSkinPicture &p, int width, int y, bool active)
{
    const int cw = p.width / 3;
    const int ch = p.height / 2;
    if (cw <= 0 || ch <= 0)
        return;
    const int r = active ? 0 : ch;
    const TSkinRect tile{cw, r, cw, ch};
    int k = 1;
    for (long long remaining = static_cast<long long>(width) - 2LL * cw; remaining > 0; remaining -= 2LL * cw, ++k) {
        plan.push_back({part, tile, k * cw, y});
        plan.push_back({part, tile, width - k * cw - cw, y});
    }
    plan.push_back({part, {0, r, cw, ch}, 0, y});
    plan.push_back({part, {p.width - cw, r, cw, ch}, width - cw, y});
}

} // namespace

TColor ReadThemeColour(const ProfileIndex &file, const std::string &section, const std::string &name, int r, int g, int b)
{
    return RGB(file.readInteger(section, name + "R", r), file.readInteger(section, name + "G", g),
               file.readInteger(section, name + "B", b));
}

void TTheme::setThemePath(std::string path)
{
    if (!path.empty() && path.back() != '/')
        path += '/';
    m_themePath = std::move(path);
}

std::shared_ptr<const ProfileIndex> TTheme::ThemeFileIndex() const
{
    FileStamp stamp;
    stamp.path = ThemeFile();
    std::error_code error;
    const auto status = std::filesystem::status(stamp.path, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        m_file.reset();
        m_fileStamp = {};
        return nullptr;
    }
    stamp.size = std::filesystem::file_size(stamp.path, error);
    stamp.written = std::filesystem::last_write_time(stamp.path, error);
    if (m_file && stamp == m_fileStamp)
        return m_file;
    auto parsed = Profile(stamp.path).open();
    if (!parsed) {
        m_file.reset();
        m_fileStamp = {};
        return nullptr;
    }
    m_file = std::make_shared<const ProfileIndex>(std::move(*parsed));
    m_fileStamp = stamp;
    return m_file;
}

void TTheme::LoadThemeNames()
{
    const auto file = ThemeFileIndex();
    m_names = file ? vomra::LoadThemeNames(*file) : std::vector<std::string>{};
}

bool TTheme::LoadThemeByIndex(int n, const TSkinPictureLoader &load)
{
    if (n < 1 || n > static_cast<int>(m_names.size()))
        return false;
    return LoadTheme(m_names[static_cast<std::size_t>(n - 1)], load);
}

bool TTheme::LoadTheme(const std::string &name, const TSkinPictureLoader &load)
{
    const auto index = ThemeFileIndex();
    if (!index)
        return false;
    const ProfileIndex &file = *index;
    static const char *const kKeys[4] = {"TitleBar", "TitleButton", "FrameLeftRight", "FrameBottom"};
    std::int64_t budget = kMaxSkinPixels;
    for (int i = 0; i < 4; ++i) {
        const std::string value = file.readString(name, kKeys[i], "");
        if (value.empty() || !load)
            return false;
        // Theme files written on Windows separate folders with backslashes;
        // replaced after decoding, where no GBK trail byte can be mistaken for one.
        std::string relative = gbk::toUtf8(value);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        auto picture = load(m_themePath + relative, budget);
        const auto part = static_cast<TSkinPart>(i);
        // A grid without whole cells would make the tiling step by nothing.
        if (!picture || !GridHasCells(part, *picture))
            return false;
        const std::int64_t pixels = std::int64_t(picture->width) * picture->height;
        if (pixels > budget)
            return false;
        budget -= pixels;
        m_pictures[i] = std::move(*picture);
    }
    const TSkinPicture &buttons = picture(TSkinPart::TitleButton);
    m_buttonWidth = buttons.width / 4;
    m_buttonHeight = buttons.height / 5;

    m_formColor = ReadThemeColour(file, name, "FormColor", 160, 160, 160);
    m_roundX = ReadPosition(file, name, "RoundRgnX", 0);
    m_roundY = ReadPosition(file, name, "RoundRgnY", 0);
    m_minX = ReadPosition(file, name, "MinButtonX", 3 * m_buttonWidth + 10);
    m_minY = ReadPosition(file, name, "MinButtonY", 4);
    m_maxX = ReadPosition(file, name, "MaxButtonX", 2 * m_buttonWidth + 10);
    m_maxY = ReadPosition(file, name, "MaxButtonY", 4);
    m_closeX = ReadPosition(file, name, "CloseButtonX", m_buttonWidth + 10);
    m_closeY = ReadPosition(file, name, "CloseButtonY", 4);
    m_iconX = ReadPosition(file, name, "IconX", 6);
    m_iconY = ReadPosition(file, name, "IconY", 6);
    m_captionX = ReadPosition(file, name, "CaptionX", 40);
    m_captionY = ReadPosition(file, name, "CaptionY", 8);
    m_activeColor = ReadThemeColour(file, name, "ActiveColor", 0, 0, 0);
    m_notActiveColor = ReadThemeColour(file, name, "NotActiveColor", 160, 160, 160);
    return true;
}

std::vector<TSkinCopy> TTheme::FramePlan(int width, int height, bool active) const
{
    std::vector<TSkinCopy> plan;
    PlanStrip(plan, TSkinPart::TitleBar, picture(TSkinPart::TitleBar), width, 0, active);

    const TSkinPicture &side = picture(TSkinPart::FrameLeftRight);
    const int sw = side.width / 2;
    const int sh = side.height / 2;
    if (sw > 0 && sh > 0) {
        const int r = active ? 0 : sh;
        const int top = TitleBarHeight();
        const int bottom = FrameBottomHeight();
        const TSkinRect left{0, r, sw, sh};
        const TSkinRect right{sw, r, sw, sh};
        int k = 1;
        for (long long remaining = static_cast<long long>(height) - top - bottom; remaining > 0;
             remaining -= 2LL * sh, ++k) {
            plan.push_back({TSkinPart::FrameLeftRight, left, 0, top + (k - 1) * sh});
            plan.push_back({TSkinPart::FrameLeftRight, left, 0, height - k * sh - bottom});
            plan.push_back({TSkinPart::FrameLeftRight, right, width - sw, top + (k - 1) * sh});
            plan.push_back({TSkinPart::FrameLeftRight, right, width - sw, height - k * sh - bottom});
        }
    }

    const TSkinPicture &bottomPicture = picture(TSkinPart::FrameBottom);
    PlanStrip(plan, TSkinPart::FrameBottom, bottomPicture, width, height - bottomPicture.height / 2, active);
    return plan;
}

std::vector<TSkinCopy> TTheme::ButtonsPlan(int width, bool active, bool maximised) const
{
    std::vector<TSkinCopy> plan;
    if (m_buttonWidth <= 0 || m_buttonHeight <= 0)
        return plan;
    for (const TSkinButton b : {TSkinButton::Min, TSkinButton::Max, TSkinButton::Close}) {
        const bool shown = b == TSkinButton::Min ? m_showMin : b == TSkinButton::Max ? m_showMax : m_showClose;
        if (!shown)
            continue;
        const bool hot = Hot(b);
        const int row = active ? (hot && Down(b) ? 2 : hot ? 1 : 0) : (hot ? 4 : 3);
        const int column = b == TSkinButton::Min ? 0 : b == TSkinButton::Max ? (maximised ? 2 : 1) : 3;
        const TSkinRect at = ButtonRect(b, width);
        plan.push_back({TSkinPart::TitleButton,
                        {column * m_buttonWidth, row * m_buttonHeight, m_buttonWidth, m_buttonHeight},
                        at.left,
                        at.top});
    }
    return plan;
}

TSkinRect TTheme::ButtonRect(TSkinButton button, int width) const
{
    switch (button) {
    case TSkinButton::Min:
        return {width - m_minX, m_minY, m_buttonWidth, m_buttonHeight};
    case TSkinButton::Max:
        return {width - m_maxX, m_maxY, m_buttonWidth, m_buttonHeight};
    case TSkinButton::Close:
        break;
    }
    return {width - m_closeX, m_closeY, m_buttonWidth, m_buttonHeight};
}

TSkinRect TTheme::CaptionStrip(int width) const
{
    return {2, 2, width - 4, TitleBarHeight() - 2};
}

std::optional<int> TTheme::HitTest(int x, int y, int width)
{
    if (!m_activate)
        return std::nullopt;
    ClearHot();
    struct Entry {
        TSkinButton button;
        bool shown;
        bool *hot;
    };
    const Entry entries[] = {{TSkinButton::Min, m_showMin, &m_minHot},
                             {TSkinButton::Max, m_showMax, &m_maxHot},
                             {TSkinButton::Close, m_showClose, &m_closeHot}};
    for (const Entry &e : entries) {
        if (ButtonRect(e.button, width).contains(x, y)) {
            if (!e.shown)
                return HTCAPTION;
            *e.hot = true;
            return HTSKINBUTTON;
        }
    }
    if (CaptionStrip(width).contains(x, y))
        return HTCAPTION;
    return std::nullopt;
}

void TTheme::TrackPress()
{
    if (!m_activate)
        return;
    m_minDown = m_minHot;
    m_maxDown = !m_minHot && m_maxHot;
    m_closeDown = !m_minHot && !m_maxHot && m_closeHot;
}

void TTheme::TrackMove(int x, int y, int width)
{
    if (!m_activate)
        return;
    m_minHot = ButtonRect(TSkinButton::Min, width).contains(x, y);
    m_maxHot = !m_minHot && ButtonRect(TSkinButton::Max, width).contains(x, y);
    m_closeHot = !m_minHot && !m_maxHot && ButtonRect(TSkinButton::Close, width).contains(x, y);
}

TSkinAction TTheme::TrackRelease()
{
    if (!m_activate)
        return TSkinAction::None;
    TSkinAction action = TSkinAction::None;
    if (m_minHot && m_minDown)
        action = TSkinAction::Minimise;
    else if (m_maxHot && m_maxDown)
        action = TSkinAction::MaximiseOrRestore;
    else if (m_closeHot && m_closeDown)
        action = TSkinAction::Close;
    m_minDown = m_maxDown = m_closeDown = false;
    return action;
}

TSkinRect SkinMainPanelRect(const TTheme &theme, int outerWidth, int outerHeight)
{
    constexpr int kBorder = 4, kCaption = 19;
    const int nonClient = kCaption + 2 * kBorder;
    const int clientWidth = outerWidth - 2 * kBorder;
    const int clientHeight = outerHeight - nonClient;
    const int t = theme.TitleBarHeight(), s = theme.FrameWidth(), b = theme.FrameBottomHeight();
    const int top = t - nonClient + 4;
    const int left = s - 4;
    const int height = clientHeight - top - b / 2 + 1;
    const int width = clientWidth - 2 * s + 8;
    // Client coordinates start inside the border and below the caption.
    return {left + kBorder, top + kCaption + kBorder, std::max(0, width), std::max(0, height)};
}

bool TTheme::Hot(TSkinButton b) const
{
    return b == TSkinButton::Min ? m_minHot : b == TSkinButton::Max ? m_maxHot : m_closeHot;
}

bool TTheme::Down(TSkinButton b) const
{
    return b == TSkinButton::Min ? m_minDown : b == TSkinButton::Max ? m_maxDown : m_closeDown;
}

} // namespace vomra
