#pragma once
// TGWDrawText: the drawing board's grid of character cells, painted with the
// mouse. The left button writes PenText, the right button spaces; the rows are
// plain GBK text (DrawTextModel) so they can be copied out as they are.

#include "board/core/BoardHistory.h"
#include "board/core/DrawTextModel.h"
#include "widgets/Controls.h"

#include <QHash>
#include <QRegion>
#include <QStaticText>
#include <functional>
#include <string>

class QEnterEvent;

namespace vomra {

class TGWDrawText : public TGWCustomControl {
    Q_OBJECT
    Q_PROPERTY(int TextWidth READ TextWidth WRITE setTextWidth)
    Q_PROPERTY(int TextHeight READ TextHeight WRITE setTextHeight)
    Q_PROPERTY(uint GridlinesColor READ GridlinesColor WRITE setGridlinesColor)
    Q_PROPERTY(std::string PenText READ PenText WRITE setPenText)
    Q_PROPERTY(vomra::Lines TextList READ TextList WRITE setTextList)
    Q_PROPERTY(int PosX READ PosX)
    Q_PROPERTY(int PosY READ PosY)
    Q_PROPERTY(bool MouseIsDown READ MouseIsDown)
    Q_PROPERTY(bool MouseIsEnter READ MouseIsEnter)
    Q_PROPERTY(int CellWidth READ CellWidth)
    Q_PROPERTY(int CellHeight READ CellHeight)

public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;
    using TMouseEvent = std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                           int X, int Y)>;
    using TMouseMoveEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    explicit TGWDrawText(QWidget *parent = nullptr);

    int TextWidth() const { return m_model.TextWidth(); }
    void setTextWidth(int value);
    int TextHeight() const { return m_model.TextHeight(); }
    void setTextHeight(int value);
    TColor GridlinesColor() const { return m_gridlinesColor; }
    void setGridlinesColor(TColor value);
    const std::string &PenText() const { return m_model.PenText(); }
    void setPenText(const std::string &value) { m_model.setPenText(value); }
    const Lines &TextList() const { return m_model.TextList(); }
    void setTextList(const Lines &rows);
    void Clear();

    // Undo and redo: each stroke, clear, list write and size change is one step;
    // an owner groups several changes into one between beginStep and endStep.
    void beginStep() { m_history.begin(m_model); }
    void endStep() { m_history.end(m_model); }
    bool Undo();
    bool Redo();

    int PosX() const { return m_posX; }
    int PosY() const { return m_posY; }
    bool MouseIsDown() const { return m_mouseIsDown; }
    bool MouseIsEnter() const { return m_mouseIsEnter; }
    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    const std::string &StrokeText() const { return m_strokeText; }

    // The pixel size the grid needs: every cell plus the closing outline.
    QSize gridSize() const;
    // Cell (column, row), 1-based, with its outline; neighbours share outlines.
    QRect cellRect(int column, int row) const;
    void FitBounds();

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // One cell: a one-pixel outline in GridlinesColor around a fill in Color.
    virtual void DrawCell(QPainter &painter, int column, int row);

    void Paint(Canvas &canvas) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void measureFont();
    void updatePosition(const QPoint &pos);
    void PaintAtCursor();
    // Repaints the cells of rows top..bottom, columns left..right (1-based, inclusive).
    void DrawCells(QPainter &painter, int top, int bottom, int left, int right);
    const QStaticText &glyphText(const std::string &row, std::size_t index, std::size_t length);

    void restored();

    DrawTextModel m_model;
    BoardHistory m_history;
    int m_posX = 0;
    int m_posY = 0;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    TColor m_gridlinesColor = RGB(220, 220, 220);
    std::string m_strokeText = "*";
    bool m_mouseIsDown = false;
    bool m_mouseIsEnter = false;
    bool m_strokeOpen = false; // the stroke's undo step is open until the release
    bool m_captured = false; // a left-button stroke follows the mouse outside the control
    QRegion m_exposed;
    QColor m_lineColor; // GridlinesColor and Color as the current paint uses them
    QColor m_fillColor;
    // Characters already decoded and laid out; drawing a laid-out text skips shaping.
    QHash<quint16, QStaticText> m_glyphs;
};

} // namespace vomra
