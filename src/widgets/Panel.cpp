#include "widgets/Panel.h"

#include "widgets/Functions.h"

#include <QResizeEvent>

#include <algorithm>

namespace vomra {

namespace {

// A raised or lowered frame `width` pixels thick, shrinking the rectangle.
void frame3D(Canvas &canvas, Rect &r, TColor topLeft, TColor bottomRight, int width)
{
    canvas.setPenStyle(PenStyle::Solid);
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        canvas.setPenColor(topLeft);
        canvas.moveTo(r.left, r.bottom - 1);
        canvas.lineTo(r.left, r.top);
        canvas.lineTo(r.right - 1, r.top);
        canvas.setPenColor(bottomRight);
        canvas.lineTo(r.right - 1, r.bottom - 1);
        canvas.lineTo(r.left - 1, r.bottom - 1);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

void bevel(Canvas &canvas, Rect &r, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    if (cut == bvLowered)
        frame3D(canvas, r, clBtnShadow, clBtnHighlight, width);
    else
        frame3D(canvas, r, clBtnHighlight, clBtnShadow, width);
}

} // namespace

// --- TGWCustomPanel ---

TGWCustomPanel::TGWCustomPanel(QWidget *parent) : TGWCustomControl(parent)
{
    resize(185, 41);
    relayout();
}

int TGWCustomPanel::frameThickness() const
{
    int n = m_borderWidth;
    if (m_borderStyle == bsSingle)
        n += 2;
    if (m_bevelOuter != bvNone)
        n += m_bevelWidth;
    if (m_bevelInner != bvNone)
        n += m_bevelWidth;
    return n;
}

void TGWCustomPanel::relayout()
{
    const int n = frameThickness();
    setContentsMargins(n, n, n, n);
    update();
}

void TGWCustomPanel::setBevelInner(TBevelCut value)
{
    m_bevelInner = value;
    relayout();
}

void TGWCustomPanel::setBevelOuter(TBevelCut value)
{
    m_bevelOuter = value;
    relayout();
}

void TGWCustomPanel::setBevelWidth(int value)
{
    m_bevelWidth = std::max(1, value);
    relayout();
}

void TGWCustomPanel::setBorderWidth(int value)
{
    m_borderWidth = std::max(0, value);
    relayout();
}

void TGWCustomPanel::setBorderStyle(TBorderStyle value)
{
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    relayout();
}

void TGWCustomPanel::setFullRepaint(bool value)
{
    m_fullRepaint = value;
    // Without full repaints Qt keeps what is drawn and we invalidate the edges.
    setAttribute(Qt::WA_StaticContents, !value);
}

void TGWCustomPanel::setAlignment(TAlignment value)
{
    m_alignment = value;
    update();
}

void TGWCustomPanel::setCaption(const QString &value)
{
    m_caption = value;
    update();
}

void TGWCustomPanel::resizeEvent(QResizeEvent *event)
{
    TGWCustomControl::resizeEvent(event);
    if (m_fullRepaint || !m_caption.isEmpty()) {
        update();
        return;
    }
    const int n = frameThickness();
    if (n <= 0)
        return;
    const QSize old = event->oldSize();
    if (old.width() != width()) {
        const int from = std::max(0, std::min(old.width(), width()) - n);
        update(from, 0, width() - from, height());
    }
    if (old.height() != height()) {
        const int from = std::max(0, std::min(old.height(), height()) - n);
        update(0, from, width(), height() - from);
    }
}

void TGWCustomPanel::Paint(Canvas &canvas)
{
    if (!AutoDrawBackground()) {
        TGWCustomControl::Paint(canvas);
        return;
    }
    Rect r{0, 0, width(), height()};
    if (m_borderStyle == bsSingle) {
        frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        frame3D(canvas, r, cl3DDkShadow, cl3DLight, 1);
    }
    bevel(canvas, r, m_bevelOuter, m_bevelWidth);
    frame3D(canvas, r, Color(), Color(), m_borderWidth);
    bevel(canvas, r, m_bevelInner, m_bevelWidth);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColor(Color());
    canvas.fillRect(r);

    if (m_caption.isEmpty())
        return;
    canvas.setBrushStyle(BrushStyle::Clear);
    QString text = m_caption;
    text.replace(QLatin1Char('\t'), QStringLiteral("        "));
    const int w = AccelTextExtent(canvas, text).width();
    const int h = canvas.textHeight(QStringLiteral("W"));
    int x = r.left;
    if (m_alignment == taRightJustify)
        x = r.right - w;
    else if (m_alignment == taCenter)
        x = r.left + (r.width() - w) / 2;
    DrawAccelText(canvas, x, (r.top + r.bottom - h) / 2, text);
}

} // namespace vomra
