#include "theme/ui/PagePainters.h"

#include "widgets/Functions.h"
#include "widgets/ImageList.h"

namespace vomra {

namespace {

constexpr bool kLeftToRight = true;
constexpr bool kTopToBottom = false;
constexpr int kTitleBandTop = 41;

// The painters change pen, brush and font; the canvas is handed back as it came.
class CanvasState {
public:
    explicit CanvasState(Canvas &c)
        : m_c(c), m_pen(c.penColor()), m_penStyle(c.penStyle()), m_brush(c.brushColor()),
          m_brushStyle(c.brushStyle()), m_font(c.font()), m_fontColor(c.fontColor())
    {
    }
    ~CanvasState()
    {
        m_c.setPenColor(m_pen);
        m_c.setPenStyle(m_penStyle);
        m_c.setBrushColor(m_brush);
        m_c.setBrushStyle(m_brushStyle);
        m_c.setFont(m_font);
        m_c.setFontColor(m_fontColor);
    }
    CanvasState(const CanvasState &) = delete;
    CanvasState &operator=(const CanvasState &) = delete;

private:
    Canvas &m_c;
    TColor m_pen;
    PenStyle m_penStyle;
    TColor m_brush;
    BrushStyle m_brushStyle;
    QFont m_font;
    TColor m_fontColor;
};

void filledRectangle(Canvas &c, const Rect &r, TColor colour)
{
    c.setBrushStyle(BrushStyle::Solid);
    c.setBrushColor(colour);
    c.setPenStyle(PenStyle::Solid);
    c.setPenColor(colour);
    c.rectangle(r);
}

// A 2-pixel line 4 to 6 pixels above the editor, strongest at `middle`.
void fadingLine(Canvas &c, int left, int middle, int right, int editorTop, TColor editorColour, TColor strong)
{
    FillGradient(c, {left, editorTop - 6, middle, editorTop - 4}, editorColour, strong, kLeftToRight);
    FillGradient(c, {middle, editorTop - 6, right, editorTop - 4}, strong, editorColour, kLeftToRight);
}

void toolPageBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop,
                        int lineLeft, int middleOffset, int separatorLeft)
{
    const CanvasState keep(c);
    fadingLine(c, lineLeft, r.right / 2 + middleOffset, r.right, editorTop, editorColour, pc.TitleRightColor);
    FillGradient(c, {separatorLeft, 0, separatorLeft + 3, r.bottom}, pc.TitleRightColor, editorColour, kLeftToRight);
}

} // namespace

QString PageTitle(int page)
{
    switch (page) {
    case 0:
        return QString::fromUtf8("制作艺术字体");
    case 1:
        return QString::fromUtf8("图片磨牙器");
    case 2:
        return QString::fromUtf8("文本画板");
    case 3:
        return QString::fromUtf8("界面方案");
    case 4:
        return QString::fromUtf8("Vomra秘笈");
    default:
        return {};
    }
}

void pnlTitleBarDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, int currentPage,
                               TColor editorColour, const TGWImageList *imageList2, const QFont &titleFont)
{
    if (currentPage < 0 || currentPage > 4)
        return;
    const CanvasState keep(c);
    int image = 1;
    if (currentPage == 3) {
        FillGradient(c, {0, 0, r.right, kTitleBandTop}, pc.TitleLeftColor, pc.TitleRightColor, kLeftToRight);
        filledRectangle(c, {0, kTitleBandTop, r.right, r.bottom}, pc.TitleBottomColor);
    } else {
        const TColor lowerStart = currentPage == 4 ? pc.TitleLeftColor : pc.TitleBottomColor;
        FillGradient(c, {0, 0, r.right, kTitleBandTop}, pc.TitleLeftColor, editorColour, kLeftToRight);
        filledRectangle(c, {0, kTitleBandTop, r.right, r.bottom}, editorColour);
        FillGradient(c, {0, kTitleBandTop, (r.right / 3) * 2, r.bottom}, lowerStart, editorColour, kLeftToRight);
        if (currentPage == 4)
            image = 2;
    }
    if (imageList2)
        imageList2->Draw(c, 6, 5, image);

    const QString title = PageTitle(currentPage);
    c.setBrushStyle(BrushStyle::Clear);
    c.setFont(titleFont);
    c.setFontColor(RGB(100, 100, 100));
    c.textOut(61, 18, title);
    c.setFontColor(pc.TitleFontColor);
    c.textOut(60, 16, title);
}

void pnlArtFontDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop)
{
    toolPageBackground(c, r, pc, editorColour, editorTop, 164, 82, 162);
}

void pnlPenDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop)
{
    toolPageBackground(c, r, pc, editorColour, editorTop, 126, 63, 126);
}

void pnlRecipeDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop)
{
    const CanvasState keep(c);
    filledRectangle(c, {50, 0, r.right, editorTop - 6}, editorColour);
    fadingLine(c, 50, r.right / 2 + 25, r.right, editorTop, editorColour, pc.TitleRightColor);
}

void recipePanel1DrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour)
{
    const CanvasState keep(c);
    const int w = r.right / 5;
    const int h = r.bottom / 5;
    // Column k reaches down to (5 - k) fifths of the height; the first one the whole height.
    for (int k = 0; k < 5; ++k) {
        const int bottom = k == 0 ? r.bottom : (5 - k) * h;
        FillGradient(c, {k * w, 0, (k + 1) * w, bottom}, pc.TitleRightColor, editorColour, kTopToBottom);
    }
}

void pnlThemeDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, int listLeft)
{
    const CanvasState keep(c);
    FillGradient(c, {0, 0, listLeft, r.bottom}, pc.RightColor, pc.TitleRightColor, kTopToBottom);
}

} // namespace vomra
