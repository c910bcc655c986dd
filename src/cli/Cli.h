#pragma once
// vomra-cli: the program's conversions for scripts, on the logic layer alone.
// runCli is the whole tool, callable in-process (tests) or from main().

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vomra::cli {

struct Io {
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
    bool errIsTerminal = false;
    // Where QOBR.Ini and the recipe folders are; empty means the program's own rule.
    std::string programFolder = {};
    // errno of the first failed write to out; runCli reports it once.
    int outError = 0;
};

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// args excludes the program name.
int runCli(const std::vector<std::string> &args, Io io);

// Shared by the commands.
enum class Encoding { Utf8, Gbk };

// The value of "--opt VALUE" or "--opt=VALUE" at args[i] (one of the two forms
// already matched); advances i past it. Nothing, with "<command>: <opt> needs a
// value" printed, when VALUE is missing.
std::optional<std::string> takeValue(const std::vector<std::string> &args, std::size_t &i, const std::string &opt,
                                     const char *command, std::ostream &err);

// Parses "--encoding VALUE" / "--encoding=VALUE" at args[i]; advances i past it.
// Returns false (and prints the error) for a bad value or a missing one.
bool takeEncoding(const std::vector<std::string> &args, std::size_t &i, Encoding &enc, std::ostream &err);

// The program folder of the run: io.programFolder, or the folder vomra itself uses.
std::string programFolderOf(const Io &io);

// Reads `in` to its end as GBK text (converted from UTF-8 unless raw GBK was
// asked for), handing it over in blocks that each end after a line feed or at the
// end of the input. False on a read error, with "<command>: cannot read <what>:
// <reason>" printed; `what` names the file ("standard input", or a quoted path).
bool readTextBlocks(Io &io, std::istream &in, Encoding enc, const std::string &command, const std::string &what,
                    const std::function<void(std::string_view gbk)> &block);
// The same, gathered into lines (a CR before a line feed dropped).
std::optional<std::vector<std::string>> readInputLines(Io &io, std::istream &in, Encoding enc,
                                                       const std::string &command, const std::string &what);

// Calls line for each line of GBK text (its line end and a CR before it dropped);
// an empty last piece after the final line feed is no line.
void forEachLine(std::string_view text, const std::function<void(std::string_view line)> &line);

// GBK lines, one line end each, converted to UTF-8 unless raw GBK was asked for,
// gathered into large writes. After a failed write the rest is dropped and
// io.outError is set.
class LineWriter {
public:
    LineWriter(Io &io, Encoding enc);
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;
    ~LineWriter() { flush(); }
    void put(std::string_view line);
    void flush();

private:
    void append(std::string_view text);

    Io &m_io;
    Encoding m_enc;
    std::string m_chunk;
};

void writeOutputLines(Io &io, Encoding enc, const std::vector<std::string> &lines);

} // namespace vomra::cli
