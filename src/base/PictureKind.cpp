#include "base/PictureKind.h"

namespace vomra {

PictureKind pictureKindOf(std::string_view data)
{
    if (data.empty())
        return PictureKind::None;
    if (data.starts_with("BM"))
        return PictureKind::Bitmap;
    if (data.starts_with("\xFF\xD8\xFF"))
        return PictureKind::Jpeg;
    if (data.starts_with(std::string_view("\x89PNG\r\n\x1A\n", 8)))
        return PictureKind::Png;
    // Icon and cursor directories: reserved 0, type 1 or 2, at least one image.
    if (data.size() >= 6 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0
        && (data[4] != 0 || data[5] != 0))
        return PictureKind::Icon;
    return PictureKind::Other;
}

const char *pictureKindName(PictureKind kind)
{
    switch (kind) {
    case PictureKind::None: return "empty";
    case PictureKind::Bitmap: return "bitmap";
    case PictureKind::Jpeg: return "JPEG";
    case PictureKind::Png: return "PNG";
    case PictureKind::Icon: return "icon";
    case PictureKind::Other: break;
    }
    return "unknown";
}

} // namespace vomra
