#include "WidgetTestSupport.h"
#include "widgets/Functions.h"
#include "widgets/ImageLabel.h"
#include "widgets/ImageList.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

constexpr TColor kUp = clRed;
constexpr TColor kDown = clBlue;
constexpr TColor kEnter = clLime;
constexpr TColor kDisable = clYellow;

struct LabelFixture : ::testing::Test {
    QWidget host;
    TGWImageList images{20, 20};
    TGWImageLabel *label = nullptr;

    void SetUp() override
    {
        for (TColor c : {kUp, kDown, kEnter, kDisable})
            images.Add(solidImage(20, 20, Canvas::qcolor(c)));
        host.resize(200, 60);
        label = new TGWImageLabel(&host);
        label->setFont(testFont());
        label->setColor(clWhite);
        label->setGeometry(0, 0, 128, 25);
    }
    void useImages()
    {
        label->setImages(&images);
        label->setImgUpIdx(0);
        label->setImgDownIdx(1);
        label->setImgEnterIdx(2);
        label->setImgDisableIdx(3);
    }
    // Where the ink of `text` starts when drawn at x = 0 in the label's font.
    int inkOffset(const QString &text)
    {
        QImage img = blankImage(200, 40);
        QPainter painter(&img);
        Canvas canvas(painter);
        canvas.setFont(testFont());
        canvas.setBrushStyle(BrushStyle::Clear);
        DrawAccelText(canvas, 0, 0, text);
        painter.end();
        return inkBounds(img, clWhite).left();
    }
};

} // namespace

TEST_F(LabelFixture, ImageAtFourOneAndCaptionFromTwentySix)
{
    useImages();
    label->setCaption(QStringLiteral("&X"));
    const QImage img = label->grab().toImage();
    EXPECT_EQ(label->size(), QSize(128, 25));
    EXPECT_EQ(pixelAt(img, 4, 1), kUp);
    EXPECT_EQ(pixelAt(img, 23, 20), kUp);
    EXPECT_EQ(pixelAt(img, 3, 1), clWhite);
    EXPECT_EQ(pixelAt(img, 4, 0), clWhite);
    EXPECT_EQ(pixelAt(img, 24, 1), clWhite);
    EXPECT_EQ(pixelAt(img, 4, 21), clWhite);

    const QRect ink = inkBounds(img, clWhite, QRect(24, 0, 104, 25));
    EXPECT_EQ(ink.left(), 26 + inkOffset(QStringLiteral("X")));
    // The accelerator character is underlined: one row of ink under it, as wide
    // as the character, at y + text height + 1 with the caption vertically centred.
    const int h = QFontMetrics(testFont()).height();
    const int underline = (25 - h) / 2 - 1 + h + 1;
    const int w = QFontMetrics(testFont()).horizontalAdvance(QStringLiteral("X"));
    EXPECT_EQ(pixelAt(img, 26, underline), clBlack);
    EXPECT_EQ(pixelAt(img, 26 + w - 1, underline), clBlack);
    EXPECT_EQ(pixelAt(img, 26 + w, underline), clWhite);
}

TEST_F(LabelFixture, IndexMinusOneDrawsNothingButKeepsTheCaptionPlace)
{
    useImages();
    label->setImgUpIdx(-1);
    label->setCaption(QStringLiteral("X"));
    const QImage img = label->grab().toImage();
    EXPECT_EQ(pixelAt(img, 10, 10), clWhite);
    EXPECT_EQ(inkBounds(img, clWhite).left(), 26 + inkOffset(QStringLiteral("X")));
}

TEST_F(LabelFixture, CentredCaptionSitsOnePixelLeftOfCentre)
{
    label->setCaption(QStringLiteral("W"));
    label->setAlignment(gwaCenter);
    const int w = QFontMetrics(testFont()).horizontalAdvance(QStringLiteral("W"));
    const QImage img = label->grab().toImage();
    // No images: the caption box starts at x = 4.
    EXPECT_EQ(inkBounds(img, clWhite).left(), 4 + (124 - w) / 2 - 1 + inkOffset(QStringLiteral("W")));

    label->setAlignment(gwaRightJustify);
    const QImage right = label->grab().toImage();
    EXPECT_EQ(inkBounds(right, clWhite).left(), 128 - w + inkOffset(QStringLiteral("W")));
}

TEST_F(LabelFixture, BackgroundPlainGradientOrTransparent)
{
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, Canvas::qcolor(clTeal));
    host.setPalette(pal);
    host.setAutoFillBackground(true);

    label->setColor(RGB(10, 20, 30));
    EXPECT_EQ(pixelAt(host.grab().toImage(), 60, 12), RGB(10, 20, 30));

    label->setGradualColor(true);
    QImage img = host.grab().toImage();
    const auto across = gradientColors(RGB(109, 207, 246), clWhite, 128);
    for (int x : {0, 1, 64, 127})
        EXPECT_EQ(pixelAt(img, x, 20), across[static_cast<std::size_t>(x)]) << x;

    label->setGradualHorizontal(false);
    label->setColorLeftTop(clBlack);
    label->setColorRightBottom(clRed);
    img = host.grab().toImage();
    const auto down = gradientColors(clBlack, clRed, 25);
    for (int y : {0, 12, 24})
        EXPECT_EQ(pixelAt(img, 100, y), down[static_cast<std::size_t>(y)]) << y;

    label->setTransparent(true);
    img = host.grab().toImage();
    EXPECT_EQ(pixelAt(img, 60, 12), clTeal);
    EXPECT_EQ(pixelAt(img, 127, 24), clTeal);
}

TEST_F(LabelFixture, ImageFollowsHotAndPressed)
{
    useImages();
    auto shown = [&] { return pixelAt(label->grab().toImage(), 10, 10); };
    EXPECT_EQ(shown(), kUp);
    sendEnter(label);
    EXPECT_TRUE(label->isHot());
    EXPECT_EQ(shown(), kEnter);
    sendMouse(label, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(shown(), kDown);
    // Dragged off while held: pressed but not hot shows the normal image.
    sendMouse(label, QEvent::MouseMove, {5, 80});
    EXPECT_TRUE(label->isPressed());
    EXPECT_FALSE(label->isHot());
    EXPECT_EQ(shown(), kUp);
    sendMouse(label, QEvent::MouseMove, {5, 5});
    EXPECT_EQ(shown(), kDown);
    sendMouse(label, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_FALSE(label->isPressed());
    EXPECT_EQ(shown(), kEnter);
    sendLeave(label);
    EXPECT_EQ(shown(), kUp);
    // A right-button press does not press the label.
    sendMouse(label, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    EXPECT_FALSE(label->isPressed());
    sendMouse(label, QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
    label->setEnabled(false);
    EXPECT_EQ(shown(), kDisable);
}

TEST_F(LabelFixture, ClickOnlyWhenReleasedOnTheLabel)
{
    int clicks = 0;
    QObject *sender = nullptr;
    label->OnClick = [&](QObject *s) {
        ++clicks;
        sender = s;
    };
    sendMouse(label, QEvent::MouseButtonPress, {5, 5});
    sendMouse(label, QEvent::MouseButtonRelease, {5, 50});
    EXPECT_EQ(clicks, 0);
    sendMouse(label, QEvent::MouseButtonPress, {5, 5});
    sendMouse(label, QEvent::MouseButtonRelease, {6, 6});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, label);
}

TEST_F(LabelFixture, EnterAndLeaveNotifyOncePerCrossing)
{
    int enters = 0;
    int leaves = 0;
    label->OnMouseEnter = [&](QObject *) { ++enters; };
    label->OnMouseLeave = [&](QObject *) { ++leaves; };
    sendEnter(label);
    sendMouse(label, QEvent::MouseButtonPress, {5, 5});
    sendMouse(label, QEvent::MouseMove, {5, 90});
    sendMouse(label, QEvent::MouseMove, {5, 91});
    sendMouse(label, QEvent::MouseButtonRelease, {5, 91});
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(LabelFixture, HotFontAndDisabledFontAndShadow)
{
    label->setCaption(QStringLiteral("MMM"));
    label->setCaptionShadow(true);
    label->setCaptionShadowColor(clRed);
    TGWFont hot = label->MouseEnterFont();
    hot.color = clBlue;
    label->setMouseEnterFont(hot);

    QImage img = label->grab().toImage();
    EXPECT_TRUE(hasColor(img, clRed));
    EXPECT_TRUE(hasColor(img, clBlack));
    EXPECT_FALSE(hasColor(img, clBlue));

    sendEnter(label);
    img = label->grab().toImage();
    EXPECT_TRUE(hasColor(img, clBlue));
    EXPECT_FALSE(hasColor(img, clBlack));

    sendLeave(label);
    label->setEnabled(false);
    img = label->grab().toImage();
    EXPECT_TRUE(hasColor(img, RGB(161, 161, 146)));
    EXPECT_FALSE(hasColor(img, clRed)); // no shadow while disabled
}

TEST_F(LabelFixture, ShadowIsOffsetByItsSpace)
{
    label->setCaption(QStringLiteral("I"));
    label->setFontColor(clWhite); // only the shadow shows
    label->setCaptionShadow(true);
    label->setCaptionShadowColor(clRed);
    const QRect one = inkBounds(label->grab().toImage(), clWhite);
    label->setCaptionShadowSpace(3);
    const QRect three = inkBounds(label->grab().toImage(), clWhite);
    // The shadow's box is (x + space, space, width, height), centred vertically in
    // what is left of the height.
    const int h = QFontMetrics(testFont()).height();
    auto top = [h](int space) { return space + (25 - space - h) / 2 - 1; };
    EXPECT_EQ(three.left() - one.left(), 2);
    EXPECT_EQ(three.top() - one.top(), top(3) - top(1));
}

TEST_F(LabelFixture, RefreshPaintsAtOnceDirectlyOrThroughTheParent)
{
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QApplication::processEvents();
    PaintCounter own(label);
    PaintCounter parent(&host);

    label->setSpacing(5);
    EXPECT_EQ(own.count, 1); // synchronous, no event loop turn needed
    EXPECT_EQ(parent.count, 0);

    label->setMouseEnterFont(label->MouseEnterFont()); // fonts are copied without a redraw
    EXPECT_EQ(own.count, 1);

    label->setTransparent(true);
    own.count = parent.count = 0;
    label->setImgUpIdx(3);
    EXPECT_EQ(parent.count, 1); // what lies behind is painted first
    EXPECT_EQ(own.count, 1);

    own.count = parent.count = 0;
    label->setAlignment(gwaCenter); // the label's own setters always go through the parent
    EXPECT_EQ(parent.count, 1);
}

TEST_F(LabelFixture, AcceleratorFocusesFocusControl)
{
    auto *edit = new QLineEdit(&host);
    edit->setGeometry(0, 30, 100, 20);
    auto *other = new QLineEdit(&host);
    other->setGeometry(100, 30, 100, 20);
    label->setCaption(QStringLiteral("名称(&N)"));
    label->setFocusControl(edit);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    other->setFocus();
    QTest::keyClick(&host, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    // Without a focus control the key does nothing.
    other->setFocus();
    label->setFocusControl(nullptr);
    QTest::keyClick(&host, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus());

    // A deleted focus control is forgotten.
    label->setFocusControl(edit);
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
}
