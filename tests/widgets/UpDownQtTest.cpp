#include "WidgetTestSupport.h"
#include "widgets/FlatControls.h"
#include "widgets/UpDown.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

QImage shot(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

void pressKey(QWidget *w, int k)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Every arrow pixel of one arrow in `colour`, and its row's open centre left in `fill`.
void expectArrow(const QImage &img, TColor colour, bool second, bool pushed)
{
    for (const ArrowRun &run : upDownArrow(udVertical, img.width(), img.height(), second, pushed))
        for (int x = run.from; x <= run.to; ++x)
            EXPECT_EQ(pixelAt(img, x, run.line), colour) << x << "," << run.line;
}

} // namespace

TEST(UpDown, ColoursAndArrowsPerState)
{
    TGWUpDown u;
    u.resize(17, 25);
    const int c = 8;
    QImage img = shot(u);
    // Halves: rows 0..12 and 13..24, each framed.
    EXPECT_EQ(pixelAt(img, 0, 0), RGB(116, 130, 163));
    EXPECT_EQ(pixelAt(img, 3, 12), RGB(116, 130, 163));
    EXPECT_EQ(pixelAt(img, 3, 13), RGB(116, 130, 163));
    EXPECT_EQ(pixelAt(img, 2, 2), RGB(240, 240, 240));
    EXPECT_EQ(pixelAt(img, 2, 15), RGB(240, 240, 240));
    // First arrow from row 25/4 - 1 = 5; the fourth row's centre is empty.
    expectArrow(img, RGB(116, 130, 163), false, false);
    EXPECT_EQ(pixelAt(img, c, 5), RGB(116, 130, 163));
    EXPECT_EQ(pixelAt(img, c, 4), RGB(240, 240, 240));
    EXPECT_EQ(pixelAt(img, c, 8), RGB(240, 240, 240));
    EXPECT_EQ(pixelAt(img, c - 4, 8), RGB(240, 240, 240));
    EXPECT_EQ(pixelAt(img, c + 4, 8), RGB(240, 240, 240));
    // Second arrow mirrored from row 12 + 6 - 1 = 17, its open row first.
    expectArrow(img, RGB(116, 130, 163), true, false);
    EXPECT_EQ(pixelAt(img, c, 17), RGB(240, 240, 240));
    EXPECT_EQ(pixelAt(img, c, 20), RGB(116, 130, 163));

    sendMouse(&u, QEvent::MouseMove, {c, 3});
    EXPECT_TRUE(u.FirstHot());
    img = shot(u);
    EXPECT_EQ(pixelAt(img, 2, 2), RGB(220, 220, 220));
    EXPECT_EQ(pixelAt(img, 0, 0), RGB(96, 110, 143));
    expectArrow(img, RGB(96, 110, 143), false, false);
    EXPECT_EQ(pixelAt(img, 2, 15), RGB(240, 240, 240)); // the other half unchanged

    sendMouse(&u, QEvent::MouseButtonPress, {c, 3});
    img = shot(u);
    EXPECT_EQ(pixelAt(img, 2, 2), RGB(200, 200, 200));
    EXPECT_EQ(pixelAt(img, 0, 0), RGB(76, 90, 123));
    expectArrow(img, RGB(76, 90, 123), false, true); // one row higher
    EXPECT_EQ(pixelAt(img, c, 4), RGB(76, 90, 123));
    sendMouse(&u, QEvent::MouseButtonRelease, {c, 3});

    sendMouse(&u, QEvent::MouseMove, {c, 20});
    EXPECT_TRUE(u.SecondHot());
    EXPECT_FALSE(u.FirstHot());
    sendMouse(&u, QEvent::MouseButtonPress, {c, 20});
    img = shot(u);
    expectArrow(img, RGB(76, 90, 123), true, true); // one row lower
    EXPECT_EQ(pixelAt(img, 2, 2), RGB(240, 240, 240));
    sendMouse(&u, QEvent::MouseButtonRelease, {c, 20});

    // The odd last row belongs to no half.
    sendMouse(&u, QEvent::MouseMove, {c, 24});
    EXPECT_FALSE(u.FirstHot() || u.SecondHot());

    u.setEnabled(false);
    img = shot(u);
    EXPECT_EQ(pixelAt(img, 2, 2), RGB(230, 230, 230));
    EXPECT_EQ(pixelAt(img, 2, 15), RGB(230, 230, 230));
    EXPECT_EQ(pixelAt(img, 0, 0), clGray);
    expectArrow(img, colorToRGB(clBtnFace), false, false);
    expectArrow(img, colorToRGB(clBtnFace), true, false);

    u.setEnabled(true);
    u.setArrowColor(clRed);
    expectArrow(shot(u), clRed, false, false);
}

TEST(UpDown, SteppingEventsAndLimits)
{
    struct Row {
        const char *name;
        int position;
        bool wrap;
        bool up;
        bool refuse;     // OnChanging clears the flag
        bool refuseEx;   // OnChangingEx clears the flag
        std::vector<std::string> expected;
        int after;
    };
    const std::vector<Row> rows = {
        {"up", 5, false, true, false, false, {"changing", "ex 6 up", "click next"}, 6},
        {"down", 5, false, false, false, false, {"changing", "ex 4 down", "click prev"}, 4},
        {"stops at max", 100, false, true, false, false, {"changing", "ex 101 none"}, 100},
        {"stops at min", 0, false, false, false, false, {"changing", "ex -1 none"}, 0},
        {"wraps at max", 100, true, true, false, false, {"changing", "ex 101 none", "click prev"}, 0},
        {"wraps at min", 0, true, false, false, false, {"changing", "ex -1 none", "click next"}, 100},
        {"refused", 5, false, true, true, false, {"changing"}, 5},
        {"refused late", 5, false, true, false, true, {"changing", "ex 6 up"}, 5},
    };
    for (const Row &row : rows) {
        TGWUpDown u;
        u.resize(17, 25);
        u.setPosition(row.position);
        u.setWrap(row.wrap);
        std::vector<std::string> log;
        u.OnChanging = [&](QObject *, bool &allow) {
            log.push_back("changing");
            if (row.refuse)
                allow = false;
        };
        u.OnChangingEx = [&](QObject *, bool &allow, int value, TUpDownDirection d) {
            log.push_back("ex " + std::to_string(value) + (d == updUp ? " up" : d == updDown ? " down" : " none"));
            if (row.refuseEx)
                allow = false;
        };
        u.OnClick = [&](QObject *, TUDBtnType b) { log.push_back(b == btNext ? "click next" : "click prev"); };
        const QPoint p = row.up ? QPoint(8, 3) : QPoint(8, 20);
        sendMouse(&u, QEvent::MouseButtonPress, p);
        sendMouse(&u, QEvent::MouseButtonRelease, p);
        EXPECT_EQ(log, row.expected) << row.name;
        EXPECT_EQ(u.Position(), row.after) << row.name;
    }
}

TEST(UpDown, IncrementOrientationAndKeys)
{
    TGWUpDown u;
    u.resize(30, 16);
    u.setOrientation(udHorizontal);
    u.setIncrement(7);
    u.setPosition(50);
    sendMouse(&u, QEvent::MouseButtonPress, {25, 8}); // right half raises
    sendMouse(&u, QEvent::MouseButtonRelease, {25, 8});
    EXPECT_EQ(u.Position(), 57);
    sendMouse(&u, QEvent::MouseButtonPress, {2, 8});
    sendMouse(&u, QEvent::MouseButtonRelease, {2, 8});
    EXPECT_EQ(u.Position(), 50);

    pressKey(&u, Qt::Key_Up);
    EXPECT_EQ(u.Position(), 57);
    pressKey(&u, Qt::Key_Left);
    EXPECT_EQ(u.Position(), 50);
    u.setArrowKeys(false);
    pressKey(&u, Qt::Key_Up);
    EXPECT_EQ(u.Position(), 50);

    // Position set in code stays within the range; Max is a 16-bit value.
    u.setPosition(500);
    EXPECT_EQ(u.Position(), 100);
    u.setMax(40000);
    EXPECT_EQ(u.Max(), 32767);
    u.setMin(-50);
    u.setPosition(-80);
    EXPECT_EQ(u.Position(), -50);
}

TEST(UpDown, HoldingRepeats)
{
    TGWUpDown u;
    u.resize(17, 25);
    sendMouse(&u, QEvent::MouseMove, {8, 3});
    sendMouse(&u, QEvent::MouseButtonPress, {8, 3});
    EXPECT_EQ(u.Position(), 1);
    QTest::qWait(TGWUpDown::kRepeatDelay + 3 * TGWUpDown::kRepeatInterval + 50);
    EXPECT_GE(u.Position(), 3);
    sendMouse(&u, QEvent::MouseButtonRelease, {8, 3});
    const int held = u.Position();
    QTest::qWait(2 * TGWUpDown::kRepeatInterval + 50);
    EXPECT_EQ(u.Position(), held);
}

TEST(UpDown, AssociatedEdit)
{
    QWidget parent, elsewhere;
    auto *edit = new TGWFlatEdit(&parent);
    edit->setObjectName(QStringLiteral("penpnl1Edit1"));
    edit->setGeometry(10, 10, 100, 20);
    auto *first = new TGWUpDown(&parent);
    first->setObjectName(QStringLiteral("penpnl1UpDown1"));
    auto *second = new TGWUpDown(&parent);
    second->setObjectName(QStringLiteral("penpnl1UpDown2"));
    auto *foreign = new TGWFlatEdit(&elsewhere);

    first->setMax(30000);
    first->setPosition(1234);
    first->setAssociate(edit);
    EXPECT_EQ(first->Associate(), edit);
    EXPECT_EQ(edit->text(), QStringLiteral("1,234"));
    // The spin buttons take the edit's right end.
    EXPECT_EQ(first->geometry().right(), 109);
    EXPECT_EQ(edit->geometry().right() + 1, first->geometry().left());
    first->setThousands(false);
    EXPECT_EQ(edit->text(), QStringLiteral("1234"));
    pressKey(edit, Qt::Key_Up); // arrow keys in the edit step too
    EXPECT_EQ(edit->text(), QStringLiteral("1235"));

    // Typed text is where the next step starts.
    edit->setText(QStringLiteral("50"));
    sendMouse(first, QEvent::MouseButtonPress, {2, 2});
    sendMouse(first, QEvent::MouseButtonRelease, {2, 2});
    EXPECT_EQ(first->Position(), 51);
    EXPECT_EQ(edit->text(), QStringLiteral("51"));

    try {
        second->setAssociate(edit);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation &e) {
        EXPECT_STREQ(e.what(), "penpnl1Edit1 is already associated with penpnl1UpDown1");
    }
    EXPECT_EQ(second->Associate(), nullptr);

    // Not taken: another parent's control, another spin button.
    second->setAssociate(foreign);
    EXPECT_EQ(second->Associate(), nullptr);
    second->setAssociate(first);
    EXPECT_EQ(second->Associate(), nullptr);
}
