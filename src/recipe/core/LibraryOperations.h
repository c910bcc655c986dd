#pragma once
// Changing the recipe library on disk: new folders, renaming, moving or copying
// recipes and collections between folders, deleting to the trash and adding a
// recipe. No Qt; paths are native bytes, folders end in '/'. Nothing replaces an
// existing entry: every change that would is refused with EEXIST.

#include "base/Result.h"

#include <optional>
#include <string>
#include <string_view>

namespace vomra {

struct TManageResult {
    bool ok = false;
    std::string path; // the entry made or moved to (folders end in '/')
    int error = 0;    // errno when not ok
};

// The reason for an errno as people read it in the program's boxes (UTF-8).
std::string manageReason(int error);

// A path without its trailing '/' (a folder's disk path ends in one).
std::string withoutTrailingSlash(std::string path);

// A name one entry may take: not empty, not "." or "..", no '/' and no NUL.
bool validEntryName(std::string_view name);

// Whether path (a trailing '/' ignored) is an entry the library lists or could
// list: below programFolder, not the top-level "Theme" folder nor anything in it
// (ASCII case ignored), and a folder when it lies directly in programFolder.
bool IsLibraryEntry(const std::string &path, const std::string &programFolder);

// A new folder in parent named baseName, or "baseName (2)", "(3)", … when taken.
TManageResult NewRecipeFolder(const std::string &parent, std::string_view baseName);

// Renames the file or folder at diskPath to newName in the same folder. A file
// keeps its listed extension (its last four bytes) unless newName already ends
// in it, ASCII case ignored. The same name again is success without a change.
TManageResult RenameRecipeEntry(const std::string &diskPath, std::string_view newName);

// Moves (or copies) the recipe file or collection at diskPath into destFolder,
// keeping its name. Refused (EINVAL) when destFolder is not a library folder of
// programFolder (the top-level "Theme" and the program folder itself are not).
// Moving into the folder it is in already is success without a change.
TManageResult MoveRecipeEntry(const std::string &diskPath, const std::string &destFolder, bool copy,
                              const std::string &programFolder);

// A new file with bytes, never replacing one unless replace is set (then
// through the atomic write).
TManageResult AddRecipeFile(const std::string &path, std::string_view bytes, bool replace);

// Recipe files that begin with a UTF-8 byte-order mark are UTF-8 text (they can
// hold what GBK cannot, emoji among them); all others are GBK.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline bool startsWithUtf8Bom(std::string_view bytes)
{
    return bytes.substr(0, 3) == kUtf8Bom;
}

// The text a recipe file or collection item holds, without an item's name line:
// a file's bytes, or an item's lines joined by CR LF (trailing empty ones
// dropped). utf8: the file begins with a UTF-8 byte-order mark (dropped from
// text). The reason when it cannot be read or the item has no section.
struct TRecipeBody {
    std::string text;
    bool utf8 = false;
};
Result<TRecipeBody> ReadRecipeBody(const std::string &diskPath, const std::string &itemName);

// A new collection's text (GBK, CR LF): one item, ready to be edited.
std::string CollectionTemplate();

} // namespace vomra
