// Recipe collections from random bytes. The item names must be exactly those of
// the plain reading (every "ItemName<i>" for i up to ItemCount, looked up in the
// whole file), whatever the count says; every item's lines must be trimmed and
// stop before a "[" line; and display mode's copy of an item must give back its
// lines with single line breaks. The same text written to a file must read
// back alike through the file readers (ReadCollectionItemNames,
// ReadIniItemLines), as the recipe page reads collections. Each item is then
// built into a document as display mode shows it, whole and in two pieces as a
// long item loads, and copying all of it must give its lines back.

#include "base/Profile.h"
#include "platform/GbkQt.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/ItemDocument.h"
#include "support/TempFolder.h"

#include <QFont>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what, std::string_view input)
{
    std::fprintf(stderr, "collection_fuzz: %s; input (%zu bytes):", what, input.size());
    for (std::size_t i = 0; i < input.size() && i < 64; ++i)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(input[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

// The file every input is written to, in a folder removed at exit.
const std::string &collectionFile()
{
    static const test::TempFolder folder;
    static const std::string path = folder.file("Collection.Ini");
    return path;
}

// Above this count the plain reading is too slow to repeat for every input.
constexpr int kPlainLimit = 400;

std::vector<std::string> plainNames(std::string_view ini, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        const auto v = Profile::lookup(ini, "ItemList", "ItemName" + std::to_string(i));
        if (!v)
            continue;
        const std::string_view t = trimRecipeLine(*v);
        if (!t.empty())
            names.emplace_back(t);
    }
    return names;
}

std::string joined(const std::vector<std::string> &lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.append(i ? "\r\n" : "").append(lines[i]);
    return out;
}

// The text display mode shows: the name, a gap, every line followed by a gap,
// empty lines at the end deleted.
std::string displayed(const std::string &name, const std::vector<std::string> &lines)
{
    std::vector<std::string> shown = {name, ""};
    for (const std::string &l : lines) {
        shown.push_back(l);
        shown.push_back("");
    }
    while (!shown.empty() && shown.back().empty())
        shown.pop_back();
    return joined(shown);
}

// Display mode's copy of the whole document.
QString copiedWhole(QTextDocument &doc)
{
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    return DisplayModeCopyText(cursor.selectedText());
}

// The plain reading of an item's copy lines: each decoded, joined by line
// feeds. None when a line holds what the document takes for a break of its
// own (a line feed, a carriage return, a paragraph or frame mark).
std::optional<QString> plainCopy(const std::vector<std::string> &copyLines)
{
    QString out;
    for (std::size_t i = 0; i < copyLines.size(); ++i) {
        QString line = gbk::toQString(copyLines[i]);
        line.replace(QChar(0), QChar::ReplacementCharacter);
        for (const QChar c : line) {
            if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
                c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1)
                return std::nullopt;
        }
        out.append(i ? QStringLiteral("\n") : QString()).append(line);
    }
    return out;
}

// The item as display mode builds it, whole and in two pieces; both copy alike,
// and as the plain reading where there is one.
void checkItemDocument(const std::vector<std::string> &lines, std::string_view ini)
{
    constexpr int kPixelSize = 16;
    const PackedLines copyLines(lines);
    const std::unique_ptr<QTextDocument> whole(BuildItemDocument(copyLines, QFont(), kPixelSize, nullptr));
    const QString copied = copiedWhole(*whole);

    QTextDocument pieces;
    const std::size_t cut = copyLines.size() / 2;
    QTextCursor cursor(&pieces);
    AppendItemLines(cursor, copyLines, 0, cut, kPixelSize);
    cursor.movePosition(QTextCursor::End);
    AppendItemLines(cursor, copyLines, cut, copyLines.size(), kPixelSize);
    if (copiedWhole(pieces) != copied)
        fail("an item built in two pieces differs from the one built whole", ini);

    const auto plain = plainCopy(lines);
    if (!plain)
        return;
    if (whole->blockCount() != static_cast<int>(2 * copyLines.size() - 1))
        fail("an item's document has not a block for each line and gap", ini);
    if (copied != *plain)
        fail("display mode's copy of a whole item differs from its lines", ini);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Documents lay text out in fonts, which need the application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view ini(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string> names = CollectionItemNames(ini);
    const std::string &file = collectionFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(ini.data(), std::streamsize(ini.size()));
    if (ReadCollectionItemNames(file) != names)
        fail("the names read from the file differ from those of its text", ini);

    const auto countText = Profile::lookup(ini, "ItemList", "ItemCount");
    const int count = countText ? Profile::parseInteger(*countText).value_or(0) : 0;
    if (count <= kPlainLimit) {
        if (names != plainNames(ini, count))
            fail("item names differ from the plain reading", ini);
    } else if (names.size() > size) {
        fail("more names than bytes", ini);
    }

    std::size_t checked = 0;
    for (const std::string &name : names) {
        if (name.empty() || trimRecipeLine(name) != name)
            fail("an item name is empty or untrimmed", ini);
        if (!IsItemSection("[ " + name + " ]", name))
            fail("an item does not match its own header", ini);
        if (++checked > 8)
            continue;
        const auto lines = IniItemLines(ini, name);
        const auto read = ReadIniItemLines(file, name);
        if (read.ok() != lines.has_value() || (lines && !(read == *lines)))
            fail("an item read from the file differs from the one of its text", ini);
        if (!lines)
            continue;
        for (const std::string &line : *lines) {
            if (trimRecipeLine(line) != line)
                fail("an item line is not trimmed", ini);
            if (!line.empty() && line.front() == '[')
                fail("an item runs past a header", ini);
        }
        const std::vector<std::string> copyLines = ItemCopyLines(name, *lines);
        const auto packed = ReadItemCopyLines(file, name);
        if (!packed || packed->toVector() != copyLines)
            fail("the item's lines read in one buffer differ", ini);
        if (DisplayModeCopy(displayed(name, *lines)) != joined(copyLines))
            fail("the display copy does not give back the item", ini);
        checkItemDocument(copyLines, ini);
    }
    return 0;
}
