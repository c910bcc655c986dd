#include "widgets/Functions.h"

namespace vomra {

namespace {
// Integer division truncating toward zero, as the layout formulas expect.
int divTrunc(int a, int b) { return a / b; }
} // namespace

void FillGradient(Canvas &canvas, const Rect &rect, TColor startColor, TColor endColor, bool leftToRight)
{
    const int n = leftToRight ? rect.right - rect.left : rect.bottom - rect.top;
    if (n <= 0 || (leftToRight ? rect.bottom <= rect.top : rect.right <= rect.left))
        return;
    const std::vector<TColor> colors = gradientColors(startColor, endColor, n);
    const PenStyle oldStyle = canvas.penStyle();
    const TColor oldColor = canvas.penColor();
    canvas.setPenStyle(PenStyle::Solid);
    for (int i = 0; i < n; ++i) {
        canvas.setPenColor(colors[static_cast<std::size_t>(i)]);
        if (leftToRight)
            canvas.line(rect.left + i, rect.top, rect.left + i, rect.bottom);
        else
            canvas.line(rect.left, rect.top + i, rect.right, rect.top + i);
    }
    canvas.setPenStyle(oldStyle);
    canvas.setPenColor(oldColor);
}

void FillGradientStops(Canvas &canvas, const Rect &rect, const QList<TColor> &colors, bool leftToRight)
{
    if (colors.isEmpty())
        return;
    if (colors.size() == 1) {
        const TColor oldBrush = canvas.brushColor();
        const BrushStyle oldStyle = canvas.brushStyle();
        canvas.setBrushColor(colors.front());
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.fillRect(rect);
        canvas.setBrushColor(oldBrush);
        canvas.setBrushStyle(oldStyle);
        return;
    }
    const int origin = leftToRight ? rect.left : rect.top;
    const int extent = leftToRight ? rect.right - rect.left : rect.bottom - rect.top;
    const auto segments = gradientSegments(extent, static_cast<int>(colors.size()));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const int a = origin + segments[i].start;
        const int b = a + segments[i].length;
        const Rect part = leftToRight ? Rect{a, rect.top, b, rect.bottom} : Rect{rect.left, a, rect.right, b};
        FillGradient(canvas, part, colors[static_cast<qsizetype>(i)], colors[static_cast<qsizetype>(i + 1)], leftToRight);
    }
}

QSize AccelTextExtent(const Canvas &canvas, const QString &text)
{
    QSize size = canvas.textExtent(text);
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp >= 0 && amp < text.size() - 1)
        size.setWidth(size.width() - canvas.textWidth(QStringLiteral("&")));
    return size;
}

void DrawAccelText(Canvas &canvas, int x, int y, const QString &text)
{
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    const QString a = amp < 0 ? text : text.left(amp);
    const QString b = amp < 0 ? QString() : text.mid(amp + 1);
    canvas.textOut(x, y, a + b);
    if (b.isEmpty())
        return;
    const QString c = b.left(1);
    const int h = canvas.textHeight(c);
    const int wa = canvas.textWidth(a);
    const TColor oldPen = canvas.penColor();
    const PenStyle oldStyle = canvas.penStyle();
    canvas.setPenColor(canvas.fontColor());
    canvas.setPenStyle(PenStyle::Solid);
    canvas.line(x + wa, y + h + 1, x + wa + canvas.textWidth(c), y + h + 1);
    canvas.setPenColor(oldPen);
    canvas.setPenStyle(oldStyle);
}

void DrawAccelTextAligned(Canvas &canvas, const Rect &rect, const QString &text, int horz, int vert)
{
    const QSize size = canvas.textExtent(text);
    int x = rect.left;
    if (horz == 1)
        x = rect.left + divTrunc(rect.right - rect.left - size.width(), 2) - 1;
    else if (horz == 2)
        x = rect.right - size.width();
    int y = rect.top;
    if (vert == 1)
        y = rect.top + divTrunc(rect.bottom - rect.top - size.height(), 2) - 1;
    else if (vert == 2)
        y = rect.bottom - size.height();
    DrawAccelText(canvas, x, y, text);
}

void DrawTextBlock(Canvas &canvas, const Rect &rect, const QString &text, int lineSpacing, int horz, int vert)
{
    const int m = 1 + static_cast<int>(text.count(QLatin1Char('\r')));
    const int h = canvas.textHeight(text);
    const int blockHeight = h * m + lineSpacing * (m - 1);
    int y = rect.top;
    if (vert == 1)
        y = rect.top + divTrunc(rect.bottom - rect.top - blockHeight, 2) - 1;
    else if (vert == 2)
        y = rect.bottom - blockHeight;

    const int ampWidth = canvas.textWidth(QStringLiteral("&"));
    auto drawLine = [&](const QString &line) {
        const int a = line.contains(QLatin1Char('&')) ? ampWidth : 0;
        const int w = canvas.textWidth(line);
        int x = rect.left;
        if (horz == 1)
            x = rect.left + divTrunc(rect.right - rect.left - (w - a), 2) - 1;
        else if (horz == 2)
            x = rect.right - w + a;
        DrawAccelText(canvas, x, y, line);
        y += h + lineSpacing;
    };
    QString line;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\r')) {
            drawLine(line);
            line.clear();
        } else {
            line += ch;
        }
    }
    drawLine(line);
}

} // namespace vomra
