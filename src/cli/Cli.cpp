#include "cli/Cli.h"

#include "art/TextHelpers.h"
#include "platform/ExeFolder.h"
#include "platform/Gbk.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>

namespace vomra::cli {

int runGrind(const std::vector<std::string> &args, Io &io); // GrindCommand.cpp
int runArt(const std::vector<std::string> &args, Io &io); // ArtCommand.cpp
int runSend(const std::vector<std::string> &args, Io &io); // SendCommand.cpp
int runRecipes(const std::vector<std::string> &args, Io &io); // RecipesCommand.cpp

namespace {

void qtQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // Qt's chatter about the session (runtime folder, platform) is no business of a
    // script reading our output; only real failures are passed on.
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

constexpr const char *kVersion = "vomra-cli 2.0.0";

using Command = std::function<int(const std::vector<std::string> &args, Io &io)>;

struct CommandEntry {
    const char *name;
    const char *usage;
    const char *summary;
    Command run;
    // Options whose next argument is their value (so "-h" there is no help request).
    std::vector<std::string> valueOptions;
};

// "--help" or "-h" anywhere among the command's arguments, but not as an option's value.
bool asksForHelp(const CommandEntry &c, const std::vector<std::string> &args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--")
            return false;
        const bool takesValue = std::find(c.valueOptions.begin(), c.valueOptions.end(), args[i]) != c.valueOptions.end();
        if (takesValue)
            ++i;
        else if (args[i] == "--help" || args[i] == "-h")
            return true;
    }
    return false;
}

int runTrim(const std::vector<std::string> &args, Io &io, void (*trim)(Lines &), const char *name)
{
    Encoding enc = Encoding::Utf8;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i].rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, enc, io.err))
                return kUsage;
            continue;
        }
        io.err << "vomra-cli " << name << ": unexpected argument '" << args[i] << "'\n";
        return kUsage;
    }
    Lines lines = readInputLines(io, enc);
    trim(lines);
    writeOutputLines(io, enc, lines);
    return kOk;
}

const std::vector<CommandEntry> &commands()
{
    static const std::vector<CommandEntry> table = {
        {"trim-left", "trim-left [--encoding utf-8|gbk]",
         "remove the common left margin of the lines on stdin (full-width blanks count as two)",
         [](const std::vector<std::string> &a, Io &io) {
             return runTrim(a, io, [](Lines &l) { trimLeftMargin(l); }, "trim-left");
         },
         {"--encoding"}},
        {"trim-right", "trim-right [--encoding utf-8|gbk]",
         "remove half- and full-width blanks at the end of each line on stdin",
         [](const std::vector<std::string> &a, Io &io) {
             return runTrim(a, io, [](Lines &l) { trimTrailingBlanks(l); }, "trim-right");
         },
         {"--encoding"}},
        {"grind", "grind [--ramp TEXT | --gray standard|94|custom] [--transparent] [--encoding utf-8|gbk] PICTURE",
         "turn a Windows bitmap into rows of characters, one gray-ramp byte per pixel;\n"
         "      --gray takes a ramp kept in the program folder's QOBR.Ini, as the page's radios do",
         runGrind, {"--ramp", "--gray", "--encoding"}},
        {"art", "art [OPTIONS] WORD",
         "draw WORD in a font and turn every black pixel into the foreground character,\n"
         "      every other pixel into the background character\n"
         "        --font NAME       font family (default 宋体)\n"
         "        --size PT         size in points, 1 to 200, at 96 dpi (default 9)\n"
         "        --bold, --italic, --underline\n"
         "        --fg TEXT         foreground character(s) (default *)\n"
         "        --bg TEXT         background character (default: a blank of the foreground's width)\n"
         "        --mode MODE       normal: first characters only; cycle: the foreground text spelled\n"
         "                          over the ink; follow: each character of WORD drawn in itself\n"
         "        --onto FILE       the existing text to join the new block to\n"
         "        --layout HOW      replace (default), left, right or below the text of --onto\n"
         "        --encoding ENC    utf-8 (default) or gbk, for arguments, --onto and output",
         runArt,
         {"--font", "--size", "--fg", "--bg", "--mode", "--onto", "--layout", "--encoding"}},
        {"send", "send [--window TITLE | --kind 1|2] [--press-send] [--encoding utf-8|gbk]",
         "paste the text on stdin into a chat window on this X display and, with --press-send,\n"
         "      send it: kind 1 (default) is the \"发送消息\" window, 2 the \"对话模式\" window\n"
         "      (titles from QOBR.Ini of the program folder, section 发送, keys 窗口1 and 窗口2)",
         runSend,
         {"--window", "--kind", "--encoding"}},
        {"recipes", "recipes list|show [--folder DIR] [--encoding utf-8|gbk] [PATH [ITEM]]",
         "the recipe library of the program folder (the one vomra uses) or of DIR\n"
         "        list              the tree: folders, collections (.Ini) with their items,\n"
         "                          recipe files (.Txt), two blanks of indent per level\n"
         "        show PATH         a recipe file's text; a collection's first item\n"
         "        show PATH ITEM    a collection's item: its name, then its lines\n"
         "                          (PATH relative to the folder unless it starts with /)",
         runRecipes,
         {"--folder", "--encoding"}},
    };
    return table;
}

void printHelp(std::ostream &out)
{
    out << "Usage: vomra-cli COMMAND [OPTIONS]\n"
           "Makes and tidies GBK character art, the way the Vomra program does.\n\n"
           "Commands:\n";
    for (const CommandEntry &c : commands())
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\nText is read and written as UTF-8; --encoding gbk reads and writes raw GBK bytes.\n"
           "Options:\n"
           "  -h, --help     show this help\n"
           "  --version      show the version\n";
}

} // namespace

QGuiApplication *guiApplication(const char *platform, bool force)
{
    if (QCoreApplication::instance())
        return qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (force || qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform);
    qInstallMessageHandler(qtQuiet);
    // A second application after the first is destroyed is not something Qt
    // supports well: this one lives as long as the process.
    static int argc = 1;
    static char name[] = "vomra-cli";
    static char *argv[] = {name, nullptr};
    return new QGuiApplication(argc, argv);
}

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
    return io.programFolder.empty() ? vomra::programFolder() : io.programFolder;
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

std::vector<std::string> readInputLines(Io &io, Encoding enc)
{
    std::string data((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
    if (enc == Encoding::Utf8) {
        bool lossy = false;
        data = gbk::fromUtf8(data, &lossy);
        if (lossy)
            io.err << "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n";
    }
    if (data.empty())
        return {};
    Lines lines = splitLines(data);
    if (data.back() == '\n')
        lines.pop_back();
    return lines;
}

void writeOutputLines(Io &io, Encoding enc, const std::vector<std::string> &lines)
{
    // Gathered into large writes: a grind can give millions of bytes in thousands
    // of lines. ASCII reads the same in GBK and UTF-8, so only lines with a byte
    // of 0x80 or above go through the codec.
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::string chunk;
    chunk.reserve(kChunk);
    auto put = [&](std::string_view text) {
        if (chunk.size() + text.size() + 1 > kChunk && !chunk.empty()) {
            io.out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
        chunk += text;
        chunk += '\n';
    };
    for (const std::string &line : lines) {
        unsigned char high = 0;
        for (const char c : line)
            high |= static_cast<unsigned char>(c);
        if (enc == Encoding::Utf8 && (high & 0x80) != 0)
            put(gbk::toUtf8(line));
        else
            put(line);
    }
    io.out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    io.out.flush();
}

int runCli(const std::vector<std::string> &args, Io io)
{
    if (args.empty()) {
        io.err << "vomra-cli: no command given (try 'vomra-cli --help')\n";
        return kUsage;
    }
    const std::string &first = args.front();
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp(io.out);
        return kOk;
    }
    if (first == "--version") {
        io.out << kVersion << '\n';
        return kOk;
    }
    for (const CommandEntry &c : commands()) {
        if (first == c.name) {
            const std::vector<std::string> rest(args.begin() + 1, args.end());
            if (asksForHelp(c, rest)) {
                io.out << "Usage: vomra-cli " << c.usage << "\n  " << c.summary << '\n';
                return kOk;
            }
            return c.run(rest, io);
        }
    }
    if (first.rfind("-", 0) == 0)
        io.err << "vomra-cli: unknown option '" << first << "' (try 'vomra-cli --help')\n";
    else
        io.err << "vomra-cli: unknown command '" << first << "' (try 'vomra-cli --help')\n";
    return kUsage;
}

} // namespace vomra::cli
