#include "platform/ImageIO.h"
#include "support/BmpBuilder.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vomra;

namespace {

// ---- a small bitmap writer: every header variant the loader must read -----

const QRgb kPalette[4] = {qRgb(200, 30, 40), qRgb(20, 180, 64), qRgb(32, 48, 224), qRgb(248, 248, 240)};
// Palette indexes of a 3 x 3 picture, top row first; 3 pixels wide so rows need padding.
const int kGrid[3][3] = {{0, 1, 2}, {3, 0, 1}, {2, 3, 0}};

enum class Layout { Core, Info, Os2v2 };
enum class Enc { Bits1, Bits4, Bits8, Rle4, Rle8, Bits16, Bits24, Bits32 };

struct BmpCase {
    const char *name;
    Enc enc;
    Layout layout;
    bool topDown;
};

void put16(std::string &s, int v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void put32(std::string &s, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        s += char((v >> (8 * i)) & 0xFF);
}

int bitsOf(Enc e)
{
    switch (e) {
    case Enc::Bits1: return 1;
    case Enc::Bits4: case Enc::Rle4: return 4;
    case Enc::Bits8: case Enc::Rle8: return 8;
    case Enc::Bits16: return 16;
    case Enc::Bits24: return 24;
    case Enc::Bits32: return 32;
    }
    return 0;
}

int indexAt(Enc e, int x, int y) { return e == Enc::Bits1 ? kGrid[y][x] % 2 : kGrid[y][x]; }

std::string pixelData(Enc e, bool topDown)
{
    std::string data;
    const int bpp = bitsOf(e);
    if (e == Enc::Rle8 || e == Enc::Rle4) {
        for (int row = 0; row < 3; ++row) {
            const int y = 2 - row; // RLE is always bottom-up
            if (e == Enc::Rle8 && row == 0) {
                // absolute mode: three literal pixels, padded to a word
                data += {char(0), char(3), char(indexAt(e, 0, y)), char(indexAt(e, 1, y)),
                         char(indexAt(e, 2, y)), char(0)};
            } else {
                for (int x = 0; x < 3; ++x) {
                    const int v = indexAt(e, x, y);
                    data += {char(1), char(e == Enc::Rle4 ? (v << 4 | v) : v)};
                }
            }
            data += {char(0), char(0)}; // end of line
        }
        data += {char(0), char(1)}; // end of bitmap
        return data;
    }
    const int rowBytes = (3 * bpp + 31) / 32 * 4;
    for (int row = 0; row < 3; ++row) {
        const int y = topDown ? row : 2 - row;
        std::string line(rowBytes, '\0');
        for (int x = 0; x < 3; ++x) {
            const int idx = indexAt(e, x, y);
            const QRgb c = kPalette[idx];
            switch (e) {
            case Enc::Bits1: line[0] = char(line[0] | idx << (7 - x)); break;
            case Enc::Bits4: line[x / 2] = char(line[x / 2] | idx << (x % 2 ? 0 : 4)); break;
            case Enc::Bits8: line[x] = char(idx); break;
            case Enc::Bits16: {
                const int v = (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3);
                line[2 * x] = char(v & 0xFF);
                line[2 * x + 1] = char(v >> 8);
                break;
            }
            case Enc::Bits24:
            case Enc::Bits32: {
                const int n = bpp / 8;
                line[n * x] = char(qBlue(c));
                line[n * x + 1] = char(qGreen(c));
                line[n * x + 2] = char(qRed(c));
                break;
            }
            default: break;
            }
        }
        data += line;
    }
    return data;
}

std::string makeBmp(const BmpCase &c)
{
    const int bpp = bitsOf(c.enc);
    const int colours = bpp <= 8 ? (1 << bpp) : 0;
    const int entry = c.layout == Layout::Core ? 3 : 4;
    const int headerSize = c.layout == Layout::Core ? 12 : c.layout == Layout::Os2v2 ? 64 : 40;
    const std::string pixels = pixelData(c.enc, c.topDown);
    const int offset = 14 + headerSize + colours * entry;
    std::string s = "BM";
    put32(s, offset + qint64(pixels.size()));
    put32(s, 0);
    put32(s, offset);
    put32(s, headerSize);
    if (c.layout == Layout::Core) {
        put16(s, 3);
        put16(s, 3);
        put16(s, 1);
        put16(s, bpp);
    } else {
        put32(s, 3);
        put32(s, c.topDown ? -3 : 3);
        put16(s, 1);
        put16(s, bpp);
        put32(s, c.enc == Enc::Rle8 ? 1 : c.enc == Enc::Rle4 ? 2 : 0);
        put32(s, qint64(pixels.size()));
        put32(s, 2835);
        put32(s, 2835);
        put32(s, 0);
        put32(s, 0);
        if (c.layout == Layout::Os2v2)
            s += std::string(24, '\0'); // units, reserved, recording, rendering, sizes, colour encoding, id
    }
    for (int i = 0; i < colours; ++i) {
        const QRgb c4 = kPalette[i % 4];
        s += {char(qBlue(c4)), char(qGreen(c4)), char(qRed(c4))};
        if (entry == 4)
            s += char(0);
    }
    return s + pixels;
}

QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

QByteArray readFixture(const char *name)
{
    QFile f(QStringLiteral(VOMRA_TEST_DATA "/images/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray encodeWithQt(const QImage &img, const char *format)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    EXPECT_TRUE(writer.write(img)) << format;
    return out;
}

} // namespace

TEST(ImageIOBmp, EveryDepthAndHeaderGivesTheRightColours)
{
    const BmpCase cases[] = {
        {"1-bit two colours", Enc::Bits1, Layout::Info, false},
        {"4-bit palette", Enc::Bits4, Layout::Info, false},
        {"8-bit palette", Enc::Bits8, Layout::Info, false},
        {"RLE4", Enc::Rle4, Layout::Info, false},
        {"RLE8 with an absolute run", Enc::Rle8, Layout::Info, false},
        {"16-bit 5-5-5", Enc::Bits16, Layout::Info, false},
        {"24-bit bottom-up", Enc::Bits24, Layout::Info, false},
        {"24-bit top-down", Enc::Bits24, Layout::Info, true},
        {"32-bit", Enc::Bits32, Layout::Info, false},
        {"OS/2 core header, 8-bit", Enc::Bits8, Layout::Core, false},
        {"OS/2 core header, 24-bit", Enc::Bits24, Layout::Core, false},
        {"OS/2 2.x header, 8-bit", Enc::Bits8, Layout::Os2v2, false},
        {"OS/2 2.x header, RLE8", Enc::Rle8, Layout::Os2v2, false},
    };
    for (const BmpCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> load = decodePicture(bytes(makeBmp(c)));
        ASSERT_TRUE(load.ok()) << load.message();
        EXPECT_EQ(load->kind, PictureKind::Bitmap);
        ASSERT_EQ(load->image.size(), QSize(3, 3));
        const int tolerance = c.enc == Enc::Bits16 ? 8 : 0; // five bits per channel
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                const QRgb want = kPalette[indexAt(c.enc, x, y)];
                const QRgb got = load->image.pixel(x, y);
                EXPECT_TRUE(near(got, want, tolerance))
                    << "pixel " << x << "," << y << " got " << std::hex << got << " want " << want;
            }
    }
}

TEST(ImageIOBmp, DamagedOrHostileHeadersFailCleanly)
{
    const std::string good = makeBmp({"24", Enc::Bits24, Layout::Info, false});
    auto withInt32 = [&](int at, qint64 v) {
        std::string s = good;
        std::string field;
        put32(field, v);
        s.replace(size_t(at), 4, field);
        return s;
    };
    auto withDims = [&](qint64 w, qint64 h) {
        std::string s = good;
        std::string field;
        put32(field, w);
        put32(field, h);
        s.replace(18, 8, field);
        return s;
    };
    auto withInt16 = [&](int at, int v) {
        std::string s = good;
        std::string field;
        put16(field, v);
        s.replace(size_t(at), 2, field);
        return s;
    };
    std::string rleCut = makeBmp({"rle", Enc::Rle8, Layout::Info, false});
    rleCut.resize(rleCut.size() - 12); // drops the last rows and the end marker
    rleCut.replace(34, 4, std::string(4, '\0')); // no size in the header to give it away

    const struct {
        const char *name;
        std::string data;
    } cases[] = {
        {"header claims 100000 x 100000", withDims(100000, 100000)},
        {"top-down claim of 100000 x -100000", withDims(100000, -100000)},
        {"negative width", withDims(-3, 3)},
        {"pixel rows cut short", good.substr(0, good.size() - 13)},
        {"only the headers", good.substr(0, 54)},
        {"header cut short", good.substr(0, 30)},
        {"zero width", withInt32(18, 0)},
        {"seven bits per pixel", withInt16(28, 7)},
        {"unknown header size", withInt32(14, 77)},
        {"RLE stream without its end", rleCut},
        {"pixel offset past the end", withInt32(10, 100000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> load = decodePicture(bytes(c.data));
        EXPECT_FALSE(load.ok());
        // Refused as a bitmap, in the bitmap reader's words.
        EXPECT_NE(load.message().find("bitmap"), std::string::npos) << load.message();
    }
}

TEST(ImageIOBmp, TooLargeIsRefusedByItsHeaderAlone)
{
    std::string s = makeBmp({"24", Enc::Bits24, Layout::Info, false});
    std::string dims;
    put32(dims, 8001); // one column over the limit of 64 million pixels
    put32(dims, 8000);
    s.replace(18, 8, dims);
    const Result<Picture> load = decodePicture(bytes(s));
    EXPECT_FALSE(load.ok());
    EXPECT_TRUE(load.message().find("too large") != std::string::npos) << load.message();
}

TEST(ImageIOJpeg, FixtureDecodesToItsSizeAndColours)
{
    const Result<Picture> load = decodeJpeg(readFixture("quadrants.jpg"));
    ASSERT_TRUE(load.ok()) << load.message();
    EXPECT_EQ(load->kind, PictureKind::Jpeg);
    ASSERT_EQ(load->image.size(), QSize(32, 24));
    EXPECT_TRUE(near(load->image.pixel(6, 5), qRgb(255, 0, 0), 40));
    EXPECT_TRUE(near(load->image.pixel(25, 5), qRgb(0, 255, 0), 40));
    EXPECT_TRUE(near(load->image.pixel(6, 18), qRgb(0, 0, 255), 40));
    EXPECT_TRUE(near(load->image.pixel(25, 18), qRgb(255, 255, 255), 20));
}

TEST(ImageIOJpeg, GrayscaleFixtureKeepsItsRamp)
{
    const Result<Picture> load = decodeJpeg(readFixture("grayramp.jpg"));
    ASSERT_TRUE(load.ok()) << load.message();
    ASSERT_EQ(load->image.size(), QSize(17, 9));
    for (int x : {0, 8, 16})
        EXPECT_TRUE(near(load->image.pixel(x, 4), qRgb(x * 15, x * 15, x * 15), 12)) << x;
}

TEST(ImageIOJpeg, DamagedDataGivesAnErrorNotACrash)
{
    const QByteArray good = readFixture("quadrants.jpg");
    QByteArray garbage = good.left(2);
    garbage.append(QByteArray(200, '\x5A'));
    QByteArray huge = good;
    const qsizetype sof = huge.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    huge[sof + 5] = '\xFF'; // height 0xFF?? and width 0xFF?? : far over the pixel limit
    huge[sof + 7] = '\xFF';
    QByteArray noScan = good.left(good.indexOf("\xFF\xDA"));

    const struct {
        const char *name;
        QByteArray data;
        const char *message;
    } cases[] = {
        {"cut in the middle of the scan", good.left(good.size() * 2 / 3), "Premature end"},
        {"cut after the start marker", good.left(2), ""},
        {"garbage after the start marker", garbage, ""},
        {"headers without a scan", noScan, ""},
        {"frame claims 65000 x 65000 pixels", huge, "too large"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> load = decodeJpeg(c.data);
        EXPECT_FALSE(load.ok());
        EXPECT_TRUE(load.message().find(c.message) != std::string::npos) << load.message();
    }
}

TEST(ImageIOKinds, KindFollowsTheContent)
{
    QImage small(5, 4, QImage::Format_ARGB32);
    small.fill(qRgba(10, 200, 30, 255));
    const QByteArray bmp = bytes(makeBmp({"8", Enc::Bits8, Layout::Info, false}));
    const QByteArray jpeg = readFixture("quadrants.jpg");
    const QByteArray png = encodeWithQt(small, "png");
    const QByteArray ico = encodeWithQt(small.scaled(16, 16), "ico");

    EXPECT_EQ(pictureKindOf(bmp), PictureKind::Bitmap);
    EXPECT_EQ(pictureKindOf(jpeg), PictureKind::Jpeg);
    EXPECT_EQ(pictureKindOf(png), PictureKind::Png);
    EXPECT_EQ(pictureKindOf(ico), PictureKind::Icon);
    EXPECT_EQ(pictureKindOf(QByteArray("hello, world\n")), PictureKind::Other);
    EXPECT_EQ(pictureKindOf(QByteArray()), PictureKind::None);

    const Result<Picture> icon = decodePicture(ico);
    ASSERT_TRUE(icon.ok()) << icon.message();
    EXPECT_EQ(icon->image.size(), QSize(16, 16));
    EXPECT_TRUE(near(icon->image.pixel(3, 3), qRgb(10, 200, 30), 0));
    const Result<Picture> pngLoad = decodePicture(png);
    ASSERT_TRUE(pngLoad.ok()) << pngLoad.message();
    EXPECT_EQ(pngLoad->image.size(), QSize(5, 4));
}

TEST(ImageIOFiles, ExtensionAdmitsTheFileAndContentDecidesTheKind)
{
    vomra::test::TempFolder dir;
    QImage small(5, 4, QImage::Format_RGB32);
    small.fill(qRgb(1, 2, 3));
    const QByteArray jpeg = readFixture("quadrants.jpg");
    const QByteArray bmp = bytes(makeBmp({"24", Enc::Bits24, Layout::Info, false}));
    dir.write("real.bmp", bmp.toStdString());
    dir.write("UPPER.BMP", bmp.toStdString());
    dir.write("photo.jpeg", jpeg.toStdString());
    dir.write("photo-named.bmp", jpeg.toStdString());
    dir.write("bitmap-named.jpg", bmp.toStdString());
    dir.write("text.bmp", "not a picture at all\n");
    dir.write("empty.bmp", "");
    dir.write("picture.gif", bmp.toStdString());

    const struct {
        const char *file;
        bool ok;
        PictureKind kind;
    } cases[] = {
        {"real.bmp", true, PictureKind::Bitmap},
        {"UPPER.BMP", true, PictureKind::Bitmap},
        {"photo.jpeg", true, PictureKind::Jpeg},
        // the grinder asks for a bitmap: a renamed JPEG must not pass for one
        {"photo-named.bmp", true, PictureKind::Jpeg},
        {"bitmap-named.jpg", true, PictureKind::Bitmap},
        {"text.bmp", false, PictureKind::Other},
        {"empty.bmp", false, PictureKind::None},
        {"picture.gif", false, PictureKind::None},
        {"missing.bmp", false, PictureKind::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const Result<Picture> load = loadPicture(dir.file(c.file));
        EXPECT_EQ(load.ok(), c.ok) << load.message();
        if (load) {
            EXPECT_EQ(load->kind, c.kind);
        }
        EXPECT_EQ(load.message().empty(), c.ok);
    }
}

TEST(ImageIOBmp, PixelsRunLengthStreamsSkipTakePaletteIndexZero)
{
    // 4 x 2 over a palette whose index 0 is no colour memory starts with.
    const std::vector<std::uint32_t> palette = {0x3C5A78, 0x000000, 0xFFFFFF};
    struct Case {
        const char *name;
        int bits;
        std::string stream;
        std::vector<int> want; // palette indexes, top row first
    };
    const Case cases[] = {
        {"RLE8 end of line", 8, std::string("\x02\x01\x00\x00\x01\x02\x00\x01", 8), {2, 0, 0, 0, 1, 1, 0, 0}},
        {"RLE8 end of bitmap", 8, std::string("\x01\x02\x00\x01", 4), {0, 0, 0, 0, 2, 0, 0, 0}},
        {"RLE8 delta", 8, std::string("\x00\x02\x01\x01\x02\x02\x00\x01", 8), {0, 2, 2, 0, 0, 0, 0, 0}},
        {"RLE4 end of line", 4, std::string("\x03\x12\x00\x00\x00\x01", 6), {0, 0, 0, 0, 1, 2, 1, 0}},
        {"RLE4 end of bitmap", 4, std::string("\x02\x22\x00\x01", 4), {0, 0, 0, 0, 2, 2, 0, 0}},
        {"RLE4 delta", 4, std::string("\x00\x02\x03\x01\x01\x10\x00\x01", 8), {0, 0, 0, 1, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vomra::test::BmpLayout b;
        b.width = 4;
        b.height = 2;
        b.bits = c.bits;
        b.compression = c.bits == 8 ? 1 : 2;
        b.palette = palette;
        b.coloursUsed = std::uint32_t(palette.size());
        b.pixels = c.stream;
        // Several times: memory left over from an earlier picture must not show.
        for (int round = 0; round < 3; ++round) {
            const Result<Picture> load = decodePicture(bytes(vomra::test::bmpFile(b)));
            ASSERT_TRUE(load.ok()) << load.message();
            ASSERT_EQ(load->image.size(), QSize(4, 2));
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(load->image.pixel(i % 4, i / 4) & 0xFFFFFFu, palette[std::size_t(c.want[i])])
                    << "pixel " << i % 4 << "," << i / 4;
        }
    }
}

namespace {

QByteArray pngChunk(const char *type, const QByteArray &body, quint32 claimedLength)
{
    QByteArray c;
    for (int i = 3; i >= 0; --i)
        c += char((claimedLength >> (8 * i)) & 0xFF);
    c += type;
    c += body;
    c += QByteArray(4, '\0'); // the checksum is not what is tested
    return c;
}

QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray ihdr;
    for (quint32 v : {width, height})
        for (int i = 3; i >= 0; --i)
            ihdr += char((v >> (8 * i)) & 0xFF);
    ihdr += QByteArray("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", ihdr, 13);
}

} // namespace

TEST(ImageIOPng, HeadersThatClaimTooMuchAreRefusedBeforeDecoding)
{
    // A text chunk claiming 2 GB in a 140-byte file: the decoder would allocate
    // for the claim before finding the file too short.
    QByteArray hugeText = pngHeader(1, 1) + pngChunk("tEXt", QByteArray(80, 'a'), 0x7FFFFFF0u);
    hugeText.truncate(140);
    const struct {
        const char *name;
        QByteArray data;
        const char *message;
    } cases[] = {
        {"text chunk longer than the file", hugeText, "damaged PNG picture (a chunk runs past the end of the file)"},
        {"a chunk cut inside its length", pngHeader(1, 1) + QByteArray("\0\0", 2),
         "damaged PNG picture (a chunk runs past the end of the file)"},
        // 4294967295 squared overflows a signed 64-bit product.
        {"largest sizes", pngHeader(0xFFFFFFFFu, 0xFFFFFFFFu), "picture too large (4294967295 x 4294967295 pixels)"},
        {"65536 x 65536", pngHeader(65536, 65536), "picture too large (65536 x 65536 pixels)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Result<Picture> load = decodePicture(c.data);
        EXPECT_FALSE(load.ok());
        EXPECT_EQ(load.message(), c.message);
    }
}
