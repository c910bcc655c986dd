#include "WidgetTestSupport.h"
#include "widgets/FlatControls.h"

#include <QAbstractItemView>
#include <QWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

QImage shot(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

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

} // namespace

TEST(FlatEdit, FrameIsOneColouredLine)
{
    TGWFlatEdit e;
    e.resize(121, 21);
    e.setColor(clYellow);
    QImage img = shot(e);
    const TColor border = RGB(117, 147, 175);
    for (QPoint p : {QPoint(0, 10), QPoint(120, 10), QPoint(60, 0), QPoint(60, 20)})
        EXPECT_EQ(pixelAt(img, p.x(), p.y()), border) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(1, 10), QPoint(2, 10), QPoint(60, 1), QPoint(60, 2), QPoint(119, 10), QPoint(60, 18)})
        EXPECT_EQ(pixelAt(img, p.x(), p.y()), clYellow) << p.x() << "," << p.y();

    e.setColorBorder(clRed);
    img = shot(e);
    EXPECT_EQ(pixelAt(img, 0, 10), clRed);
    // Neither disabling nor focus changes it.
    e.setEnabled(false);
    EXPECT_EQ(pixelAt(shot(e), 60, 0), clRed);
}

TEST(FlatEdit, HeightFollowsTheFont)
{
    Window win;
    auto *e = new TGWFlatEdit(&win.top);
    QFont f = e->font();
    f.setPointSize(9);
    e->setFont(f);
    e->show();
    EXPECT_EQ(e->height(), QFontMetrics(f).height() + 6);
    f.setPointSize(12);
    e->setFont(f);
    EXPECT_EQ(e->height(), QFontMetrics(f).height() + 6);
    EXPECT_GT(QFontMetrics(f).height(), 0);
}

TEST(FlatEdit, Notifications)
{
    Window win;
    auto *e = new TGWFlatEdit(&win.top);
    auto *other = new TGWFlatEdit(&win.top);
    other->move(0, 50);
    e->show();
    other->show();
    std::vector<std::string> log;
    e->OnMouseEnter = [&](QObject *) { log.push_back("enter"); };
    e->OnMouseLeave = [&](QObject *) { log.push_back("leave"); };
    e->OnGotFocus = [&](QObject *) { log.push_back("got"); };
    e->OnLostFocus = [&](QObject *) { log.push_back("lost"); };
    sendEnter(e);
    e->setFocus();
    other->setFocus();
    sendLeave(e);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "got", "lost", "leave"}));
}

TEST(FlatComboBox, DropButtonColoursAndChevron)
{
    TGWFlatComboBox c;
    c.setStyle(csDropDownList);
    c.resize(145, 22);
    const int W = 145, H = 22;
    QImage img = shot(c);
    const TColor window = colorToRGB(clWindow);
    EXPECT_EQ(pixelAt(img, 0, 10), RGB(77, 107, 135));
    EXPECT_EQ(pixelAt(img, 1, 10), window);
    EXPECT_EQ(pixelAt(img, W - 20, 10), RGB(144, 163, 206)); // button outline
    EXPECT_EQ(pixelAt(img, W - 4, 3), RGB(144, 163, 206));
    EXPECT_EQ(pixelAt(img, W - 18, 4), RGB(230, 240, 250)); // button face
    EXPECT_EQ(pixelAt(img, W - 22, 10), window);            // separator in the control's colour

    // Chevron: tip 8 right of the button's left edge, two pixels thick.
    const int tip = W - 20 + 8;
    const int top = 3 + (H - 6 - 4) / 2;
    const TColor ink = colorToRGB(clWindowText);
    auto expectDown = [&](const QImage &i) {
        for (int k = 0; k <= 4; ++k)
            for (int t = 0; t < 2; ++t) {
                EXPECT_EQ(pixelAt(i, tip - 4 + k, top + k + t), ink) << k;
                EXPECT_EQ(pixelAt(i, tip + 4 - k, top + k + t), ink) << k;
            }
        EXPECT_NE(pixelAt(i, tip, top), ink);
    };
    expectDown(img);

    // Hover changes the button, nothing else.
    sendEnter(&c);
    EXPECT_TRUE(c.Hover());
    img = shot(c);
    EXPECT_EQ(pixelAt(img, W - 18, 4), RGB(210, 230, 230));
    EXPECT_EQ(pixelAt(img, W - 20, 10), RGB(104, 123, 186));
    EXPECT_EQ(pixelAt(img, 0, 10), RGB(77, 107, 135));
    sendLeave(&c);
    EXPECT_EQ(pixelAt(shot(c), W - 18, 4), RGB(230, 240, 250));

    // Colour setters show at once.
    c.setColorButton(clAqua);
    c.setColorBorder(clRed);
    img = shot(c);
    EXPECT_EQ(pixelAt(img, W - 18, 4), clAqua);
    EXPECT_EQ(pixelAt(img, 0, 0), clRed);

    // Disabled: only the arrow is left.
    c.setEnabled(false);
    img = shot(c);
    EXPECT_EQ(pixelAt(img, W - 20, 10), window);
    EXPECT_EQ(pixelAt(img, W - 18, 4), window);
    expectDown(img);
}

TEST(FlatComboBox, ChevronPointsUpWhileTheListIsOpen)
{
    Window win;
    auto *c = new TGWFlatComboBox(&win.top);
    c->setStyle(csDropDownList);
    c->addItems({QStringLiteral("宋体"), QStringLiteral("黑体")});
    c->resize(145, 22);
    c->show();
    const int tip = 145 - 12;
    const int top = 3 + (22 - 6 - 4) / 2;
    const TColor ink = colorToRGB(clWindowText);
    c->showPopup();
    EXPECT_TRUE(c->ListOpen());
    QImage img = shot(*c);
    EXPECT_EQ(pixelAt(img, tip, top), ink);
    EXPECT_EQ(pixelAt(img, tip - 4, top + 4), ink);
    c->hidePopup();
    EXPECT_FALSE(c->ListOpen());
    img = shot(*c);
    EXPECT_NE(pixelAt(img, tip, top), ink);
    EXPECT_EQ(pixelAt(img, tip, top + 4), ink);
}

TEST(FlatComboBox, FocusedListStyleHighlightsTheTextArea)
{
    Window win;
    auto *c = new TGWFlatComboBox(&win.top);
    auto *other = new TGWFlatEdit(&win.top);
    other->move(0, 60);
    c->setStyle(csDropDownList);
    c->addItem(QStringLiteral("宋体"));
    c->setGeometry(100, 100, 145, 22);
    c->show();
    other->show();
    other->setFocus();
    sendLeave(c);
    const TColor window = colorToRGB(clWindow);
    const TColor highlight = colorToRGB(clHighlight);
    EXPECT_EQ(pixelAt(shot(*c), 3, 3), window);
    // Focus alone leaves the button in its normal colours.
    c->setFocus();
    ASSERT_TRUE(c->hasFocus());
    QImage img = shot(*c);
    EXPECT_EQ(pixelAt(img, 3, 3), highlight);
    EXPECT_EQ(pixelAt(img, 145 - 23, 18), highlight);
    EXPECT_EQ(pixelAt(img, 145 - 22, 10), window);
    EXPECT_EQ(pixelAt(img, 2, 10), window);
    EXPECT_EQ(pixelAt(img, 145 - 18, 4), RGB(230, 240, 250));

    // The editable style has no highlighted strip; its edit fits inside the frame.
    c->setStyle(csDropDown);
    ASSERT_NE(c->lineEdit(), nullptr);
    EXPECT_EQ(c->lineEdit()->geometry(), QRect(3, 3, 145 - 26, 22 - 6));
    c->resize(200, 30);
    EXPECT_EQ(c->lineEdit()->geometry(), QRect(3, 3, 200 - 26, 30 - 6));
}

TEST(FlatComboBox, OwnerDrawnItemsAndEvents)
{
    Window win;
    auto *c = new TGWFlatComboBox(&win.top);
    c->setStyle(csOwnerDrawFixed);
    c->addItems({QStringLiteral("a"), QStringLiteral("b")});
    c->setCurrentIndex(1);
    c->resize(145, 22);
    c->show();
    std::vector<std::pair<int, int>> drawn;
    c->OnDrawItem = [&](TGWFlatComboBox *, int index, Canvas &canvas, const Rect &r, int state) {
        drawn.emplace_back(index, state);
        canvas.setBrushColor(clLime);
        canvas.fillRect(r);
    };
    const QImage img = shot(*c);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().first, 1);
    EXPECT_TRUE(drawn.back().second & odComboBoxEdit);
    EXPECT_EQ(pixelAt(img, 10, 10), clLime);

    // The list asks for ItemHeight, or the handler's height when variable.
    const QModelIndex index = c->model()->index(0, 0);
    QStyleOptionViewItem option;
    EXPECT_EQ(c->view()->itemDelegate()->sizeHint(option, index).height(), 13);
    c->setStyle(csOwnerDrawVariable);
    c->OnMeasureItem = [](TGWFlatComboBox *, int, int &h) { h = 30; };
    EXPECT_EQ(c->view()->itemDelegate()->sizeHint(option, index).height(), 30);

    std::vector<std::string> log;
    c->OnMouseEnter = [&](QObject *) { log.push_back("enter"); };
    c->OnMouseLeave = [&](QObject *) { log.push_back("leave"); };
    c->OnGotFocus = [&](QObject *) { log.push_back("got"); };
    c->OnLostFocus = [&](QObject *) { log.push_back("lost"); };
    sendEnter(c);
    c->setFocus();
    win.top.setFocus();
    c->clearFocus();
    sendLeave(c);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "got", "lost", "leave"}));
}

TEST(FlatComboBox, EditablePartCountsAsTheControl)
{
    Window win;
    auto *c = new TGWFlatComboBox(&win.top);
    auto *other = new TGWFlatEdit(&win.top);
    other->move(0, 60);
    c->setGeometry(100, 100, 145, 22);
    c->show();
    other->show();
    other->setFocus();
    int got = 0, lost = 0;
    c->OnGotFocus = [&](QObject *) { ++got; };
    c->OnLostFocus = [&](QObject *) { ++lost; };
    ASSERT_NE(c->lineEdit(), nullptr);
    c->lineEdit()->setFocus();
    EXPECT_TRUE(c->Active());
    EXPECT_EQ(got, 1);
    other->setFocus();
    EXPECT_FALSE(c->Active());
    EXPECT_EQ(lost, 1);
}

TEST(FlatComboBox, AClickOnTheDropButtonOfAnEditableBoxLeavesTheListOpen)
{
    for (int width : {68, 145}) { // the drawing board's pen box, the art page's character boxes
        Window win;
        auto *c = new TGWFlatComboBox(&win.top);
        ASSERT_TRUE(c->isEditable());
        c->addItems({QStringLiteral("§"), QStringLiteral("☆"), QStringLiteral("★")});
        c->setGeometry(10, 10, width, 20);
        c->show();
        // Through the window system, as the platform delivers them: while the list
        // is open it receives the mouse.
        QWindow *window = win.top.windowHandle();
        const QPoint button = c->mapTo(&win.top, QPoint(width - 9, 10));
        const QPoint text = c->mapTo(&win.top, QPoint(8, 10));

        QTest::mousePress(window, Qt::LeftButton, {}, button);
        QTest::mouseRelease(window, Qt::LeftButton, {}, button);
        QApplication::processEvents();
        EXPECT_TRUE(c->ListOpen()) << width;
        EXPECT_TRUE(c->view()->isVisible()) << width;
        // A second click on the button closes it and does not open it again.
        QTest::mouseClick(window, Qt::LeftButton, {}, button, 1000);
        QApplication::processEvents();
        EXPECT_FALSE(c->ListOpen()) << width;
        EXPECT_FALSE(c->view()->isVisible()) << width;

        // Press, drag onto an item and release there still picks it.
        QTest::mousePress(window, Qt::LeftButton, {}, button, 1000);
        ASSERT_TRUE(c->view()->isVisible());
        QWidget *items = c->view()->viewport();
        const QPoint third = win.top.mapFromGlobal(
            items->mapToGlobal(c->view()->visualRect(c->model()->index(2, 0)).center()));
        QTest::mouseMove(window, third);
        QTest::mouseRelease(window, Qt::LeftButton, {}, third);
        QApplication::processEvents();
        EXPECT_FALSE(c->view()->isVisible()) << width;
        EXPECT_EQ(c->currentText(), QStringLiteral("★")) << width;

        // A click on the text part leaves the list closed.
        QTest::mouseClick(window, Qt::LeftButton, {}, text, 1000);
        EXPECT_FALSE(c->ListOpen()) << width;
    }
}
