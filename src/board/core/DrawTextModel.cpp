#include "board/core/DrawTextModel.h"

#include <algorithm>

namespace vomra {

namespace {

bool leadAt(std::string_view s, std::size_t i) { return isLeadByte(static_cast<unsigned char>(s[i])); }

// A row whose walk ends on a lone lead byte would pair it with whatever follows
// (padding, or nothing at the edge); the lone byte becomes a space instead.
void dropLoneLead(std::string &row)
{
    std::size_t i = 0;
    while (i < row.size()) {
        if (leadAt(row, i)) {
            if (i + 1 == row.size()) {
                row[i] = ' ';
                return;
            }
            i += 2;
        } else {
            ++i;
        }
    }
}

// Cuts a row to `width` bytes without leaving the first half of a character at the edge.
void cutRow(std::string &row, std::size_t width)
{
    row.resize(width);
    if (width > 0 && classifyRow(row)[width - 1] == CellKind::Lead)
        row[width - 1] = ' ';
}

} // namespace

std::vector<CellKind> classifyRow(std::string_view row)
{
    std::vector<CellKind> kinds(row.size(), CellKind::Single);
    std::size_t i = 0;
    while (i < row.size()) {
        if (leadAt(row, i)) {
            kinds[i] = CellKind::Lead;
            if (i + 1 < row.size())
                kinds[i + 1] = CellKind::Trail;
            i += 2;
        } else {
            ++i;
        }
    }
    return kinds;
}

DrawTextModel::DrawTextModel()
{
    // The rows exist from the start, so a stroke or a paint before the first
    // size change finds a full grid.
    FitText();
}

bool DrawTextModel::setTextWidth(int value)
{
    if (value <= 0)
        return false;
    m_textWidth = value;
    FitText();
    return true;
}

bool DrawTextModel::setTextHeight(int value)
{
    if (value <= 0)
        return false;
    m_textHeight = value;
    FitText();
    return true;
}

void DrawTextModel::FitText()
{
    const auto height = static_cast<std::size_t>(m_textHeight);
    const auto width = static_cast<std::size_t>(m_textWidth);
    if (m_rows.size() > height)
        m_rows.resize(height);
    while (m_rows.size() < height)
        m_rows.emplace_back(" ");
    for (std::string &row : m_rows) {
        if (row.size() > width)
            cutRow(row, width);
        else
            row.append(width - row.size(), ' ');
    }
}

void DrawTextModel::setTextList(const Lines &rows)
{
    m_rows = rows;
    if (m_rows.empty()) {
        FitText();
        return;
    }
    while (m_rows.size() < static_cast<std::size_t>(m_textHeight))
        m_rows.emplace_back();
    m_textHeight = static_cast<int>(m_rows.size());
    std::size_t longest = 1;
    for (std::string &row : m_rows) {
        dropLoneLead(row);
        longest = std::max(longest, row.size());
    }
    if (longest > static_cast<std::size_t>(m_textWidth))
        m_textWidth = static_cast<int>(longest);
    for (std::string &row : m_rows)
        row.append(static_cast<std::size_t>(m_textWidth) - row.size(), ' ');
}

void DrawTextModel::Clear()
{
    m_rows.clear();
    FitText();
}

void DrawTextModel::restore(int width, int height, Lines rows)
{
    m_textWidth = std::max(1, width);
    m_textHeight = std::max(1, height);
    m_rows = std::move(rows);
    FitText(); // a no-op for saved rows; keeps the invariants whatever arrives
}

std::string DrawTextModel::normalizePen(std::string_view value)
{
    if (value.empty())
        return " ";
    if (!leadAt(value, 0))
        return std::string(value.substr(0, 1));
    if (value.size() < 2)
        return " ";
    return std::string(value.substr(0, 2));
}

int DrawTextModel::cellAt(int pixel, int cellSize, int count)
{
    if (cellSize <= 0 || count <= 0)
        return 1;
    return std::clamp(pixel / cellSize + 1, 1, count);
}

std::vector<CellChange> DrawTextModel::paintAt(int x, int y, std::string_view stroke)
{
    std::vector<CellChange> changes;
    if (y < 1 || y > m_textHeight || x < 1 || x > m_textWidth || stroke.empty() || stroke.size() > 2)
        return changes;
    std::string &row = m_rows[static_cast<std::size_t>(y - 1)];
    const std::vector<CellKind> kinds = classifyRow(row);
    const int width = m_textWidth;
    auto kind = [&kinds](int column) { return kinds[static_cast<std::size_t>(column - 1)]; };
    auto put = [&](int column, std::string_view text) {
        row.replace(static_cast<std::size_t>(column - 1), text.size(), text);
        changes.push_back({y, column, std::string(text)});
    };

    if (stroke.size() == 1) {
        switch (kind(x)) {
        case CellKind::Single:
            put(x, stroke);
            break;
        case CellKind::Lead:
            put(x, stroke);
            if (x + 1 <= width)
                put(x + 1, " ");
            break;
        case CellKind::Trail:
            if (x > 1)
                put(x - 1, " ");
            put(x, stroke);
            break;
        }
        return changes;
    }

    // A double-byte character never starts in the last column.
    if (x >= width)
        return changes;
    const CellKind before = kind(x);
    if (before == CellKind::Trail)
        put(x - 1, " ");
    put(x, stroke);
    if (before != CellKind::Lead && x + 2 <= width && kind(x + 2) == CellKind::Trail)
        put(x + 2, " ");
    return changes;
}

} // namespace vomra
