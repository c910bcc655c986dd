// The main window's side of the themes: the skin component, putting a theme in
// force, the frame's place for the contents.

#include "app/Main.h"

#include "base/Gbk.h"
#include "platform/FrameExtents.h"
#include "platform/ImageIO.h"
#include "theme/ui/SkinWindow.h"
#include "theme/core/Theme.h"
#include "theme/core/ThemeCatalogue.h"
#include "theme/ui/ThemePage.h"
#include "widgets/Panel.h"

namespace vomra {

namespace {

const std::string &ClassicName()
{
    static const std::string name = gbk::fromUtf8(kClassicThemeName);
    return name;
}

} // namespace

TSkinPictureLoader TfrmMain::skinPictureLoader() const
{
    return SkinPictureLoader(m_theme1->ThemePath());
}

void TfrmMain::createTheme()
{
    m_theme1 = std::make_unique<TTheme>();
    m_theme1->setThemeFileName(kThemeFileName);
    m_theme1->setThemePath(m_programFolder + "Theme");
    m_skin = new TSkinWindow(*this, *m_theme1);
    m_skin->suppressPaint = [this] { return GWAutoPanelTitle1 && GWAutoPanelTitle1->Expandeding(); };
    // The outer box stays when the manager's frame comes or goes: the inside
    // takes what the frame does not, and the minimum stays an outer one.
    m_skin->frameChanged = [this](const QRect &oldInside) {
        const QRect outer = oldInside.marginsAdded(m_frame);
        m_pendingOuter.reset();
        QMargins frame;
        if (!windowFlags().testFlag(Qt::FramelessWindowHint)) {
            winId();
            frame = requestFrameExtents(windowHandle());
            // A manager may answer for the frame of the window as it was; the
            // real frame is then seen once the window is back on screen.
            if (frame.isNull()) {
                frame = m_managerFrame;
                m_pendingOuter = outer;
            }
        }
        fitOuter(outer, frame);
    };
}

void TfrmMain::fitOuter(const QRect &outer, const QMargins &frame)
{
    m_frame = frame;
    setMinimumSize(QSize(kMinWindowWidth, kMinWindowHeight).shrunkBy(frame));
    setGeometry(outer.marginsRemoved(frame));
}

void TfrmMain::startTheme()
{
    // The catalogue, then the saved index made valid and that theme put in force.
    m_theme1->LoadThemeNames();
    const auto &names = m_theme1->ThemeNameList();
    m_themeIndex = ValidThemeIndex(m_themeIndex, static_cast<int>(names.size()), [this](int n) {
        return m_theme1->LoadThemeByIndex(n, skinPictureLoader());
    });
    ApplyTheme(m_themeIndex == 0 ? ClassicName() : names[static_cast<std::size_t>(m_themeIndex - 1)]);
}

void TfrmMain::ApplyTheme(const std::string &name)
{
    auto classic = [this] {
        m_themeIndex = 0;
        UseBuiltInPageColours();
        m_skin->setActive(false);
    };
    if (name == ClassicName()) {
        classic();
    } else {
        const auto &names = m_theme1->ThemeNameList();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                m_themeIndex = static_cast<int>(i) + 1;
        if (m_theme1->LoadTheme(name, skinPictureLoader())) {
            m_pageColours = ReadPageColours(m_theme1->ThemeFileIndex().get(), name);
            ApplyPageColours();
            m_skin->reload();
            m_skin->setActive(true);
        } else {
            classic();
        }
    }
    MainPanelPlacement();
}

void TfrmMain::MainPanelPlacement()
{
    pnlMain->hide();
    if (m_theme1 && m_theme1->ThemeActivate()) {
        const TSkinRect r = SkinMainPanelRect(*m_theme1, width(), height());
        pnlMain->setGeometry(r.left, r.top, r.width, r.height);
    } else {
        pnlMain->setGeometry(0, 0, width(), height());
    }
    pnlMain->show();
}

} // namespace vomra
