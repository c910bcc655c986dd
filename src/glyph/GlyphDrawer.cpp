#include "glyph/GlyphDrawer.h"

#include "glyph/FontResolution.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace vomra {

namespace {

// Above this many pixels a glyph is drawn from its unhinted outline, never from
// a strike, as the old drawing did past its glyph cache.
constexpr int kLargestHintedPixels = 64;

// 26.6 fixed point: rounded to whole pixels.
int roundedPixels(long v) { return static_cast<int>((v + 32) & -64) >> 6; }

// A value in font units scaled to 26.6, rounded as the old metrics rounded.
long scaledUnits(long units, int pixels, int unitsPerEm)
{
    return static_cast<long>(std::floor(static_cast<double>(units) * pixels / unitsPerEm * 64.0 + 0.5));
}

std::vector<char32_t> codepoints(std::string_view utf8)
{
    std::vector<char32_t> out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : static_cast<char32_t>(b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            ok = ok && (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool hasTable(FT_Face face, FT_ULong tag)
{
    FT_ULong length = 0;
    return FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) == 0 && length > 0;
}

// One glyph in one bit, placed relative to the pen on the baseline; or, for a
// large size, the glyph's outline as polygons in 26.6 relative to the pen.
struct Glyph {
    int advance = 0;
    // Outline points in pixels, y downwards, with their FreeType tags; one entry
    // per contour.
    struct Contour {
        std::vector<double> x, y;
        std::vector<char> tags;
    };
    std::vector<Contour> outline;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int pitch = 0;
    std::vector<unsigned char> bits;
};

struct Face {
    FT_Face face = nullptr;
    FT_Size scaled = nullptr;
    FT_Size unscaled = nullptr; // one pixel per font unit, for outlines drawn as paths
    bool embolden = false;
    bool obliquen = false;
    bool outlineDrawing = false;
    int pixels = 0;
    long ascent = 0;  // 26.6
    long descent = 0; // 26.6, positive below the baseline
    long underlineThickness = 64;
    long underlinePosition = 0; // below the baseline, 26.6
    std::map<FT_UInt, Glyph> glyphs;
};


// Large glyphs are drawn as the old drawing drew them past its glyph cache: the
// outline, loaded at one pixel per font unit and scaled by hand, made into cubic
// curves, flattened into polygons and filled by pixel centres with the nonzero
// rule. Each step rounds as that drawing did, so the same pixels come out.

struct Point {
    double x, y;
};

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator*(double k, Point a) { return {k * a.x, k * a.y}; }
Point operator/(Point a, double k) { return {a.x / k, a.y / k}; }

struct Cubic {
    double x1, y1, x2, y2, x3, y3, x4, y4;
    // Halves at t = 0.5: first into *left, second into *right.
    void split(Cubic *left, Cubic *right) const
    {
        const double cx = (x2 + x3) * 0.5, cy = (y2 + y3) * 0.5;
        const double x12 = (x1 + x2) * 0.5, y12 = (y1 + y2) * 0.5;
        const double x34 = (x3 + x4) * 0.5, y34 = (y3 + y4) * 0.5;
        const double lx3 = (x12 + cx) * 0.5, ly3 = (y12 + cy) * 0.5;
        const double rx2 = (x34 + cx) * 0.5, ry2 = (y34 + cy) * 0.5;
        const double mx = (lx3 + rx2) * 0.5, my = (ly3 + ry2) * 0.5;
        const Cubic l{x1, y1, x12, y12, lx3, ly3, mx, my};
        const Cubic r{mx, my, rx2, ry2, x34, y34, x4, y4};
        *left = l;
        *right = r;
    }
};

// Polygons of one fill, the closing point repeated.
struct Polygons {
    std::vector<std::vector<Point>> contours;
    void moveTo(Point p)
    {
        close();
        contours.push_back({p});
    }
    void lineTo(Point p) { contours.back().push_back(p); }
    void close()
    {
        if (!contours.empty() && contours.back().size() > 1) {
            const Point first = contours.back().front(), last = contours.back().back();
            if (first.x != last.x || first.y != last.y)
                contours.back().push_back(first);
        }
    }
    void cubicTo(Point c1, Point c2, Point e)
    {
        const Point s = contours.back().back();
        Cubic stack[10];
        int levels[10];
        stack[0] = {s.x, s.y, c1.x, c1.y, c2.x, c2.y, e.x, e.y};
        levels[0] = 9;
        int top = 0;
        constexpr double threshold = 0.25;
        while (top >= 0) {
            Cubic *b = &stack[top];
            const double y4y1 = b->y4 - b->y1, x4x1 = b->x4 - b->x1;
            double l = std::abs(x4x1) + std::abs(y4y1);
            double d;
            if (l > 1.) {
                d = std::abs(x4x1 * (b->y1 - b->y2) - y4y1 * (b->x1 - b->x2))
                    + std::abs(x4x1 * (b->y1 - b->y3) - y4y1 * (b->x1 - b->x3));
            } else {
                d = std::abs(b->x1 - b->x2) + std::abs(b->y1 - b->y2) + std::abs(b->x1 - b->x3)
                    + std::abs(b->y1 - b->y3);
                l = 1.;
            }
            if (d < threshold * l || levels[top] == 0) {
                lineTo({b->x4, b->y4});
                --top;
            } else {
                b->split(b + 1, b);
                levels[top + 1] = --levels[top];
                ++top;
            }
        }
    }
};

// The outline of g drawn with its pen at cp, as polygons.
Polygons polygonsOf(const Glyph &g, Point cp)
{
    Polygons path;
    for (const Glyph::Contour &c : g.outline) {
        const int last = static_cast<int>(c.x.size()) - 1;
        if (last < 0)
            continue;
        const auto at = [&c](int k) { return Point{c.x[static_cast<std::size_t>(k)], c.y[static_cast<std::size_t>(k)]}; };
        const auto tag = [&c](int k) { return c.tags[static_cast<std::size_t>(k)]; };
        int i = 0;
        Point start = at(0);
        if (!(tag(0) & 1)) {
            start = (tag(last) & 1) ? at(last) : (at(last) + start) / 2.0;
            --i;
        }
        start = start + cp;
        path.moveTo(start);
        Point p[4];
        p[0] = start;
        int n = 1;
        bool curve = false;
        while (i < last) {
            ++i;
            p[n] = cp + at(i);
            ++n;
            curve = false;
            switch (tag(i) & 3) {
            case 2:
                if (n < 4)
                    continue;
                p[3] = (p[3] + p[2]) / 2.0;
                --i;
                break;
            case 0:
                if (n < 3)
                    continue;
                p[3] = (p[1] + p[2]) / 2.0;
                p[2] = (2 * p[1] + p[3]) / 3.0;
                p[1] = (2 * p[1] + p[0]) / 3.0;
                --i;
                break;
            default:
                if (n == 2) {
                    path.lineTo(p[1]);
                    p[0] = p[1];
                    n = 1;
                    continue;
                }
                if (n == 3) {
                    p[3] = p[2];
                    p[2] = (2 * p[1] + p[3]) / 3.0;
                    p[1] = (2 * p[1] + p[0]) / 3.0;
                }
                break;
            }
            curve = true;
            path.cubicTo(p[1], p[2], p[3]);
            p[0] = p[3];
            n = 1;
        }
        (void)curve;
        if (n != 1) {
            p[3] = start;
            if (n == 2) {
                p[2] = (2 * p[1] + p[3]) / 3.0;
                p[1] = (2 * p[1] + p[0]) / 3.0;
            }
            path.cubicTo(p[1], p[2], p[3]);
        }
        path.close();
    }
    path.close();
    return path;
}

long to26Dot6(double v) { return static_cast<long>(std::floor(v * 64 + 0.5)); }

// Fills the polygons into grid by pixel centres, nonzero winding, in the
// 16.16 steps of the old scan converter.
void fillPolygons(const Polygons &path, InkGrid &grid)
{
    struct Edge {
        int64_t x;     // 16.16 at the centre of row top
        int64_t delta; // per row
        int top, bottom, winding;
    };
    std::vector<Edge> edges;
    long minY = LONG_MAX, maxY = LONG_MIN;
    std::vector<std::vector<FT_Vector>> fixed;
    for (const auto &contour : path.contours) {
        std::vector<FT_Vector> pts;
        for (const Point &p : contour) {
            pts.push_back({to26Dot6(p.x), to26Dot6(p.y)});
            minY = std::min(minY, pts.back().y);
            maxY = std::max(maxY, pts.back().y);
        }
        fixed.push_back(std::move(pts));
    }
    if (fixed.empty())
        return;
    const int top = std::max(0, static_cast<int>((minY + 32) >> 6));
    const int bottom = std::min(grid.height() - 1, static_cast<int>((maxY - 32) >> 6));
    if (top > bottom)
        return;
    const int64_t leftFP = 0, rightFP = static_cast<int64_t>(grid.width()) << 16;
    for (const auto &pts : fixed)
        for (std::size_t j = 0; j + 1 < pts.size(); ++j) {
            FT_Vector a = pts[j], b = pts[j + 1];
            int winding = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                winding = -1;
            }
            const int iTop = std::max(top, static_cast<int>((a.y + 32) >> 6));
            const int iBottom = std::min(bottom, static_cast<int>((b.y - 32) >> 6));
            if (iTop > iBottom)
                continue;
            const int64_t aFP = (int64_t{1} << 15) + (static_cast<int64_t>(a.x) << 10);
            if (b.x == a.x) {
                edges.push_back({std::clamp(aFP, leftFP, rightFP), 0, iTop, iBottom, winding});
                continue;
            }
            const double slope = static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
            const auto slopeFP = static_cast<int64_t>(slope * 65536.);
            const int64_t offset = (static_cast<int64_t>(iTop) << 16) + (int64_t{1} << 15) - (static_cast<int64_t>(a.y) << 10);
            const int64_t xFP = aFP + ((slopeFP * offset) >> 16);
            edges.push_back({xFP, slopeFP, iTop, iBottom, winding});
        }
    std::vector<std::pair<int, int>> crossings;
    for (int y = top; y <= bottom; ++y) {
        crossings.clear();
        for (Edge &e : edges) {
            if (y < e.top || y > e.bottom)
                continue;
            const int64_t x = e.x + e.delta * (y - e.top);
            crossings.emplace_back(static_cast<int>(std::clamp(x, leftFP, rightFP) >> 16), e.winding);
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const auto &l, const auto &r) { return l.first < r.first; });
        int winding = 0, x = 0;
        for (const auto &[cx, w] : crossings) {
            if (winding != 0)
                for (int px = x; px < cx; ++px)
                    grid.setInk(px, y, true);
            x = cx;
            winding += w;
        }
    }
}

void outlineOf(Face &f, FT_UInt index, Glyph &out)
{
    FT_Activate_Size(f.unscaled);
    const FT_Error err = FT_Load_Glyph(f.face, index, FT_LOAD_NO_BITMAP);
    FT_GlyphSlot slot = f.face->glyph;
    if (!err && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (f.obliquen)
            FT_GlyphSlot_Oblique(slot);
        const FT_F26Dot6 size = static_cast<FT_F26Dot6>(f.pixels) << 6;
        const FT_Fixed scale = FT_MulDiv(size, 1 << 10, f.face->units_per_EM);
        const FT_Outline &o = slot->outline;
        int first = 0;
        for (int c = 0; c < o.n_contours; ++c) {
            Glyph::Contour contour;
            for (int k = first; k <= o.contours[c]; ++k) {
                contour.x.push_back(static_cast<double>(FT_MulFix(o.points[k].x, scale)) / 64.);
                contour.y.push_back(-static_cast<double>(FT_MulFix(o.points[k].y, scale)) / 64.);
                contour.tags.push_back(static_cast<char>(o.tags[k]));
            }
            first = o.contours[c] + 1;
            out.outline.push_back(std::move(contour));
        }
    }
    FT_Activate_Size(f.scaled);
}

} // namespace

struct GlyphDrawer::Impl {
    GlyphStyle style;
    std::string asked; // family after substitution
    int pixels = 1;
    FT_Library library = nullptr;
    Resolution fonts; // best match first, then fallbacks
    std::vector<std::unique_ptr<Face>> faces; // parallel to fonts.files, opened on demand
    std::vector<bool> tried;

    ~Impl()
    {
        for (auto &f : faces)
            if (f && f->face)
                FT_Done_Face(f->face);
        if (library)
            FT_Done_FreeType(library);
    }

    Face *face(int index);
    // The face and glyph that draw c: the first face holding it, else the missing
    // glyph of the first face.
    std::pair<Face *, FT_UInt> glyphFor(char32_t c);
    const Glyph &glyph(Face &face, FT_UInt index);
};

Face *GlyphDrawer::Impl::face(int index)
{
    if (!library || index >= static_cast<int>(fonts.files.size()))
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    if (tried[i])
        return faces[i].get();
    tried[i] = true;
    auto f = std::make_unique<Face>();
    if (FT_New_Face(library, fonts.files[i].path.c_str(), fonts.files[i].index, &f->face) != 0)
        return nullptr;
    FT_Face ft = f->face;
    const FT_F26Dot6 size = static_cast<FT_F26Dot6>(pixels) << 6;
    f->pixels = pixels;
    if (FT_IS_SCALABLE(ft)) {
        FT_Set_Char_Size(ft, size, size, 0, 0);
        f->outlineDrawing = pixels > kLargestHintedPixels;
        f->scaled = ft->size;
        if (f->outlineDrawing && FT_New_Size(ft, &f->unscaled) == 0) {
            FT_Activate_Size(f->unscaled);
            FT_Set_Char_Size(ft, static_cast<FT_F26Dot6>(ft->units_per_EM) << 6,
                             static_cast<FT_F26Dot6>(ft->units_per_EM) << 6, 0, 0);
            FT_Activate_Size(f->scaled);
        } else {
            f->outlineDrawing = false;
        }
        f->obliquen = style.italic && !(ft->style_flags & FT_STYLE_FLAG_ITALIC);
        if (style.bold && !(ft->style_flags & FT_STYLE_FLAG_BOLD) && !FT_IS_FIXED_WIDTH(ft)) {
            const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
            f->embolden = os2 && os2->usWeightClass < 700 && pixels < kLargestHintedPixels;
        }
        const long thickness = FT_MulFix(ft->underline_thickness, ft->size->metrics.y_scale);
        const long center = -FT_MulFix(ft->underline_position, ft->size->metrics.y_scale);
        f->underlineThickness = std::max(thickness, 64L);
        f->underlinePosition = center - thickness / 2;
    } else {
        // A face of strikes only: the strike nearest the size.
        int best = 0;
        for (int s = 1; s < ft->num_fixed_sizes; ++s)
            if (std::abs(ft->available_sizes[s].y_ppem - size) < std::abs(ft->available_sizes[best].y_ppem - size))
                best = s;
        if (ft->num_fixed_sizes > 0)
            FT_Select_Size(ft, best);
    }
    FT_Size_Metrics metrics = ft->size->metrics;
    const bool strikes = hasTable(ft, TTAG_EBLC) || hasTable(ft, TTAG_CBLC) || hasTable(ft, FT_MAKE_TAG('b', 'd', 'a', 't'));
    if (FT_IS_SCALABLE(ft)) {
        // A strike of exactly this size brings its own ascent and descent.
        for (int s = 0; s < ft->num_fixed_sizes; ++s) {
            if (ft->available_sizes[s].x_ppem != size || ft->available_sizes[s].y_ppem != size)
                continue;
            ft->face_flags &= ~FT_FACE_FLAG_SCALABLE;
            FT_Select_Size(ft, s);
            if (ft->size->metrics.ascender + ft->size->metrics.descender > 0) {
                metrics.ascender = ft->size->metrics.ascender;
                metrics.descender = ft->size->metrics.descender;
            }
            FT_Set_Char_Size(ft, size, size, 0, 0);
            ft->face_flags |= FT_FACE_FLAG_SCALABLE;
            break;
        }
    }
    f->ascent = metrics.ascender;
    f->descent = -metrics.descender;
    if (!strikes && FT_IS_SFNT(ft)) {
        // Outline faces take their line metrics from the hhea table, then OS/2,
        // rounded to whole pixels.
        const int em = ft->units_per_EM;
        const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
        if (hhea && (hhea->Ascender != 0 || hhea->Descender != 0)) {
            f->ascent = scaledUnits(hhea->Ascender, pixels, em);
            f->descent = -scaledUnits(hhea->Descender, pixels, em);
        }
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF) {
            if (os2->fsSelection & 0x80) {
                if (os2->sTypoAscender != 0 || os2->sTypoDescender != 0) {
                    f->ascent = scaledUnits(os2->sTypoAscender, pixels, em);
                    f->descent = -scaledUnits(os2->sTypoDescender, pixels, em);
                }
            } else if (os2->usWinAscent != 0 || os2->usWinDescent != 0) {
                f->ascent = scaledUnits(os2->usWinAscent, pixels, em);
                f->descent = scaledUnits(os2->usWinDescent, pixels, em);
            }
        }
        f->ascent = (f->ascent + 32) & -64;
        f->descent = (f->descent + 32) & -64;
    }
    faces[i] = std::move(f);
    return faces[i].get();
}

std::pair<Face *, FT_UInt> GlyphDrawer::Impl::glyphFor(char32_t c)
{
    Face *first = face(0);
    if (!first)
        return {nullptr, 0};
    const auto lookup = [](Face *f, char32_t ch) {
        FT_UInt g = FT_Get_Char_Index(f->face, ch);
        if (!g && (ch == 0xA0 || ch == 0x09))
            g = FT_Get_Char_Index(f->face, 0x20);
        return g;
    };
    if (const FT_UInt g = lookup(first, c))
        return {first, g};
    for (int i = 1; i < static_cast<int>(fonts.files.size()); ++i)
        if (Face *f = face(i))
            if (const FT_UInt g = lookup(f, c))
                return {f, g};
    return {first, 0};
}

const Glyph &GlyphDrawer::Impl::glyph(Face &f, FT_UInt index)
{
    const auto found = f.glyphs.find(index);
    if (found != f.glyphs.end())
        return found->second;
    Glyph &out = f.glyphs[index];
    FT_Int32 flags = FT_LOAD_DEFAULT;
    if (f.outlineDrawing)
        flags |= FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;
    else
        flags |= FT_LOAD_TARGET_MONO | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | (f.obliquen ? FT_LOAD_NO_BITMAP : 0);
    FT_Error err = FT_Load_Glyph(f.face, index, flags);
    if (err && (flags & FT_LOAD_NO_BITMAP))
        err = FT_Load_Glyph(f.face, index, flags & ~FT_LOAD_NO_BITMAP);
    if (err)
        return out;
    FT_GlyphSlot slot = f.face->glyph;
    if (f.embolden)
        FT_GlyphSlot_Embolden(slot);
    if (f.obliquen)
        FT_GlyphSlot_Oblique(slot);
    out.advance = roundedPixels(slot->advance.x);
    if (f.outlineDrawing) {
        outlineOf(f, index, out);
        return out;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return out;
    const FT_Bitmap &bm = slot->bitmap;
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bm.width);
    out.rows = static_cast<int>(bm.rows);
    out.pitch = (out.width + 7) / 8;
    out.bits.assign(static_cast<std::size_t>(out.pitch) * static_cast<std::size_t>(out.rows), 0);
    for (int y = 0; y < out.rows; ++y) {
        const unsigned char *src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        unsigned char *dst = out.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out.pitch);
        for (int x = 0; x < out.width; ++x) {
            bool on = false;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                on = (src[x >> 3] & (0x80 >> (x & 7))) != 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                on = src[x] >= 128;
            if (on)
                dst[x >> 3] = static_cast<unsigned char>(dst[x >> 3] | (0x80 >> (x & 7)));
        }
    }
    return out;
}

std::string substituteFamily(std::string_view family)
{
    if (family == "宋体" || family == "SimSun" || family == "新宋体" || family == "NSimSun")
        return kSongStandIn;
    return std::string(family);
}

GlyphDrawer::GlyphDrawer(const GlyphStyle &style)
    : d(std::make_unique<Impl>())
{
    d->style = style;
    d->asked = substituteFamily(style.family);
    d->pixels = std::max(pixelSize(style.pointSize), 1);
    if (FT_Init_FreeType(&d->library) != 0) {
        d->library = nullptr;
        return;
    }
    // FreeType leaves the stems of CFF outlines (Nimbus, the Noto CJK faces) as
    // they are; Qt darkens them, and words are drawn as Qt drew them.
    FT_Bool noStemDarkening = false;
    FT_Property_Set(d->library, "cff", "no-stem-darkening", &noStemDarkening);
    d->fonts = resolveFonts(d->asked, style.bold, style.italic);
    d->faces.resize(d->fonts.files.size());
    d->tried.assign(d->fonts.files.size(), false);
}

GlyphDrawer::~GlyphDrawer() = default;

int GlyphDrawer::pixelSize(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

int GlyphDrawer::textWidth(std::string_view utf8) const
{
    long width = 0;
    for (const char32_t c : codepoints(utf8)) {
        const auto [f, g] = d->glyphFor(c);
        if (f)
            width += d->glyph(*f, g).advance;
    }
    return static_cast<int>(std::clamp(width, 0L, static_cast<long>(INT32_MAX)));
}

int GlyphDrawer::textHeight() const
{
    Face *f = d->face(0);
    return f ? roundedPixels(f->ascent) + roundedPixels(f->descent) : 0;
}

InkGrid GlyphDrawer::inkGrid(std::string_view utf8) const
{
    Face *first = d->face(0);
    const int height = textHeight();
    const int width = textWidth(utf8);
    if (!first || width <= 0 || height <= 0)
        return InkGrid(0, std::max(height, 0));
    InkGrid grid(width, height);
    const int baseline = roundedPixels(first->ascent);
    int pen = 0;
    for (const char32_t c : codepoints(utf8)) {
        const auto [f, g] = d->glyphFor(c);
        const Glyph &glyph = d->glyph(*f, g);
        if (f->outlineDrawing) {
            fillPolygons(polygonsOf(glyph, {static_cast<double>(pen), static_cast<double>(baseline)}), grid);
            pen += glyph.advance;
            continue;
        }
        for (int y = 0; y < glyph.rows; ++y) {
            const int gy = baseline - glyph.top + y;
            if (gy < 0 || gy >= height)
                continue;
            const unsigned char *row = glyph.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.pitch);
            for (int x = 0; x < glyph.width; ++x)
                if (row[x >> 3] & (0x80 >> (x & 7)))
                    grid.setInk(pen + glyph.left + x, gy, true);
        }
        pen += glyph.advance;
    }
    if (d->style.underline) {
        // Small fonts put the underline below the descent; it is kept on the last rows.
        const int thickness = std::clamp(roundedPixels(first->underlineThickness), 1, height);
        const int top = std::clamp(baseline + roundedPixels(first->underlinePosition), 0, height - thickness);
        for (int y = top; y < top + thickness; ++y)
            for (int x = 0; x < width; ++x)
                grid.setInk(x, y, true);
    }
    return grid;
}

std::string GlyphDrawer::resolvedFamily() const { return d->fonts.resolved; }

bool GlyphDrawer::familyInstalled() const { return d->fonts.installed; }

} // namespace vomra
