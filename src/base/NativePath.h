#pragma once
// File names as the file system holds them (bytes) and as people read them.
// Names unpacked from Windows archives often arrive in GBK; a path stays bytes
// from the folder scan to the write and is turned into text only to be shown.

#include <string>
#include <string_view>

namespace vomra {

// A native path as UTF-8 for showing, one '/'-separated part at a time: a part
// that is valid UTF-8 stays, one that decodes as GBK without loss is decoded as
// GBK, anything else shows each bad byte as U+FFFD.
std::string nativeToDisplay(std::string_view native);

// Bytes with every invalid UTF-8 sequence replaced by U+FFFD, one per bad byte.
std::string validUtf8(std::string_view s);

// Stat on the bytes themselves.
bool isRegularFile(const std::string &native);
bool isFolder(const std::string &native);
bool pathExists(const std::string &native);

// The file name's extension after its last '.', ASCII letters in lower case;
// empty when the name has none.
std::string lowerExtension(std::string_view native);

// The real path of `native` (every link followed) when it lies inside the real
// path of `folder`; empty when it is outside, or either does not exist.
std::string realPathInside(const std::string &folder, const std::string &native);

} // namespace vomra
