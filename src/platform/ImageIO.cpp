#include "platform/ImageIO.h"

#include "base/Bmp.h"
#include "base/MappedFile.h"
#include "picture/JpegErrors.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <cstdio>

namespace vomra {

namespace {

// Qt refuses images above its own allocation limit; ours is lower and checked
// first, so lift Qt's a little above it for 32-bit pictures at our limit.
constexpr int kReaderAllocationMb = 320;

PictureLoad failure(PictureKind kind, QString message)
{
    PictureLoad r;
    r.kind = kind;
    r.error = std::move(message);
    return r;
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

QString tooLarge(qint64 w, qint64 h)
{
    return QStringLiteral("picture too large (%1 x %2 pixels)").arg(w).arg(h);
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

PictureLoad readWithQt(const QByteArray &data, const char *format, PictureKind kind, qint64 maxPixels)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(kReaderAllocationMb);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        return failure(kind, tooLarge(size.width(), size.height()));
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return failure(kind, QStringLiteral("cannot decode %1 picture: %2")
                                 .arg(QLatin1String(pictureKindName(kind)), reader.errorString()));
    PictureLoad r;
    r.image = normalised(std::move(img));
    r.kind = kind;
    return r;
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

PictureLoad decodeBmp(const QByteArray &d, qint64 maxPixels)
{
    const auto *bytes = reinterpret_cast<const uchar *>(d.constData());
    bmp::Header header;
    const bmp::Outcome outcome = bmp::readHeader(bytes, std::size_t(d.size()), header);
    if (!outcome.ok())
        return failure(outcome.verdict == bmp::Verdict::NotBitmap ? pictureKindOf(d) : PictureKind::Bitmap,
                       QString::fromStdString(bmp::message(outcome)));
    if (qint64(header.width) * header.height > maxPixels)
        return failure(PictureKind::Bitmap, tooLarge(header.width, header.height));
    QImage img(header.width, header.height, QImage::Format_RGB32);
    if (img.isNull()) // worded as vomra-cli words it
        return failure(PictureKind::Bitmap, QString::fromStdString(bmp::message({bmp::Verdict::TooLarge,
                                                                                  "not enough memory"})));
    bmp::decode(header, bytes, std::size_t(d.size()), reinterpret_cast<quint32 *>(img.bits()),
                img.bytesPerLine() / 4);
    PictureLoad r;
    r.image = std::move(img);
    r.kind = PictureKind::Bitmap;
    return r;
}

namespace {

// Plain C types only between setjmp and longjmp: nothing here has a destructor
// that a jump could skip. On failure the message is written and false returned.
bool jpegDecodeInto(const uchar *bytes, unsigned long size, qint64 maxPixels, QImage *out, char *message)
{
    jpeg_decompress_struct cinfo;
    jpeg::Errors err;
    jpeg::install(cinfo, err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes, size);
    jpeg_read_header(&cinfo, TRUE);
    if (qint64(cinfo.image_width) * cinfo.image_height > maxPixels) {
        std::snprintf(message, JMSG_LENGTH_MAX, "picture too large (%u x %u pixels)",
                      cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX; // the byte order of QImage::Format_RGB32
#else
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_XRGB;
#endif
    jpeg_start_decompress(&cinfo);
    *out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (out->isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "out of memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        auto *line = reinterpret_cast<JSAMPROW>(out->scanLine(int(cinfo.output_scanline)));
        const int y = int(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &line, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted; four bytes per pixel, converted in place.
            auto *px = reinterpret_cast<QRgb *>(out->scanLine(y));
            const uchar *src = out->constScanLine(y);
            const bool inverted = cinfo.saw_Adobe_marker;
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
                int c = src[4 * x], m = src[4 * x + 1], yy = src[4 * x + 2], k = src[4 * x + 3];
                if (!inverted) {
                    c = 255 - c; m = 255 - m; yy = 255 - yy; k = 255 - k;
                }
                px[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

PictureLoad decodeJpeg(const QByteArray &data, qint64 maxPixels)
{
    if (!data.startsWith("\xFF\xD8"))
        return failure(pictureKindOf(data), QStringLiteral("not a JPEG picture"));
    QImage img;
    char message[JMSG_LENGTH_MAX] = {};
    if (!jpegDecodeInto(reinterpret_cast<const uchar *>(data.constData()),
                        static_cast<unsigned long>(data.size()), maxPixels, &img, message))
        return failure(PictureKind::Jpeg, QStringLiteral("cannot decode JPEG picture: %1")
                                               .arg(QString::fromLocal8Bit(message)));
    PictureLoad r;
    r.image = std::move(img);
    r.kind = PictureKind::Jpeg;
    return r;
}

PictureLoad decodePicture(const QByteArray &data, qint64 maxPixels)
{
    const PictureKind kind = pictureKindOf(data);
    switch (kind) {
    case PictureKind::None:
        return failure(kind, QStringLiteral("empty file"));
    case PictureKind::Bitmap:
        return decodeBmp(data, maxPixels);
    case PictureKind::Jpeg:
        return decodeJpeg(data, maxPixels);
    case PictureKind::Png:
        if (data.size() < 24 || data.mid(12, 4) != "IHDR")
            return failure(kind, QStringLiteral("PNG header cut short"));
        if (const Head h(data); quint64(h.be32(16)) * h.be32(20) > quint64(std::max<qint64>(maxPixels, 0)))
            return failure(kind, tooLarge(h.be32(16), h.be32(20)));
        if (!pngChunksFit(data))
            return failure(kind, QStringLiteral("damaged PNG picture (a chunk runs past the end of the file)"));
        return readWithQt(data, "png", kind, maxPixels);
    case PictureKind::Icon:
        return readWithQt(data, "ico", kind, maxPixels);
    case PictureKind::Other:
        break;
    }
    return failure(kind, QStringLiteral("not a picture this program can read"));
}

PictureLoad loadPicture(const QString &path, qint64 maxPixels)
{
    const QFileInfo info(path);
    const QString ext = info.suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") && ext != QLatin1String("jpeg")
        && ext != QLatin1String("ico") && ext != QLatin1String("png"))
        return failure(PictureKind::None, QStringLiteral("unsupported picture type \"%1\"").arg(ext));
    MappedFile file;
    if (!file.open(QFile::encodeName(path).toStdString()))
        return failure(PictureKind::None, QStringLiteral("cannot open %1: %2")
                                              .arg(path, QString::fromLocal8Bit(file.error().c_str())));
    // Read where it lies: a bitmap is decoded from the mapped rows without a copy.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(file.data()),
                                                    qsizetype(file.size()));
    if (qint64(file.size()) > kMaxPictureFileBytes && pictureKindOf(data) != PictureKind::Bitmap)
        return failure(PictureKind::None, QStringLiteral("file too large"));
    PictureLoad load = decodePicture(data, maxPixels);
    if (file.cut())
        return failure(pictureKindOf(data), QString::fromStdString(
                                                  bmp::message({bmp::Verdict::Damaged, bmp::kCutWhileRead})));
    // Kept so a caller needing a header field does not open the file again.
    load.head = data.left(32);
    return load;
}

} // namespace vomra
