#include "art/core/MappedBitmap.h"

#include <new>

namespace vomra {

bool MappedBitmap::open(const std::string &path)
{
    m_status = {};
    m_header = {};
    m_view = {};
    m_pixels = {};
    // Populated at once: the grind reads every page anyway, and one call is
    // cheaper than a fault per few pages.
    if (!m_file.open(path, true))
        return false;
    Result<bmp::Header> read = bmp::readHeader(m_file.data(), m_file.size());
    if (!read) {
        m_status = read.error();
        return true;
    }
    m_header = std::move(read).value();
    bmp::Rows rows;
    if (bmp::rowsInPlace(m_header, m_file.data(), rows)) {
        m_view = {rows.top, m_header.width, m_header.height, rows.stride, rows.bytesPerPixel};
        return true;
    }
    try {
        m_pixels.resize(std::size_t(m_header.width) * std::size_t(m_header.height));
    } catch (const std::bad_alloc &) {
        m_status = bmp::tooLarge("not enough memory");
        return true;
    }
    bmp::decode(m_header, m_file.data(), m_file.size(), m_pixels.data(), m_header.width);
    if (m_file.cut())
        m_status = bmp::damaged(bmp::kCutWhileRead);
    m_file.close(); // decoded: the file's pages are no longer needed
    return true;
}

Lines MappedBitmap::grind(std::string_view ramp, const GrindOptions &options) const
{
    return grindText(ramp, options).lines();
}

GroundText MappedBitmap::grindText(std::string_view ramp, const GrindOptions &options) const
{
    if (!m_status)
        return {};
    if (inPlace())
        return vomra::grindText(m_view, ramp, options);
    return vomra::grindText(RgbView{m_pixels.data(), m_header.width, m_header.height, m_header.width}, ramp,
                            options);
}

RgbGrid MappedBitmap::prepare(const PrepareOptions &options) const
{
    if (!m_status)
        return {};
    if (inPlace())
        return preparePicture(m_view, options);
    return preparePicture(RgbView{m_pixels.data(), m_header.width, m_header.height, m_header.width}, options);
}

} // namespace vomra
