#pragma once
// Picture loading for previews, the picture grinder, skin pictures and the
// splash: Windows bitmaps through our own reader (base/Bmp.h) and JPEG through
// the picture decoder (picture/PictureDecode.h), both shared with vomra-cli, so
// the page and the command take and refuse the same files for the same reasons;
// icons and PNG through QImageReader. Headers are checked before any pixel
// buffer is allocated, so a hostile or damaged file fails with a message
// instead of a crash or a huge allocation.

#include "base/Bmp.h"
#include "base/PictureKind.h"
#include "base/Result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>

namespace vomra {

// Pictures claiming more pixels than this are refused before decoding.
inline constexpr qint64 kMaxPicturePixels = bmp::kMaxPixels;
// Files larger than this are not read at all, bitmaps excepted: their rows are
// read where they lie and their header decides.
inline constexpr qint64 kMaxPictureFileBytes = 512LL * 1024 * 1024;

struct Picture {
    QImage image;
    PictureKind kind = PictureKind::None; // kind of the content
    QByteArray head;                      // loadPicture: the file's first bytes (up to 32)
};

// pictureKindOf on a QByteArray.
inline PictureKind pictureKindOf(const QByteArray &data)
{
    return pictureKindOf(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

// Loads a file. The extension (bmp, jpg, jpeg, ico, png; any case) says whether
// the file is a picture at all; the decoder then follows the content, so a
// picture saved under the wrong extension reports its true kind.
// A caller may hold pictures to fewer pixels than the general limit; the size is
// judged from the header, before any pixel is decoded.
// The path is bytes, as the file system names the file.
Result<Picture> loadPicture(const std::string &path, qint64 maxPixels = kMaxPicturePixels);
// Decodes bytes by their content.
Result<Picture> decodePicture(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);

Result<Picture> decodeBmp(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);
Result<Picture> decodeJpeg(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);

} // namespace vomra
