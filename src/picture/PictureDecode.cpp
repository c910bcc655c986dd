#include "picture/PictureDecode.h"
#include "picture/JpegErrors.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>

#include <png.h>

namespace vomra::picture {

namespace {

std::string sizeText(unsigned long long w, unsigned long long h)
{
    return std::to_string(w) + " x " + std::to_string(h) + " pixels";
}

// What a decoder that calls setjmp reports: no object with a destructor may be
// made in such a function (a longjmp would skip it, and the compiler cannot
// keep it safe), so the caller builds the outcome's text.
struct RawResult {
    enum class Verdict { Ok, Damaged, TooLarge } verdict = Verdict::Ok;
    unsigned long long width = 0, height = 0; // of a picture that is too large
};

using Verdict = RawResult::Verdict;

// The reason, in the bitmap reader's words with the format's name.
std::optional<Error> refusalOf(Format format, const RawResult &raw, const char *message)
{
    const std::string name = formatName(format);
    switch (raw.verdict) {
    case Verdict::Ok:
        break;
    case Verdict::Damaged:
        return fail("damaged " + name + " (" + message + ")");
    case Verdict::TooLarge:
        return fail(name + " too large (" + sizeText(raw.width, raw.height) + ")");
    }
    return std::nullopt;
}

// ---- JPEG ----

// Only plain C state between setjmp and longjmp; the pixel vector is sized
// before the jump point can be reached from a decoding step that owns it.
RawResult jpegDecodeRaw(const unsigned char *data, std::size_t size, const NeededFor &needed, std::int64_t maxPixels,
                        Decoded &out, jpeg::Errors &err)
{
    jpeg_decompress_struct cinfo;
    jpeg::install(cinfo, err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return {Verdict::Damaged};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height > maxPixels) {
        const RawResult tooLarge{Verdict::TooLarge, cinfo.image_width, cinfo.image_height};
        jpeg_destroy_decompress(&cinfo);
        return tooLarge;
    }
    // libjpeg-turbo scales while decoding at a fraction of the cost of full size.
    // (The callback runs before any pixel memory exists, so a jump cannot skip
    // a destructor of ours; it must not throw.)
    const Needed need = needed ? needed(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height))
                               : Needed{};
    unsigned denom = 1;
    while (denom < 8 && need.width > 0 && need.height > 0
           && (cinfo.image_width / (denom * 2)) >= static_cast<unsigned>(need.width)
           && (cinfo.image_height / (denom * 2)) >= static_cast<unsigned>(need.height))
        denom *= 2;
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // B, G, R and an alpha byte libjpeg-turbo sets to 255: 0xFFRRGGBB on little-endian.
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.pixels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        const std::size_t y = cinfo.output_scanline;
        auto *px = out.pixels.data() + y * static_cast<std::size_t>(out.width);
        auto *line = reinterpret_cast<JSAMPROW>(px);
        jpeg_read_scanlines(&cinfo, &line, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted; converted in place, four bytes a pixel.
            const bool inverted = cinfo.saw_Adobe_marker;
            for (int x = 0; x < out.width; ++x) {
                const auto *s = reinterpret_cast<const unsigned char *>(px + x);
                unsigned c = s[0], m = s[1], yy = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
                }
                px[x] = 0xFF000000u | ((c * k / 255) << 16) | ((m * k / 255) << 8) | (yy * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return {};
}

std::optional<Error> jpegDecode(const unsigned char *data, std::size_t size, const NeededFor &needed,
                                std::int64_t maxPixels, Decoded &out)
{
    jpeg::Errors err;
    const RawResult raw = jpegDecodeRaw(data, size, needed, maxPixels, out, err);
    return refusalOf(Format::Jpeg, raw, err.message);
}

// ---- PNG ----

struct PngState {
    const unsigned char *data;
    std::size_t size;
    std::size_t pos;
    char message[200];
};

void pngRead(png_structp png, png_bytep into, png_size_t length)
{
    auto *state = static_cast<PngState *>(png_get_io_ptr(png));
    if (length > state->size - state->pos) {
        std::snprintf(state->message, sizeof state->message, "file cut short");
        png_longjmp(png, 1);
    }
    std::memcpy(into, state->data + state->pos, length);
    state->pos += length;
}

void pngError(png_structp png, png_const_charp text)
{
    auto *state = static_cast<PngState *>(png_get_error_ptr(png));
    if (state->message[0] == '\0')
        std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

RawResult pngDecodeRaw(std::int64_t maxPixels, Decoded &out, PngState &state)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, pngError, pngWarning);
    if (!png) {
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return {Verdict::Damaged};
    }
    png_infop info = png_create_info_struct(png);
    // Rows are read one at a time into the vector sized after the header check.
    std::vector<std::uint32_t> &pixels = out.pixels;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (state.message[0] == '\0')
            std::snprintf(state.message, sizeof state.message, "out of memory");
        return {Verdict::Damaged};
    }
    png_set_read_fn(png, &state, pngRead);
    // The pixel limit decides, not libpng's default of a million columns.
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (static_cast<std::int64_t>(w) * h > maxPixels) {
        png_destroy_read_struct(&png, &info, nullptr);
        return {Verdict::TooLarge, w, h};
    }
    // Everything becomes 8-bit B, G, R, A; transparency is then blended on white,
    // as a chat window would show the picture.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(w) * 4) {
        std::snprintf(state.message, sizeof state.message, "unexpected row layout");
        png_longjmp(png, 1);
    }
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    pixels.assign(static_cast<std::size_t>(w) * h, 0);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < h; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(pixels.data() + static_cast<std::size_t>(y) * w), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    for (std::uint32_t &px : pixels) {
        const std::uint32_t a = px >> 24;
        if (a == 255)
            continue;
        auto over = [a](std::uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
        px = 0xFF000000u | (over((px >> 16) & 0xFF) << 16) | (over((px >> 8) & 0xFF) << 8) | over(px & 0xFF);
    }
    return {};
}

std::optional<Error> pngDecode(const unsigned char *data, std::size_t size, std::int64_t maxPixels, Decoded &out)
{
    PngState state{data, size, 0, {}};
    const RawResult raw = pngDecodeRaw(maxPixels, out, state);
    return refusalOf(Format::Png, raw, state.message);
}

} // namespace

Result<Decoded> decode(const unsigned char *data, std::size_t size, const NeededFor &needed, std::int64_t maxPixels)
{
    Decoded out;
    std::optional<Error> refusal;
    switch (formatOf(data, size)) {
    case Format::Jpeg:
        refusal = jpegDecode(data, size, needed, maxPixels, out);
        break;
    case Format::Png:
        refusal = pngDecode(data, size, maxPixels, out);
        break;
    case Format::Unknown:
        refusal = fail("picture not supported (neither JPEG nor PNG)");
        break;
    }
    if (refusal)
        return *std::move(refusal);
    return out;
}

} // namespace vomra::picture
