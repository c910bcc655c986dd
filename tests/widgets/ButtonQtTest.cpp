#include "WidgetTestSupport.h"
#include "widgets/Button.h"
#include "widgets/Functions.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

// A shown, active top-level window so that focus is real.
struct Window {
    QWidget top;
    Window()
    {
        top.resize(300, 200);
        top.show();
        top.activateWindow();
        (void)QTest::qWaitForWindowActive(&top);
    }
};

QImage shot(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

void key(QWidget *w, QEvent::Type type, int k)
{
    QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QString());
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST(Button, XPFaceLines)
{
    TGWButton b;
    b.resize(80, 23);
    const int W = 80, H = 23;
    const QImage img = shot(b);
    struct Px {
        int x, y;
        TColor c;
    };
    const Px pixels[] = {
        {10, 0, RGB(0, 60, 116)},           {0, 10, RGB(0, 60, 116)},          {1, 10, RGB(244, 244, 239)},
        {2, 10, RGB(245, 245, 241)},        {3, 10, RGB(243, 243, 239)},       {4, 10, RGB(242, 242, 237)},
        {W - 2, 10, RGB(232, 229, 222)},    {W - 3, 10, RGB(236, 236, 229)},   {W - 4, 10, RGB(242, 242, 237)},
        {W - 5, 10, RGB(243, 243, 238)},    {10, 1, RGB(255, 255, 255)},       {10, 2, RGB(254, 254, 254)},
        {10, 3, RGB(252, 252, 251)},        {10, 4, RGB(250, 250, 249)},       {W - 2, 4, RGB(250, 250, 249)},
        {10, 5, RGB(248, 248, 246)},        {10, H - 2, RGB(214, 208, 197)},   {10, H - 3, RGB(226, 223, 214)},
        {10, H - 4, RGB(236, 235, 230)},    {10, H - 5, RGB(240, 240, 234)},   {W - 2, H - 5, RGB(240, 240, 234)},
        {10, H - 6, RGB(236, 236, 230)},    {10, 10, RGB(243, 243, 239)},      {W - 1, 10, RGB(0, 60, 116)},
        {5, H - 7, RGB(243, 243, 239)},     {W - 6, 6, RGB(243, 243, 239)},
    };
    for (const Px &p : pixels)
        EXPECT_EQ(pixelAt(img, p.x, p.y), p.c) << p.x << "," << p.y;

    b.setEnabled(false);
    const QImage off = shot(b);
    EXPECT_EQ(pixelAt(off, 10, 10), RGB(245, 244, 234));
    EXPECT_EQ(pixelAt(off, 10, 0), RGB(201, 199, 186));
}

TEST(Button, XPHotAndFocusEdges)
{
    Window win;
    auto *b = new TGWButton(&win.top);
    b->resize(80, 23);
    b->show();
    const int W = 80, H = 23;

    sendEnter(b);
    const QImage hot = shot(*b);
    const auto hotRamp = edgeRamp(RGB(253, 216, 137), RGB(238, 151, 0), H);
    EXPECT_EQ(pixelAt(hot, 10, 1), RGB(253, 216, 137));
    EXPECT_EQ(pixelAt(hot, 1, 2), RGB(253, 216, 137));
    for (int y = 3; y <= H - 4; ++y) {
        const TColor c = hotRamp[static_cast<std::size_t>(y - 3)];
        for (int x : {1, 3, W - 4, W - 2})
            EXPECT_EQ(pixelAt(hot, x, y), c) << x << "," << y;
    }
    EXPECT_EQ(pixelAt(hot, 2, H - 4), RGB(238, 151, 0));
    EXPECT_EQ(pixelAt(hot, 10, H - 2), RGB(229, 151, 0));
    EXPECT_EQ(pixelAt(hot, 10, H - 3), RGB(229, 151, 0));
    EXPECT_EQ(pixelAt(hot, 4, 10), RGB(242, 242, 237)); // the face shows beside the edge

    // Focus while hot: the focus edge is not shown.
    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    EXPECT_EQ(pixelAt(shot(*b), 10, 1), RGB(253, 216, 137));

    sendLeave(b);
    const QImage focus = shot(*b);
    const auto focusRamp = edgeRamp(RGB(206, 231, 255), RGB(137, 173, 228), H);
    EXPECT_EQ(pixelAt(focus, 10, 1), RGB(206, 231, 255));
    for (int y = 3; y <= H - 4; ++y)
        EXPECT_EQ(pixelAt(focus, 2, y), focusRamp[static_cast<std::size_t>(y - 3)]) << y;
    EXPECT_EQ(pixelAt(focus, 10, H - 3), RGB(137, 173, 228));
    EXPECT_EQ(pixelAt(focus, 10, H - 2), RGB(105, 130, 238));
}

TEST(Button, SideLinesAndPressedFaces)
{
    TGWButton b;
    b.resize(60, 20);
    b.setButtonStyle(gwbsStandard);
    b.setColor(clWhite);
    b.setTopLineColor(clRed);
    b.setLeftLineColor(clLime);
    b.setBottomLineColor(clBlue);
    b.setRightLineColor(clYellow);
    QImage up = shot(b);
    EXPECT_EQ(pixelAt(up, 30, 0), clRed);
    EXPECT_EQ(pixelAt(up, 0, 10), clLime);
    EXPECT_EQ(pixelAt(up, 30, 19), clBlue);
    EXPECT_EQ(pixelAt(up, 59, 10), clYellow);
    EXPECT_EQ(pixelAt(up, 30, 10), clWhite);

    sendMouse(&b, QEvent::MouseButtonPress, {30, 10});
    ASSERT_TRUE(b.MousePressed());
    const QImage down = shot(b);
    EXPECT_EQ(pixelAt(down, 30, 0), clBlue);
    EXPECT_EQ(pixelAt(down, 0, 10), clYellow);
    EXPECT_EQ(pixelAt(down, 30, 19), clRed);
    EXPECT_EQ(pixelAt(down, 59, 10), clLime);
    sendMouse(&b, QEvent::MouseButtonRelease, {30, 10});

    // Flat: no lines until the mouse is over it.
    b.setButtonStyle(gwbsFlat);
    sendLeave(&b);
    EXPECT_EQ(pixelAt(shot(b), 30, 0), clWhite);
    sendEnter(&b);
    EXPECT_EQ(pixelAt(shot(b), 30, 0), clRed);

    TGWButton xp;
    xp.resize(60, 20);
    sendMouse(&xp, QEvent::MouseButtonPress, {30, 10});
    EXPECT_EQ(pixelAt(shot(xp), 30, 10), RGB(226, 223, 214));
    EXPECT_EQ(pixelAt(shot(xp), 30, 0), RGB(0, 60, 116));
}

TEST(Button, AcceleratorCaptionIsDrawnAndMeasuredWithoutTheMarker)
{
    TGWButton marked, plain;
    for (TGWButton *b : {&marked, &plain}) {
        b->setButtonStyle(gwbsFlat);
        b->setColor(clWhite);
        b->setFont(testFont());
        b->resize(120, 40);
    }
    marked.setCaption(QStringLiteral("打开(&O)"));
    plain.setCaption(QStringLiteral("打开(O)"));
    const QImage a = shot(marked);
    const QImage b = shot(plain);
    const QFontMetrics fm(testFont());
    EXPECT_EQ(marked.CaptionWidth(), fm.horizontalAdvance(QStringLiteral("打开(O)")));
    EXPECT_EQ(marked.CaptionWidth(), plain.CaptionWidth());

    // The two drawings differ only in the underline below the O.
    const int x = (120 - marked.CaptionWidth()) / 2;
    const int y = (40 - marked.CaptionHeight()) / 2;
    const int ox = x + fm.horizontalAdvance(QStringLiteral("打开("));
    const int ow = fm.horizontalAdvance(QStringLiteral("O"));
    const int uy = y + fm.height() + 1;
    QRect diff;
    for (int yy = 0; yy < 40; ++yy)
        for (int xx = 0; xx < 120; ++xx)
            if (a.pixel(xx, yy) != b.pixel(xx, yy))
                diff |= QRect(xx, yy, 1, 1);
    EXPECT_EQ(diff, QRect(ox, uy, ow, 1));
    EXPECT_EQ(pixelAt(a, ox, uy), clBlack);
}

TEST(CheckBox, PictureFollowsTheState)
{
    TGWCheckBox c;
    c.resize(100, 21);
    const int top = (21 - 13) / 2;
    auto pictureShown = [&](bool radio) {
        const QImage img = shot(c).copy(0, top, 13, 13);
        for (int n = 1; n <= 8; ++n) {
            QImage expected(13, 13, QImage::Format_RGB32);
            expected.fill(Canvas::qcolor(c.Color()));
            QPainter p(&expected);
            p.drawImage(0, 0, checkPicture(radio, n));
            p.end();
            if (expected == img)
                return n;
        }
        return 0;
    };
    EXPECT_EQ(pictureShown(false), 1);
    sendEnter(&c);
    EXPECT_EQ(pictureShown(false), 4);
    sendMouse(&c, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(pictureShown(false), 2);
    sendMouse(&c, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(pictureShown(false), 5); // checked now, still hot
    sendLeave(&c);
    EXPECT_EQ(pictureShown(false), 3);

    // Disabled: 7 / 8 whatever the mouse does.
    c.setEnabled(false);
    EXPECT_EQ(pictureShown(false), 8);
    sendEnter(&c);
    EXPECT_EQ(pictureShown(false), 8);
    sendMouse(&c, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(pictureShown(false), 8);
    sendMouse(&c, QEvent::MouseButtonRelease, {5, 5});
    c.setChecked(false);
    EXPECT_EQ(pictureShown(false), 7);
}

TEST(CheckBox, PicturesAreDrawnToTheirDescription)
{
    const QImage normal = checkPicture(false, 1);
    ASSERT_EQ(normal.size(), QSize(13, 13));
    EXPECT_EQ(pixelAt(normal, 0, 6), RGB(28, 81, 128));
    EXPECT_EQ(pixelAt(checkPicture(false, 7), 0, 6), RGB(202, 200, 187));
    EXPECT_EQ(pixelAt(checkPicture(false, 7), 6, 6), clWhite);
    EXPECT_TRUE(hasColor(checkPicture(false, 3), RGB(33, 161, 33)));
    EXPECT_FALSE(hasColor(checkPicture(false, 1), RGB(33, 161, 33)));
    // Light diagonal face: darker at the top left than at the bottom right.
    EXPECT_LT(qGray(normal.pixel(1, 1)), qGray(normal.pixel(11, 11)));

    // Radio pictures lose their red corners.
    const QImage radio = checkPicture(true, 3);
    EXPECT_EQ(qAlpha(radio.pixel(0, 12)), 0);
    EXPECT_EQ(qAlpha(radio.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(radio.pixel(6, 6)), 255);
    EXPECT_EQ(pixelAt(radio, 6, 6), RGB(33, 161, 33));
    TGWRadioButton r;
    r.resize(100, 13);
    r.setColor(clYellow);
    EXPECT_EQ(pixelAt(shot(r), 0, 0), clYellow);
    EXPECT_EQ(pixelAt(shot(r), 6, 0), RGB(28, 81, 128));
}

TEST(CheckBox, ClickOrderByMouseEnterAndSpace)
{
    struct Row {
        const char *name;
        std::function<void(TGWCheckBox *)> act;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"mouse",
         [](TGWCheckBox *c) {
             sendMouse(c, QEvent::MouseButtonPress, {5, 5});
             sendMouse(c, QEvent::MouseButtonRelease, {5, 5});
         },
         {"click 0", "checked 1"}},
        {"enter", [](TGWCheckBox *c) { key(c, QEvent::KeyPress, Qt::Key_Return); }, {"checked 1", "click 1"}},
        {"space",
         [](TGWCheckBox *c) {
             key(c, QEvent::KeyPress, Qt::Key_Space);
             key(c, QEvent::KeyRelease, Qt::Key_Space);
         },
         {"checked 1", "click 1"}},
        {"press, leave, release outside",
         [](TGWCheckBox *c) {
             sendMouse(c, QEvent::MouseButtonPress, {5, 5});
             sendMouse(c, QEvent::MouseMove, {300, 300});
             sendMouse(c, QEvent::MouseButtonRelease, {300, 300});
         },
         {}},
        {"right button", [](TGWCheckBox *c) {
             sendMouse(c, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
             sendMouse(c, QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
         },
         {}},
    };
    for (const Row &row : rows) {
        TGWCheckBox c;
        c.resize(100, 20);
        std::vector<std::string> log;
        c.OnClick = [&](QObject *) { log.push_back(c.Checked() ? "click 1" : "click 0"); };
        c.OnChecked = [&](QObject *) { log.push_back(c.Checked() ? "checked 1" : "checked 0"); };
        row.act(&c);
        EXPECT_EQ(log, row.expected) << row.name;
        EXPECT_FALSE(c.MousePressed()) << row.name;
        EXPECT_FALSE(c.KeyPressed()) << row.name;
    }
}

TEST(CheckBox, FaceReturnsToNormalWhenThePressedMouseLeaves)
{
    TGWCheckBox c;
    c.resize(100, 20);
    sendMouse(&c, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(checkPictureNumber({true, false, false, c.MousePressed(), c.MouseHot()}), 2);
    sendMouse(&c, QEvent::MouseMove, {300, 5});
    EXPECT_FALSE(c.MouseHot());
    EXPECT_EQ(checkPictureNumber({true, false, false, c.MousePressed(), c.MouseHot()}), 1);
    const QImage img = shot(c);
    QImage one(13, 13, QImage::Format_RGB32);
    one.fill(Canvas::qcolor(c.Color()));
    QPainter(&one).drawImage(0, 0, checkPicture(false, 1));
    EXPECT_EQ(img.copy(0, (20 - 13) / 2, 13, 13), one);
}

TEST(RadioButton, GroupAndOnChecked)
{
    QWidget parent, other;
    TGWRadioButton a(&parent), b(&parent), c(&parent), elsewhere(&other);
    TGWCheckBox box(&parent);
    box.setChecked(true);
    elsewhere.setChecked(true);
    int checkedEvents = 0;
    b.OnChecked = [&](QObject *) { ++checkedEvents; };

    // In code: exclusive, but silent.
    a.setChecked(true);
    b.setChecked(true);
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_EQ(checkedEvents, 0);

    c.setChecked(true);
    EXPECT_FALSE(b.Checked());
    for (int round = 1; round <= 2; ++round) {
        sendMouse(&b, QEvent::MouseButtonPress, {3, 3});
        sendMouse(&b, QEvent::MouseButtonRelease, {3, 3});
        EXPECT_TRUE(b.Checked());
        EXPECT_FALSE(a.Checked());
        EXPECT_FALSE(c.Checked());
        EXPECT_EQ(checkedEvents, round); // a checked radio clicked again fires once more
    }
    EXPECT_TRUE(box.Checked());       // check boxes are not in the group
    EXPECT_TRUE(elsewhere.Checked()); // another parent, another group

    // Setting false leaves the others alone.
    b.setChecked(false);
    EXPECT_FALSE(a.Checked() || b.Checked() || c.Checked());
}

TEST(Button, PushButtonClickAndAccelerator)
{
    Window win;
    auto *b = new TGWButton(&win.top);
    auto *other = new TGWButton(&win.top);
    other->move(0, 40);
    b->setCaption(QStringLiteral("打开(&O)"));
    b->show();
    other->show();
    other->setFocus();
    int clicks = 0;
    b->OnClick = [&](QObject *) { ++clicks; };

    QTest::keyClick(&win.top, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(b->hasFocus()); // first only takes the focus
    EXPECT_EQ(clicks, 0);
    QTest::keyClick(&win.top, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);

    b->setEnabled(false);
    QTest::keyClick(&win.top, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    b->setEnabled(true);

    // Focus lost while space is held: no click when it comes up.
    b->setFocus();
    key(b, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(b->KeyPressed());
    other->setFocus();
    EXPECT_FALSE(b->KeyPressed());
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
}

TEST(Button, LineColourSettersRepaintOnlyOutsideTheXPLook)
{
    TGWButton b;
    b.resize(60, 20);
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    PaintCounter counter(&b);
    QTest::qWait(20);
    counter.count = 0;
    b.setTopLineColor(clRed);
    b.setShowSideLine(false);
    QApplication::processEvents();
    EXPECT_EQ(counter.count, 0);
    b.setButtonStyle(gwbsStandard);
    QApplication::processEvents();
    const int afterStyle = counter.count;
    b.setTopLineColor(clBlue);
    QApplication::processEvents();
    EXPECT_GT(counter.count, afterStyle);

    // Caption colours repaint at once only while disabled.
    const int before = counter.count;
    b.setMouseEnterColor(clRed);
    QApplication::processEvents();
    EXPECT_EQ(counter.count, before);
    b.setEnabled(false);
    QApplication::processEvents();
    const int disabled = counter.count;
    b.setDisableColor(clRed);
    QApplication::processEvents();
    EXPECT_GT(counter.count, disabled);
}
