#include "art/GrindImage.h"

#include <QFile>

#include <climits>
#include <cstdint>
#include <cstdlib>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

std::uint32_t le(const unsigned char *p, int size)
{
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Where the pixel rows of a bitmap lie, as far as the kinds read in place go.
struct Layout {
    int width = 0;
    int height = 0; // negative: the top row comes first
    int bytesPerPixel = 0;
    std::uint64_t offset = 0;
    std::uint64_t rowBytes = 0;
};

constexpr std::size_t kHeadBytes = 14 + 124; // file header and the largest info header

// True for the kinds read in place: an info header of 40, 108 or 124 bytes, one
// plane, 24 bits uncompressed or 32 bits with the colours in the low three bytes,
// sizes the bitmap decoder would take too, and rows after the headers.
bool readLayout(const unsigned char *head, std::size_t size, Layout &layout)
{
    if (size < 14 + 40 || head[0] != 'B' || head[1] != 'M')
        return false;
    const std::uint32_t infoSize = le(head + 14, 4);
    if ((infoSize != 40 && infoSize != 108 && infoSize != 124) || size < 14 + infoSize)
        return false;
    const auto width = static_cast<std::int32_t>(le(head + 18, 4));
    const auto height = static_cast<std::int32_t>(le(head + 22, 4));
    const std::uint32_t planes = le(head + 26, 2);
    const std::uint32_t bits = le(head + 28, 2);
    const std::uint32_t compression = le(head + 30, 4);
    if (planes != 1 || width <= 0 || height == 0 || height == INT_MIN ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(std::abs(height)) > 16384ull * 16384ull)
        return false;
    std::uint64_t headersEnd = 14 + infoSize;
    if (bits == 24 && compression == 0) {
        layout.bytesPerPixel = 3;
    } else if (bits == 32 && compression == 0) {
        layout.bytesPerPixel = 4;
    } else if (bits == 32 && compression == 3) {
        // Colour masks in the larger headers, or three words after the small one.
        if (infoSize == 40)
            headersEnd += 12;
        if (size < 14 + 40 + 12 || le(head + 54, 4) != 0xFF0000u || le(head + 58, 4) != 0xFF00u ||
            le(head + 62, 4) != 0xFFu)
            return false;
        layout.bytesPerPixel = 4;
    } else {
        return false;
    }
    layout.offset = le(head + 10, 4);
    if (layout.offset < headersEnd) // the decoder would read the rows right after the headers
        return false;
    layout.width = width;
    layout.height = height;
    layout.rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return true;
}

} // namespace

MappedBitmap::~MappedBitmap() { close(); }

void MappedBitmap::close()
{
    if (m_map)
        ::munmap(m_map, m_size);
    m_map = nullptr;
    m_size = 0;
    m_view = {};
}

MappedBitmap::Status MappedBitmap::open(const QString &file)
{
    close();
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Status::OtherKind;
    struct stat st {};
    unsigned char head[kHeadBytes];
    Layout layout;
    Status status = Status::OtherKind;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const ssize_t got = ::pread(fd, head, sizeof head, 0);
        const auto fileSize = static_cast<std::uint64_t>(st.st_size);
        if (got > 0 && readLayout(head, static_cast<std::size_t>(got), layout)) {
            const std::uint64_t rows = static_cast<std::uint64_t>(std::abs(layout.height));
            status = fileSize < layout.offset + layout.rowBytes * rows ? Status::Cut : Status::Ready;
        }
        if (status == Status::Ready) {
            // Populated at once: the grind reads every page anyway, and one call is
            // cheaper than a fault per few pages.
            void *map = ::mmap(nullptr, static_cast<std::size_t>(fileSize), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (map == MAP_FAILED) {
                status = Status::OtherKind;
            } else {
                m_map = map;
                m_size = static_cast<std::size_t>(fileSize);
            }
        }
    }
    ::close(fd);
    if (status != Status::Ready)
        return status;

    const auto *rows = static_cast<const unsigned char *>(m_map) + layout.offset;
    const auto stride = static_cast<std::ptrdiff_t>(layout.rowBytes);
    m_view.width = layout.width;
    m_view.bytesPerPixel = layout.bytesPerPixel;
    if (layout.height < 0) {
        m_view.height = -layout.height;
        m_view.bytes = rows;
        m_view.stride = stride;
    } else { // bottom-up: the top row is the last in the file
        m_view.height = layout.height;
        m_view.bytes = rows + stride * (layout.height - 1);
        m_view.stride = -stride;
    }
    return Status::Ready;
}

} // namespace vomra
