#include "cli/Cli.h"

#include "base/Gbk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>

namespace vomra::cli {

int runGrind(const std::vector<std::string> &args, Io &io); // GrindCommand.cpp
int runRecipes(const std::vector<std::string> &args, Io &io); // RecipesCommand.cpp
int runTrimLeft(const std::vector<std::string> &args, Io &io); // TrimCommand.cpp
int runTrimRight(const std::vector<std::string> &args, Io &io);
int runArt(const std::vector<std::string> &args, Io &io); // ArtCommand.cpp
int runWidth(const std::vector<std::string> &args, Io &io); // WidthCommand.cpp
int runSend(const std::vector<std::string> &args, Io &io); // SendCommand.cpp

namespace {

constexpr const char *kVersion = "vomra-cli 2.0.0\n"
                                 "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                                 "This is free software: you are free to change and redistribute it.\n"
                                 "There is NO WARRANTY, to the extent permitted by law.";

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

const std::vector<CommandEntry> &commands()
{
    static const std::vector<CommandEntry> table = {
        {"trim-left",
         "trim-left [--encoding utf-8|gbk]",
         "remove the common left margin of the lines on stdin (full-width blanks count as two)",
         runTrimLeft,
         {"--encoding"}},
        {"trim-right",
         "trim-right [--encoding utf-8|gbk]",
         "remove half- and full-width blanks at the end of each line on stdin",
         runTrimRight,
         {"--encoding"}},
        {"grind",
         "grind [--ramp TEXT | --gray standard|94|custom] [--width N] [--height N] [--cell-aspect A] [--dither]\n"
         "        [--invert] [--transparent] [--encoding utf-8|gbk] PICTURE",
         "turn a picture (bitmap, JPEG, PNG) into rows of characters, one gray-ramp byte per pixel\n"
         "      or per cell of --width/--height (area-averaged, keeping the shape of a cell --cell-aspect\n"
         "      times as tall as wide, default 2); --gray takes a ramp kept in the program folder's\n"
         "      QOBR.Ini, as the page's radios do, or the shipped one",
         runGrind,
         {"--ramp", "--gray", "--width", "--height", "--cell-aspect", "--encoding"}},
        {"width",
         "width [--fix [--narrow]] [--encoding utf-8|gbk] [FILE]",
         "the cells each line of FILE (or stdin) takes by East Asian Width, the ambiguous\n"
         "      characters (■ ● ★ ...) counted as one cell and as two; lists the lines that do not\n"
         "      line up with the first and the ambiguous characters to blame, with stand-ins\n"
         "        --fix             write the text with full-width stand-ins for them\n"
         "        --narrow          with --fix, pairs of narrow characters instead\n"
         "      Exit status: 0 every line lines up both ways (after --fix), 1 otherwise",
         runWidth,
         {"--encoding"}},
        {"art",
         "art [OPTIONS] WORD",
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
         "        --width N         draw the word in lines of glyphs at most N columns wide\n"
         "        --encoding ENC    utf-8 (default) or gbk, for arguments, --onto and output",
         runArt,
         {"--font", "--size", "--fg", "--bg", "--mode", "--onto", "--layout", "--width", "--encoding"}},
        {"send",
         "send [--kind 1|2 | --window TITLE | --window-contains TEXT | --class NAME | --pick] [--list]\n"
         "       [--press-send] [--encoding utf-8|gbk] [--lossy]",
         "paste the text on stdin into a chat window on this X display and, with --press-send,\n"
         "      send it: kind 1 (default) is the \"发送消息\" window, 2 the \"对话模式\" window\n"
         "      (titles from QOBR.Ini of the program folder, section 发送, keys 窗口1 and 窗口2)\n"
         "        --window TITLE    the top-most window of that whole title (in the locale's text)\n"
         "        --window-contains TEXT   the top-most window whose title holds TEXT\n"
         "        --class NAME      the top-most window of that program class (any case)\n"
         "        --pick            click the window with a cross-hair pointer\n"
         "        --pick --remember 1|2    write the picked window's title as 窗口1 or 窗口2\n"
         "                          of QOBR.Ini (the page's labels use it), and send nothing\n"
         "        --list            every window: id, pid, class, drawn in one piece or in\n"
         "                          parts, which option would pick it, title\n"
         "        --lossy           send input that does not decode, with \"?\" for bad bytes\n"
         "      Exit status: 0 the chat program received the whole text (and, with\n"
         "      --press-send, send was pressed after that); 1 no matching window, or no X\n"
         "      display and no Wayland clipboard; 2 bad usage, empty input or input that\n"
         "      does not decode; 3 the window was found but did not take the text within\n"
         "      5 seconds; 4 no X display: the text was put on the Wayland clipboard instead\n"
         "      and served until another program took the clipboard or 2 minutes passed",
         runSend,
         {"--window", "--window-contains", "--class", "--kind", "--remember", "--encoding"}},
        {"recipes",
         "recipes list|show|find|add|rm [--folder DIR] [--encoding utf-8|gbk] [--force] [ARGS]",
         "the recipe library of the program folder (the one vomra uses) or of DIR\n"
         "        list              the tree: folders, collections (.Ini) with their items,\n"
         "                          recipe files (.Txt), two blanks of indent per level\n"
         "        show PATH         a recipe file's text; a collection's first item\n"
         "        show PATH ITEM    a collection's item: its name, then its lines\n"
         "                          (PATH relative to the folder unless it starts with /;\n"
         "                          ITEM in the terminal's encoding, whatever --encoding says)\n"
         "        find TEXT         every line of a recipe or item holding TEXT (ASCII case\n"
         "                          ignored): path, item, line number, the line, tab-separated;\n"
         "                          a folder, recipe, collection or item whose name holds TEXT\n"
         "                          gets a line of its own first, with line number 0 and an\n"
         "                          empty line; exit status 1 when nothing holds it\n"
         "        add PATH          standard input as a new recipe file (GBK, CR LF; \".Txt\"\n"
         "                          added when missing); an existing file only with --force\n"
         "        rm PATH           a recipe file, collection or folder to the desktop's trash",
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
            const int status = c.run(rest, io);
            io.out.flush();
            if (!io.out && io.outError == 0)
                io.outError = errno ? errno : EIO;
            if (io.outError != 0) {
                io.err << "vomra-cli " << c.name << ": cannot write standard output: " << std::strerror(io.outError)
                       << '\n';
                return kFailed;
            }
            return status;
        }
    }
    if (first.rfind("-", 0) == 0)
        io.err << "vomra-cli: unknown option '" << first << "' (try 'vomra-cli --help')\n";
    else
        io.err << "vomra-cli: unknown command '" << first << "' (try 'vomra-cli --help')\n";
    return kUsage;
}

} // namespace vomra::cli
