#pragma once
// The art font maker's page body, shared with the picture grinder: the two
// option columns, the tool bar and the output text.

#include "art/core/ArtLayout.h"
#include "art/core/ArtMaker.h"
#include "art/core/ArtOutput.h"

#include <QObject>

#include <array>
#include <functional>

class QLabel;
class QPlainTextEdit;

namespace vomra {

class TPageHost;
class TGWPanel;
class TGWAutoPanel;
class TGWAutoPanelTitle;
class TGWImageLabel;
class TGWFlatEdit;
class TGWFlatComboBox;
class TGWCheckBox;
class TGWRadioButton;
struct TPageColours;

class TArtFontPage : public QObject, public ArtOutput {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = kArtColumnWidth;
    static constexpr int kEditLeft = 165;
    static constexpr int kEditTop = 48;
    // Rows of the font list, each name drawn in its own face.
    static constexpr int kFontItemHeight = 16;

    explicit TArtFontPage(TPageHost &host);
    // The grinder shares this page body: on its page the make label grinds.
    std::function<void()> onGrind;

    TGWPanel *artfontPanel1 = nullptr;
    QPlainTextEdit *artfontRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 8> artfontImageLabels{}; // artfontImageLabel1 .. 8

    // The option column's four sections: " 文字", " 字体属性", " 制作模式", " 排版方式".
    std::array<TGWAutoPanelTitle *, 4> artfontAutoPanelTitles{}; // artfontAutoPanelTitle1 .. 4
    std::array<TGWAutoPanel *, 4> artfontAutoPanels{};           // artfontAutoPanel1 .. 4
    std::array<QLabel *, 4> artfontLabels{};                    // "文字：", "前景：", "背景：", "大小："
    TGWFlatEdit *artfontEdit1 = nullptr;
    TGWFlatComboBox *artfontpnl1ComboBox1 = nullptr; // foreground characters
    TGWFlatComboBox *artfontpnl1ComboBox2 = nullptr; // background characters
    TGWFlatComboBox *artfontpnl2ComboBox1 = nullptr; // font
    TGWFlatComboBox *artfontpnl2ComboBox2 = nullptr; // size in points
    std::array<TGWCheckBox *, 3> artfontpnl2CheckBoxes{};    // bold, italic, underline
    std::array<TGWRadioButton *, 3> artfontpnl3RadioButtons{}; // making modes
    std::array<TGWRadioButton *, 4> artfontpnl4RadioButtons{}; // layout modes

    TGWImageLabel *artfontImageLabel(int n) const { return artfontImageLabels[static_cast<std::size_t>(n - 1)]; }
    TGWAutoPanelTitle *artfontAutoPanelTitle(int n) const { return artfontAutoPanelTitles[static_cast<std::size_t>(n - 1)]; }
    TGWAutoPanel *artfontAutoPanel(int n) const { return artfontAutoPanels[static_cast<std::size_t>(n - 1)]; }

    void artfontImageLabelClick(QObject *Sender);
    // The make label (Tag 1) on the art font page: render the word and lay it out.
    void MakeArt();
    void pnlArtFontResize();
    // This page's share of the main window's colour pass.
    void ApplyPageColours(const TPageColours &pc);

    // The checked radios as the making and layout steps take them.
    MakeMode CheckedMakeMode() const;
    LayoutMode CheckedLayoutMode() const;

    void setOutputLines(const Lines &lines) override;


private:
    void buildOptionColumn();
    void fillFontList();
    // The output text as GBK lines; a lost character is noted in *lossy.
    Lines outputLines(bool *lossy) const;

    TPageHost &m_host;
};

} // namespace vomra
