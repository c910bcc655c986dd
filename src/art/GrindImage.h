#pragma once
// A QImage read in place as the grinder's plain RGB grid, and uncompressed
// bitmap files ground straight from their bytes.

#include "art/Grind.h"

#include <QImage>
#include <QString>

#include <cstddef>
#include <string_view>

namespace vomra {

// The picture in a 32-bit form whose low three bytes are R, G, B (the alpha byte
// is ignored by the grind, so both 32-bit kinds are kept as they are).
QImage grindableImage(QImage image);

// A view of a grindable image; the image must outlive it.
RgbView rgbView(const QImage &grindable);

// An uncompressed 24- or 32-bit Windows bitmap mapped into memory, so its pixel
// rows are ground where they lie instead of being decoded into a QImage first.
// Every other kind of file is left to QImageReader.
class MappedBitmap {
public:
    enum class Status {
        Ready,     // mapped; grind away
        OtherKind, // not a bitmap of the kinds read here (or no file at all)
        Cut,       // one of them, but shorter than its headers say
    };

    MappedBitmap() = default;
    ~MappedBitmap();
    MappedBitmap(const MappedBitmap &) = delete;
    MappedBitmap &operator=(const MappedBitmap &) = delete;

    Status open(const QString &file);
    const BgrView &view() const { return m_view; }
    Lines grind(std::string_view ramp, const GrindOptions &options = {}) const
    {
        return vomra::grind(m_view, ramp, options);
    }

private:
    void close();

    void *m_map = nullptr;
    std::size_t m_size = 0;
    BgrView m_view;
};

} // namespace vomra
