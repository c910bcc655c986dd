// A downloaded theme folder, as the program takes it in: Theme.Ini and its skin
// pictures read through the program's own loader (our picture readers, the link
// check), the catalogue and the saved index made valid, the page colours, the
// themes page's description and preview, then the frame and caption buttons
// painted offscreen for a few window sizes (some buttons hidden), hit testing,
// the press tracking and the window region.
//
// Input: the Theme.Ini text, then files, each after a line "@@FILE <name>" (a
// name below the theme folder, '/' for subfolders). The theme folder also holds
// "link.bmp", a link to a good picture outside it, which must never load.
#include "base/Profile.h"
#include "pagekit/PageHost.h"
#include "pagekit/core/PageColours.h"
#include "support/TempFolder.h"
#include "theme/core/Theme.h"
#include "theme/core/ThemeCatalogue.h"
#include "theme/ui/SkinPaint.h"
#include "theme/ui/ThemePage.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace vomra;
namespace fs = std::filesystem;

namespace {

std::string_view g_input;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "theme_fuzz: %s; input (%zu bytes):", what, g_input.size());
    for (std::size_t i = 0; i < g_input.size() && i < 64; ++i)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(g_input[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

void check(bool ok, const char *what)
{
    if (!ok)
        fail(what);
}

// The folder every input builds its theme in ("Theme/" inside, a picture
// beside it), removed at exit.
const std::string &root()
{
    static const test::TempFolder folder;
    return folder.path();
}

void writeFile(const std::string &path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// A 2 × 2 bitmap, 24 bits a pixel: a picture any skin part would take.
std::string goodBitmap()
{
    std::string b = "BM";
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(char(v >> (8 * i)));
    };
    put32(14 + 40 + 16);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(2);
    put32(2);
    b += std::string("\x01\x00\x18\x00", 4);
    for (int i = 0; i < 6; ++i)
        put32(0);
    b += std::string(16, '\x7F');
    return b;
}

// Writes the theme folder for one input.
void buildFolder(std::string_view input, const std::string &themes)
{
    static constexpr std::string_view kMark = "\n@@FILE ";
    std::size_t end = input.find(kMark);
    writeFile(themes + "Theme.Ini", input.substr(0, end));
    while (end != std::string_view::npos) {
        const std::size_t nameStart = end + kMark.size();
        const std::size_t nameEnd = input.find('\n', nameStart);
        if (nameEnd == std::string_view::npos)
            break;
        end = input.find(kMark, nameEnd);
        std::string name(input.substr(nameStart, std::min<std::size_t>(nameEnd - nameStart, 60)));
        const std::string_view body =
            input.substr(nameEnd + 1, end == std::string_view::npos ? end : end - nameEnd - 1);
        // Below the theme folder only; the loader, not the harness, is under test.
        std::string clean;
        for (const auto &part : fs::path(name)) {
            const std::string p = part.string();
            if (p.empty() || p == "." || p == ".." || p == "/" || p.find('\0') != std::string::npos)
                continue;
            clean += (clean.empty() ? "" : "/") + p;
        }
        if (clean.empty() || clean == "Theme.Ini" || clean == "link.bmp")
            continue;
        std::error_code ec;
        fs::create_directories(fs::path(themes + clean).parent_path(), ec);
        writeFile(themes + clean, body);
    }
}

// Page colours by the plain reading: each of the 36 keys looked up in the whole
// text, low 8 bits, the default where a key is missing or no integer.
TPageColours plainPageColours(std::string_view ini, const std::string &section)
{
    struct Entry {
        const char *name;
        TColor TPageColours::*member;
    };
    static const Entry kEntries[] = {
        {"LeftColor", &TPageColours::LeftColor},
        {"LeftFontColor", &TPageColours::LeftFontColor},
        {"LeftFontEnterColor", &TPageColours::LeftFontEnterColor},
        {"PanelLeftColor", &TPageColours::PanelLeftColor},
        {"PanelRightColor", &TPageColours::PanelRightColor},
        {"RightColor", &TPageColours::RightColor},
        {"TitleLeftColor", &TPageColours::TitleLeftColor},
        {"TitleFontColor", &TPageColours::TitleFontColor},
        {"TitleRightColor", &TPageColours::TitleRightColor},
        {"TitleBottomColor", &TPageColours::TitleBottomColor},
        {"ThemeFont1Color", &TPageColours::ThemeFont1Color},
        {"ThemeFont2Color", &TPageColours::ThemeFont2Color},
    };
    const TPageColours defaults = DefaultPageColours();
    TPageColours c;
    for (const Entry &e : kEntries) {
        TColor colour = 0;
        const char *const channels[] = {"R", "G", "B"};
        for (int i = 0; i < 3; ++i) {
            int v = static_cast<int>((defaults.*e.member >> (8 * i)) & 0xFF);
            if (const auto text = Profile::lookup(ini, section, std::string(e.name) + channels[i]))
                v = Profile::parseInteger(*text).value_or(v);
            colour |= TColor(v & 0xFF) << (8 * i);
        }
        c.*e.member = colour;
    }
    return c;
}

void checkPlan(const TTheme &theme, const std::vector<TSkinCopy> &plan)
{
    for (const TSkinCopy &c : plan) {
        const TSkinPicture &p = theme.picture(c.picture);
        check(c.source.left >= 0 && c.source.top >= 0 && c.source.width > 0 && c.source.height > 0,
              "a copy with an empty or negative cell");
        check(c.source.left + c.source.width <= p.width && c.source.top + c.source.height <= p.height,
              "a copy from outside its picture");
    }
}

class FakeHost : public TPageHost, public TThemeHost {
public:
    QWidget window;
    QWidget panel{&window};
    std::string folder;
    TTheme *theme = nullptr;
    int index = 0;
    TPageColours colours = BuiltInPageColours();

    QWidget *hostWindow() override { return &window; }
    QWidget *pagePanel(TPage) override { return &panel; }
    QFont windowFont() const override { return QFont(); }
    const std::string &programFolder() const override { return folder; }
    int CurrentPage() const override { return pgTheme; }
    void SetCurrentPage(int) override {}
    int FontSize() const override { return 9; }
    void FontSizeStep(int) override {}
    const TPageColours &PageColours() const override { return colours; }
    TGWImageList *imageList(int) override { return nullptr; }
    QTreeWidget *recipeTree() override { return nullptr; }
    TTheme &Theme1() override { return *theme; }
    int ThemeIndex() const override { return index; }
    void ApplyTheme(const std::string &) override {}
};

FakeHost *g_host = nullptr;
TThemePage *g_page = nullptr;

void paintAndTrack(TTheme &theme, int w, int h, bool active, bool maximised)
{
    checkPlan(theme, theme.FramePlan(w, h, active));
    checkPlan(theme, theme.ButtonsPlan(w, active, maximised));
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(Qt::magenta);
    {
        QPainter p(&canvas);
        const TSkinImages images = SkinImages(theme);
        const TSkinWindowState state{w, h, active, maximised};
        static const QPixmap icon = [] {
            QPixmap pm(16, 16);
            pm.fill(Qt::darkGreen);
            return pm;
        }();
        PaintSkinFrame(p, theme, images, state, icon, QStringLiteral("Vomra 标题"), QFont());
        PaintSkinButtons(p, theme, images, state);
    }
    const QRegion region = SkinRegion(w, h, theme.RoundRgnX(), theme.RoundRgnY());
    check(QRect(0, 0, w + 1, h + 50).contains(region.boundingRect()) || region.isEmpty(),
          "the window region reaches outside its rectangle");
    for (const auto &[x, y] : {std::pair{w / 2, 3}, std::pair{w - 20, 10}, std::pair{w - 5, 5}, std::pair{2, h / 2}}) {
        theme.HitTest(x, y, w);
        theme.TrackPress();
        theme.TrackMove(x, y, w);
        theme.TrackRelease();
    }
    SkinMainPanelRect(theme, w, h);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static FakeHost host;
    host.folder = root();
    host.panel.resize(600, 400);
    g_host = &host;
    static TThemePage page(host, host);
    g_page = &page;
    fs::create_directories(root() + "Theme");
    // A good picture outside the theme folder, and a link to it from inside.
    writeFile(root() + "outside.bmp", goodBitmap());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_input = std::string_view(reinterpret_cast<const char *>(data), size);
    const std::string themes = root() + "Theme/";
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(themes, ec))
        fs::remove_all(entry.path(), ec);
    buildFolder(g_input, themes);
    if (::symlink("../outside.bmp", (themes + "link.bmp").c_str()) != 0)
        fail("cannot make the link");

    TTheme theme;
    theme.setThemePath(themes);
    theme.LoadThemeNames();
    const TSkinPictureLoader load = SkinPictureLoader(themes);
    check(!load(themes + "link.bmp", kMaxSkinPixels), "a picture through a link out of the folder loaded");
    check(load(root() + "outside.bmp", kMaxSkinPixels) == std::nullopt, "a picture outside the folder loaded");

    const auto &names = theme.ThemeNameList();
    const int count = static_cast<int>(names.size());
    // The saved index and the hidden buttons, from the input's length.
    const int saved = static_cast<int>(size % 7) - 1;
    const int valid = ValidThemeIndex(saved, count, [&](int n) { return theme.LoadThemeByIndex(n, load); });
    check(valid == 0 || valid == std::min(saved, count), "the saved index made valid is neither 0 nor itself lowered");
    if (valid > 0)
        check(theme.LoadThemeByIndex(valid, load), "the index made valid does not load");
    theme.setShowMinBtn(size & 8);
    theme.setShowMaxBtn(size & 16);
    theme.setShowCloseBtn(size & 32);

    std::string_view iniText = g_input.substr(0, g_input.find("\n@@FILE "));
    const auto index = theme.ThemeFileIndex();
    g_host->theme = &theme;
    for (int n = 0; n <= count && n < 6; ++n) {
        if (n > 0 && !theme.LoadThemeByIndex(n, load))
            continue;
        std::int64_t pixels = 0;
        for (int i = 0; i < 4; ++i) {
            const TSkinPicture &p = theme.picture(static_cast<TSkinPart>(i));
            check(p.pixels.size() == std::size_t(std::max(p.width, 0)) * std::size_t(std::max(p.height, 0)),
                  "a skin picture whose pixels do not fill it");
            pixels += std::int64_t(p.width) * p.height;
        }
        check(pixels <= kMaxSkinPixels, "the skin holds more pixels than the limit");
        if (n > 0) {
            const std::string &name = names[std::size_t(n - 1)];
            check(ReadPageColours(index.get(), name) == plainPageColours(iniText, name),
                  "page colours differ from the plain reading");
            g_host->index = n;
            g_page->ShowThemeDescription(name);
        }
        theme.setThemeActivate(true);
        for (const auto &[w, h] : {std::pair{1, 1}, std::pair{130, 90}, std::pair{640, 480}})
            paintAndTrack(theme, w, h, (n + w) % 2 == 0, w > 600);
    }
    g_host->index = valid;
    g_page->FillThemeList();
    g_host->theme = nullptr;
    return 0;
}
