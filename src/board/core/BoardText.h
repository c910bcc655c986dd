#pragma once
// The drawing board's exchanges between the grid and its text view: the text
// view holds the rows without trailing blanks, the grid at the board's size.

#include "board/core/DrawTextModel.h"

#include <string>
#include <string_view>

namespace vomra {

// The rows as the text view shows them: trailing half- and full-width blanks removed.
Lines boardToText(const DrawTextModel &board);

// The text view's lines onto the grid, then cut back or padded to rows × columns
// (a double-byte character cut at the right edge becomes a space).
void textToBoard(DrawTextModel &board, const Lines &lines, int rows, int columns);

// Pasting: the text view's lines (clipboard text already inserted) onto the grid
// at rows × columns; gives the lines the text view shows afterwards.
Lines pasteToBoard(DrawTextModel &board, const Lines &lines, int rows, int columns);

// Copying in board mode: every row at full width, trailing spaces kept.
std::string boardCopyText(const DrawTextModel &board, std::string_view eol = "\n");

} // namespace vomra
