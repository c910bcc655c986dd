// The helpers every command shares: options, reading and writing text.
#include "cli/Cli.h"

#include "base/ExeFolder.h"
#include "base/Gbk.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <istream>
#include <ostream>

namespace vomra::cli {

namespace {

// Output is gathered into writes of about this size: a grind can give millions
// of bytes in thousands of lines.
constexpr std::size_t kOutputChunk = std::size_t{1} << 20;

} // namespace

std::optional<std::string> takeValue(const std::vector<std::string> &args, std::size_t &i, const std::string &opt,
                                     const char *command, std::ostream &err)
{
    const std::string &a = args[i];
    if (a == opt) {
        if (i + 1 >= args.size()) {
            err << command << ": " << opt << " needs a value\n";
            return std::nullopt;
        }
        i += 2;
        return args[i - 1];
    }
    i += 1;
    return a.substr(opt.size() + 1);
}

std::string programFolderOf(const Io &io)
{
    return io.programFolder.empty() ? vomra::ExeFolder() : io.programFolder;
}

bool takeEncoding(const std::vector<std::string> &args, std::size_t &i, Encoding &enc, std::ostream &err)
{
    std::string value;
    if (args[i] == "--encoding") {
        if (i + 1 >= args.size()) {
            err << "vomra-cli: --encoding needs a value (utf-8 or gbk)\n";
            return false;
        }
        value = args[i + 1];
        i += 2;
    } else if (args[i].rfind("--encoding=", 0) == 0) {
        value = args[i].substr(11);
        i += 1;
    } else {
        err << "vomra-cli: unknown option '" << args[i] << "'\n";
        return false;
    }
    if (value == "utf-8" || value == "utf8" || value == "UTF-8") {
        enc = Encoding::Utf8;
    } else if (value == "gbk" || value == "GBK") {
        enc = Encoding::Gbk;
    } else {
        err << "vomra-cli: unknown encoding '" << value << "' (use utf-8 or gbk)\n";
        return false;
    }
    return true;
}

bool readTextBlocks(Io &io, std::istream &in, Encoding enc, const std::string &command, const std::string &what,
                    const std::function<void(std::string_view gbk)> &block)
{
    // Blocks end at their last line feed; the rest waits for the next.
    // A line feed never falls inside a UTF-8 character, so converting at line ends
    // gives what converting the whole input would.
    constexpr std::size_t kBlock = std::size_t{64} << 10;
    std::string pending;
    std::string buffer(kBlock, '\0');
    bool warned = false;
    auto hand = [&](std::string_view text) {
        if (text.empty())
            return;
        if (enc == Encoding::Gbk) {
            block(text);
            return;
        }
        bool lossy = false;
        const std::string gbk = gbk::fromUtf8(text, &lossy);
        if (lossy && !warned) {
            io.err << "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n";
            warned = true;
        }
        block(gbk);
    };
    for (;;) {
        // The stream turns an error of the file below it into badbit (reading a
        // folder, say); errno still tells what it was.
        errno = 0;
        in.read(buffer.data(), static_cast<std::streamsize>(kBlock));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (in.bad()) {
            const int err = errno;
            io.err << command << ": cannot read " << what << ": " << (err ? std::strerror(err) : "read error") << '\n';
            return false;
        }
        const std::string_view fresh(buffer.data(), got);
        const std::size_t lastLf = fresh.rfind('\n');
        if (lastLf == std::string_view::npos) {
            pending.append(fresh);
        } else if (pending.empty()) {
            hand(fresh.substr(0, lastLf + 1));
            pending.assign(fresh.substr(lastLf + 1));
        } else {
            pending.append(fresh.substr(0, lastLf + 1));
            hand(pending);
            pending.assign(fresh.substr(lastLf + 1));
        }
        if (!in)
            break; // the end of the input
    }
    hand(pending);
    return true;
}

std::optional<std::vector<std::string>> readInputLines(Io &io, std::istream &in, Encoding enc,
                                                       const std::string &command, const std::string &what)
{
    std::vector<std::string> lines;
    const bool ok = readTextBlocks(io, in, enc, command, what, [&lines](std::string_view text) {
        forEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    });
    if (!ok)
        return std::nullopt;
    return lines;
}

void forEachLine(std::string_view text, const std::function<void(std::string_view line)> &line)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        line(text.substr(start, end - start));
        start = next;
    }
}

LineWriter::LineWriter(Io &io, Encoding enc)
    : m_io(io)
    , m_enc(enc)
{
}

void LineWriter::put(std::string_view line)
{
    // ASCII reads the same in GBK and UTF-8, so only lines with a byte of 0x80 or
    // above go through the codec.
    unsigned char high = 0;
    for (const char c : line)
        high |= static_cast<unsigned char>(c);
    if (m_enc == Encoding::Utf8 && (high & 0x80) != 0)
        append(gbk::toUtf8(line));
    else
        append(line);
}

void LineWriter::append(std::string_view text)
{
    if (m_chunk.size() + text.size() + 1 > kOutputChunk && !m_chunk.empty())
        flush();
    m_chunk += text;
    m_chunk += '\n';
}

void LineWriter::flush()
{
    if (m_io.outError == 0 && !m_chunk.empty()) {
        errno = 0;
        m_io.out.write(m_chunk.data(), static_cast<std::streamsize>(m_chunk.size()));
        m_io.out.flush();
        if (!m_io.out)
            m_io.outError = errno ? errno : EIO;
    }
    m_chunk.clear();
}

void writeOutputLines(Io &io, Encoding enc, const std::vector<std::string> &lines)
{
    LineWriter writer(io, enc);
    for (const std::string &line : lines)
        writer.put(line);
}

} // namespace vomra::cli
