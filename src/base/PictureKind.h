#pragma once
// What a picture file holds, judged by its first bytes: shared by the picture
// loader of the page and vomra-cli, which must tell the same kinds apart.

#include <string_view>

namespace vomra {

// Only a bitmap can be ground.
enum class PictureKind { None, Bitmap, Jpeg, Png, Icon, Other };

// Judges the kind from the first bytes; no bytes at all is None.
PictureKind pictureKindOf(std::string_view data);
const char *pictureKindName(PictureKind kind);

} // namespace vomra
