#include "app/Main.h"

#include "app/EditMenu.h"
#include "app/Splitter.h"
#include "art/ui/ArtFontPage.h"
#include "art/ui/PicturePage.h"
#include "board/ui/DrawText.h"
#include "board/ui/PenPage.h"
#include "artwork/Artwork.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageKit.h"
#include "pagekit/PasteGuard.h"
#include "platform/FontSetup.h"
#include "platform/FrameExtents.h"
#include "platform/GbkQt.h"
#include "platform/NativePathQt.h"
#include "platform/Shell.h"
#include "recipe/ui/RecipePage.h"
#include "theme/ui/PagePainters.h"
#include "theme/core/ThemeCatalogue.h"
#include "theme/ui/SkinWindow.h"
#include "theme/ui/ThemePage.h"
#include "widgets/Hint.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>

namespace vomra {

namespace {

constexpr int kTitleBarHeight = 56;

struct MenuItemDef {
    const char *caption;
    int image;
};
const MenuItemDef kMenuItems[7] = {
    {"制作艺术字体", il1ArtFont}, {"图片磨牙器", il1PictureGrinder}, {"文本画板", il1DrawingBoard},
    {"界面方案", il1Themes},     {"关于Vomra", il1About},          {"帮助", il1Help},
    {"退出", il1Exit},
};

QFont songFont(int pixelSize)
{
    QFont f(songFamily());
    f.setPixelSize(pixelSize);
    return f;
}

TColor widgetColour(const QWidget *w, QPalette::ColorRole role)
{
    return Canvas::tcolor(w->palette().color(role));
}

} // namespace

TfrmMain::TfrmMain(std::string programFolder, QWidget *splash, QWidget *parent)
    : QWidget(parent), m_programFolder(std::move(programFolder)), m_splash(splash)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vomra 2003 v2.0"));
    installPasteGuard();
    // The hint window draws the application's icon.
    QApplication::setWindowIcon(appIcon());
    setWindowIcon(appIcon());
    setFont(songFont(14));
    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    resize(kMinWindowWidth, kMinWindowHeight);

    ImageList1 = createImageList1(this);
    ImageList2 = createImageList2(this);
    ImageList3 = createImageList3(this);
    GWHint1 = new TGWHint(this);
    GWHint1->setObjectName(QStringLiteral("GWHint1"));
    GWHint1->setStyle(gwhsApplicationIcon);
    GWHint1->setColor(clInfoBk);
    GWHint1->setFrameColor(clTeal);
    GWHint1->setShadowColor(RGB(180, 180, 180));
    GWHint1->setHintWidth(200);
    GWHint1->setAlignment(gwaCenter);
    THintFont hintFont;
    hintFont.Shadow = true;
    hintFont.ShadowSpace = 1;
    hintFont.ShadowColor = RGB(180, 180, 180);
    hintFont.Font = songFont(12);
    hintFont.FontColor = clBlack;
    GWHint1->setHintFont(hintFont);

    pnlMain = new TGWPanel(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->setBevelOuter(bvNone);
    pnlMain->installEventFilter(this);
    // The skin's sizing cursors belong to its frame; the contents show their own.
    pnlMain->setCursor(Qt::ArrowCursor);

    buildLeftColumn();
    buildRightColumn();

    // The page colours first: the theme applied below paints over them.
    m_fontSize = 9;
    pnlTheme->hide();
    pnlPen->setColor(widgetColour(pen->penRichEdit1, QPalette::Base));
    pnlRecipe->setColor(widgetColour(recipe->recipeRichEdit1, QPalette::Base));
    recipe->recipePanel1->setColor(widgetColour(recipe->recipeRichEdit1, QPalette::Base));
    for (TGWImageLabel *label : pen->penImageLabels)
        label->setColor(pnlPen->Color());
    for (TGWImageLabel *label : recipe->recipeLabels)
        label->setColor(pnlRecipe->Color());
    setPaletteColour(TreeView1, QPalette::Base, GWAutoPanel2->Color());

    // Theme folder and catalogue, settings, then the saved theme made valid and put in force.
    createTheme();
    readSettings();
    startTheme();

    // Panels placed for the saved width; the program opens on the recipe page.
    MainPanelPlacement();
    m_currentPage = pgRecipe;
    PageSwitch();

    // F1 opens the help from any page, whichever control has the focus.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &TfrmMain::openHelp);
}

TfrmMain::~TfrmMain()
{
    // The skin filters the window's events and reads the theme: it goes before the
    // theme does, not with the window's children after it.
    delete m_skin;
}

void TfrmMain::buildLeftColumn()
{
    pnlLeft = new TGWPanel(pnlMain);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setBevelOuter(bvNone);
    pnlLeft->setGeometry(0, 0, 296, height());
    pnlLeft->installEventFilter(this);

    Splitter1 = new TSplitter(pnlLeft, pnlMain);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->OnCanResize = [this](int &size, bool &accept) { Splitter1CanResize(size, accept); };
    Splitter1->OnMoved = [this] { layoutMain(); };

    auto makeTitle = [this](const char *name, const char *caption, int top, int step) {
        auto *title = new TGWAutoPanelTitle(pnlLeft);
        title->setObjectName(QString::fromLatin1(name));
        title->setGeometry(16, top, 160, 25);
        title->setCaption(QString::fromUtf8(caption));
        title->setNextTitleSpace(12);
        title->setExpandedStep(step);
        title->setLeftColor(clWhite);
        title->setRightColor(clBtnFace);
        title->setDisableLeftColor(RGB(235, 235, 235));
        title->setDisableRightColor(RGB(220, 220, 220));
        title->setEnterColor(clBlue);
        title->setCaptionShadow(false);
        return title;
    };
    auto makeBody = [this](const char *name, int top, int height, int selfHeight) {
        auto *body = new TGWAutoPanel(pnlLeft);
        body->setObjectName(QString::fromLatin1(name));
        body->setGeometry(16, top, 160, height);
        body->setSelfHeight(selfHeight);
        body->setOutlineColor(clWhite);
        body->setDisableOutlineColor(RGB(235, 235, 235));
        return body;
    };

    GWAutoPanelTitle1 = makeTitle("GWAutoPanelTitle1", " 菜单选项", 16, 5);
    GWAutoPanel1 = makeBody("GWAutoPanel1", 41, 184, 184);
    GWAutoPanelTitle2 = makeTitle("GWAutoPanelTitle2", " Vomra秘笈", 237, 10);
    GWAutoPanel2 = makeBody("GWAutoPanel2", 262, 141, 182);
    GWAutoPanelTitle1->setAutoPanel(GWAutoPanel1);
    GWAutoPanelTitle1->setNextTitle(GWAutoPanelTitle2);
    GWAutoPanelTitle1->OnExpanded = [this](QObject *sender) { GWAutoPanelTitle1Expanded(sender); };
    GWAutoPanelTitle2->setAutoPanel(GWAutoPanel2);

    TGWFont enterFont{songFont(14), clBlue};
    enterFont.font.setUnderline(true);
    QFont disabled(QStringLiteral("MS Sans Serif"));
    disabled.setPixelSize(11);
    for (int i = 0; i < 7; ++i) {
        auto *item = new TGWImageLabel(GWAutoPanel1);
        item->setObjectName(QStringLiteral("GWImageLabel%1").arg(i + 1));
        item->setGeometry(16, 8 + 24 * i, 130, 25);
        item->setCursor(Qt::PointingHandCursor);
        item->setCaption(QString::fromUtf8(kMenuItems[i].caption));
        item->setAlignment(gwaLeftJustify);
        item->setSpacing(2);
        item->setGradualColor(false);
        item->setCaptionShadow(false);
        item->setMouseEnterFont(enterFont);
        item->setDisableFont({disabled, RGB(161, 161, 146)});
        item->setImages(ImageList1);
        item->setImgUpIdx(kMenuItems[i].image);
        item->setImgDownIdx(kMenuItems[i].image);
        item->setImgEnterIdx(kMenuItems[i].image);
        item->setImgDisableIdx(kMenuItems[i].image);
        item->setTag(i + 1);
        item->OnClick = [this](QObject *sender) { GWImageLabel1Click(sender); };
        GWImageLabels[static_cast<std::size_t>(i)] = item;
    }

    TreeView1 = new QTreeWidget(GWAutoPanel2);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setFrameShape(QFrame::NoFrame);
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(23);
    TreeView1->setIconSize(QSize(20, 20));
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setMouseTracking(true); // hot tracking
    // The selection stays visible while another control has the focus.
    QPalette treePalette = TreeView1->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
    TreeView1->setPalette(treePalette);
    TreeView1->move(1, 1);
}

void TfrmMain::buildRightColumn()
{
    pnlRight = new TGWPanel(pnlMain);
    pnlRight->setObjectName(QStringLiteral("pnlRight"));
    pnlRight->setBevelOuter(bvNone);
    pnlRight->installEventFilter(this);

    pnlTitleBar = new TGWPanel(pnlRight);
    pnlTitleBar->setObjectName(QStringLiteral("pnlTitleBar"));
    pnlTitleBar->setBevelOuter(bvNone);
    pnlTitleBar->setColor(clSilver);
    QFont titleFont = songFont(24);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    pnlTitleBar->setFont(titleFont);
    pnlTitleBar->setFontColor(clWhite);
    pnlTitleBar->setAutoDrawBackground(false);
    pnlTitleBar->installEventFilter(this);
    pnlTitleBar->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        const TColor editor = m_currentPage == pgRecipe ? widgetColour(recipe->recipeRichEdit1, QPalette::Base)
                                                        : widgetColour(artFont->artfontRichEdit1, QPalette::Base);
        pnlTitleBarDrawBackground(c, r, m_pageColours, m_currentPage, editor, ImageList2, pnlTitleBar->font());
    };

    auto makePage = [this](const char *name) {
        auto *page = new TGWPanel(pnlRight);
        page->setObjectName(QString::fromLatin1(name));
        page->setBevelOuter(bvNone);
        page->setAutoDrawBackground(false);
        page->installEventFilter(this);
        return page;
    };
    pnlArtFont = makePage("pnlArtFont");
    pnlPen = makePage("pnlPen");
    pnlTheme = makePage("pnlTheme");
    pnlRecipe = makePage("pnlRecipe");

    artFont = std::make_unique<TArtFontPage>(*this);
    picture = std::make_unique<TPicturePage>(*this, *artFont);
    artFont->onGrind = [this] { picture->Grind(); };
    pen = std::make_unique<TPenPage>(*this);
    theme = std::make_unique<TThemePage>(*this, *this);
    recipe = std::make_unique<TRecipePage>(*this);
    PopMenuEdit = new TPopMenuEdit(*this, *recipe, this);

    pnlArtFont->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        pnlArtFontDrawBackground(c, r, m_pageColours, widgetColour(artFont->artfontRichEdit1, QPalette::Base),
                                 artFont->artfontRichEdit1->y());
    };
    pnlPen->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        pnlPenDrawBackground(c, r, m_pageColours, widgetColour(pen->penRichEdit1, QPalette::Base),
                             pen->penRichEdit1->y());
    };
    pnlRecipe->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        pnlRecipeDrawBackground(c, r, m_pageColours, widgetColour(recipe->recipeRichEdit1, QPalette::Base),
                                recipe->recipeRichEdit1->y());
    };
    recipe->recipePanel1->setAutoDrawBackground(false);
    recipe->recipePanel1->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        recipePanel1DrawBackground(c, r, m_pageColours, widgetColour(recipe->recipeRichEdit1, QPalette::Base));
    };
    pnlTheme->OnDrawBackground = [this](QWidget *, Canvas &c, const Rect &r) {
        pnlThemeDrawBackground(c, r, m_pageColours, theme->themeListView1->x());
    };
}

void TfrmMain::readSettings()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect whole = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    m_available = screen ? screen->availableGeometry() : whole;
    const Profile file(settingsPath(m_programFolder));
    const Settings s = vomra::readSettings(
        file, ScreenArea{whole.width(), whole.height(), m_available.width(), m_available.height()});
    m_outerSize = QSize(s.width, s.height);
    // The frame is not known yet; showAtStart asks the window manager for it.
    placeOuter(QMargins());
    m_startState = s.state;
    pnlLeft->resize(s.leftWidth, pnlLeft->height());
    m_themeIndex = s.themeIndex;
    picture->setTransparent(s.transparent);
}

void TfrmMain::placeOuter(const QMargins &frame)
{
    m_frame = frame;
    // The minimum size is an outer size as well.
    setMinimumSize(QSize(kMinWindowWidth, kMinWindowHeight).shrunkBy(frame));
    // Centred at every start; the position is never stored. The inside is
    // placed, so that the frame lands where it was reckoned to.
    const QPoint outerTopLeft = m_available.topLeft() + QPoint((m_available.width() - m_outerSize.width()) / 2,
                                                               (m_available.height() - m_outerSize.height()) / 2);
    setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), m_outerSize.shrunkBy(frame)));
}

void TfrmMain::noteFrame()
{
    // Only a window manager's frame, or the decorations a Wayland client draws
    // around itself, count; other platforms (offscreen) have none to take off
    // the stored size. A compositor that draws the frame tells us none.
    static const bool managed = QGuiApplication::platformName() == QLatin1String("xcb") ||
                                QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (!managed || !isVisible() || windowState() != Qt::WindowNoState || !windowHandle())
        return;
    // A skinned window draws its own frame inside: the manager adds none.
    const bool frameless = windowFlags().testFlag(Qt::FramelessWindowHint);
    const QMargins frame = frameless ? QMargins() : windowHandle()->frameMargins();
    if (frame.isNull() && !frameless)
        return; // not framed yet
    if (!frameless)
        m_managerFrame = frame;
    if (m_pendingOuter && !frameless) {
        const QRect outer = *m_pendingOuter;
        m_pendingOuter.reset();
        if (frame != m_frame)
            fitOuter(outer, frame);
        return;
    }
    if (!m_frameSeen) {
        m_frameSeen = true;
        // Only a window still at its start size is refitted, never one the
        // user has sized.
        if (frame != m_frame && size() == m_outerSize.shrunkBy(m_frame))
            placeOuter(frame);
    }
    m_frame = frame;
}

void TfrmMain::applyStartState()
{
    switch (m_startState) {
    case WindowState::Maximized:
        setWindowState(Qt::WindowMaximized);
        break;
    case WindowState::Minimized:
        setWindowState(Qt::WindowMinimized);
        break;
    case WindowState::Normal:
        break;
    }
}

void TfrmMain::showAtStart()
{
    // The stored size is the outer one: take the frame the window manager will
    // add off it before the window is first shown, so that it also holds for a
    // window that starts maximised and is restored later.
    winId();
    const QMargins frame = requestFrameExtents(windowHandle());
    if (!frame.isNull())
        placeOuter(frame);
    applyStartState();
    show();
    // Filled once the window is up: the theme list, the recipe tree, the editor's labels.
    theme->FillThemeList();
    recipe->LoadRecipeTree();
    recipe->recipeRichEdit1SelectionChange();
    recipe->recipeLabel(7)->setEnabled(recipe->recipeRichEdit1->document()->isUndoAvailable());
    // The window is ready: the splash goes.
    if (m_splash)
        m_splash->close();
}

QWidget *TfrmMain::pagePanel(TPage page)
{
    switch (page) {
    case pgArtFont:
    case pgPicture:
        return pnlArtFont;
    case pgPen:
        return pnlPen;
    case pgTheme:
        return pnlTheme;
    case pgRecipe:
        return pnlRecipe;
    }
    return nullptr;
}


TGWImageList *TfrmMain::imageList(int n)
{
    return n == 1 ? ImageList1 : n == 2 ? ImageList2 : n == 3 ? ImageList3 : nullptr;
}

void TfrmMain::SetCurrentPage(int page)
{
    if (m_currentPage == page)
        return;
    m_currentPage = page;
    PageSwitch();
}

void TfrmMain::PageSwitch()
{
    auto showOnly = [](QWidget *shown, std::initializer_list<QWidget *> hidden) {
        shown->show(); // the new page first, then the others go
        for (QWidget *w : hidden)
            w->hide();
    };
    switch (m_currentPage) {
    case pgArtFont:
        artFont->artfontPanel1->show();
        picture->picturePanel1->hide();
        showOnly(pnlArtFont, {pnlPen, pnlRecipe, pnlTheme});
        break;
    case pgPicture:
        picture->picturePanel1->show();
        artFont->artfontPanel1->hide();
        showOnly(pnlArtFont, {pnlPen, pnlRecipe, pnlTheme});
        break;
    case pgPen:
        showOnly(pnlPen, {pnlTheme, pnlRecipe, pnlArtFont});
        break;
    case pgTheme:
        showOnly(pnlTheme, {pnlArtFont, pnlPen, pnlRecipe});
        break;
    case pgRecipe:
        showOnly(pnlRecipe, {pnlArtFont, pnlPen, pnlTheme});
        break;
    default:
        break;
    }
    pnlTitleBar->repaint();
}

void TfrmMain::GWImageLabel1Click(QObject *Sender)
{
    auto *item = qobject_cast<TGWImageLabel *>(Sender);
    if (!item)
        return;
    switch (item->Tag()) {
    case 1:
        if (m_currentPage == pgArtFont)
            return;
        m_currentPage = pgArtFont;
        artFont->artfontRichEdit1->clear();
        artFont->artfontImageLabel(1)->setToolTip(QStringLiteral("制作艺术字体"));
        PageSwitch();
        break;
    case 2:
        if (m_currentPage == pgPicture)
            return;
        m_currentPage = pgPicture;
        artFont->artfontImageLabel(1)->setToolTip(QStringLiteral("开始图片磨牙"));
        artFont->artfontRichEdit1->clear();
        PageSwitch();
        break;
    case 3:
        if (m_currentPage != pgPen) {
            m_currentPage = pgPen;
            PageSwitch();
        }
        break;
    case 4:
        theme->MarkCurrentTheme();
        if (m_currentPage != pgTheme) {
            m_currentPage = pgTheme;
            PageSwitch();
        }
        break;
    case 5:
        if (OnShowAbout)
            OnShowAbout();
        break;
    case 6:
        openHelp();
        break;
    case 7:
        close();
        break;
    default:
        break;
    }
}

void TfrmMain::openHelp()
{
    // A missing help file or viewer is not reported.
    openUrl(fileUrl(m_programFolder + "QOBR.CHM"));
}

void TfrmMain::Splitter1CanResize(int &NewSize, bool &Accept)
{
    Accept = NewSize >= kMinLeftWidth && NewSize <= kMaxLeftWidth;
}

void TfrmMain::pnlLeftResize()
{
    GWAutoPanelTitle1->resize(pnlLeft->width() - 32, GWAutoPanelTitle1->height());
    GWAutoPanelTitle2->resize(pnlLeft->width() - 32, GWAutoPanelTitle2->height());
    TreeView1->resize(GWAutoPanel2->width() - 2, TreeView1->height());
    TreeFit();
}

void TfrmMain::TreeFit()
{
    const int self = pnlLeft->height() - GWAutoPanel2->y() - 16;
    GWAutoPanel2->setSelfHeight(self);
    if (GWAutoPanelTitle2->Expanded()) {
        GWAutoPanel2->resize(GWAutoPanel2->width(), self);
        TreeView1->resize(TreeView1->width(), self - 3);
    } else {
        // Parked above the body's visible area, ready for the expand animation.
        TreeView1->setGeometry(TreeView1->x(), 2 - self, TreeView1->width(), self - 3);
    }
}

void TfrmMain::GWAutoPanelTitle1Expanded(QObject *) { TreeFit(); }

void TfrmMain::pnlArtFontResize()
{
    artFont->pnlArtFontResize();
    if (picture) // the grinder's column shares the page
        picture->picturePanel1->resize(picture->picturePanel1->width(), pnlArtFont->height());
}

void TfrmMain::pnlThemeResize() { theme->pnlThemeResize(); }

void TfrmMain::layoutMain()
{
    const int h = pnlMain->height();
    pnlLeft->setGeometry(0, 0, pnlLeft->width(), h);
    Splitter1->setGeometry(pnlLeft->width(), 0, 2, h);
    const int right = pnlLeft->width() + 2;
    pnlRight->setGeometry(right, 0, std::max(0, pnlMain->width() - right), h);
}

void TfrmMain::layoutRight()
{
    const int w = pnlRight->width();
    pnlTitleBar->setGeometry(0, 0, w, kTitleBarHeight);
    const QRect pageRect(0, kTitleBarHeight, w, std::max(0, pnlRight->height() - kTitleBarHeight));
    for (TGWPanel *page : {pnlArtFont, pnlPen, pnlTheme, pnlRecipe})
        page->setGeometry(pageRect);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == pnlMain)
            layoutMain();
        else if (watched == pnlRight)
            layoutRight();
        else if (watched == pnlLeft)
            pnlLeftResize();
        else if (watched == pnlTitleBar)
            pnlTitleBar->update();
        else if (watched == pnlArtFont)
            pnlArtFontResize();
        else if (watched == pnlPen)
            pen->pnlPenResize();
        else if (watched == pnlTheme)
            pnlThemeResize();
        else if (watched == pnlRecipe)
            recipe->pnlRecipeResize();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    MainPanelPlacement();
    noteFrame();
}

void TfrmMain::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    noteFrame();
}

void TfrmMain::FontSizeStep(int delta)
{
    m_fontSize = std::clamp(m_fontSize + delta, 2, 22);
    auto withSize = [this](QWidget *w) {
        QFont f = w->font();
        f.setPointSize(m_fontSize);
        w->setFont(f);
    };
    withSize(recipe->recipeRichEdit1);
    withSize(artFont->artfontRichEdit1);
    withSize(pen->penDrawText1);
    withSize(pen->penRichEdit1);
    for (TGWImageLabel *smaller : {recipe->recipeLabel(2), artFont->artfontImageLabel(5), pen->penImageLabel(2)})
        smaller->setEnabled(m_fontSize != 2);
    for (TGWImageLabel *larger : {recipe->recipeLabel(3), artFont->artfontImageLabel(6), pen->penImageLabel(3)})
        larger->setEnabled(m_fontSize != 22);
}

void TfrmMain::UseBuiltInPageColours()
{
    m_pageColours = BuiltInPageColours();
    ApplyPageColours();
}

void TfrmMain::ApplyPageColours()
{
    const TPageColours &pc = m_pageColours;
    setPaletteColour(this, QPalette::Window, pc.LeftColor);
    pnlMain->setColor(pc.LeftColor);
    pnlLeft->setColor(pc.LeftColor);
    pnlRight->setColor(pc.LeftColor);
    pnlTitleBar->setFontColor(pc.TitleFontColor);
    for (TGWAutoPanelTitle *title : {GWAutoPanelTitle1, GWAutoPanelTitle2}) {
        title->setLeftColor(pc.PanelLeftColor);
        title->setRightColor(pc.PanelRightColor);
        title->setFontColor(pc.LeftFontColor);
        title->setEnterColor(pc.LeftFontEnterColor);
    }
    for (TGWImageLabel *item : GWImageLabels) {
        item->setFontColor(pc.LeftFontColor);
        TGWFont enter = item->MouseEnterFont();
        enter.color = pc.LeftFontEnterColor;
        item->setMouseEnterFont(enter);
    }
    setPaletteColour(TreeView1, QPalette::Text, pc.LeftFontColor);
    setPaletteColour(theme->themeLabel1, QPalette::WindowText, pc.ThemeFont1Color);
    setPaletteColour(theme->themeLabel2, QPalette::WindowText, pc.ThemeFont1Color);
    setPaletteColour(theme->themeListView1, QPalette::Base, pc.RightColor);
    setPaletteColour(theme->themeListView1, QPalette::Text, pc.ThemeFont2Color);
    picture->picturePanel1->setColor(pc.RightColor);
    pnlArtFont->setColor(widgetColour(artFont->artfontRichEdit1, QPalette::Base));
    for (TGWImageLabel *label : artFont->artfontImageLabels)
        label->setColor(pnlArtFont->Color());
    artFont->artfontPanel1->setColor(pc.RightColor);
    artFont->ApplyPageColours(pc);
    pen->penPanel1->setColor(pc.RightColor);
    pen->penPanel1->setFontColor(pc.LeftFontColor);
    pen->ApplyPageColours(pc);
    picture->ApplyPageColours(pc);
    update();
}

void TfrmMain::FormClose()
{
    Settings s;
    // A window minimised from the maximised state is minimised, whatever it
    // comes back to.
    const Qt::WindowStates state = windowState();
    s.state = state & Qt::WindowMinimized   ? WindowState::Minimized
              : state & Qt::WindowMaximized ? WindowState::Maximized
                                            : WindowState::Normal;
    // The outer size of the window as it is when not maximised.
    const QSize outer = normalGeometry().size().grownBy(m_frame);
    s.width = outer.width();
    s.height = outer.height();
    s.leftWidth = pnlLeft->width();
    s.themeIndex = m_themeIndex;
    s.transparent = picture->Transparent();
    const Profile settings(settingsPath(m_programFolder));
    if (!writeSettings(settings, s)) {
        const QString text = QStringLiteral("写 %1 失败").arg(shown(settings.path()));
        dialogs::error(this, QApplication::applicationName(), text);
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // Unsaved recipe text is asked about first; 取消 keeps the window open.
    if (!m_closing && recipe && !recipe->AskToKeepEdits()) {
        event->ignore();
        return;
    }
    if (!m_closing) {
        m_closing = true;
        FormClose();
    }
    event->accept();
    // Closing the main window ends the program, even while the About window exists.
    QApplication::quit();
}

} // namespace vomra
