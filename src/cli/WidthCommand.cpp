// vomra-cli width: the cells each line takes by East Asian Width, counting the
// ambiguous characters both ways, and the characters that make a picture skew
// in one of the two; --fix writes the text with stand-ins for them.
#include "cli/Cli.h"

#include "base/CellWidth.h"
#include "base/Gbk.h"

#include <fstream>
#include <ostream>

namespace vomra::cli {

namespace {

std::string hexOf(char32_t c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

} // namespace

int runWidth(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    bool fix = false;
    bool narrow = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        if (a.rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, enc, io.err))
                return kUsage;
        } else if (a == "--fix") {
            fix = true;
            ++i;
        } else if (a == "--narrow") {
            narrow = true;
            ++i;
        } else if (a.size() > 1 && a[0] == '-') {
            io.err << "vomra-cli width: unknown option '" << a << "'\n";
            return kUsage;
        } else {
            files.push_back(a);
            ++i;
        }
    }
    if (files.size() > 1) {
        io.err << "vomra-cli width: give one file only\n";
        return kUsage;
    }
    std::optional<std::vector<std::string>> gbkLines;
    if (files.empty() || files.front() == "-") {
        gbkLines = readInputLines(io, io.in, enc, "vomra-cli width", "standard input");
    } else {
        std::ifstream file(files.front(), std::ios::binary);
        if (!file) {
            io.err << "vomra-cli width: cannot read '" << files.front() << "': no such file or not readable\n";
            return kFailed;
        }
        gbkLines = readInputLines(io, file, enc, "vomra-cli width", "'" + files.front() + "'");
    }
    if (!gbkLines)
        return kFailed;

    std::vector<std::u32string> lines;
    lines.reserve(gbkLines->size());
    for (const std::string &line : *gbkLines)
        lines.push_back(cells::decodeUtf8(gbk::toUtf8(line)));
    if (fix)
        for (std::u32string &line : lines)
            line = cells::replaceAmbiguous(line, narrow);

    std::vector<cells::LineCells> measured;
    for (const std::u32string &line : lines)
        measured.push_back(cells::measure(line));
    bool alike = true;
    for (const cells::LineCells &m : measured)
        alike = alike && m.narrow == measured.front().narrow && m.wide == measured.front().wide;

    if (fix) {
        std::vector<std::string> out;
        for (const std::u32string &line : lines)
            out.push_back(gbk::fromUtf8(cells::encodeUtf8(line)));
        writeOutputLines(io, enc, out);
        return alike ? kOk : kFailed;
    }

    std::u32string culprits;
    std::string report;
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const cells::LineCells &m = measured[i];
        const bool off = m.narrow != measured.front().narrow || m.wide != measured.front().wide;
        report += "line " + std::to_string(i + 1) + ": " + std::to_string(m.narrow) + " cells narrow, "
            + std::to_string(m.wide) + " wide" + (off ? " (does not line up with line 1)" : "") + "\n";
        // What makes the two counts differ, in this line or in the first.
        if (off || m.narrow != m.wide)
            for (char32_t c : m.ambiguous)
                if (culprits.find(c) == std::u32string::npos)
                    culprits.push_back(c);
    }
    if (!alike || !culprits.empty()) {
        for (char32_t c : culprits) {
            const std::u32string full = cells::fullWidthFor(c);
            const std::u32string pair = cells::narrowPairFor(c);
            report += "ambiguous " + cells::encodeUtf8(std::u32string(1, c)) + " " + hexOf(c) + ": ";
            if (full.empty() && pair.empty())
                report += "no stand-in known\n";
            else
                report += "use " + cells::encodeUtf8(full.empty() ? pair : full)
                    + (pair.empty() || full.empty() ? "" : " or \"" + cells::encodeUtf8(pair) + "\" (--narrow)")
                    + "\n";
        }
    }
    report += alike ? "lines up both ways\n" : "does not line up\n";
    // The report is in the terminal's encoding, like the text itself.
    if (enc == Encoding::Gbk)
        report = gbk::fromUtf8(report);
    io.out << report << std::flush;
    return alike ? kOk : kFailed;
}

} // namespace vomra::cli
