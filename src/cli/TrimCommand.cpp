// vomra-cli trim-left and trim-right: the two blank trims of the art page, over
// standard input. Neither keeps a string per line: the right trim streams, the
// left trim holds the text once and makes two passes over it (the margin first).
#include "cli/Cli.h"

#include "base/TextLines.h"

#include <iostream>

namespace vomra::cli {

namespace {

const std::string kStdin = "standard input";

// The options of both trims; kOk, or the status of a usage error already printed.
int parseTrimArgs(const std::vector<std::string> &args, const char *name, Encoding &enc, std::ostream &err)
{
    for (std::size_t i = 0; i < args.size();) {
        if (args[i].rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, enc, err))
                return kUsage;
            continue;
        }
        err << "vomra-cli " << name << ": unexpected argument '" << args[i] << "'\n";
        return kUsage;
    }
    return kOk;
}

} // namespace

int runTrimLeft(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    if (const int status = parseTrimArgs(args, "trim-left", enc, io.err); status != kOk)
        return status;
    std::string text;
    if (!readTextBlocks(io, io.in, enc, "vomra-cli trim-left", kStdin,
                        [&text](std::string_view block) { text.append(block); }))
        return kFailed;
    LeftMargin margin;
    forEachLine(text, [&margin](std::string_view line) { margin.add(line); });
    LineWriter out(io, enc);
    std::string trimmed;
    forEachLine(text, [&](std::string_view line) {
        trimmed.clear();
        appendTrimmedLeft(line, margin.margin(), trimmed);
        out.put(trimmed);
    });
    return kOk;
}

int runTrimRight(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    if (const int status = parseTrimArgs(args, "trim-right", enc, io.err); status != kOk)
        return status;
    LineWriter out(io, enc);
    const bool ok = readTextBlocks(io, io.in, enc, "vomra-cli trim-right", kStdin, [&out](std::string_view block) {
        forEachLine(block, [&out](std::string_view line) { out.put(line.substr(0, keptByTrailingTrim(line))); });
    });
    return ok ? kOk : kFailed;
}

} // namespace vomra::cli
