#include "board/ui/DrawText.h"

#include "platform/GbkQt.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace vomra {

TGWDrawText::TGWDrawText(QWidget *parent) : TGWCustomControl(parent)
{
    setColor(clWhite);
    resize(100, 60);
    // Moves without a button pressed still report the cell under the mouse.
    setMouseTracking(true);
    // A click on the grid takes the keyboard, so undo keys reach the board.
    setFocusPolicy(Qt::ClickFocus);
    // Measured now, so that no mouse or paint handling ever divides by a zero cell.
    measureFont();
    FitBounds();
}

void TGWDrawText::setTextWidth(int value)
{
    m_history.begin(m_model);
    const bool done = m_model.setTextWidth(value);
    m_history.end(m_model);
    if (!done)
        return;
    FitBounds();
    update();
}

void TGWDrawText::setTextHeight(int value)
{
    m_history.begin(m_model);
    const bool done = m_model.setTextHeight(value);
    m_history.end(m_model);
    if (!done)
        return;
    FitBounds();
    update();
}

void TGWDrawText::setGridlinesColor(TColor value)
{
    m_gridlinesColor = value;
    update();
}

void TGWDrawText::setTextList(const Lines &rows)
{
    m_history.begin(m_model);
    m_model.setTextList(rows);
    m_history.end(m_model);
    FitBounds();
    update();
}

void TGWDrawText::Clear()
{
    m_history.begin(m_model);
    m_model.Clear();
    m_history.end(m_model);
    update();
}

bool TGWDrawText::Undo()
{
    if (!m_history.undo(m_model))
        return false;
    restored();
    return true;
}

bool TGWDrawText::Redo()
{
    if (!m_history.redo(m_model))
        return false;
    restored();
    return true;
}

void TGWDrawText::restored()
{
    FitBounds();
    update();
}

QSize TGWDrawText::gridSize() const
{
    return {TextWidth() * m_cellWidth + 1, TextHeight() * m_cellHeight + 1};
}

QRect TGWDrawText::cellRect(int column, int row) const
{
    return {(column - 1) * m_cellWidth, (row - 1) * m_cellHeight, m_cellWidth + 1, m_cellHeight + 1};
}

void TGWDrawText::FitBounds()
{
    const QSize needed = gridSize();
    if (needed != size())
        resize(needed);
}

void TGWDrawText::measureFont()
{
    QFont f = font();
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoAntialias));
    const QFontMetrics metrics(f);
    // A degenerate font still gives one-pixel cells rather than a grid of nothing.
    m_cellWidth = std::max(1, metrics.horizontalAdvance(QStringLiteral(" ")));
    m_cellHeight = std::max(1, metrics.height());
}

void TGWDrawText::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_glyphs.clear(); // laid out for the old font
        measureFont();
        FitBounds();
        update();
    }
    TGWCustomControl::changeEvent(event);
}

void TGWDrawText::paintEvent(QPaintEvent *event)
{
    m_exposed = event->region();
    TGWCustomControl::paintEvent(event);
}

void TGWDrawText::Paint(Canvas &canvas)
{
    TGWCustomControl::Paint(canvas);
    QPainter &painter = canvas.painter();
    const QRect grid(QPoint(0, 0), gridSize());
    // Room beyond the grid (a layout may give the control more) shows Color.
    for (const QRect &r : m_exposed.subtracted(QRegion(grid)))
        painter.fillRect(r, Canvas::qcolor(Color()));

    painter.setFont(canvas.font());
    painter.setPen(palette().color(QPalette::WindowText));
    m_lineColor = Canvas::qcolor(m_gridlinesColor);
    m_fillColor = Canvas::qcolor(Color());
    // Each exposed rectangle is redrawn from its own cells plus one cell around
    // them, clipped to itself: a glyph reaching into a neighbour cell comes out
    // exactly as in a paint of the whole grid.
    for (const QRect &r : m_exposed) {
        const QRect area = r.intersected(grid);
        if (area.isEmpty())
            continue;
        const int top = std::max(1, area.top() / m_cellHeight);
        const int bottom = std::min(TextHeight(), area.bottom() / m_cellHeight + 2);
        const int left = std::max(1, area.left() / m_cellWidth);
        const int right = std::min(TextWidth(), area.right() / m_cellWidth + 2);
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
        DrawCells(painter, top, bottom, left, right);
        painter.restore();
    }
}

void TGWDrawText::DrawCell(QPainter &painter, int column, int row)
{
    const QRect r = cellRect(column, row);
    painter.fillRect(r, m_lineColor);
    painter.fillRect(r.adjusted(1, 1, -1, -1), m_fillColor);
}

void TGWDrawText::DrawCells(QPainter &painter, int top, int bottom, int left, int right)
{
    const Lines &rows = m_model.TextList();
    bottom = std::min(bottom, static_cast<int>(rows.size()));
    for (int r = top; r <= bottom; ++r) {
        const std::string &row = rows[static_cast<std::size_t>(r - 1)];
        const int end = std::min(static_cast<int>(row.size()), std::min(right, TextWidth()));
        int c = 1;
        while (c <= end) {
            const auto index = static_cast<std::size_t>(c - 1);
            const std::size_t length = charLength(row, index);
            const int next = c + static_cast<int>(length);
            if (next > left) {
                for (int k = c; k < next; ++k)
                    DrawCell(painter, k, r);
                if (!(length == 1 && row[index] == ' '))
                    painter.drawStaticText((c - 1) * m_cellWidth, (r - 1) * m_cellHeight,
                                           glyphText(row, index, length));
            }
            c = next;
        }
    }
}

const QStaticText &TGWDrawText::glyphText(const std::string &row, std::size_t index, std::size_t length)
{
    const auto lead = static_cast<unsigned char>(row[index]);
    const quint16 key =
        length == 2 ? static_cast<quint16>(lead << 8 | static_cast<unsigned char>(row[index + 1])) : lead;
    auto it = m_glyphs.find(key);
    if (it == m_glyphs.end())
        it = m_glyphs.insert(key, QStaticText(gbk::toQString(std::string_view(row).substr(index, length))));
    return *it;
}

void TGWDrawText::updatePosition(const QPoint &pos)
{
    m_posX = DrawTextModel::cellAt(pos.x(), m_cellWidth, TextWidth());
    m_posY = DrawTextModel::cellAt(pos.y(), m_cellHeight, TextHeight());
}

void TGWDrawText::PaintAtCursor()
{
    for (const CellChange &change : m_model.paintAt(m_posX, m_posY, m_strokeText)) {
        const int last = change.column + static_cast<int>(change.text.size()) - 1;
        update(cellRect(change.column, change.row).united(cellRect(last, change.row)));
    }
}

void TGWDrawText::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    updatePosition(pos);
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        m_mouseIsDown = true;
        m_captured = button == Qt::LeftButton;
        m_strokeText = button == Qt::LeftButton ? PenText() : std::string(" ");
        if (!m_strokeOpen) { // a second button during a stroke joins its step
            m_history.begin(m_model);
            m_strokeOpen = true;
        }
        PaintAtCursor();
    }
    event->accept();
    if (OnMouseDown)
        OnMouseDown(this, button, event->modifiers(), pos.x(), pos.y());
}

void TGWDrawText::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // Qt keeps sending moves outside while any button is held; only a left-button
    // stroke holds the mouse, other moves outside are not ours.
    if (!m_captured && !rect().contains(pos))
        return;
    updatePosition(pos);
    if (m_mouseIsDown)
        PaintAtCursor();
    event->accept();
    if (OnMouseMove)
        OnMouseMove(this, event->modifiers(), pos.x(), pos.y());
}

void TGWDrawText::mouseReleaseEvent(QMouseEvent *event)
{
    // Any release ends the stroke, also a right-button one released outside.
    m_mouseIsDown = false;
    m_captured = false;
    if (m_strokeOpen) {
        m_strokeOpen = false;
        m_history.end(m_model);
    }
    event->accept();
    if (OnMouseUp) {
        const QPoint pos = event->position().toPoint();
        OnMouseUp(this, event->button(), event->modifiers(), pos.x(), pos.y());
    }
}

void TGWDrawText::enterEvent(QEnterEvent *event)
{
    m_mouseIsEnter = true;
    DoMouseEnter();
    TGWCustomControl::enterEvent(event);
}

void TGWDrawText::leaveEvent(QEvent *event)
{
    m_mouseIsEnter = false;
    DoMouseLeave();
    TGWCustomControl::leaveEvent(event);
}

void TGWDrawText::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TGWDrawText::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

} // namespace vomra
