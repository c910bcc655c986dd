#pragma once
// Picture loading for previews, the picture grinder and the splash: Windows
// bitmaps through our own reader (base/Bmp.h, shared with vomra-cli), icons
// and PNG through QImageReader, JPEG through libjpeg. Headers are checked before
// any pixel buffer is allocated, so a hostile or damaged file fails with a
// message instead of a crash or a huge allocation.

#include "base/Bmp.h"
#include "base/PictureKind.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vomra {

// Pictures claiming more pixels than this are refused before decoding.
inline constexpr qint64 kMaxPicturePixels = bmp::kMaxPixels;
// Files larger than this are not read at all, bitmaps excepted: their rows are
// read where they lie and their header decides.
inline constexpr qint64 kMaxPictureFileBytes = 512LL * 1024 * 1024;

struct PictureLoad {
    QImage image;                          // null on failure
    PictureKind kind = PictureKind::None;  // kind of the content, also on failure
    QString error;                         // empty on success
    QByteArray head;                       // loadPicture: the file's first bytes (up to 32)
    bool ok() const { return !image.isNull(); }
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
PictureLoad loadPicture(const QString &path, qint64 maxPixels = kMaxPicturePixels);
// Decodes bytes by their content.
PictureLoad decodePicture(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);

PictureLoad decodeBmp(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);
PictureLoad decodeJpeg(const QByteArray &data, qint64 maxPixels = kMaxPicturePixels);

} // namespace vomra
