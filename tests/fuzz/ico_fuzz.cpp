// Icon loading, as the picture page's preview opens .ico files: any bytes in an
// icon directory give a picture or a message, never a crash, a read out of
// bounds, or a picture over the pixel limit.

#include "platform/ImageIO.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "ico_fuzz: %s\n", what);
    std::abort();
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
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const PictureLoad load = decodePicture(bytes);
    if (load.ok() == !load.error.isEmpty())
        fail("a result must be a picture or a message, not both or neither");
    if (load.kind == PictureKind::Icon) {
        if (load.ok() && qint64(load.image.width()) * load.image.height() > kMaxPicturePixels)
            fail("an icon over the pixel limit was decoded");
    } else if (pictureKindOf(bytes) == PictureKind::Icon) {
        fail("an icon directory was taken for something else");
    }
    return 0;
}
