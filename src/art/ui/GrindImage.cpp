#include "art/ui/GrindImage.h"

namespace vomra {

QImage grindableImage(QImage image)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}

RgbView rgbView(const QImage &grindable)
{
    return {reinterpret_cast<const Rgb *>(grindable.constBits()), grindable.width(), grindable.height(),
            static_cast<std::ptrdiff_t>(grindable.bytesPerLine() / 4)};
}

} // namespace vomra
