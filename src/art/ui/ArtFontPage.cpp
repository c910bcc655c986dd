#include "art/ui/ArtFontPage.h"

#include "base/TextLines.h"
#include "artwork/Artwork.h"
#include "pagekit/AlignmentHint.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "platform/GbkQt.h"
#include "art/core/ArtWithFont.h"
#include "pagekit/core/PageColours.h"
#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"
#include "widgets/core/PanelGeometry.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>

namespace vomra {

namespace {
const ToolDef kTools[8] = {
    {"制作艺术字体", il3Make}, {"删除左边空格", il3TrimLeft}, {"删除右边空格", il3TrimRight},
    {"清空文本", il3Clear},   {"字体型号减小", il3FontSmaller}, {"字体型号增大", il3FontLarger},
    {"复制", il3Copy},        {"粘贴", il3Paste},
};


// The window font's name: the entry the font list starts on.
const char *const kDefaultFont = "宋体";

// Places in the option column.
constexpr int kSectionLeft = 6;
constexpr int kSectionWidth = TArtFontPage::kColumnWidth - 2 * kSectionLeft;
constexpr int kFirstTitleTop = 6;
// Tight enough that the three sections open at start fit the smallest window.
constexpr int kTitleSpace = 8;
constexpr int kRowLeft = 8;                            // labels and full-width controls
constexpr int kFieldLeft = 50;                         // controls after a caption
constexpr int kFieldWidth = kSectionWidth - kFieldLeft - 8;
constexpr int kFullWidth = kSectionWidth - 2 * kRowLeft;
constexpr int kFieldHeight = 21;
constexpr int kChoiceHeight = 17;

struct SectionDef {
    const char *caption;
    bool open;
    int height; // the open body's height
};
const SectionDef kSections[4] = {
    {" 文字", true, 85},
    {" 字体属性", false, 100},
    {" 制作模式", false, 68},
    {" 排版方式", true, 88},
};

template <typename T> T *makeChoice(QWidget *parent, const QString &name, const char *caption, int x, int y, int w)
{
    auto *c = new T(parent);
    c->setObjectName(name);
    c->setCaption(QString::fromUtf8(caption));
    c->setGeometry(x, y, w, kChoiceHeight);
    return c;
}

QLabel *makeCaption(QWidget *parent, const QString &name, const char *caption, int y)
{
    auto *label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    label->setGeometry(kRowLeft, y, kFieldLeft - kRowLeft, kFieldHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

TGWFlatComboBox *makeCombo(QWidget *parent, const QString &name, TComboBoxStyle style, int x, int y, int w)
{
    auto *combo = new TGWFlatComboBox(parent);
    combo->setObjectName(name);
    combo->setStyle(style);
    combo->setGeometry(x, y, w, kFieldHeight);
    return combo;
}

TGWFlatComboBox *makeSymbolCombo(QWidget *parent, const QString &name, const char *text, int y)
{
    TGWFlatComboBox *combo = makeCombo(parent, name, csDropDown, kFieldLeft, y, kFieldWidth);
    for (const char *symbol : kSymbolChoices)
        combo->addItem(QString::fromUtf8(symbol));
    combo->setMaxVisibleItems(16);
    // Any text may be typed; it stays as typed and never joins the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::fromUtf8(text));
    return combo;
}

} // namespace

TArtFontPage::TArtFontPage(TPageHost &host) : m_host(host)
{
    QWidget *page = host.pagePanel(pgArtFont);

    artfontPanel1 = makeColumnPanel(page, QStringLiteral("artfontPanel1"), kColumnWidth);
    // Crisp text in the column, as the section titles and choices draw theirs.
    QFont crisp = artfontPanel1->font();
    crisp.setStyleStrategy(QFont::NoAntialias);
    artfontPanel1->setFont(crisp);
    buildOptionColumn();

    artfontRichEdit1 = makeTextView(page, QStringLiteral("artfontRichEdit1"));
    artfontRichEdit1->setFont(host.windowFont());
    artfontRichEdit1->move(kEditLeft, kEditTop);
    TAlignmentHint::watch(artfontRichEdit1); // the art font and grinder pages' output

    makeToolBar(page, QStringLiteral("artfontImageLabel"), kTools, host.imageList(3), kEditLeft + 2, 12,
                [this](QObject *sender) { artfontImageLabelClick(sender); }, artfontImageLabels);
    // The paste label is usable only while the clipboard holds text.
    artfontImageLabel(8)->OnMouseEnter = [this](QObject *) {
        artfontImageLabel(8)->setEnabled(clipboardHasText());
    };
}

void TArtFontPage::buildOptionColumn()
{
    for (int i = 0; i < 4; ++i) {
        const SectionDef &def = kSections[i];
        auto *title = new TGWAutoPanelTitle(artfontPanel1);
        title->setObjectName(QStringLiteral("artfontAutoPanelTitle%1").arg(i + 1));
        title->setGeometry(kSectionLeft, kFirstTitleTop, kSectionWidth, title->height());
        title->setCaption(QString::fromUtf8(def.caption));
        title->setNextTitleSpace(kTitleSpace);
        title->setExpandedStep(5);
        title->setCaptionShadow(false);
        // A closed section starts closed, without rolling up first.
        title->setExpanded(def.open);
        auto *body = new TGWAutoPanel(artfontPanel1);
        body->setObjectName(QStringLiteral("artfontAutoPanel%1").arg(i + 1));
        body->setSelfHeight(def.height);
        body->setGeometry(kSectionLeft, kFirstTitleTop + title->height(), kSectionWidth,
                          def.open ? def.height : kCollapsedBodyHeight);
        artfontAutoPanelTitles[static_cast<std::size_t>(i)] = title;
        artfontAutoPanels[static_cast<std::size_t>(i)] = body;
    }

    // " 文字"
    TGWAutoPanel *words = artfontAutoPanel(1);
    artfontLabels[0] = makeCaption(words, QStringLiteral("artfontLabel1"), "文字：", 8);
    artfontEdit1 = new TGWFlatEdit(words);
    artfontEdit1->setObjectName(QStringLiteral("artfontEdit1"));
    artfontEdit1->setGeometry(kFieldLeft, 8, kFieldWidth, kFieldHeight);
    artfontEdit1->setText(QStringLiteral("艺术字"));
    artfontLabels[1] = makeCaption(words, QStringLiteral("artfontLabel2"), "前景：", 33);
    artfontpnl1ComboBox1 = makeSymbolCombo(words, QStringLiteral("artfontpnl1ComboBox1"), "*", 33);
    artfontLabels[2] = makeCaption(words, QStringLiteral("artfontLabel3"), "背景：", 58);
    artfontpnl1ComboBox2 = makeSymbolCombo(words, QStringLiteral("artfontpnl1ComboBox2"), "", 58);

    // " 字体属性"
    TGWAutoPanel *face = artfontAutoPanel(2);
    artfontpnl2ComboBox1 = makeCombo(face, QStringLiteral("artfontpnl2ComboBox1"), csOwnerDrawFixed, kRowLeft, 8,
                                     kFullWidth);
    artfontpnl2ComboBox1->setItemHeight(kFontItemHeight);
    artfontpnl2ComboBox1->setMaxVisibleItems(16);
    artfontpnl2ComboBox1->OnDrawItem = [](TGWFlatComboBox *combo, int index, Canvas &canvas, const Rect &r, int) {
        canvas.fillRect(r);
        if (index < 0)
            return;
        const QString name = combo->itemText(index);
        QFont f(name);
        f.setPixelSize(combo->font().pixelSize() > 0 ? std::min(combo->font().pixelSize(), r.height() - 2) : 12);
        canvas.setFont(f);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.textOut(r.left + 2, r.top + (r.height() - canvas.textHeight(name)) / 2, name);
        canvas.setBrushStyle(BrushStyle::Solid);
    };
    fillFontList();
    artfontLabels[3] = makeCaption(face, QStringLiteral("artfontLabel4"), "大小：", 33);
    artfontpnl2ComboBox2 = makeCombo(face, QStringLiteral("artfontpnl2ComboBox2"), csDropDownList, kFieldLeft, 33,
                                     kFieldWidth);
    for (int size = 6; size <= 30; ++size)
        artfontpnl2ComboBox2->addItem(QString::number(size));
    artfontpnl2ComboBox2->setMaxVisibleItems(16);
    artfontpnl2ComboBox2->setCurrentText(QStringLiteral("9"));
    artfontpnl2CheckBoxes = {
        makeChoice<TGWCheckBox>(face, QStringLiteral("artfontpnl2CheckBox1"), "粗体", kRowLeft, 58, 64),
        makeChoice<TGWCheckBox>(face, QStringLiteral("artfontpnl2CheckBox2"), "斜体", kRowLeft + 68, 58, 64),
        makeChoice<TGWCheckBox>(face, QStringLiteral("artfontpnl2CheckBox3"), "下划线", kRowLeft, 78, 80),
    };

    // " 制作模式"
    const char *const modes[3] = {"常规模式", "前景循环模式", "前景跟随模式"};
    for (int i = 0; i < 3; ++i)
        artfontpnl3RadioButtons[static_cast<std::size_t>(i)] = makeChoice<TGWRadioButton>(
            artfontAutoPanel(3), QStringLiteral("artfontpnl3RadioButton%1").arg(i + 1), modes[i], kRowLeft,
            6 + 20 * i, kFullWidth);
    artfontpnl3RadioButtons[0]->setChecked(true);

    // " 排版方式"
    const char *const layouts[4] = {"常规方式", "追加到左边", "追加到右边", "追加到下边"};
    for (int i = 0; i < 4; ++i)
        artfontpnl4RadioButtons[static_cast<std::size_t>(i)] = makeChoice<TGWRadioButton>(
            artfontAutoPanel(4), QStringLiteral("artfontpnl4RadioButton%1").arg(i + 1), layouts[i], kRowLeft,
            6 + 20 * i, kFullWidth);
    artfontpnl4RadioButtons[0]->setChecked(true);

    // A closed body holds its controls where rolling it up would have left them.
    for (int i = 0; i < 4; ++i) {
        if (kSections[i].open)
            continue;
        const int shift = kSections[i].height - kCollapsedBodyHeight;
        for (QObject *child : artfontAutoPanel(i + 1)->children())
            if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow())
                w->move(w->x(), w->y() - shift);
    }

    for (int i = 0; i < 4; ++i)
        artfontAutoPanelTitle(i + 1)->setAutoPanel(artfontAutoPanel(i + 1));
    for (int i = 0; i < 3; ++i) {
        TGWAutoPanelTitle *title = artfontAutoPanelTitle(i + 1);
        // Titles are accepted as next only when they lie below: place first, then chain.
        artfontAutoPanelTitle(i + 2)->move(kSectionLeft, title->y() + title->height() + kTitleSpace + title->AutoPanel()->height());
        title->setNextTitle(artfontAutoPanelTitle(i + 2));
        title->PlaceNextTitle();
    }
}

void TArtFontPage::fillFontList()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    // The window font's design name is drawn by a stand-in here; the list still
    // offers it by that name so the default entry exists.
    const QString song = QString::fromUtf8(kDefaultFont);
    if (!families.contains(song))
        families.append(song);
    artfontpnl2ComboBox1->addItems(families);
    artfontpnl2ComboBox1->setCurrentIndex(artfontpnl2ComboBox1->findText(song));
}

void TArtFontPage::pnlArtFontResize()
{
    QWidget *page = m_host.pagePanel(pgArtFont);
    artfontPanel1->resize(artfontPanel1->width(), page->height());
    artfontRichEdit1->resize(page->width() - artfontRichEdit1->x() - 1, page->height() - artfontRichEdit1->y() - 1);
}

void TArtFontPage::ApplyPageColours(const TPageColours &pc)
{
    for (TGWAutoPanelTitle *title : artfontAutoPanelTitles) {
        title->setLeftColor(pc.PanelLeftColor);
        title->setRightColor(pc.PanelRightColor);
        title->setFontColor(pc.LeftFontColor);
        title->setEnterColor(pc.LeftFontEnterColor);
    }
    // The section bodies' font colour is their captions' and choices' colour.
    for (TGWAutoPanel *body : artfontAutoPanels)
        body->setFontColor(pc.LeftFontColor);
    for (QLabel *label : artfontLabels)
        setPaletteColour(label, QPalette::WindowText, pc.LeftFontColor);
    artfontEdit1->setColorBorder(pc.PanelLeftColor);
    for (TGWFlatComboBox *combo :
         {artfontpnl1ComboBox1, artfontpnl1ComboBox2, artfontpnl2ComboBox1, artfontpnl2ComboBox2}) {
        combo->setColorBorder(pc.PanelLeftColor);
        combo->setColorButton(pc.PanelRightColor);
        combo->setColorButtonFocus(pc.PanelLeftColor);
        combo->setColorButtonBorder(pc.PanelLeftColor);
        combo->setColorButtonBorderFocus(pc.LeftFontEnterColor);
    }
    std::vector<TGWButtonBase *> choices(artfontpnl2CheckBoxes.begin(), artfontpnl2CheckBoxes.end());
    choices.insert(choices.end(), artfontpnl3RadioButtons.begin(), artfontpnl3RadioButtons.end());
    choices.insert(choices.end(), artfontpnl4RadioButtons.begin(), artfontpnl4RadioButtons.end());
    for (TGWButtonBase *choice : choices) {
        choice->setFontColor(pc.LeftFontColor);
        choice->setMouseEnterColor(pc.LeftFontEnterColor);
    }
}

MakeMode TArtFontPage::CheckedMakeMode() const
{
    if (artfontpnl3RadioButtons[1]->Checked())
        return MakeMode::Cycle;
    if (artfontpnl3RadioButtons[2]->Checked())
        return MakeMode::Follow;
    return MakeMode::Normal;
}

LayoutMode TArtFontPage::CheckedLayoutMode() const
{
    if (artfontpnl4RadioButtons[1]->Checked())
        return LayoutMode::Left;
    if (artfontpnl4RadioButtons[2]->Checked())
        return LayoutMode::Right;
    if (artfontpnl4RadioButtons[3]->Checked())
        return LayoutMode::Below;
    return LayoutMode::Replace;
}

Lines TArtFontPage::outputLines(bool *lossy) const { return viewLines(*artfontRichEdit1, lossy); }

void TArtFontPage::setOutputLines(const Lines &lines) { setViewLines(*artfontRichEdit1, lines); }

void TArtFontPage::artfontImageLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    auto trimWith = [this](void (*trim)(Lines &)) {
        bool lossy = false;
        Lines lines = outputLines(&lossy);
        trim(lines);
        setOutputLines(lines);
        if (lossy)
            dialogs::tellLossy(artfontRichEdit1->window());
    };
    switch (label->Tag()) {
    case 1:
        if (m_host.CurrentPage() == pgPicture) {
            if (onGrind)
                onGrind();
        }
        else if (m_host.CurrentPage() == pgArtFont)
            MakeArt();
        break;
    case 2:
        trimWith([](Lines &l) { trimLeftMargin(l); });
        break;
    case 3:
        trimWith([](Lines &l) { trimTrailingBlanks(l); });
        break;
    case 4:
        artfontRichEdit1->clear();
        break;
    case 5:
        m_host.FontSizeStep(-1);
        break;
    case 6:
        m_host.FontSizeStep(+1);
        break;
    case 7:
        copyAllOrSelection(artfontRichEdit1);
        break;
    case 8:
        artfontRichEdit1->paste();
        break;
    default:
        break;
    }
}

void TArtFontPage::MakeArt()
{
    // Each conversion sets its flag afresh, so every field gets its own.
    bool lossyWord = false, lossyFg = false, lossyBg = false, lossyOld = false;
    ArtRequest request;
    request.word = gbk::fromQString(artfontEdit1->text(), &lossyWord);
    request.fg = gbk::fromQString(artfontpnl1ComboBox1->currentText(), &lossyFg);
    request.bg = gbk::fromQString(artfontpnl1ComboBox2->currentText(), &lossyBg);
    request.mode = CheckedMakeMode();

    GlyphStyle font;
    font.family = artfontpnl2ComboBox1->currentText().toStdString();
    font.pointSize = artfontpnl2ComboBox2->currentText().toInt();
    font.bold = artfontpnl2CheckBoxes[0]->Checked();
    font.italic = artfontpnl2CheckBoxes[1]->Checked();
    font.underline = artfontpnl2CheckBoxes[2]->Checked();
    const GlyphDrawer drawer(font);
    const std::optional<Lines> block = makeArtWithFont(drawer, request);

    // Replacing reads nothing of the old text, so nothing of it can be lost.
    const LayoutMode layout = CheckedLayoutMode();
    Lines output = (block && layout != LayoutMode::Replace) ? outputLines(&lossyOld) : Lines{};
    placeArt(output, block, layout);
    setOutputLines(output);
    if (lossyWord || lossyFg || lossyBg || lossyOld)
        dialogs::tellLossy(artfontRichEdit1->window());
}

} // namespace vomra
