// The recipe folder scan over random folder trees: the input is a little program
// that makes folders, files and collections with odd names (any bytes but '/'
// and NUL, extensions in any case), symbolic links to folders above, beside and
// nowhere, and FIFOs. The scan must end, list every directory at most once, give
// a well-formed tree, and every listed file must open again through its record.
// Every folder and file node is shown as its name on disk is shown, and that
// shown name, typed back, reaches the same bytes on disk (unless another entry
// of its folder looks the same).

#include "base/NativePath.h"
#include "recipe/core/Recipe.h"
#include "support/TempFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using namespace vomra;
namespace fs = std::filesystem;

namespace {

std::string_view g_input;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "recipe_scan_fuzz: %s; input (%zu bytes):", what, g_input.size());
    for (std::size_t i = 0; i < g_input.size() && i < 64; ++i)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(g_input[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

class Reader {
public:
    explicit Reader(std::string_view in) : m_in(in) {}
    bool done() const { return m_pos >= m_in.size(); }
    unsigned byte() { return done() ? 0 : static_cast<unsigned char>(m_in[m_pos++]); }
    std::string bytes(std::size_t n)
    {
        n = std::min(n, m_in.size() - std::min(m_in.size(), m_pos));
        std::string s(m_in.substr(m_pos, n));
        m_pos += n;
        return s;
    }
    // A file-name part: 0 to 15 bytes, '/' and NUL made harmless.
    std::string name()
    {
        std::string s = bytes(byte() % 16);
        for (char &c : s) {
            if (c == '/' || c == '\0')
                c = 'x';
        }
        if (s == "." || s == ".." || s.empty())
            s = "n";
        return s;
    }

private:
    std::string_view m_in;
    std::size_t m_pos = 0;
};

const char *const kExtensions[] = {".Txt", ".txt", ".TXT", ".Ini", ".ini", ".INI", ".tXt", ""};

// The folder every input builds its tree in, removed at exit.
const std::string &root()
{
    static const test::TempFolder folder;
    return folder.path();
}

void build(Reader &in, const std::string &top, std::vector<std::string> &folders)
{
    folders.push_back(top);
    for (int step = 0; step < 48 && !in.done(); ++step) {
        const std::string &where = folders[in.byte() % folders.size()];
        const unsigned op = in.byte() % 6;
        std::string name = in.name();
        if (op == 0) {
            if (where.size() > 200)
                continue;
            if (::mkdir((where + name).c_str(), 0755) == 0)
                folders.push_back(where + name + '/');
        } else if (op <= 2) {
            const std::string path = where + name + kExtensions[in.byte() % 8];
            const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
            if (fd >= 0) {
                const std::string body = in.bytes(in.byte());
                if (::write(fd, body.data(), body.size()) < 0) {
                }
                ::close(fd);
            }
        } else if (op == 3) {
            // A link to any folder made so far (an ancestor makes a loop) or to nowhere.
            const std::string &target = folders[in.byte() % folders.size()];
            const bool dangling = in.byte() % 4 == 0;
            if (::symlink(dangling ? "no-such-place" : target.c_str(), (where + name).c_str()) != 0) {
            }
        } else if (op == 4) {
            ::mkfifo((where + name + kExtensions[in.byte() % 8]).c_str(), 0644);
        } else {
            // "Theme" at any level, in some case.
            const char *const themes[] = {"Theme", "THEME", "theme"};
            const std::string path = where + themes[in.byte() % 3];
            if (::mkdir(path.c_str(), 0755) == 0) {
                folders.push_back(path + '/');
                ::close(::open((path + "/in-theme.Txt").c_str(), O_CREAT | O_WRONLY, 0644));
            }
        }
    }
}

// The shown name of a node's entry on disk, and whether it reads back as its bytes.
void checkShownName(const TRecipeNode &n, const std::string &diskPath)
{
    std::string disk = diskPath;
    if (n.image == riFolder && !disk.empty() && disk.back() == '/')
        disk.pop_back();
    const std::size_t slash = disk.rfind('/');
    const std::string parent = disk.substr(0, slash + 1);
    const std::string leaf = disk.substr(slash + 1);
    const std::string shownLeaf = nativeToDisplay(leaf);
    const std::string text = nodeDisplayText(n);
    if (n.image == riFolder ? text != shownLeaf : shownLeaf.compare(0, text.size(), text) != 0)
        fail("a node is shown otherwise than its name on disk");
    int alike = 0;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(parent, ec))
        alike += nativeToDisplay(entry.path().filename().string()) == shownLeaf;
    if (alike == 1 && resolveShownPath(parent + shownLeaf) != disk)
        fail("a shown name does not lead back to its bytes on disk");
}

bool isFile(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_input = std::string_view(reinterpret_cast<const char *>(data), size);
    const std::string &top = root();
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(top, ec))
        fs::remove_all(entry.path(), ec);

    Reader in(g_input);
    std::vector<std::string> folders;
    build(in, top, folders);

    const std::vector<TRecipeNode> tree = ScanRecipeLibrary(top);
    std::size_t folderNodes = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const TRecipeNode &n = tree[i];
        const int parent = parentIndex(tree, i);
        const int parentImage = parent < 0 ? -1 : tree[static_cast<std::size_t>(parent)].image;
        if (n.depth < 0 || (i == 0 && n.depth != 0) || (i > 0 && n.depth > tree[i - 1].depth + 1))
            fail("a node out of the tree's order");
        if (n.depth == 0 && (n.image != riFolder || pathsEqualIgnoringCase(n.text, "Theme")))
            fail("a top-level node that is no library folder");
        if ((n.image == riItem) != (parentImage == riCollection) && n.depth > 0)
            fail("an item outside a collection, or a collection child that is no item");
        if (n.image != riItem && n.depth > 0 && parentImage != riFolder)
            fail("a folder or file below something that is not a folder");
        folderNodes += n.image == riFolder;

        const TQOBR_TreeNodeRecord r = GetNodeRecord(tree, i, top);
        if (!IsInLibrary(r.FilePath, top))
            fail("a listed path outside the library");
        if (!pathsEqualIgnoringCase(r.FilePath, r.DiskPath))
            fail("the listed file differs from its record by more than case");
        if (n.image != riItem)
            checkShownName(n, r.DiskPath);
        if (n.image == riRecipeFile || n.image == riCollection) {
            if (!isFile(r.DiskPath) || !ReadRecipeFile(r.DiskPath))
                fail("a listed file does not open again");
            if (!isFile(resolveListedPath(r.FilePath)))
                fail("the rebuilt path does not reach a listed file");
        }
    }
    // Every directory is listed at most once, however many links lead to it.
    if (folderNodes + 1 > folders.size())
        fail("a folder listed twice");
    return 0;
}
