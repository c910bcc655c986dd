#include "board/core/BoardText.h"

namespace vomra {

Lines boardToText(const DrawTextModel &board)
{
    Lines lines = board.TextList();
    trimTrailingBlanks(lines);
    return lines;
}

void textToBoard(DrawTextModel &board, const Lines &lines, int rows, int columns)
{
    board.setTextList(lines);
    board.setTextHeight(rows);
    board.setTextWidth(columns);
}

Lines pasteToBoard(DrawTextModel &board, const Lines &lines, int rows, int columns)
{
    textToBoard(board, lines, rows, columns);
    return boardToText(board);
}

std::string boardCopyText(const DrawTextModel &board, std::string_view eol)
{
    return joinLines(board.TextList(), eol);
}

} // namespace vomra
