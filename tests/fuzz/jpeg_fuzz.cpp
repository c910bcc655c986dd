// JPEG loading through libjpeg, as the picture page's preview, the theme previews
// and the splash use it: any bytes give a picture or a message, never a crash, a
// read out of bounds, a picture over the pixel limit, or pixels left unwritten.

#include "platform/ImageIO.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vomra;

namespace {

constexpr qint64 kCompareUpTo = 1 << 20;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "jpeg_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<Picture> load = decodeJpeg(bytes);
    if (!load.ok() && load.message().empty())
        fail("a refused picture gives no reason");
    if (load.ok()) {
        if (load->kind != PictureKind::Jpeg)
            fail("a decoded JPEG must say so");
        if (qint64(load->image.width()) * load->image.height() > kMaxPicturePixels)
            fail("a picture over the pixel limit was decoded");
        if (load->image.format() != QImage::Format_RGB32)
            fail("every JPEG comes out as 32-bit pixels");
        // Pixels left unwritten would differ from one decoding to the next.
        if (qint64(load->image.width()) * load->image.height() <= kCompareUpTo &&
            decodeJpeg(bytes)->image != load->image)
            fail("the same bytes decoded twice give different pictures");
    }
    // The same bytes through the content dispatch take the same road.
    if (bytes.startsWith("\xFF\xD8\xFF")) {
        const Result<Picture> again = decodePicture(bytes);
        if (again.ok() != load.ok() || again.message() != load.message())
            fail("decodePicture and decodeJpeg disagree");
    }
    return 0;
}
