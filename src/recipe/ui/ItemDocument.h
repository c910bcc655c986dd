#pragma once
// A collection item as display mode shows it, and the copy of what is selected
// there: apart from the recipe page so that they can be driven without it.

#include "base/PackedLines.h"

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class QFont;
class QObject;
class QTextCursor;
class QTextDocument;

namespace vomra {

// GBK text for the editor: bytes GBK cannot read show as "?", NULs as U+FFFD;
// *replaced tells whether anything was.
QString decodeRecipe(std::string_view gbk, bool *replaced);

// Appends lines [from, to) of an item's copy lines (the name first) at the
// cursor: each in the window's pixel size, a small gap under the name and a
// smaller one under every line.
void AppendItemLines(QTextCursor &cursor, const PackedLines &lines, std::size_t from, std::size_t to,
                     int pixelSize);

// The same lines for a long item: up to a block's worth share a block, joined
// by line separators, with no gap blocks (the editor places the lines as if
// they were there). Every block costs the document a hundred bytes and more.
void AppendGroupedItemLines(QTextCursor &cursor, const PackedLines &lines, std::size_t from, std::size_t to,
                            int pixelSize);

// An empty document with the plain layout the recipe editor takes: it lays
// out only the blocks shown.
QTextDocument *NewPlainDocument(QObject *parent);

// The whole item in a new document for the recipe editor, owned by parent, undo
// off while it is built.
QTextDocument *BuildItemDocument(const PackedLines &lines, const QFont &font, int pixelSize,
                                 QObject *parent);

// What display mode copies of a selection (QTextCursor::selectedText): each
// double line break collapsed to one; lines end in "\n".
QString DisplayModeCopyText(QString selected);

} // namespace vomra
