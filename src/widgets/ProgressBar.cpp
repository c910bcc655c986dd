#include "widgets/ProgressBar.h"

#include "widgets/Functions.h"

#include <QPaintEvent>
#include <QPainter>

namespace vomra {

TGWProgressBar::TGWProgressBar(QWidget *parent) : QWidget(parent)
{
    resize(102, 16);
    setOutlineBorder(m_outlineBorder);
}

void TGWProgressBar::setKind(TScrollBarKind value)
{
    m_kind = value;
    repaint();
}

void TGWProgressBar::setStartColor(TColor value)
{
    m_startColor = value;
    repaint();
}

void TGWProgressBar::setMiddleColor(TColor value)
{
    m_middleColor = value;
    repaint();
}

void TGWProgressBar::setEndColor(TColor value)
{
    m_endColor = value;
    repaint();
}

void TGWProgressBar::setProgressStartColor(TColor value)
{
    m_progressStartColor = value;
    repaint();
}

void TGWProgressBar::setProgressMiddleColor(TColor value)
{
    m_progressMiddleColor = value;
    repaint();
}

void TGWProgressBar::setOutlineBorder(TGWOutlineBorder value)
{
    m_outlineBorder = value;
    // Without an outline the edge pixels show what lies behind the bar.
    setAttribute(Qt::WA_OpaquePaintEvent, value != gwobNone);
}

void TGWProgressBar::setOutlineColor(TColor value)
{
    m_outlineColor = value;
    repaint();
}

void TGWProgressBar::setMax(std::uint32_t value)
{
    if (m_range.setMax(value))
        repaint();
}

void TGWProgressBar::setMin(std::uint32_t value)
{
    if (m_range.setMin(value))
        repaint();
}

void TGWProgressBar::setPosition(std::uint32_t value)
{
    const ProgressFill before = fill();
    if (!m_range.setPosition(value))
        return;
    // The same filled length and percentage would paint the same picture.
    if (fill() != before)
        repaint();
}

void TGWProgressBar::setShowPercent(bool value)
{
    m_showPercent = value;
    repaint();
}

void TGWProgressBar::setColor(TColor value)
{
    m_color = value;
    repaint();
}

void TGWProgressBar::setFontColor(TColor value)
{
    m_fontColor = value;
    repaint();
}

ProgressFill TGWProgressBar::fill() const
{
    return progressFill(m_range, m_kind == sbHorizontal ? width() - 2 : height() - 2);
}

void TGWProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Canvas canvas(painter);
    canvas.setFont(font());
    canvas.setFontColor(m_fontColor);
    Paint(canvas);
}

void TGWProgressBar::Paint(Canvas &canvas)
{
    const int w = width();
    const int h = height();
    canvas.setBrushStyle(BrushStyle::Clear);

    if (m_outlineBorder != gwobNone) {
        const TColor topLeft = m_outlineBorder == gwobFlat ? m_outlineColor
                               : m_outlineBorder == gwobLowered ? clGray
                                                                : clWhite;
        const TColor bottomRight = m_outlineBorder == gwobFlat ? m_outlineColor
                                   : m_outlineBorder == gwobLowered ? clWhite
                                                                    : clGray;
        canvas.setPenStyle(PenStyle::Solid);
        canvas.setPenColor(topLeft);
        canvas.moveTo(w - 1, 0);
        canvas.lineTo(0, 0);
        canvas.lineTo(0, h - 1);
        canvas.setPenColor(bottomRight);
        canvas.lineTo(w - 1, h - 1);
        canvas.lineTo(w - 1, 0);
    }

    const ProgressFill f = fill();
    const int n = f.filled;
    Rect done;
    Rect rest;
    if (m_kind == sbHorizontal) {
        done = {1, 1, n + 1, h - 1};
        rest = {n + 1, 1, w - 1, h - 1};
    } else {
        done = {1, h - n - 1, w - 1, h - 1};
        rest = {1, 1, w - 1, h - n - 1};
    }
    const bool across = m_kind == sbVertical; // gradients run across the bar's thickness
    if (done.width() > 0 && done.height() > 0)
        FillGradientStops(canvas, done, {m_progressStartColor, m_progressMiddleColor, m_progressEndColor}, across);
    if (rest.width() > 0 && rest.height() > 0) {
        if (m_middleColor == clNone)
            FillGradientStops(canvas, rest, {m_startColor, m_endColor}, across);
        else
            FillGradientStops(canvas, rest, {m_startColor, m_middleColor, m_endColor}, across);
    }

    if (m_showPercent && f.percent > 0) {
        const QString text = QString::number(f.percent) + QLatin1Char('%');
        const QSize size = canvas.textExtent(text);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.textOut((w - size.width()) / 2, 2 + (h - 2 - size.height()) / 2, text);
    }
}

} // namespace vomra
