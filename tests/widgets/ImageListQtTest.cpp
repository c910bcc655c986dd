#include "support/ImageCheck.h"
#include "widgets/ImageList.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::blankImage;

namespace {

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

QImage drawn(const TGWImageList &list, int index, bool enabled)
{
    QImage img = blankImage(30, 30);
    QPainter painter(&img);
    Canvas canvas(painter);
    list.Draw(canvas, 5, 5, index, enabled);
    return img;
}

} // namespace

TEST(ImageList, AddKeepsTheListSizeAndCountsImages)
{
    TGWImageList list(20, 20);
    QSignalSpy changed(&list, &TGWImageList::changed);
    EXPECT_EQ(list.Add(solid(20, 20, Qt::red)), 0);
    EXPECT_EQ(list.Add(solid(40, 10, Qt::blue)), 1); // other sizes are fitted
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(changed.count(), 2);
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.image(i).size(), QSize(20, 20)) << i;
    EXPECT_EQ(list.image(1).pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_TRUE(list.image(2).isNull());
    EXPECT_TRUE(list.image(-1).isNull());
}

TEST(ImageList, DrawsEnabledOrGreyedAndNothingOutsideTheList)
{
    TGWImageList list(20, 20);
    list.Add(solid(20, 20, QColor(200, 40, 40)));
    const QImage on = drawn(list, 0, true);
    const QImage off = drawn(list, 0, false);
    EXPECT_EQ(on.pixelColor(5, 5), QColor(200, 40, 40));
    EXPECT_EQ(on.pixelColor(24, 24), QColor(200, 40, 40));
    EXPECT_EQ(on.pixelColor(25, 25), QColor(Qt::white)); // 20 pixels from x 5: 5..24
    const QColor grey = off.pixelColor(10, 10);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_NE(grey, on.pixelColor(10, 10));
    EXPECT_EQ(drawn(list, 1, true), blankImage(30, 30));
    EXPECT_EQ(drawn(list, -1, false), blankImage(30, 30));
}

TEST(ImageList, GreyedImageKeepsShapeAndOrderOfLevels)
{
    QImage img(3, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 0, 0, 255));
    img.setPixel(1, 0, qRgba(255, 255, 255, 255));
    img.setPixel(2, 0, qRgba(255, 0, 0, 0));
    const QImage g = greyedImage(img).convertToFormat(QImage::Format_ARGB32);
    const int dark = qRed(g.pixel(0, 0)), light = qRed(g.pixel(1, 0));
    EXPECT_LT(dark, light);
    EXPECT_GT(dark, 0);   // black is lifted: a greyed picture is never at full strength
    EXPECT_EQ(qAlpha(g.pixel(2, 0)), 0);
    EXPECT_EQ(qAlpha(g.pixel(0, 0)), 255);
}
