// The double-byte text helpers against a plain character-by-character reference,
// and vomra-cli's streaming trims against the list forms the pages use.
// Input: one byte of positions to pick, then the text (its lines, for the trims).

#include "base/TextLines.h"
#include "cli/Cli.h"
#include "base/Gbk.h"
#include "ReferenceText.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "text_fuzz: %s\n", what);
    std::abort();
}

using reference::walk;
int refCount(std::string_view s) { return reference::count(s); }
std::string refPick(std::string_view s, int n) { return reference::pick(s, n); }

bool blank(const std::string &ch) { return ch == " " || ch == "\xA1\xA1"; }

Lines refTrimLeft(Lines lines)
{
    for (std::string &line : lines) {
        std::string out;
        bool leading = true;
        for (const std::string &ch : walk(line)) {
            if (leading && ch == " ")
                out += ' ';
            else if (leading && ch == "\xA1\xA1")
                out += "  ";
            else {
                out += ch;
                leading = false;
            }
        }
        line = out;
    }
    std::size_t margin = INT_MAX;
    for (const std::string &line : lines) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && first < margin)
            margin = first;
    }
    if (margin != static_cast<std::size_t>(INT_MAX))
        for (std::string &line : lines)
            line.erase(0, std::min(margin, line.size()));
    return lines;
}

Lines refTrimRight(Lines lines)
{
    for (std::string &line : lines) {
        std::string kept, pending;
        for (const std::string &ch : walk(line)) {
            pending += ch;
            if (!blank(ch)) {
                kept += pending;
                pending.clear();
            }
        }
        line = kept;
    }
    return lines;
}

// What vomra-cli prints for lines: one line feed each, UTF-8 unless raw GBK.
std::string printed(const Lines &lines, bool utf8)
{
    std::string out;
    for (const std::string &line : lines)
        out += (utf8 ? gbk::toUtf8(line) : line) + "\n";
    return out;
}

std::string runTrim(const char *command, std::string_view input, bool utf8)
{
    std::istringstream in{std::string(input)};
    std::ostringstream out, err;
    std::vector<std::string> args{command};
    if (!utf8)
        args.emplace_back("--encoding=gbk");
    if (cli::runCli(args, {in, out, err, false}) != 0)
        fail("a trim failed");
    return out.str();
}

// The input's lines as vomra-cli reads them: a final line feed ends the last line.
Lines inputLines(std::string_view text)
{
    if (text.empty())
        return {};
    Lines lines = splitLines(text);
    if (text.back() == '\n')
        lines.pop_back();
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int position = static_cast<signed char>(data[0]);
    const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);

    if (charCount(text) != refCount(text))
        fail("charCount");
    for (const int n : {position, 1, 2, refCount(text), refCount(text) + 1})
        if (cyclicChar(text, n) != refPick(text, n))
            fail("cyclicChar");
    const auto picks = charPicks(text);
    if (picks.size() != static_cast<std::size_t>(refCount(text)))
        fail("charPicks count");
    for (std::size_t k = 0; k < picks.size(); ++k)
        if (picks[k] != refPick(text, static_cast<int>(k + 1)))
            fail("charPicks");

    const Lines lines = splitLines(text);
    Lines left = lines, right = lines;
    trimLeftMargin(left);
    trimTrailingBlanks(right);
    if (left != refTrimLeft(lines))
        fail("trimLeftMargin");
    if (right != refTrimRight(lines))
        fail("trimTrailingBlanks");

    // The command line, raw and through UTF-8.
    const Lines raw = inputLines(text);
    if (runTrim("trim-left", text, false) != printed(refTrimLeft(raw), false))
        fail("trim-left --encoding gbk");
    if (runTrim("trim-right", text, false) != printed(refTrimRight(raw), false))
        fail("trim-right --encoding gbk");
    const Lines viaUtf8 = inputLines(gbk::fromUtf8(text));
    if (runTrim("trim-left", text, true) != printed(refTrimLeft(viaUtf8), true))
        fail("trim-left");
    if (runTrim("trim-right", text, true) != printed(refTrimRight(viaUtf8), true))
        fail("trim-right");
    return 0;
}
