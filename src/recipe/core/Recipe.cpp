// The recipe folder scan, node records, library paths and recipe files.
#include "recipe/core/Recipe.h"

#include "base/AtomicFile.h"
#include "base/Gbk.h"
#include "base/Profile.h"

#include <algorithm>
#include <cerrno>
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

// ---- folder listing --------------------------------------------------------

struct DirEntry {
    std::string name;
    bool isDir;
    dev_t dev; // directories only
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
        if (e->d_type == DT_REG) { // most entries: no need to ask again
            entries.push_back({std::string(name), false, 0, 0});
            continue;
        }
        if (e->d_type != DT_DIR && e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
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
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
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
        if (!e.isDir && e.name.size() == name.size() && std::string_view(e.name).substr(0, stem.size()) == stem &&
            pathsEqualIgnoringCase(std::string_view(e.name).substr(stem.size()), name.substr(stem.size())))
            return slash == std::string::npos ? e.name : folder + e.name;
    }
    return path;
}

std::string resolveShownPath(const std::string &path)
{
    std::string out = !path.empty() && path.front() == '/' ? "/" : "";
    std::size_t start = out.size();
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(start, slash - start);
        if (!part.empty()) {
            std::string found = part;
            if (!pathExists(out + part)) {
                if (const auto entries = listFolder(out.empty() ? std::string("./") : out)) {
                    for (const DirEntry &e : *entries)
                        if (e.name != part && nativeToDisplay(e.name) == part) {
                            found = e.name;
                            break;
                        }
                }
            }
            out += found;
        }
        if (slash < path.size())
            out += '/';
        start = slash + 1;
    }
    return resolveListedPath(out);
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

// ---- recipe files ----------------------------------------------------------

Result<std::string> ReadRecipeFile(const std::string &path)
{
    auto cannot = [&](const char *why, int err = 0) { return fail("cannot read " + path + ": " + why, err); };
    // Non-blocking, so that a FIFO put where a recipe was expected cannot hang us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannot(std::strerror(errno), errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool isDir = S_ISDIR(st.st_mode);
        ::close(fd);
        return isDir ? cannot("it is a folder", EISDIR) : cannot("not a regular file");
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
            return cannot(std::strerror(err), err);
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

Result<void> WriteRecipeFile(const std::string &path, std::string_view gbkText)
{
    return writeFileAtomically(path, withCrlf(gbkText));
}

// ---- names for people ------------------------------------------------------

std::string nodeDisplayText(const TRecipeNode &node)
{
    return node.image == riItem ? gbk::toUtf8(node.text) : nativeToDisplay(node.text);
}

} // namespace vomra
