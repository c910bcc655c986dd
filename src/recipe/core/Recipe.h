#pragma once
// The recipe library without any user interface: the folder scan that fills the
// tree, recipe collections (.Ini), node records, and reading and writing recipe
// files (.Txt).
//
// Two kinds of byte strings meet here:
//  - paths and the names of folders and files are native file-system bytes
//    (UTF-8 on Linux, but any bytes but '/' and NUL are possible);
//  - the contents of recipe files and collections, and so item names, are GBK.
// The program folder is always given with its trailing '/'.

#include "base/NativePath.h"
#include "base/PackedLines.h"
#include "base/Result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// The folder of the program folder that saving uses when nothing is selected.
inline constexpr const char *kRecipeFolderName = "Vomra秘笈";

// The tree's image indexes; the image of a node says what it is.
enum TRecipeImage : int {
    riFolder = 0,           // folder, collapsed
    riFolderOpen = 1,       // folder, expanded
    riRecipeFile = 2,       // .Txt recipe file
    riCollection = 3,       // .Ini collection, collapsed
    riCollectionOpen = 4,   // .Ini collection, expanded
    riItem = 5,             // one item of a collection
};

// NodeKind of a node record.
enum TRecipeNodeKind : unsigned char {
    nkNone = 0,
    nkFolder = 1,
    nkCollection = 2,
    nkRecipeFile = 3,
};

// One node of the recipe tree.
struct TRecipeNode {
    int image = riFolder;
    // Nesting level: 0 for the top-level folders.
    int depth = 0;
    // Folders and files: the name (files without their last four bytes), native
    // bytes. Items: the item's name from "ItemList", GBK, trimmed.
    std::string text;
    // The entry as it is on disk: a folder's full path ending in '/'; a file's full
    // path with the capitalisation actually listed ("x.txt" stays "x.txt"); for an
    // item, the full path of its collection file.
    std::string diskPath;
};

// The library in tree order: every node comes before its children, siblings in
// the order they are shown. Top-level folders of programFolder come in the reverse
// of the (name-sorted) listing order, the top-level "Theme" skipped whatever its
// case; inside a folder its subfolders, then its collections each followed by
// their items, then its recipe files, each group in name order. Hidden entries
// are included; only real directories and regular files count (links are
// followed), so a FIFO or a device called "x.Txt" is never opened. A directory
// reached twice (a link loop, two links to one folder) is listed once only, at
// its first visit; a folder that cannot be listed appears without children.
std::vector<TRecipeNode> ScanRecipeLibrary(const std::string &programFolder);

// Index of the parent of tree[i] (the nearest earlier node one level up), or -1.
int parentIndex(const std::vector<TRecipeNode> &tree, std::size_t i);

// The record of a node, computed from the node and its ancestors.
struct TQOBR_TreeNodeRecord {
    unsigned char NodeKind = nkNone;
    // Rebuilt from the node texts: program folder + folders + name + ".Txt"/".Ini"
    // (exactly that capitalisation); a folder's path ends in '/'.
    std::string FilePath;
    // For an item node its name (GBK), else empty.
    std::string ItemName;
    // The file or folder actually listed, to be opened and written: the diskPath
    // of the node that decided the kind when it has one, else FilePath resolved
    // by resolveListedPath.
    std::string DiskPath;
};

// chain: the node first, then its parent, and so on up to a top-level folder.
// Only image, text and diskPath are used; images 1 and 4 count as 0 and 3.
TQOBR_TreeNodeRecord GetNodeRecord(const std::vector<TRecipeNode> &chain, const std::string &programFolder);
// The record of tree[i] of a scanned tree.
TQOBR_TreeNodeRecord GetNodeRecord(const std::vector<TRecipeNode> &tree, std::size_t i,
                                   const std::string &programFolder);

// A rebuilt file path whose extension may differ in case from the file on disk:
// the path itself if it is a regular file, else the regular file of its folder
// whose name differs only in the ASCII case of the last four bytes (the first in
// name order when several do), else the path unchanged.
std::string resolveListedPath(const std::string &path);

// A path typed as people read it (a name not in UTF-8 on disk typed as it is
// shown) turned back into the bytes on disk, part by part: a part that exists
// stays, else the folder's entry that nativeToDisplay shows as that part; then
// resolveListedPath.
std::string resolveShownPath(const std::string &path);

// Two paths equal without regard to ASCII case.
bool pathsEqualIgnoringCase(std::string_view a, std::string_view b);

// Whether a path lies in the recipe library: under programFolder but not under its
// top-level "Theme" folder, ASCII case ignored in both tests.
bool IsInLibrary(std::string_view path, std::string_view programFolder);

// Collections ---------------------------------------------------------------

// Trims bytes up to and including the blank (control characters and ' ') at both ends.
std::string_view trimRecipeLine(std::string_view line);

// The item names of a collection's text: "ItemName1" .. "ItemName<ItemCount>" of
// section "ItemList" read by the profile rules, trimmed, empty ones skipped. A
// missing, negative or garbage count gives none; a count beyond the names present
// costs nothing extra (only names that exist are looked up).
std::vector<std::string> CollectionItemNames(std::string_view iniText);
// The same from a file; none when it cannot be read.
std::vector<std::string> ReadCollectionItemNames(const std::string &path);

// Whether a line is the section header of an item: spaces removed from both,
// ASCII a-z upper-cased, then "[" + name + "]" compared byte for byte.
bool IsItemSection(std::string_view line, std::string_view itemName);

// The lines of one item: found at the first line that, trimmed, is its header;
// then every following line trimmed, up to the first one that starts with "[" or
// the end. Lines end at CR LF, LF or a lone CR. Nothing when no header matches.
std::optional<std::vector<std::string>> IniItemLines(std::string_view iniText, std::string_view itemName);
// The same from a file; the reason when it cannot be read or no header matches.
Result<std::vector<std::string>> ReadIniItemLines(const std::string &path, std::string_view itemName);

// What display mode shows and its copy gives back: the item's name, then its
// lines, trailing empty lines dropped (display mode deletes them at the end).
std::vector<std::string> ItemCopyLines(std::string_view itemName, const std::vector<std::string> &lines);
// The same read from a file in one buffer, for an item of any length; the reason
// when the file cannot be read or no header matches.
Result<PackedLines> ReadItemCopyLines(const std::string &path, std::string_view itemName);

// The copy rule of display mode: every CR LF CR LF, scanning from the start,
// becomes one CR LF; all other bytes are kept.
std::string DisplayModeCopy(std::string_view selected);

// Recipe files --------------------------------------------------------------

// The bytes of a recipe file (GBK), or a one-line reason naming the path when it
// is missing, not a regular file or unreadable.
Result<std::string> ReadRecipeFile(const std::string &path);

// Line ends made CR LF: a lone LF or a lone CR becomes CR LF, CR LF stays.
std::string withCrlf(std::string_view text);

// Writes GBK text with CR LF line ends through a temporary file and a rename, so a
// failed write leaves any old file whole. The reason on failure.
Result<void> WriteRecipeFile(const std::string &path, std::string_view gbkText);

// Names for people ----------------------------------------------------------

// A node's text as UTF-8 for showing: item names decoded from GBK, file-system
// names as nativeToDisplay shows them.
std::string nodeDisplayText(const TRecipeNode &node);

} // namespace vomra
