#include "WidgetTestSupport.h"
#include "widgets/Hint.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

QSize desktop() { return QGuiApplication::primaryScreen()->geometry().size(); }

QImage shotArgb(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

QFont hintFont()
{
    QFont f = testFont();
    f.setPixelSize(12);
    return f;
}

// A fresh active hint with a fixed font for every test.
struct ActiveHint {
    TGWHint hint;
    THint window;
    ActiveHint() { hint.HintFont()->Font = hintFont(); }
};

QSize measured(const QString &text, int width)
{
    return QFontMetrics(hintFont())
        .boundingRect(QRect(0, 0, width, 0), Qt::TextWordWrap | Qt::AlignHCenter, text)
        .size();
}

bool opaque(const QImage &img, int x, int y) { return qAlpha(img.pixel(x, y)) == 255; }

} // namespace

TEST(Hint, CalcHintRectIsRootTwoTimesTheText)
{
    ActiveHint h;
    const QString text = QStringLiteral("  字体型号减小  ");
    const QSize t = measured(QStringLiteral("字体型号减小"), 200);
    const QRect r = h.window.CalcHintRect(1000, text);
    EXPECT_EQ(r, QRect(0, 0, static_cast<int>(std::lround(std::sqrt(2.0) * t.width())),
                       static_cast<int>(std::lround(std::sqrt(2.0) * t.height()))));
    EXPECT_EQ(h.window.TextRect().width(), t.width());
    EXPECT_EQ(h.window.TextRect().left, static_cast<int>((std::sqrt(2.0) - 1) * t.width() / 2));

    // HintWidth replaces the caller's width: long text wraps.
    h.hint.setHintWidth(60);
    const QString longText = QStringLiteral("保存 保存 保存 保存 保存 保存 保存 保存");
    const QRect wrapped = h.window.CalcHintRect(1000, longText);
    const QSize lw = measured(longText, 60);
    EXPECT_LE(lw.width(), 60);
    EXPECT_GT(lw.height(), QFontMetrics(hintFont()).height());
    EXPECT_EQ(wrapped.height(), static_cast<int>(std::lround(std::sqrt(2.0) * lw.height())));
}

TEST(Hint, ActivateHintAddsMarginsAndFlipsAtTheEdges)
{
    ActiveHint h;
    const QString text = QStringLiteral("保存");
    const QRect base = h.window.CalcHintRect(1000, text);

    h.window.ActivateHint(base.translated(100, 100), text);
    EXPECT_TRUE(h.window.isVisible());
    EXPECT_EQ(h.window.geometry(), QRect(100, 100, base.width() + 40, base.height() + 32));
    EXPECT_TRUE(h.window.MouseOnTop());
    EXPECT_TRUE(h.window.MouseOnLeft());

    const int nearBottom = desktop().height() - 5;
    h.window.ActivateHint(base.translated(100, nearBottom), text);
    EXPECT_FALSE(h.window.MouseOnTop());
    EXPECT_TRUE(h.window.MouseOnLeft());
    EXPECT_EQ(h.window.geometry().bottom() + 1, nearBottom);

    const int nearRight = desktop().width() - 5;
    h.window.ActivateHint(base.translated(nearRight, 100), text);
    EXPECT_TRUE(h.window.MouseOnTop());
    EXPECT_FALSE(h.window.MouseOnLeft());
    EXPECT_EQ(h.window.geometry().right() + 1, nearRight);

    h.hint.setStyle(gwhsApplicationIcon);
    h.window.ActivateHint(base.translated(100, 100), text);
    EXPECT_EQ(h.window.height(), THint::kIconSize + 10);
    EXPECT_EQ(h.window.width(), base.width() + THint::kIconSize + 10);

    h.hint.setStyle(gwhsUserCustom);
    h.hint.setLeftSpacing(5);
    h.hint.setRightSpacing(6);
    h.hint.setTopSpacing(7);
    h.hint.setBottomSpacing(8);
    h.window.ActivateHint(base.translated(100, 100), text);
    EXPECT_EQ(h.window.size(), QSize(base.width() + 11, base.height() + 15));
}

TEST(Hint, SpacingSettersIgnoreZeroAndBelow)
{
    TGWHint hint;
    for (int bad : {0, -3}) {
        hint.setLeftSpacing(bad);
        hint.setRightSpacing(bad);
        hint.setTopSpacing(bad);
        hint.setBottomSpacing(bad);
    }
    EXPECT_EQ(hint.LeftSpacing(), 24);
    EXPECT_EQ(hint.RightSpacing(), 24);
    EXPECT_EQ(hint.TopSpacing(), 24);
    EXPECT_EQ(hint.BottomSpacing(), 24);
    hint.setTopSpacing(1);
    EXPECT_EQ(hint.TopSpacing(), 1);
}

TEST(Hint, BalloonShapesShadowAndText)
{
    ActiveHint h;
    h.hint.setColor(clYellow);
    h.hint.setFrameColor(clBlue);
    h.hint.setShadowColor(clGray);
    h.hint.HintFont()->ShadowColor = clRed;
    const QString text = QStringLiteral("保存");
    const QRect base = h.window.CalcHintRect(1000, text);
    h.window.ActivateHint(base.translated(100, 100), text);
    QImage img = shotArgb(h.window);
    const int W = img.width(), H = img.height();

    // Below and right of the mouse: the bubble at the top left, the far corners see-through.
    EXPECT_EQ(pixelAt(img, 14, 7), clYellow);
    EXPECT_EQ(pixelAt(img, 14, 0), clBlue);
    EXPECT_FALSE(opaque(img, W - 1, 0));
    EXPECT_FALSE(opaque(img, 0, H - 1));
    // The balloon's shadow shows past its right and bottom edges.
    EXPECT_EQ(pixelAt(img, (12 + W) / 2, H - 1), clGray);
    // Text in black with its red shadow, inside the text rectangle moved (26, 20).
    const Rect tr = h.window.TextRect();
    const QRect textArea(tr.left + 26, tr.top + 20, tr.width() + 2, tr.height() + 2);
    bool black = false, red = false;
    for (int y = textArea.top(); y <= textArea.bottom(); ++y)
        for (int x = textArea.left(); x <= textArea.right(); ++x) {
            black |= pixelAt(img, x, y) == clBlack;
            red |= pixelAt(img, x, y) == clRed;
        }
    EXPECT_TRUE(black);
    EXPECT_TRUE(red);

    // Flipped above and left: the bubble goes to the bottom right.
    h.window.ActivateHint(base.translated(desktop().width() - 5, desktop().height() - 5), text);
    img = shotArgb(h.window);
    EXPECT_EQ(pixelAt(img, W - 16, H - 10), clYellow);
    EXPECT_FALSE(opaque(img, 0, 0));
    EXPECT_FALSE(opaque(img, W - 1, 0));

    // Without the shadow nothing is drawn past the body.
    h.hint.setShadow(false);
    h.window.ActivateHint(base.translated(100, 100), text);
    img = shotArgb(h.window);
    EXPECT_FALSE(opaque(img, (12 + W) / 2, H - 1));
}

TEST(Hint, ApplicationIconAndUserCustomStyles)
{
    ActiveHint h;
    h.hint.setStyle(gwhsApplicationIcon);
    h.hint.setColor(clYellow);
    h.hint.setFrameColor(clTeal);
    const QString text = QStringLiteral("保存");
    const QRect base = h.window.CalcHintRect(1000, text);
    h.window.ActivateHint(base.translated(100, 100), text);
    QImage img = shotArgb(h.window);
    const int W = img.width(), H = img.height();
    EXPECT_EQ(pixelAt(img, W / 2, 0), clTeal);
    EXPECT_EQ(pixelAt(img, W / 2, H - 3), clTeal);
    EXPECT_EQ(pixelAt(img, W / 2, H - 1), RGB(180, 180, 180)); // shadow
    EXPECT_FALSE(opaque(img, 0, H - 1));
    // One line lower than the icon: centred vertically, 2 pixels up.
    const int textTop = h.window.TextRect().top + (H - h.window.TextRect().height()) / 2 - 2;
    const QRect ink = inkBounds(img.convertToFormat(QImage::Format_RGB32), clYellow,
                                QRect(THint::kIconSize + 8, 3, W - THint::kIconSize - 14, H - 8));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.top(), textTop);
    EXPECT_LE(ink.bottom(), textTop + h.window.TextRect().height() + 1);

    h.hint.setStyle(gwhsUserCustom);
    h.hint.setShowHintText(false);
    Rect gotHint, gotText;
    h.hint.OnDrawHintBkgd = [&](Canvas &c, Rect hintRect, Rect textRect, bool onTop, bool onLeft, const QString &t) {
        gotHint = hintRect;
        gotText = textRect;
        EXPECT_TRUE(onTop);
        EXPECT_TRUE(onLeft);
        EXPECT_EQ(t, text);
        c.setBrushColor(clLime);
        c.fillRect({0, 0, 10, 10});
    };
    h.window.ActivateHint(base.translated(100, 100), QStringLiteral(" 保存 "));
    img = shotArgb(h.window);
    EXPECT_EQ(gotHint, (Rect{0, 0, h.window.width(), h.window.height()}));
    EXPECT_EQ(gotText.left, h.window.TextRect().left + 24);
    EXPECT_EQ(gotText.top, h.window.TextRect().top + 24);
    EXPECT_EQ(pixelAt(img, 5, 5), clLime);
    EXPECT_FALSE(opaque(img, 20, 20));
    // Nothing but the handler's drawing: no text, no frame.
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (opaque(img, x, y)) {
                ASSERT_EQ(pixelAt(img, x, y), clLime) << x << "," << y;
            }
        }
    }
}

TEST(Hint, ToolTipEventsShowOurWindow)
{
    TGWHint hint;
    QWidget w;
    w.setToolTip(QStringLiteral("字体型号减小"));
    w.resize(50, 50);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint global = w.mapToGlobal(QPoint(10, 10));
    QHelpEvent e(QEvent::ToolTip, QPoint(10, 10), global);
    QApplication::sendEvent(&w, &e);
    THint *win = HintController::instance()->window();
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(win->text(), QStringLiteral("字体型号减小"));
    EXPECT_EQ(win->pos(), global + QPoint(0, HintController::kCursorMargin));
    EXPECT_FALSE(QToolTip::isVisible());

    // Leaving the widget hides it.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_FALSE(win->isVisible());

    // Inactive: the platform's tooltip takes over again.
    hint.setActive(false);
    QHelpEvent again(QEvent::ToolTip, QPoint(10, 10), global);
    QApplication::sendEvent(&w, &again);
    EXPECT_FALSE(win->isVisible());
    QToolTip::hideText();
}
