// What kind of picture a file holds: no decoder
// needed, so vomra-cli names a picture it cannot read without loading one.
#include "picture/PictureDecode.h"

#include "base/PictureKind.h"

#include <string_view>

namespace vomra::picture {

Format formatOf(const unsigned char *data, std::size_t size)
{
    switch (pictureKindOf(std::string_view(reinterpret_cast<const char *>(data), size))) {
    case PictureKind::Jpeg: return Format::Jpeg;
    case PictureKind::Png: return Format::Png;
    default: return Format::Unknown;
    }
}

const char *formatName(Format format)
{
    switch (format) {
    case Format::Jpeg: return "JPEG";
    case Format::Png: return "PNG";
    case Format::Unknown: break;
    }
    return "picture";
}

} // namespace vomra::picture
