#include "artwork/Artwork.h"
#include "artwork/ArtworkPaint.h"

#include <QColor>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

using namespace vomra;

namespace {

int opaquePixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 128;
    return n;
}

bool isGrey(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = QColor::fromRgba(img.pixel(x, y));
            if (c.alpha() > 0 && (std::abs(c.red() - c.green()) > 2 || std::abs(c.green() - c.blue()) > 2))
                return false;
        }
    return true;
}

// Mean brightness (0-255) of a rectangle of an opaque picture.
double meanLevel(const QImage &img, const QRect &r)
{
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += qGray(img.pixel(x, y));
    return sum / (r.width() * r.height());
}

int maxChannelDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

} // namespace

TEST(Artwork, ImageListsHaveTheirSizesCountsAndNames)
{
    const struct {
        TGWImageList *(*create)(QObject *);
        const char *name;
        int size;
        int count;
    } lists[] = {
        {createImageList1, "ImageList1", 20, il1Count},
        {createImageList2, "ImageList2", 48, il2Count},
        {createImageList3, "ImageList3", 24, il3Count},
    };
    for (const auto &l : lists) {
        SCOPED_TRACE(l.name);
        std::unique_ptr<TGWImageList> list(l.create(nullptr));
        EXPECT_EQ(list->objectName(), QLatin1String(l.name));
        EXPECT_EQ(list->Width(), l.size);
        EXPECT_EQ(list->Height(), l.size);
        ASSERT_EQ(list->Count(), l.count);
        for (int i = 0; i < list->Count(); ++i) {
            EXPECT_EQ(list->image(i).size(), QSize(l.size, l.size)) << i;
            // a picture, not an empty cell, and not a filled square either
            const int ink = opaquePixels(list->image(i));
            EXPECT_GT(ink, l.size * l.size / 8) << "index " << i;
            EXPECT_LT(ink, l.size * l.size) << "index " << i;
        }
    }
}

TEST(Artwork, EveryPictureIsItsOwn)
{
    std::unique_ptr<TGWImageList> l1(createImageList1(nullptr));
    std::unique_ptr<TGWImageList> l3(createImageList3(nullptr));
    for (int i = 0; i < l1->Count(); ++i)
        for (int j = i + 1; j < l1->Count(); ++j)
            EXPECT_NE(l1->image(i), l1->image(j)) << i << " and " << j;
    // normal pictures of different tools differ, and each tool's states differ
    for (int i = 0; i < l3->Count(); i += 3) {
        for (int j = i + 3; j < l3->Count(); j += 3)
            EXPECT_NE(l3->image(i), l3->image(j)) << i << " and " << j;
        EXPECT_NE(l3->image(i), l3->image(i + 1)) << "mouse over of " << i;
        EXPECT_NE(l3->image(i), l3->image(i + 2)) << "pressed of " << i;
        EXPECT_NE(l3->image(i + 1), l3->image(i + 2)) << "states of " << i;
    }
}

TEST(Artwork, EditMenuPairsAreGreyThenColoured)
{
    std::unique_ptr<TGWImageList> l1(createImageList1(nullptr));
    for (int index : {il1Cut, il1Copy, il1Paste, il1Delete, il1SelectAll}) {
        EXPECT_TRUE(isGrey(l1->image(index))) << index;
        EXPECT_FALSE(isGrey(l1->image(index + 1))) << index + 1;
        // the same drawing: both cover the same pixels
        EXPECT_EQ(opaquePixels(l1->image(index)), opaquePixels(l1->image(index + 1))) << index;
    }
    for (int index = 0; index < il1Cut; ++index)
        EXPECT_FALSE(isGrey(l1->image(index))) << index;
}

TEST(Artwork, DisabledToolLooksUnavailable)
{
    std::unique_ptr<TGWImageList> l3(createImageList3(nullptr));
    for (int i = 0; i < l3->Count(); i += 3) {
        const QImage on = l3->image(i), off = l3->disabledImage(i);
        EXPECT_NE(on, off) << i;
        EXPECT_TRUE(isGrey(off)) << i;
        EXPECT_EQ(opaquePixels(on), opaquePixels(off)) << i;
    }
}

TEST(Artwork, SplashIsStoredAtItsSizeWithRoomForTheLinks)
{
    const QImage splash = splashPicture();
    ASSERT_EQ(splash.size(), QSize(400, 240));
    // The link labels are black (blue when hovered) text at (8, 202) and
    // (234, 216): the ground under them must be light, the title area dark.
    EXPECT_GT(meanLevel(splash, QRect(8, 202, 150, 16)), 215);
    EXPECT_GT(meanLevel(splash, QRect(234, 216, 160, 16)), 215);
    for (int x : {8, 100, 234, 390})
        EXPECT_GT(qGray(splash.pixel(x, 230)), 200) << x;
    EXPECT_LT(meanLevel(splash, QRect(0, 0, 400, 180)), 140);
    // The stored JPEG is the painted picture, give or take compression.
    const QImage painted = artwork::paintSplash();
    double diff = 0;
    for (int y = 0; y < 240; y += 3)
        for (int x = 0; x < 400; x += 3)
            diff += std::abs(qGray(painted.pixel(x, y)) - qGray(splash.pixel(x, y)));
    EXPECT_LT(diff / (134 * 80), 6);
}

TEST(Artwork, StoredIconsMatchTheDrawing)
{
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage stored(QStringLiteral(":/icons/vomra-%1.png").arg(size));
        ASSERT_EQ(stored.size(), QSize(size, size));
        EXPECT_LE(maxChannelDifference(stored, artwork::paintAppIcon(size)), 2);
    }
    EXPECT_EQ(appIconImage(24).size(), QSize(24, 24));
    EXPECT_FALSE(appIcon().isNull());
    EXPECT_EQ(appIcon().availableSizes().size(), 7);
}
