// Icon loading, as the picture page's preview opens .ico files: any bytes in an
// icon directory give a picture or a message, never a crash, a read out of
// bounds, or a picture over the pixel limit.
//
// Qt's icon reader gives the search no coverage to follow, so the mutator keeps
// the inputs icons: it parses the directory, changes an entry, an image's header
// or its bytes, or puts in a fresh bitmap or PNG image, and writes the directory
// again (offsets and sizes right, or now and then wrong on purpose). Where the
// fuzz build has Qt's icon reader from source (VOMRA_FUZZ_QT_ICO), each input
// also goes through that copy, instrumented: the same steps the preview's
// QImageReader takes, so the search sees inside the reader and AddressSanitizer
// checks its reads, and both must agree.

#include "platform/ImageIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#ifdef VOMRA_FUZZ_QT_ICO
#include "qicohandler.h"
#endif

using namespace vomra;

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "ico_fuzz: %s\n", what);
    std::abort();
}

struct Entry {
    uint8_t width = 0, height = 0, colours = 0, reserved = 0;
    uint16_t planes = 1, bits = 32;
    std::vector<uint8_t> image;
    // Set when the written directory should lie about the image's place.
    bool lieSize = false, lieOffset = false;
    uint32_t size = 0, offset = 0;
};

struct Icon {
    uint16_t type = 1;
    std::vector<Entry> entries;
};

uint16_t le16(const uint8_t *p)
{
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t le32(const uint8_t *p)
{
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
}
void put16(std::vector<uint8_t> &o, uint32_t v)
{
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t> &o, uint32_t v)
{
    put16(o, v & 0xFFFF);
    put16(o, v >> 16);
}

// The directory of an icon file; false when the bytes are no icon directory.
bool parse(const uint8_t *d, size_t n, Icon &icon)
{
    if (n < 6 || le16(d) != 0 || (le16(d + 2) != 1 && le16(d + 2) != 2))
        return false;
    icon.type = le16(d + 2);
    const size_t count = std::min<size_t>(le16(d + 4), 8);
    for (size_t i = 0; i < count && 6 + 16 * (i + 1) <= n; ++i) {
        const uint8_t *e = d + 6 + 16 * i;
        Entry entry;
        entry.width = e[0];
        entry.height = e[1];
        entry.colours = e[2];
        entry.reserved = e[3];
        entry.planes = le16(e + 4);
        entry.bits = le16(e + 6);
        const uint32_t size = le32(e + 8), offset = le32(e + 12);
        if (offset < n)
            entry.image.assign(d + offset, d + offset + std::min<size_t>(size, n - offset));
        icon.entries.push_back(std::move(entry));
    }
    return true;
}

std::vector<uint8_t> write(const Icon &icon)
{
    std::vector<uint8_t> o;
    put16(o, 0);
    put16(o, icon.type);
    put16(o, uint32_t(icon.entries.size()));
    uint32_t offset = uint32_t(6 + 16 * icon.entries.size());
    for (const Entry &e : icon.entries) {
        o.insert(o.end(), {e.width, e.height, e.colours, e.reserved});
        put16(o, e.planes);
        put16(o, e.bits);
        put32(o, e.lieSize ? e.size : uint32_t(e.image.size()));
        put32(o, e.lieOffset ? e.offset : offset);
        offset += uint32_t(e.image.size());
    }
    for (const Entry &e : icon.entries)
        o.insert(o.end(), e.image.begin(), e.image.end());
    return o;
}

// A bitmap image as an icon holds it: the info header with twice the height,
// the palette, the colour rows and the mask rows.
std::vector<uint8_t> freshBitmap(std::mt19937 &rng, Entry &entry)
{
    static const uint16_t kBits[] = {1, 4, 8, 16, 24, 32};
    const int w = 1 + int(rng() % 24), h = 1 + int(rng() % 24);
    const uint16_t bits = kBits[rng() % 6];
    std::vector<uint8_t> o;
    put32(o, 40);
    put32(o, uint32_t(w));
    put32(o, uint32_t(2 * h));
    put16(o, 1);
    put16(o, bits);
    put32(o, 0); // compression
    put32(o, 0);
    put32(o, 0);
    put32(o, 0);
    put32(o, rng() % 4 == 0 ? rng() % 300 : 0); // colours used
    put32(o, 0);
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i)
            put32(o, rng() & 0xFFFFFF);
    }
    const size_t rows = size_t((w * bits + 31) / 32 * 4) * size_t(h) + size_t((w + 31) / 32 * 4) * size_t(h);
    for (size_t i = 0; i < rows; ++i)
        o.push_back(uint8_t(rng()));
    entry.width = uint8_t(w);
    entry.height = uint8_t(h);
    entry.bits = bits;
    entry.colours = bits < 8 ? uint8_t(1 << bits) : 0;
    return o;
}

std::vector<uint8_t> freshPng(std::mt19937 &rng, Entry &entry)
{
    const int w = 1 + int(rng() % 24), h = 1 + int(rng() % 24);
    QImage img(w, h, rng() % 2 ? QImage::Format_ARGB32 : QImage::Format_Indexed8);
    if (img.format() == QImage::Format_Indexed8) {
        img.setColorCount(4);
        for (int i = 0; i < 4; ++i)
            img.setColor(i, rng());
    }
    for (int y = 0; y < h; ++y) {
        uchar *line = img.scanLine(y);
        for (qsizetype x = 0; x < img.bytesPerLine(); ++x)
            line[x] = uchar(img.format() == QImage::Format_Indexed8 ? rng() % 4 : rng());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    entry.width = uint8_t(w);
    entry.height = uint8_t(h);
    entry.bits = 32;
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

Entry freshEntry(std::mt19937 &rng)
{
    Entry e;
    e.image = rng() % 3 == 0 ? freshPng(rng, e) : freshBitmap(rng, e);
    return e;
}

uint32_t interesting(std::mt19937 &rng)
{
    static const uint32_t kValues[] = {0,   1,      2,      4,      8,          15,          16,
                                       24,  32,     40,     64,     127,        128,         255,
                                       256, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
    return rng() % 3 ? kValues[rng() % std::size(kValues)] : uint32_t(rng());
}

// Changes one thing in an image's own header: a field of a bitmap's info
// header, or of a PNG's IHDR.
void mutateImageHeader(std::mt19937 &rng, std::vector<uint8_t> &image)
{
    if (image.size() >= 24 && std::memcmp(image.data(), "\x89PNG", 4) == 0) {
        static const size_t kFields[] = {16, 20, 24, 25, 26, 27, 28};
        const size_t at = kFields[rng() % std::size(kFields)];
        if (at >= 24) {
            if (at < image.size())
                image[at] = uint8_t(interesting(rng));
        } else {
            const uint32_t v = interesting(rng);
            for (int i = 0; i < 4; ++i)
                image[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
        }
        return;
    }
    if (image.size() < 40)
        return;
    // size, width, height, planes/bits, compression, image size, colours used
    static const size_t kFields[] = {0, 4, 8, 12, 14, 16, 20, 32, 36};
    const size_t at = kFields[rng() % std::size(kFields)];
    const uint32_t v = interesting(rng);
    const size_t width = at == 12 || at == 14 ? 2 : 4;
    for (size_t i = 0; i < width; ++i)
        image[at + i] = uint8_t(v >> (8 * i));
}

size_t store(const std::vector<uint8_t> &bytes, uint8_t *data, size_t maxSize)
{
    const size_t n = std::min(bytes.size(), maxSize);
    std::memcpy(data, bytes.data(), n);
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The icon reader is a Qt plug-in, found through the application; without it
    // every input would fail alike and the search would learn nothing.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    if (!QImageReader::supportedImageFormats().contains("ico"))
        fail("Qt's icon reader is missing");
    // The reader warns on every entry that points past the end; thousands of
    // lines a second only slow the search.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    std::mt19937 rng(seed);
    Icon icon;
    if (!parse(data, size, icon)) {
        // Not an icon: now and then a plain mutation, else a fresh icon.
        if (rng() % 8 == 0)
            return LLVMFuzzerMutate(data, size, maxSize);
        icon.entries.push_back(freshEntry(rng));
        return store(write(icon), data, maxSize);
    }
    if (icon.entries.empty())
        icon.entries.push_back(freshEntry(rng));
    Entry &e = icon.entries[rng() % icon.entries.size()];
    switch (rng() % 10) {
    case 0: { // a directory field
        const uint32_t v = interesting(rng);
        switch (rng() % 6) {
        case 0:
            e.width = uint8_t(v);
            break;
        case 1:
            e.height = uint8_t(v);
            break;
        case 2:
            e.colours = uint8_t(v);
            break;
        case 3:
            e.planes = uint16_t(v);
            break;
        case 4:
            e.bits = uint16_t(v);
            break;
        default:
            e.reserved = uint8_t(v);
            break;
        }
        break;
    }
    case 1: // the image's place, wrong
        if (rng() % 2) {
            e.lieSize = true;
            e.size = interesting(rng);
        } else {
            e.lieOffset = true;
            e.offset = interesting(rng);
        }
        break;
    case 2:
    case 3:
        mutateImageHeader(rng, e.image);
        break;
    case 4:
    case 5:
    case 6: { // the image's bytes
        const size_t room = maxSize > 256 ? maxSize - 256 : 64;
        e.image.resize(std::max<size_t>(e.image.size(), 1));
        const size_t old = e.image.size();
        e.image.resize(std::max(old, std::min(room, old * 2)));
        e.image.resize(LLVMFuzzerMutate(e.image.data(), old, e.image.size()));
        break;
    }
    case 7: // a fresh image in place of this one
        e = freshEntry(rng);
        break;
    case 8: // one image more or less
        if (icon.entries.size() > 1 && rng() % 2)
            icon.entries.erase(icon.entries.begin() + long(rng() % icon.entries.size()));
        else if (icon.entries.size() < 6)
            icon.entries.push_back(freshEntry(rng));
        break;
    default: // a cursor instead of an icon, or back
        icon.type = icon.type == 1 ? 2 : 1;
        break;
    }
    return store(write(icon), data, maxSize);
}

#ifdef VOMRA_FUZZ_QT_ICO
// What QImageReader does with the icon plug-in: the size first, then the first image.
bool readWithInstrumentedCopy(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QtIcoHandler handler(&buffer);
    handler.setFormat("ico");
    const QSize size = handler.option(QImageIOHandler::Size).toSize();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels)
        return false;
    buffer.seek(0);
    QImage img;
    return handler.read(&img) && !img.isNull();
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<Picture> load = decodePicture(bytes);
#ifdef VOMRA_FUZZ_QT_ICO
    if (pictureKindOf(bytes) == PictureKind::Icon && readWithInstrumentedCopy(bytes) != load.ok())
        fail("the instrumented copy of the icon reader and the program disagree");
#endif
    if (load && load->kind != pictureKindOf(bytes))
        fail("a picture was taken for another kind");
    if (load && load->kind == PictureKind::Icon &&
        qint64(load->image.width()) * load->image.height() > kMaxPicturePixels)
        fail("an icon over the pixel limit was decoded");
    return 0;
}
