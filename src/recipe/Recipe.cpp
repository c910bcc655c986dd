#include "recipe/Recipe.h"

#include "platform/Gbk.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vomra {

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && pathsEqualIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool hasExtension(std::string_view name, std::string_view ext)
{
    return name.size() >= ext.size() && pathsEqualIgnoringCase(name.substr(name.size() - ext.size()), ext);
}

// Lines of a text split at CR LF, LF or a lone CR, without their ends.
template <typename Fn>
void forEachLine(std::string_view text, Fn &&fn)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            fn(text.substr(pos));
            return;
        }
        if (!fn(text.substr(pos, end - pos)))
            return;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

// ---- folder listing --------------------------------------------------------

struct DirEntry {
    std::string name;
    bool isDir;
    dev_t dev;
    ino_t ino;
};

// Entries of a folder in name order: real directories and regular files only,
// symbolic links followed. Nothing when the folder cannot be listed.
std::optional<std::vector<DirEntry>> listFolder(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::vector<DirEntry> entries;
    const int fd = ::dirfd(dir);
    while (const dirent *e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, 0) != 0)
            continue; // a dangling link or an entry gone meanwhile
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
            continue;
        entries.push_back({std::string(name), S_ISDIR(st.st_mode), st.st_dev, st.st_ino});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirEntry &a, const DirEntry &b) { return a.name < b.name; });
    return entries;
}

class Scanner {
public:
    explicit Scanner(std::vector<TRecipeNode> &out) : m_out(out) {}

    bool firstVisit(dev_t dev, ino_t ino) { return m_visited.insert({dev, ino}).second; }

    // A folder node, then its subfolders, collections and recipe files.
    void addFolder(const std::string &path, const std::string &name, int depth)
    {
        m_out.push_back({riFolder, depth, name, path});
        const auto entries = listFolder(path);
        if (!entries)
            return;
        for (const DirEntry &e : *entries) {
            if (e.isDir && firstVisit(e.dev, e.ino))
                addFolder(path + e.name + '/', e.name, depth + 1);
        }
        addFiles(path, *entries, depth + 1);
    }

private:
    void addFiles(const std::string &folder, const std::vector<DirEntry> &entries, int depth)
    {
        for (const DirEntry &e : entries) {
            if (e.isDir || !hasExtension(e.name, ".Ini"))
                continue;
            const std::string path = folder + e.name;
            m_out.push_back({riCollection, depth, e.name.substr(0, e.name.size() - 4), path});
            for (std::string &item : ReadCollectionItemNames(path))
                m_out.push_back({riItem, depth + 1, std::move(item), path});
        }
        for (const DirEntry &e : entries) {
            if (!e.isDir && hasExtension(e.name, ".Txt"))
                m_out.push_back({riRecipeFile, depth, e.name.substr(0, e.name.size() - 4), folder + e.name});
        }
    }

    std::vector<TRecipeNode> &m_out;
    std::set<std::pair<dev_t, ino_t>> m_visited;
};

// ---- collections -----------------------------------------------------------

bool isProfileBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimProfileBlanks(std::string_view s)
{
    while (!s.empty() && isProfileBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isProfileBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// n when a line holds "ItemName<n> = ..." as the profile reader would see its key
// (decimal, no leading zero, up to INT_MAX); else 0.
int itemNameKeyNumber(std::string_view line)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return 0;
    std::string_view key = trimProfileBlanks(line.substr(0, eq));
    constexpr std::string_view kPrefix = "ItemName";
    if (!startsWithIgnoringCase(key, kPrefix))
        return 0;
    key.remove_prefix(kPrefix.size());
    if (key.empty() || key.size() > 10 || key.front() == '0')
        return 0;
    long long n = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n > INT_MAX ? 0 : static_cast<int>(n);
}

bool isHeaderLike(std::string_view line)
{
    line = trimProfileBlanks(line);
    return !line.empty() && line.front() == '[';
}

// Upper-cases ASCII a-z outside double-byte characters and drops every space.
std::string sectionKey(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        if (c != ' ')
            out += c;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) >= 127)
            ++i; // a lead byte and its trail byte stay as they are
        else
            out[i] = asciiUpper(out[i]);
    }
    return out;
}

// Replaces invalid UTF-8 by U+FFFD, one per bad byte.
std::string validUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        unsigned cp = 0;
        if (b < 0x80) {
            out += s[i++];
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07u;
        }
        bool ok = len != 0 && i + len <= s.size();
        for (std::size_t k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        ok = ok && !(len == 3 && cp < 0x800) && !(len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) &&
             !(cp >= 0xD800 && cp <= 0xDFFF);
        if (ok) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

} // namespace

// ---- scan and records ------------------------------------------------------

std::vector<TRecipeNode> ScanRecipeLibrary(const std::string &programFolder)
{
    std::vector<TRecipeNode> tree;
    const auto top = listFolder(programFolder);
    if (!top)
        return tree;

    std::vector<std::vector<TRecipeNode>> folders;
    std::vector<TRecipeNode> scratch;
    Scanner scanner(scratch);
    struct stat self {};
    if (::stat(programFolder.c_str(), &self) == 0)
        scanner.firstVisit(self.st_dev, self.st_ino); // a link back to the program folder

    for (const DirEntry &e : *top) {
        if (!e.isDir || pathsEqualIgnoringCase(e.name, "Theme") || !scanner.firstVisit(e.dev, e.ino))
            continue;
        scanner.addFolder(programFolder + e.name + '/', e.name, 0);
        folders.push_back(std::move(scratch));
        scratch.clear();
    }
    // Each top-level folder goes in before the previous one.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        tree.insert(tree.end(), std::make_move_iterator(it->begin()), std::make_move_iterator(it->end()));
    return tree;
}

int parentIndex(const std::vector<TRecipeNode> &tree, std::size_t i)
{
    if (i >= tree.size())
        return -1;
    const int want = tree[i].depth - 1;
    for (std::size_t k = i; k-- > 0;) {
        if (tree[k].depth == want)
            return static_cast<int>(k);
        if (tree[k].depth < want)
            break;
    }
    return -1;
}

TQOBR_TreeNodeRecord GetNodeRecord(const std::vector<TRecipeNode> &chain, const std::string &programFolder)
{
    TQOBR_TreeNodeRecord r;
    std::string path;
    const TRecipeNode *decider = nullptr;
    auto decide = [&](unsigned char kind, const TRecipeNode &node) {
        if (r.NodeKind == nkNone) {
            r.NodeKind = kind;
            decider = &node;
        }
    };
    for (const TRecipeNode &node : chain) {
        switch (node.image) {
        case riFolder:
        case riFolderOpen:
            decide(nkFolder, node);
            path = node.text + '/' + path;
            break;
        case riRecipeFile:
            decide(nkRecipeFile, node);
            path = node.text + ".Txt" + path;
            break;
        case riCollection:
        case riCollectionOpen:
            decide(nkCollection, node);
            path = node.text + ".Ini" + path;
            break;
        case riItem:
            r.ItemName = node.text;
            break;
        default:
            break;
        }
    }
    r.FilePath = programFolder + path;
    if (decider && !decider->diskPath.empty())
        r.DiskPath = decider->diskPath;
    else if (r.NodeKind == nkFolder)
        r.DiskPath = r.FilePath;
    else if (r.NodeKind != nkNone)
        r.DiskPath = resolveListedPath(r.FilePath);
    return r;
}

TQOBR_TreeNodeRecord GetNodeRecord(const std::vector<TRecipeNode> &tree, std::size_t i,
                                   const std::string &programFolder)
{
    std::vector<TRecipeNode> chain;
    for (int k = i < tree.size() ? static_cast<int>(i) : -1; k >= 0; k = parentIndex(tree, static_cast<std::size_t>(k)))
        chain.push_back(tree[static_cast<std::size_t>(k)]);
    return GetNodeRecord(chain, programFolder);
}

std::string resolveListedPath(const std::string &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    const std::string_view name = slash == std::string::npos ? std::string_view(path)
                                                             : std::string_view(path).substr(slash + 1);
    if (name.size() < 4)
        return path;
    const std::string_view stem = name.substr(0, name.size() - 4);
    const auto entries = listFolder(folder);
    if (!entries)
        return path;
    for (const DirEntry &e : *entries) {
        if (e.name.size() == name.size() && std::string_view(e.name).substr(0, stem.size()) == stem &&
            pathsEqualIgnoringCase(std::string_view(e.name).substr(stem.size()), name.substr(stem.size())))
            return slash == std::string::npos ? e.name : folder + e.name;
    }
    return path;
}

bool pathsEqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

bool IsInLibrary(std::string_view path, std::string_view programFolder)
{
    const std::string theme = std::string(programFolder) + "Theme/";
    if (path.size() > theme.size() && startsWithIgnoringCase(path, theme))
        return false;
    return path.size() > programFolder.size() && startsWithIgnoringCase(path, programFolder);
}

// ---- collections -----------------------------------------------------------

std::string_view trimRecipeLine(std::string_view line)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string> CollectionItemNames(std::string_view iniText)
{
    std::vector<std::string> names;
    const auto countText = Profile::lookup(iniText, "ItemList", "ItemCount");
    const int count = countText ? Profile::parseInteger(*countText).value_or(0) : 0;
    if (count <= 0)
        return names;

    // Only keys that can be "ItemName<n>" with n <= count are looked up, so a huge
    // count costs nothing. The profile reader answers each from a text that keeps
    // every line that may be a section header or such a key, whole, in order, and
    // leaves out the item texts, so the answers are those of the whole file.
    std::set<int> numbers;
    std::string keyLines;
    std::size_t pos = 0;
    while (pos < iniText.size()) {
        std::size_t nl = iniText.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? iniText.size() : nl + 1;
        const std::string_view line = iniText.substr(pos, end - pos);
        bool keep = isHeaderLike(line);
        forEachLine(line, [&](std::string_view part) {
            const int n = itemNameKeyNumber(part);
            if (n > 0 && n <= count) {
                numbers.insert(n);
                keep = true;
            }
            return true;
        });
        if (keep) {
            keyLines.append(line);
            if (keyLines.back() != '\n')
                keyLines += '\n';
        }
        pos = end;
    }
    for (const int n : numbers) {
        const auto name = Profile::lookup(keyLines, "ItemList", "ItemName" + std::to_string(n));
        if (!name)
            continue;
        const std::string_view trimmed = trimRecipeLine(*name);
        if (!trimmed.empty())
            names.emplace_back(trimmed);
    }
    return names;
}

std::vector<std::string> ReadCollectionItemNames(const std::string &path)
{
    const auto text = ReadRecipeFile(path);
    return text ? CollectionItemNames(*text) : std::vector<std::string>{};
}

bool IsItemSection(std::string_view line, std::string_view itemName)
{
    std::string header;
    header.reserve(itemName.size() + 2);
    header.append("[").append(itemName).append("]");
    return sectionKey(line) == sectionKey(header);
}

std::optional<std::vector<std::string>> IniItemLines(std::string_view iniText, std::string_view itemName)
{
    std::optional<std::vector<std::string>> lines;
    forEachLine(iniText, [&](std::string_view raw) {
        const std::string_view line = trimRecipeLine(raw);
        if (!lines) {
            if (IsItemSection(line, itemName))
                lines.emplace();
            return true;
        }
        if (!line.empty() && line.front() == '[')
            return false;
        lines->emplace_back(line);
        return true;
    });
    return lines;
}

std::optional<std::vector<std::string>> ReadIniItemLines(const std::string &path, std::string_view itemName)
{
    const auto text = ReadRecipeFile(path);
    if (!text)
        return std::nullopt;
    return IniItemLines(*text, itemName);
}

std::vector<std::string> ItemCopyLines(std::string_view itemName, const std::vector<std::string> &lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size() + 1);
    out.emplace_back(itemName);
    out.insert(out.end(), lines.begin(), lines.end());
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

std::string DisplayModeCopy(std::string_view selected)
{
    std::string out;
    out.reserve(selected.size());
    std::size_t i = 0;
    while (i < selected.size()) {
        if (selected.substr(i, 4) == "\r\n\r\n") {
            out += "\r\n";
            i += 4;
        } else {
            out += selected[i++];
        }
    }
    return out;
}

// ---- recipe files ----------------------------------------------------------

std::optional<std::string> ReadRecipeFile(const std::string &path, std::string *error)
{
    auto fail = [&](const char *why) -> std::optional<std::string> {
        if (error)
            *error = "cannot read " + path + ": " + why;
        return std::nullopt;
    };
    // Non-blocking, so that a FIFO put where a recipe was expected cannot hang us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool isDir = S_ISDIR(st.st_mode);
        ::close(fd);
        return fail(isDir ? "it is a folder" : "not a regular file");
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fail(std::strerror(err));
        }
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

std::string withCrlf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool WriteRecipeFile(const std::string &path, std::string_view gbkText, std::string *error)
{
    return writeFileAtomically(path, withCrlf(gbkText), error);
}

// ---- names for people ------------------------------------------------------

std::string nativeToDisplay(std::string_view name) { return validUtf8(name); }

std::string nodeDisplayText(const TRecipeNode &node)
{
    return node.image == riItem ? gbk::toUtf8(node.text) : nativeToDisplay(node.text);
}

} // namespace vomra
