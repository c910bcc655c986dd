#include "platform/ImageIO.h"

#include "base/Bmp.h"
#include "base/MappedFile.h"
#include "base/NativePath.h"
#include "picture/PictureDecode.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vomra {

namespace {

// Qt refuses images above its own allocation limit; ours is lower and checked
// first, so lift Qt's a little above it for 32-bit pictures at our limit.
constexpr int kReaderAllocationMb = 320;

Picture pictureOf(QImage image, PictureKind kind)
{
    Picture p;
    p.image = std::move(image);
    p.kind = kind;
    return p;
}

// The first bytes of a file, zero-padded: header fields are read from here, so
// a short file can never be read past its end.
struct Head {
    explicit Head(const QByteArray &d)
    {
        std::memcpy(b.data(), d.constData(), size_t(std::min<qint64>(d.size(), qint64(b.size()))));
    }
    quint32 be32(int at) const
    {
        return quint32(b[at]) << 24 | quint32(b[at + 1]) << 16 | quint32(b[at + 2]) << 8 | quint32(b[at + 3]);
    }
    std::array<uchar, 64> b{};
};

Error tooLarge(qint64 w, qint64 h)
{
    return fail("picture too large (" + std::to_string(w) + " x " + std::to_string(h) + " pixels)");
}

// The decoder's rows become the image's own: no pixel is copied.
QImage adopt(picture::Decoded decoded)
{
    auto *pixels = new std::vector<std::uint32_t>(std::move(decoded.pixels));
    QImage image(
        reinterpret_cast<uchar *>(pixels->data()), decoded.width, decoded.height, qsizetype(decoded.width) * 4,
        QImage::Format_RGB32, [](void *rows) { delete static_cast<std::vector<std::uint32_t> *>(rows); }, pixels);
    if (image.isNull())
        delete pixels;
    return image;
}

// Indexed and one-bit results become 32-bit so every caller reads pixels alike.
QImage normalised(QImage img)
{
    switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
    default:
        return img;
    }
}

Result<Picture> readWithQt(const QByteArray &data, const char *format, PictureKind kind, qint64 maxPixels)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(kReaderAllocationMb);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        return tooLarge(size.width(), size.height());
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return fail(std::string("cannot decode ") + pictureKindName(kind) +
                    " picture: " + reader.errorString().toStdString());
    return pictureOf(normalised(std::move(img)), kind);
}

// True when every chunk up to IEND (or the end of the data) lies inside the data.
// The decoder trusts a chunk's length and allocates for it before finding the
// file too short.
bool pngChunksFit(const QByteArray &d)
{
    const auto *b = reinterpret_cast<const uchar *>(d.constData());
    const quint64 size = quint64(d.size());
    quint64 p = 8; // after the signature
    for (;;) {
        if (p == size)
            return true;
        if (size - p < 12)
            return false;
        const quint64 length = quint64(b[p]) << 24 | quint64(b[p + 1]) << 16 | quint64(b[p + 2]) << 8 | b[p + 3];
        if (length > 0x7FFFFFFFu || length + 12 > size - p)
            return false;
        const bool end = std::memcmp(b + p + 4, "IEND", 4) == 0;
        p += length + 12;
        if (end)
            return true;
    }
}

} // namespace

Result<Picture> decodeBmp(const QByteArray &d, qint64 maxPixels)
{
    const auto *bytes = reinterpret_cast<const uchar *>(d.constData());
    const Result<bmp::Header> read = bmp::readHeader(bytes, std::size_t(d.size()));
    if (!read)
        return read.error();
    const bmp::Header &header = *read;
    if (qint64(header.width) * header.height > maxPixels)
        return tooLarge(header.width, header.height);
    QImage img(header.width, header.height, QImage::Format_RGB32);
    if (img.isNull()) // worded as vomra-cli words it
        return bmp::tooLarge("not enough memory");
    bmp::decode(header, bytes, std::size_t(d.size()), reinterpret_cast<quint32 *>(img.bits()),
                img.bytesPerLine() / 4);
    return pictureOf(std::move(img), PictureKind::Bitmap);
}

Result<Picture> decodeJpeg(const QByteArray &data, qint64 maxPixels)
{
    if (pictureKindOf(data) != PictureKind::Jpeg)
        return fail("not a JPEG picture");
    Result<picture::Decoded> decoded = picture::decode(reinterpret_cast<const unsigned char *>(data.constData()),
                                                       std::size_t(data.size()), {}, maxPixels);
    if (!decoded)
        return decoded.error();
    return pictureOf(adopt(std::move(decoded).value()), PictureKind::Jpeg);
}

Result<Picture> decodePicture(const QByteArray &data, qint64 maxPixels)
{
    const PictureKind kind = pictureKindOf(data);
    switch (kind) {
    case PictureKind::None:
        return fail("empty file");
    case PictureKind::Bitmap:
        return decodeBmp(data, maxPixels);
    case PictureKind::Jpeg:
        return decodeJpeg(data, maxPixels);
    case PictureKind::Png:
        if (data.size() < 24 || data.mid(12, 4) != "IHDR")
            return fail("PNG header cut short");
        if (const Head h(data); quint64(h.be32(16)) * h.be32(20) > quint64(std::max<qint64>(maxPixels, 0)))
            return tooLarge(h.be32(16), h.be32(20));
        if (!pngChunksFit(data))
            return fail("damaged PNG picture (a chunk runs past the end of the file)");
        return readWithQt(data, "png", kind, maxPixels);
    case PictureKind::Icon:
        return readWithQt(data, "ico", kind, maxPixels);
    case PictureKind::Other:
        break;
    }
    return fail("not a picture this program can read");
}

Result<Picture> loadPicture(const std::string &path, qint64 maxPixels)
{
    const std::string ext = lowerExtension(path);
    if (ext != "bmp" && ext != "jpg" && ext != "jpeg" && ext != "ico" && ext != "png")
        return fail("unsupported picture type \"" + nativeToDisplay(ext) + "\"");
    MappedFile file;
    if (!file.open(path))
        return fail("cannot open " + nativeToDisplay(path) + ": " + file.error());
    // Read where it lies: a bitmap is decoded from the mapped rows without a copy.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(file.data()),
                                                    qsizetype(file.size()));
    if (qint64(file.size()) > kMaxPictureFileBytes && pictureKindOf(data) != PictureKind::Bitmap)
        return fail("file too large");
    Result<Picture> load = decodePicture(data, maxPixels);
    if (file.cut())
        return bmp::damaged(bmp::kCutWhileRead);
    // Kept so a caller needing a header field does not open the file again.
    if (load)
        load->head = data.left(32);
    return load;
}

} // namespace vomra
