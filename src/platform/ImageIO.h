#pragma once
// Picture loading for previews, the picture grinder and the splash: Windows
// bitmaps through our own reader (base/Bmp.h, shared with vomra-cli), icons
// and PNG through QImageReader, JPEG through libjpeg. Headers are checked before
// any pixel buffer is allocated, so a hostile or damaged file fails with a
// message instead of a crash or a huge allocation.

#include "base/Bmp.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vomra {

// What a file holds, judged by its content. Only a bitmap can be ground.
enum class PictureKind { None, Bitmap, Jpeg, Png, Icon, Other };

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

// Judges the kind from the first bytes; an empty buffer is None.
PictureKind pictureKindOf(const QByteArray &data);
const char *pictureKindName(PictureKind kind);

// Loads a file. The extension (bmp, jpg, jpeg, ico, png; any case) says whether
// the file is a picture at all; the decoder then follows the content, so a
// picture saved under the wrong extension reports its true kind.
PictureLoad loadPicture(const QString &path);
// Decodes bytes by their content.
PictureLoad decodePicture(const QByteArray &data);

PictureLoad decodeBmp(const QByteArray &data);
PictureLoad decodeJpeg(const QByteArray &data);

} // namespace vomra
