#pragma once
// Bitmap files ground straight from their bytes, with no Qt: vomra-cli grinds
// with this alone.

#include "art/core/Grind.h"
#include "art/core/GrindPrepare.h"
#include "base/Bmp.h"
#include "base/MappedFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// A bitmap file read for grinding, as vomra-cli does: mapped into memory, its
// rows ground where they lie when they hold B, G, R bytes (24 bits, and 32 bits
// uncompressed or with the usual masks), every other kind decoded first by the
// one bitmap reader the picture page uses too.
class MappedBitmap {
public:
    MappedBitmap() = default;
    MappedBitmap(const MappedBitmap &) = delete;
    MappedBitmap &operator=(const MappedBitmap &) = delete;

    // False, with the reason in fileError(), when the file cannot be read at all;
    // otherwise status() tells whether it is a bitmap that can be ground, or why not.
    bool open(const std::string &path);
    const std::string &fileError() const { return m_file.error(); }
    const Result<void> &status() const { return m_status; }
    // The file's bytes, to tell what else it holds.
    std::string_view bytes() const
    {
        return {reinterpret_cast<const char *>(m_file.data()), m_file.size()};
    }

    bool inPlace() const { return m_view.bytes != nullptr; }
    int width() const { return m_header.width; }
    int height() const { return m_header.height; }
    Lines grind(std::string_view ramp, const GrindOptions &options = {}) const;
    GroundText grindText(std::string_view ramp, const GrindOptions &options = {}) const;
    // The picture scaled, inverted or made transparent before a grind.
    RgbGrid prepare(const PrepareOptions &options) const;
    // Whether the file was shortened while its rows were being read in place:
    // the rows ground are then not the picture's.
    bool cut() const { return m_file.cut(); }

private:
    MappedFile m_file;
    Result<void> m_status;
    bmp::Header m_header;
    BgrView m_view;                      // rows in place
    std::vector<std::uint32_t> m_pixels; // or decoded
};

} // namespace vomra
