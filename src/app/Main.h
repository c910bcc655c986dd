#pragma once
// The main window: the left column with its menu and recipe tree, the title bar,
// and the five pages behind one page switch.

#include "base/Settings.h"
#include "pagekit/PageHost.h"
#include "pagekit/core/PageColours.h"
#include "theme/core/Theme.h"
#include "theme/ui/ThemePage.h"
#include "widgets/core/Color.h"

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QTreeWidget;
class QPlainTextEdit;

namespace vomra {

class TGWPanel;
class TGWAutoPanel;
class TGWAutoPanelTitle;
class TGWImageLabel;
class TGWImageList;
class TGWHint;
class TSplitter;
class TArtFontPage;
class TPicturePage;
class TPenPage;
class TThemePage;
class TRecipePage;
class TPopMenuEdit;

class TSkinWindow;

class TfrmMain : public QWidget, public TPageHost, public TThemeHost {
    Q_OBJECT
public:
    // programFolder: where QOBR.Ini, QOBR.CHM, the themes and the recipes live
    // (with a trailing "/"), as bytes. splash: the About window shown while the window is
    // built, closed at the end of the start, or none.
    explicit TfrmMain(std::string programFolder, QWidget *splash = nullptr, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // What the pages get of the window.
    QWidget *hostWindow() override { return this; }
    QWidget *pagePanel(TPage page) override;
    QFont windowFont() const override { return font(); }
    const std::string &programFolder() const override { return m_programFolder; }
    int CurrentPage() const override { return m_currentPage; }
    void SetCurrentPage(int page) override;
    int FontSize() const override { return m_fontSize; }
    const TPageColours &PageColours() const override { return m_pageColours; }
    TGWImageList *imageList(int n) override;
    QTreeWidget *recipeTree() override { return TreeView1; }

    // The skin component and the theme in force.
    TTheme &Theme1() override { return *m_theme1; }
    int ThemeIndex() const override { return m_themeIndex; }
    void ApplyTheme(const std::string &name) override;
    TSkinWindow *skin() const { return m_skin; }

    // Handlers bound by name.
    void GWImageLabel1Click(QObject *Sender);
    void Splitter1CanResize(int &NewSize, bool &Accept);
    void GWAutoPanelTitle1Expanded(QObject *Sender);
    void pnlLeftResize();
    void pnlArtFontResize();
    void pnlThemeResize();
    void FormClose();

    // Steps 9-13 of the start: shown in its saved state, lists filled, splash closed.
    void showAtStart();

    void PageSwitch();
    void TreeFit();
    void MainPanelPlacement();
    // The font-size step of the three pages' "字体型号减小"/"字体型号增大" labels.
    void FontSizeStep(int delta) override;
    void UseBuiltInPageColours();
    void ApplyPageColours();

    // Menu item "关于Vomra": shows the About window modally.
    std::function<void()> OnShowAbout;

    // Components (object names equal the member names).
    TGWPanel *pnlMain = nullptr;
    TGWPanel *pnlLeft = nullptr;
    TSplitter *Splitter1 = nullptr;
    TGWPanel *pnlRight = nullptr;
    TGWPanel *pnlTitleBar = nullptr;
    TGWPanel *pnlArtFont = nullptr;
    TGWPanel *pnlPen = nullptr;
    TGWPanel *pnlTheme = nullptr;
    TGWPanel *pnlRecipe = nullptr;
    TGWAutoPanelTitle *GWAutoPanelTitle1 = nullptr;
    TGWAutoPanel *GWAutoPanel1 = nullptr;
    TGWAutoPanelTitle *GWAutoPanelTitle2 = nullptr;
    TGWAutoPanel *GWAutoPanel2 = nullptr;
    std::array<TGWImageLabel *, 7> GWImageLabels{}; // GWImageLabel1 .. GWImageLabel7
    QTreeWidget *TreeView1 = nullptr;
    TGWImageList *ImageList1 = nullptr;
    TGWImageList *ImageList2 = nullptr;
    TGWImageList *ImageList3 = nullptr;
    TGWHint *GWHint1 = nullptr;
    TPopMenuEdit *PopMenuEdit = nullptr; // the recipe editor's context menu

    std::unique_ptr<TArtFontPage> artFont;
    std::unique_ptr<TPicturePage> picture;
    std::unique_ptr<TPenPage> pen;
    std::unique_ptr<TThemePage> theme;
    std::unique_ptr<TRecipePage> recipe;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLeftColumn();
    void buildRightColumn();
    void layoutMain();
    void layoutRight();
    void readSettings();
    void applyStartState();
    // Sizes the window so that with `frame` round it it has the stored outer
    // size, centred in the screen's available area.
    void placeOuter(const QMargins &frame);
    // Learns the real frame once the window is on screen in its normal state;
    // the first time, a frame other than the one assumed refits the window.
    void noteFrame();
    // Places the window so that with `frame` round it it fills `outer`.
    void fitOuter(const QRect &outer, const QMargins &frame);
    void openHelp();
    void createTheme();
    void startTheme();
    TSkinPictureLoader skinPictureLoader() const;

    std::string m_programFolder;
    QPointer<QWidget> m_splash;
    int m_currentPage = pgRecipe;
    int m_fontSize = 9;
    int m_themeIndex = 0;
    std::unique_ptr<TTheme> m_theme1;
    TSkinWindow *m_skin = nullptr;
    TPageColours m_pageColours;
    WindowState m_startState = WindowState::Normal;
    QSize m_outerSize;       // stored outer size, frame included
    QRect m_available;       // the screen's available area at start
    QMargins m_frame;        // the window manager's frame, as last known
    bool m_frameSeen = false; // the real frame was seen on screen
    QMargins m_managerFrame;  // the manager's frame as last seen round the classic look
    std::optional<QRect> m_pendingOuter; // to be kept once the manager's frame is seen
    bool m_closing = false;
};

} // namespace vomra
