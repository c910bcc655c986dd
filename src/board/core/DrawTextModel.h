#pragma once
// The character grid behind the drawing board: TextHeight rows of TextWidth GBK
// bytes, one byte per cell, a double-byte character over two cells. Every write
// keeps double-byte characters whole, so a row can always be copied out as text.

#include "base/TextLines.h"

#include <string>
#include <string_view>
#include <vector>

namespace vomra {

enum class CellKind { Single, Lead, Trail };

// Kinds of the cells of a row, walking from its first byte (127 and above lead).
std::vector<CellKind> classifyRow(std::string_view row);

// What a write changed: `text` now stands at `column` (1-based) of `row`, one
// cell per byte. The widget repaints exactly these cells.
struct CellChange {
    int row = 0;
    int column = 0;
    std::string text;
    bool operator==(const CellChange &) const = default;
};

class DrawTextModel {
public:
    DrawTextModel();

    int TextWidth() const { return m_textWidth; }
    int TextHeight() const { return m_textHeight; }
    // A value of 0 or less is ignored (returns false); otherwise the rows are fitted.
    bool setTextWidth(int value);
    bool setTextHeight(int value);

    const Lines &TextList() const { return m_rows; }
    // Replaces the rows; the grid grows to hold them (taller and wider, never
    // narrower). An empty list blanks the grid at its current size.
    void setTextList(const Lines &rows);

    // Every cell a space, size unchanged.
    void Clear();

    // Puts back a size and rows saved from this grid (undo and redo).
    void restore(int width, int height, Lines rows);

    const std::string &PenText() const { return m_penText; }
    void setPenText(std::string_view value) { m_penText = normalizePen(value); }
    // The first character of `value`; empty (or a lone lead byte, which would
    // pair with its neighbour cell) gives a space.
    static std::string normalizePen(std::string_view value);

    // Column or row (1-based) under a pixel coordinate, clamped into 1..count;
    // pixels left of or above the grid land on the first cell.
    static int cellAt(int pixel, int cellSize, int count);

    // Writes `stroke` (one or two bytes) at column x of row y (1-based) and
    // returns the cells it changed, in the order they were written.
    std::vector<CellChange> paintAt(int x, int y, std::string_view stroke);

    // Cuts or pads the rows to TextHeight × TextWidth; a double-byte character
    // cut in half at the right edge becomes a space.
    void FitText();

private:
    int m_textWidth = 40;
    int m_textHeight = 6;
    std::string m_penText = "*";
    Lines m_rows;
};

} // namespace vomra
