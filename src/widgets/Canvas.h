#pragma once
// A drawing surface with the conventions the owner-painted controls are written
// for: a pen for lines and outlines, a brush for fills and text background, a
// font with its own colour; line end points are not drawn; rectangles exclude
// their right and bottom edges; Rectangle is pen outline plus brush fill.

#include "base/Rect.h"
#include "widgets/core/Color.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace vomra {

inline QRect toQRect(const Rect &r) { return QRect(r.left, r.top, r.width(), r.height()); }
inline Rect rectOf(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

enum class PenStyle { Solid, Dot, Clear };
enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    // Paints through an active painter (a widget's paint event, an image).
    explicit Canvas(QPainter &painter);
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    QPainter &painter() { return m_painter; }

    void setPenColor(TColor c) { m_penColor = c; }
    TColor penColor() const { return m_penColor; }
    void setPenStyle(PenStyle s) { m_penStyle = s; }
    PenStyle penStyle() const { return m_penStyle; }
    void setBrushColor(TColor c) { m_brushColor = c; }
    TColor brushColor() const { return m_brushColor; }
    void setBrushStyle(BrushStyle s) { m_brushStyle = s; }
    BrushStyle brushStyle() const { return m_brushStyle; }
    void setFont(const QFont &f);
    const QFont &font() const { return m_font; }
    void setFontColor(TColor c) { m_fontColor = c; }
    TColor fontColor() const { return m_fontColor; }

    void moveTo(int x, int y) { m_penPos = {x, y}; }
    // From the pen position to (x, y), the end point excluded; the pen moves there.
    void lineTo(int x, int y);
    void line(int x1, int y1, int x2, int y2)
    {
        moveTo(x1, y1);
        lineTo(x2, y2);
    }
    void setPixel(int x, int y, TColor c);

    // Outline with the pen, interior with the brush, covering left..right-1 and
    // top..bottom-1. With a clear pen the fill is one pixel smaller to the right
    // and bottom, as on the platform the controls were designed for.
    void rectangle(const Rect &r);
    void fillRect(const Rect &r);  // brush only, whole rectangle
    void frameRect(const Rect &r); // one-pixel frame in the brush colour
    void roundRect(const Rect &r, int ellipseWidth, int ellipseHeight);
    void ellipse(const Rect &r);

    // Text with its top-left at (x, y) in the font colour; the background is the
    // brush colour unless the brush is clear.
    void textOut(int x, int y, const QString &text);
    QSize textExtent(const QString &text) const;
    int textWidth(const QString &text) const { return textExtent(text).width(); }
    int textHeight(const QString &text) const { return textExtent(text).height(); }

    void draw(int x, int y, const QImage &image);

    static QColor qcolor(TColor c);
    static TColor tcolor(const QColor &c);

private:
    void plot(int x, int y, const QColor &c);

    QPainter &m_painter;
    TColor m_penColor = clBlack;
    PenStyle m_penStyle = PenStyle::Solid;
    TColor m_brushColor = clWhite;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    QFont m_font;
    TColor m_fontColor = clBlack;
    QPoint m_penPos;
};

} // namespace vomra
