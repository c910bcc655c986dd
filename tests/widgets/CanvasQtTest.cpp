// Round rectangles drawn pixel by pixel: the four corners mirror each other.
#include "WidgetTestSupport.h"
#include "widgets/Button.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

using namespace vomra;
using namespace vomra::test;

namespace {

constexpr TColor kPen = clRed;
constexpr TColor kBrush = clBlue;

QImage roundRectImage(int w, int h, int ew, int eh, PenStyle pen = PenStyle::Solid)
{
    QImage img = blankImage(w + 4, h + 4);
    QPainter painter(&img);
    Canvas canvas(painter);
    canvas.setPenColor(kPen);
    canvas.setPenStyle(pen);
    canvas.setBrushColor(kBrush);
    canvas.roundRect({2, 2, w + 2, h + 2}, ew, eh);
    return img;
}

// The top-left `n` x `n` pixels of a corner as rows of '.', 'o' (pen) and '#' (brush).
std::string corner(const QImage &img, int left, int top, bool flipX, bool flipY, int n)
{
    std::string out;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const TColor c = pixelAt(img, flipX ? left - x : left + x, flipY ? top - y : top + y);
            out += c == kPen ? 'o' : c == kBrush ? '#' : c == clWhite ? '.' : '?';
        }
        out += '/';
    }
    return out;
}

// The four corners of the shape in the box (left, top)-(right, bottom), each
// read from its own corner inwards.
std::array<std::string, 4> corners(const QImage &img, const QRect &box, int n)
{
    return {corner(img, box.left(), box.top(), false, false, n), corner(img, box.right(), box.top(), true, false, n),
            corner(img, box.left(), box.bottom(), false, true, n), corner(img, box.right(), box.bottom(), true, true, n)};
}

} // namespace

TEST(CanvasRoundRect, CornersFollowTheIntegerEllipseAndMirror)
{
    struct Row {
        const char *name;
        int w, h, ew, eh;
        const char *topLeft; // 4 x 4 pixels from the corner
    };
    const Row rows[] = {
        {"XP face", 40, 20, 6, 6, "..oo/.o##/o###/o###/"},
        {"hint box", 60, 30, 8, 8, "..oo/.o##/o###/o###/"},
        {"wide ellipse", 40, 20, 12, 4, "..oo/oo##/o###/o###/"},
        {"odd ellipse", 21, 11, 5, 5, ".ooo/o###/o###/o###/"},
        {"ellipse larger than the box", 8, 6, 20, 20, "..oo/.o##/o###/o###/"},
        {"square corners", 10, 10, 0, 0, "oooo/o###/o###/o###/"},
    };
    for (const Row &r : rows) {
        const QImage img = roundRectImage(r.w, r.h, r.ew, r.eh);
        const auto c = corners(img, QRect(2, 2, r.w, r.h), 4);
        EXPECT_EQ(c[0], r.topLeft) << r.name;
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(c[i], c[0]) << r.name << " corner " << i;
        // Nothing outside the box.
        EXPECT_EQ(inkBounds(img, clWhite), QRect(2, 2, r.w, r.h)) << r.name;
        // The straight edges are pen, the middle is brush.
        EXPECT_EQ(pixelAt(img, 2 + r.w / 2, 2), kPen) << r.name;
        EXPECT_EQ(pixelAt(img, 2, 2 + r.h / 2), kPen) << r.name;
        EXPECT_EQ(pixelAt(img, 2 + r.w / 2, 2 + r.h / 2), kBrush) << r.name;
    }
}

TEST(CanvasRoundRect, WithoutAPenTheShapeIsOnePixelSmallerAndAllBrush)
{
    const QImage img = roundRectImage(20, 10, 6, 6, PenStyle::Clear);
    EXPECT_EQ(inkBounds(img, clWhite), QRect(2, 2, 19, 9));
    const auto c = corners(img, QRect(2, 2, 19, 9), 3);
    EXPECT_EQ(c[0], "..#/.##/###/");
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(c[i], c[0]) << i;
}

TEST(CanvasRoundRect, XPButtonCornersMirror)
{
    TGWButton b;
    b.resize(75, 23);
    const auto pressedOrNot = [&b](bool pressed) {
        if (pressed)
            sendMouse(&b, QEvent::MouseButtonPress, {30, 10});
        const QImage img = b.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (pressed)
            sendMouse(&b, QEvent::MouseButtonRelease, {30, 10});
        return img;
    };
    for (bool pressed : {false, true}) {
        const QImage img = pressedOrNot(pressed);
        const TColor frame = RGB(0, 60, 116);
        const TColor erased = pixelAt(img, 0, 0);
        EXPECT_NE(erased, frame);
        // Each corner: the same pixels outside the frame, the frame on the same diagonal.
        for (auto [x, y] : {std::pair{0, 0}, std::pair{74, 0}, std::pair{0, 22}, std::pair{74, 22}}) {
            const int sx = x == 0 ? 1 : -1;
            const int sy = y == 0 ? 1 : -1;
            EXPECT_EQ(pixelAt(img, x, y), erased) << pressed << " " << x << "," << y;
            EXPECT_EQ(pixelAt(img, x + sx, y), erased) << pressed << " " << x << "," << y;
            EXPECT_EQ(pixelAt(img, x, y + sy), erased) << pressed << " " << x << "," << y;
            EXPECT_EQ(pixelAt(img, x + 2 * sx, y), frame) << pressed << " " << x << "," << y;
            EXPECT_EQ(pixelAt(img, x + sx, y + sy), frame) << pressed << " " << x << "," << y;
            EXPECT_EQ(pixelAt(img, x, y + 2 * sy), frame) << pressed << " " << x << "," << y;
        }
    }
}
