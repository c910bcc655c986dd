// vomra-cli recipes: the recipe library for scripts, read as the tree reads it.
#include "base/Gbk.h"
#include "base/NativePath.h"
#include "base/TextLines.h"
#include "base/Trash.h"
#include "cli/Cli.h"
#include "recipe/core/Recipe.h"
#include "recipe/core/LibrarySearch.h"
#include "recipe/core/LibraryOperations.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace vomra::cli {

namespace {

constexpr const char *kName = "vomra-cli recipes";

struct Options {
    std::string action;
    std::string folder;
    Encoding encoding = Encoding::Utf8;
    bool force = false;
    std::vector<std::string> operands;
};

// Nothing (the error printed) for a bad command line.
std::optional<Options> parse(const std::vector<std::string> &args, const Io &io)
{
    std::ostream &err = io.err;
    Options o;
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        if (!optionsDone && a == "--") {
            optionsDone = true;
            ++i;
        } else if (!optionsDone && a.rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, o.encoding, err))
                return std::nullopt;
        } else if (!optionsDone && (a == "--folder" || a.rfind("--folder=", 0) == 0)) {
            const auto value = takeValue(args, i, "--folder", kName, err);
            if (!value)
                return std::nullopt;
            if (value->empty()) {
                err << kName << ": --folder needs a folder\n";
                return std::nullopt;
            }
            o.folder = *value;
        } else if (!optionsDone && a == "--force") {
            o.force = true;
            ++i;
        } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
            err << kName << ": unknown option '" << a << "' (try 'vomra-cli recipes --help')\n";
            return std::nullopt;
        } else {
            if (o.action.empty())
                o.action = a;
            else
                o.operands.push_back(a);
            ++i;
        }
    }
    const bool known =
        o.action == "list" || o.action == "show" || o.action == "find" || o.action == "add" || o.action == "rm";
    if (!known) {
        if (o.action.empty())
            err << kName << ": say list, show, find, add or rm (try 'vomra-cli recipes --help')\n";
        else
            err << kName << ": unknown action '" << o.action << "' (use list, show, find, add or rm)\n";
        return std::nullopt;
    }
    if (o.force && o.action != "add") {
        err << kName << ": --force goes with add only\n";
        return std::nullopt;
    }
    if (o.action == "list" && !o.operands.empty()) {
        err << kName << " list: takes no arguments\n";
        return std::nullopt;
    }
    if (o.action == "show" && (o.operands.empty() || o.operands.size() > 2)) {
        err << kName << " show: give PATH and at most one ITEM\n";
        return std::nullopt;
    }
    if ((o.action == "find" || o.action == "add" || o.action == "rm") && o.operands.size() != 1) {
        err << kName << ' ' << o.action << (o.action == "find" ? ": give one TEXT\n" : ": give one PATH\n");
        return std::nullopt;
    }
    if (o.folder.empty())
        o.folder = programFolderOf(io);
    if (o.folder.back() != '/')
        o.folder += '/';
    return o;
}

// GBK text as UTF-8 for the terminal: every character GBK reads is decoded;
// a byte that is not text (a NUL, a lead byte without its trail, a pair GBK has
// no character for) becomes U+FFFD, so nothing unprintable reaches the output.
std::string gbkToShownUtf8(std::string_view text, bool *lossy)
{
    bool lost = false;
    if (text.find('\0') == std::string_view::npos) {
        std::string out = gbk::toUtf8(text, &lost);
        if (!lost)
            return out;
    }
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else {
            bool bad = false;
            const std::string pair = i + 1 < text.size() ? gbk::toUtf8(text.substr(i, 2), &bad) : std::string();
            const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if (i + 1 < text.size() && !bad) {
                out += pair;
                i += 2;
            } else {
                out += "\xEF\xBF\xBD";
                i += trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
                lost = true;
            }
        }
    }
    if (lossy && lost)
        *lossy = true;
    return out;
}

// GBK text as the chosen output encoding wants it: UTF-8 with U+FFFD for what is
// not text, or the bytes themselves; *lossy set when a U+FFFD was written.
std::string fromGbk(const std::string &gbkText, Encoding enc, bool *lossy = nullptr)
{
    return enc == Encoding::Utf8 ? gbkToShownUtf8(gbkText, lossy) : gbkText;
}

// Whether the terminal's locale (LC_ALL, LC_CTYPE, LANG, in that order) writes
// GBK; anything else is read as UTF-8.
bool terminalIsGbk()
{
    const char *locale = nullptr;
    for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char *v = std::getenv(name);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    if (!locale)
        return false;
    std::string_view l = locale;
    const std::size_t dot = l.find('.');
    if (dot == std::string_view::npos)
        return false;
    std::string_view codeset = l.substr(dot + 1);
    codeset = codeset.substr(0, codeset.find('@'));
    for (const char *gbkName : {"GBK", "GB2312", "GB18030", "EUC-CN", "EUCCN", "CP936"})
        if (pathsEqualIgnoringCase(codeset, gbkName))
            return true;
    return false;
}

// A name shown to people (UTF-8) as the chosen output encoding wants it; *lossy
// set when GBK cannot hold one of its characters.
std::string fromDisplay(const std::string &utf8, Encoding enc, bool *lossy)
{
    bool lost = false;
    std::string out = enc == Encoding::Utf8 ? utf8 : gbk::fromUtf8(utf8, &lost);
    if (lost)
        *lossy = true;
    return out;
}

// Said once per run, so nothing changes without a word.
void warnLossy(Io &io, Encoding enc)
{
    io.err << kName
           << (enc == Encoding::Utf8 ? ": warning: bytes that are not GBK text are shown as U+FFFD\n"
                                     : ": warning: some characters cannot be written in GBK and became \"?\"\n");
}

// Lines of GBK text in the output encoding, with the warning when any of their
// bytes could not be shown as text.
void writeLines(Io &io, Encoding enc, const std::vector<std::string> &lines)
{
    bool lossy = false;
    if (enc == Encoding::Utf8) {
        std::vector<std::string> shown;
        shown.reserve(lines.size());
        for (const std::string &line : lines)
            shown.push_back(fromGbk(line, enc, &lossy));
        writeOutputLines(io, Encoding::Gbk, shown); // already UTF-8: written as it is
    } else {
        writeOutputLines(io, enc, lines);
    }
    if (lossy)
        warnLossy(io, enc);
}

std::string fileNameOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int list(const Options &o, Io &io)
{
    if (DIR *d = ::opendir(o.folder.c_str())) {
        ::closedir(d);
    } else {
        io.err << kName << ": cannot list '" << o.folder << "': " << std::strerror(errno) << '\n';
        return kFailed;
    }
    std::string out;
    bool lossy = false;
    for (const TRecipeNode &node : ScanRecipeLibrary(o.folder)) {
        out.append(static_cast<std::size_t>(node.depth) * 2, ' ');
        switch (node.image) {
        case riItem:
            if (o.encoding == Encoding::Gbk && node.text.find('\0') != std::string::npos) {
                std::string name = node.text; // never a raw NUL in a listing
                std::replace(name.begin(), name.end(), '\0', '?');
                out += name;
                lossy = true;
            } else {
                out += fromGbk(node.text, o.encoding, &lossy);
            }
            break;
        case riFolder:
            out += fromDisplay(nodeDisplayText(node), o.encoding, &lossy) + '/';
            break;
        default: // files by the name they have on disk, so the line can be given to "show"
            out += fromDisplay(nativeToDisplay(fileNameOf(node.diskPath)), o.encoding, &lossy);
            break;
        }
        out += '\n';
    }
    io.out << out << std::flush;
    if (lossy)
        warnLossy(io, o.encoding);
    return kOk;
}

int show(const Options &o, Io &io)
{
    const std::string &given = o.operands[0];
    const std::string path = resolveShownPath(given.front() == '/' ? given : o.folder + given);
    const auto text = ReadRecipeFile(path);
    if (!text) {
        io.err << kName << ": " << text.error().message << '\n';
        return kFailed;
    }
    const bool isCollection = path.size() >= 4 && pathsEqualIgnoringCase(path.substr(path.size() - 4), ".Ini");
    if (!isCollection && o.operands.size() == 1 && startsWithUtf8Bom(*text)) {
        // A UTF-8 recipe: its characters as they are (GBK output: "?" for what
        // GBK cannot hold).
        bool lossy = false;
        Lines lines = splitLines(text->substr(kUtf8Bom.size()));
        if (!text->empty() && text->back() == '\n')
            lines.pop_back();
        std::string out;
        for (const std::string &line : lines)
            out += fromDisplay(validUtf8(line), o.encoding, &lossy) + '\n';
        io.out << out << std::flush;
        if (lossy)
            warnLossy(io, o.encoding);
        return kOk;
    }
    if (!isCollection && o.operands.size() == 1) {
        Lines lines = splitLines(*text);
        if (!text->empty() && text->back() == '\n')
            lines.pop_back();
        writeLines(io, o.encoding, lines);
        return kOk;
    }

    if (!isCollection) {
        io.err << kName << ": '" << path << "' is a recipe file, not a collection (.Ini) with items\n";
        return kFailed;
    }
    std::string item;
    if (o.operands.size() == 2) {
        bool lossy = false;
        // Typed in the terminal: read in its encoding, whatever the output's is.
        item = terminalIsGbk() ? o.operands[1] : gbk::fromUtf8(o.operands[1], &lossy);
        if (lossy) {
            io.err << kName << ": no item '" << o.operands[1] << "' in '" << path << "'\n";
            return kFailed;
        }
    }
    // The item's name as the collection lists it, as the tree would show it; a
    // collection on its own shows its first item, as selecting it in the tree does.
    const std::vector<std::string> names = CollectionItemNames(*text);
    if (item.empty()) {
        if (names.empty())
            return kOk;
        item = names.front();
    } else {
        for (const std::string &listed : names) {
            if (IsItemSection("[" + listed + "]", item)) {
                item = listed;
                break;
            }
        }
    }
    const auto lines = IniItemLines(*text, item);
    if (!lines) {
        io.err << kName << ": no item '" << (o.operands.size() == 2 ? o.operands[1] : fromGbk(item, o.encoding))
               << "' in '" << path << "'\n";
        return kFailed;
    }
    writeLines(io, o.encoding, ItemCopyLines(item, *lines));
    return kOk;
}

// A path given on the command line: relative to the folder unless it starts with /.
std::string givenPath(const Options &o, const std::string &given)
{
    return given.front() == '/' ? given : o.folder + given;
}

std::string relativeShown(const Options &o, const std::string &path)
{
    const std::string rel = path.compare(0, o.folder.size(), o.folder) == 0 ? path.substr(o.folder.size()) : path;
    return nativeToDisplay(rel);
}

// One line per line of text holding TEXT: path, item (empty for a recipe
// file), line number and the line, separated by tabs. A node whose name holds
// TEXT comes first with line number 0 and an empty line.
int find(const Options &o, Io &io)
{
    if (!isFolder(o.folder)) {
        io.err << kName << ": cannot search '" << o.folder << "': " << std::strerror(ENOENT) << '\n';
        return kFailed;
    }
    // Typed in the terminal: read in its encoding.
    const std::string needle = terminalIsGbk() ? gbk::toUtf8(o.operands[0]) : o.operands[0];
    const TFindResult found = FindInLibrary(o.folder, needle);
    // Content hits come per collection in file order; grouped by node they
    // follow the tree's order, after the node's own name hit.
    std::vector<std::vector<std::size_t>> hitsOf(found.tree.size());
    for (std::size_t h = 0; h < found.hits.size(); ++h)
        hitsOf[found.hits[h].node].push_back(h);
    bool lossy = false;
    bool any = false;
    std::string out;
    auto emit = [&](const TRecipeNode &node, const std::string &item, int lineNo, const std::string &shownLine) {
        std::string line = fromDisplay(relativeShown(o, node.diskPath), o.encoding, &lossy);
        line += '\t';
        line += fromGbk(item, o.encoding, &lossy);
        line += '\t' + std::to_string(lineNo) + '\t' + shownLine;
        std::replace(line.begin(), line.end(), '\0', '?');
        out += line + '\n';
        any = true;
    };
    for (std::size_t i = 0; i < found.tree.size(); ++i) {
        const TRecipeNode &node = found.tree[i];
        if (found.named[i])
            emit(node, node.image == riItem ? node.text : std::string(), 0, {});
        for (const std::size_t h : hitsOf[i]) {
            const TFindHit &hit = found.hits[h];
            emit(node, hit.item, hit.line,
                 hit.utf8 ? fromDisplay(validUtf8(hit.text), o.encoding, &lossy)
                          : fromGbk(hit.text, o.encoding, &lossy));
        }
    }
    io.out << out << std::flush;
    if (lossy)
        warnLossy(io, o.encoding);
    return any ? kOk : kFailed;
}

// The text on standard input as a new recipe file (GBK, CR LF).
int add(const Options &o, Io &io)
{
    std::string path = givenPath(o, o.operands[0]);
    if (path.size() < 4 || !pathsEqualIgnoringCase(std::string_view(path).substr(path.size() - 4), ".txt"))
        path += ".Txt"; // the library lists only .Txt files
    if (!IsLibraryEntry(path, o.folder) || path.find('/', o.folder.size()) == std::string::npos) {
        io.err << kName << ": '" << path << "' is not in a recipe folder of '" << o.folder << "'\n";
        return kFailed;
    }
    std::string text;
    const bool read = readTextBlocks(io, io.in, o.encoding, std::string(kName) + " add", "standard input",
                                     [&text](std::string_view block) { text += block; });
    if (!read)
        return kFailed;
    const TManageResult r = AddRecipeFile(path, withCrlf(text), o.force);
    if (!r.ok) {
        io.err << kName << ": cannot write '" << path << "': " << std::strerror(r.error)
               << (r.error == EEXIST ? " (--force replaces it)" : "") << '\n';
        return kFailed;
    }
    return kOk;
}

// A recipe file, collection or folder of the library to the desktop's trash.
int remove(const Options &o, Io &io)
{
    const std::string path = resolveShownPath(givenPath(o, o.operands[0]));
    if (!IsLibraryEntry(path, o.folder)) {
        io.err << kName << ": '" << path << "' is not in the recipe library of '" << o.folder << "'\n";
        return kFailed;
    }
    int error = 0;
    if (!moveToTrash(path, &error)) {
        io.err << kName << ": cannot move '" << path << "' to the trash: " << std::strerror(error) << '\n';
        return kFailed;
    }
    return kOk;
}

} // namespace

int runRecipes(const std::vector<std::string> &args, Io &io)
{
    const auto options = parse(args, io);
    if (!options)
        return kUsage;
    const std::string &a = options->action;
    if (a == "list")
        return list(*options, io);
    if (a == "find")
        return find(*options, io);
    if (a == "add")
        return add(*options, io);
    if (a == "rm")
        return remove(*options, io);
    return show(*options, io);
}

} // namespace vomra::cli
