#pragma once
// Moving a file or folder to the desktop's trash (the home trash of the
// freedesktop.org trash layout), by its bytes: Qt's own trash takes a QString and
// cannot name a file whose name is not UTF-8.

#include <string>

namespace vomra {

// The trash folder: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
std::string homeTrashFolder();

// Moves path (a file or a folder; a trailing '/' is ignored) into the home trash,
// with its ".trashinfo" record so the desktop can put it back. False, with
// *errorNumber set to the errno, when it could not be moved; the entry is then
// where it was. A path on another file system than the trash is refused (EXDEV),
// not copied.
bool moveToTrash(const std::string &path, int *errorNumber);

} // namespace vomra
