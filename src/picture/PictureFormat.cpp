// What kind of picture a file holds and how its failures read: no decoder
// needed, so vomra-cli names a picture it cannot read without loading one.
#include "picture/PictureDecode.h"

#include <cstring>

namespace vomra::picture {

Format formatOf(const unsigned char *data, std::size_t size)
{
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return Format::Jpeg;
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0)
        return Format::Png;
    return Format::Unknown;
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

std::string message(Format format, const bmp::Outcome &outcome)
{
    const std::string name = formatName(format);
    switch (outcome.verdict) {
    case bmp::Verdict::Ok: return {};
    case bmp::Verdict::NotBitmap: return "not a " + name;
    case bmp::Verdict::Damaged: return "damaged " + name + " (" + outcome.detail + ")";
    case bmp::Verdict::NotSupported: return name + " not supported (" + outcome.detail + ")";
    case bmp::Verdict::TooLarge: return name + " too large (" + outcome.detail + ")";
    }
    return {};
}

} // namespace vomra::picture
