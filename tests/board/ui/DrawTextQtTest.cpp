#include "board/ui/DrawText.h"
#include "support/ImageCheck.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace vomra {
namespace {

const std::string kStar = "\xA1\xEF"; // "★" in GBK

QFont songFont(int pixels = 14)
{
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(pixels);
    return f;
}

// Records what the control repaints: the regions Qt asks for and every cell drawn.
class RecordingDrawText : public TGWDrawText {
public:
    using TGWDrawText::TGWDrawText;
    QRegion painted;
    int cellsDrawn = 0;
    int paints = 0;
    void forget()
    {
        painted = QRegion();
        cellsDrawn = 0;
        paints = 0;
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted += event->region();
        ++paints;
        TGWDrawText::paintEvent(event);
    }
    void DrawCell(QPainter &painter, int column, int row) override
    {
        ++cellsDrawn;
        TGWDrawText::DrawCell(painter, column, row);
    }
};

class DrawTextQt : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setFont(songFont());
        grid.setTextWidth(10);
        grid.setTextHeight(4);
    }

    // Centre of cell (column, row).
    QPoint at(int column, int row) const
    {
        return {(column - 1) * grid.CellWidth() + grid.CellWidth() / 2,
                (row - 1) * grid.CellHeight() + grid.CellHeight() / 2};
    }

    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
    {
        QMouseEvent event(type, pos, grid.mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(&grid, &event);
    }
    void press(Qt::MouseButton button, QPoint pos) { mouse(QEvent::MouseButtonPress, button, pos, button); }
    void move(QPoint pos, Qt::MouseButtons held) { mouse(QEvent::MouseMove, Qt::NoButton, pos, held); }
    void release(Qt::MouseButton button, QPoint pos) { mouse(QEvent::MouseButtonRelease, button, pos); }

    void showAndSettle()
    {
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        QApplication::processEvents();
        grid.forget();
    }

    QImage render(const QRegion &region = {})
    {
        QImage img(grid.size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        // render() puts the top-left of the source region at the target offset.
        const QRegion source = region.isEmpty() ? QRegion(grid.rect()) : region;
        grid.render(&img, source.boundingRect().topLeft(), source);
        return img;
    }

    RecordingDrawText grid;
};

TEST_F(DrawTextQt, CellSizeComesFromABlankInTheFont)
{
    EXPECT_EQ(grid.CellWidth(), 7);
    EXPECT_EQ(grid.CellHeight(), 14);
    EXPECT_EQ(grid.size(), QSize(10 * 7 + 1, 4 * 14 + 1));
    // A double-byte character of the default face is exactly two cells wide.
    QFont f = songFont();
    f.setStyleStrategy(QFont::NoAntialias);
    EXPECT_EQ(QFontMetrics(f).horizontalAdvance(QString::fromUtf8("★")), 2 * grid.CellWidth());
    EXPECT_EQ(QFontMetrics(f).horizontalAdvance(QString::fromUtf8("艺")), 2 * grid.CellWidth());

    grid.setFont(songFont(16));
    EXPECT_EQ(grid.CellWidth(), 8);
    EXPECT_EQ(grid.CellHeight(), 16);
    EXPECT_EQ(grid.size(), QSize(10 * 8 + 1, 4 * 16 + 1));
}

TEST_F(DrawTextQt, StartsWithTheDocumentedState)
{
    TGWDrawText fresh;
    EXPECT_EQ(fresh.TextWidth(), 40);
    EXPECT_EQ(fresh.TextHeight(), 6);
    EXPECT_EQ(fresh.PosX(), 0);
    EXPECT_EQ(fresh.PosY(), 0);
    EXPECT_EQ(fresh.GridlinesColor(), RGB(220, 220, 220));
    EXPECT_EQ(fresh.Color(), clWhite);
    EXPECT_EQ(fresh.PenText(), "*");
    EXPECT_FALSE(fresh.MouseIsDown());
    EXPECT_FALSE(fresh.MouseIsEnter());
    EXPECT_GT(fresh.CellWidth(), 0);
    EXPECT_GT(fresh.CellHeight(), 0);
    EXPECT_EQ(fresh.property("TextWidth").toInt(), 40);
    EXPECT_EQ(fresh.property("PenText").value<std::string>(), "*");
}

TEST_F(DrawTextQt, CellsHaveOneGridlineOutline)
{
    grid.setGridlinesColor(RGB(200, 0, 0));
    const QImage img = render();
    const int cw = grid.CellWidth();
    const int ch = grid.CellHeight();
    const TColor line = RGB(200, 0, 0);
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(test::pixelAt(img, c * cw, 5), line) << "vertical line " << c;
    for (int r = 0; r <= 4; ++r)
        EXPECT_EQ(test::pixelAt(img, 3, r * ch), line) << "horizontal line " << r;
    EXPECT_EQ(test::pixelAt(img, 1, 1), clWhite);
    EXPECT_EQ(test::pixelAt(img, cw - 1, ch - 1), clWhite);
    EXPECT_EQ(test::pixelAt(img, cw + 1, ch + 1), clWhite);
    EXPECT_EQ(test::pixelAt(img, 10 * cw, 4 * ch), line); // the closing corner
}

// Ink pixels: neither the cell fill nor a gridline.
QRect inkBounds(const QImage &img)
{
    QRect bounds;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const TColor p = test::pixelAt(img, x, y);
            if (p != clWhite && p != RGB(220, 220, 220))
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

TEST_F(DrawTextQt, CharactersStartAtTheirFirstCell)
{
    const int cw = grid.CellWidth();
    const int ch = grid.CellHeight();
    grid.setTextList({"", "  " + kStar});
    const QRect star = inkBounds(render());
    ASSERT_FALSE(star.isEmpty());
    // Inside cells 3 and 4 of row 2, and reaching well into the second cell.
    EXPECT_GE(star.left(), 2 * cw);
    EXPECT_LE(star.right(), 4 * cw);
    EXPECT_GT(star.right(), 3 * cw + cw / 2);
    EXPECT_GE(star.top(), ch);
    EXPECT_LE(star.bottom(), 2 * ch);

    // After a font change the star fills the two new, wider cells.
    grid.setFont(songFont(16));
    const QRect bigStar = inkBounds(render());
    EXPECT_GE(bigStar.left(), 2 * 8);
    EXPECT_LE(bigStar.right(), 4 * 8);
    EXPECT_GT(bigStar.right(), 3 * 8 + 4);
    EXPECT_GT(bigStar.width(), star.width());
    grid.setFont(songFont());

    grid.setTextList({"", "", "   *"});
    const QRect asterisk = inkBounds(render());
    ASSERT_FALSE(asterisk.isEmpty());
    EXPECT_GE(asterisk.left(), 3 * cw);
    EXPECT_LE(asterisk.right(), 4 * cw);
    EXPECT_GE(asterisk.top(), 2 * ch);
    EXPECT_LE(asterisk.bottom(), 3 * ch);
}

TEST_F(DrawTextQt, PartialExposeDrawsTheSamePictureFromFewCells)
{
    grid.setTextWidth(30);
    grid.setTextHeight(12);
    Lines rows;
    for (int r = 0; r < 12; ++r) {
        std::string row;
        for (int c = 0; row.size() < 30; ++c)
            row += (c + r) % 3 ? kStar : std::string("*");
        rows.push_back(row.substr(0, 29));
    }
    grid.setTextList(rows);
    const QImage full = render();
    const int allCells = grid.cellsDrawn;
    EXPECT_EQ(allCells, 30 * 12);

    for (const QRect &exposed : {QRect(40, 30, 25, 20), QRect(0, 0, 1, 1), QRect(190, 150, 11, 9)}) {
        grid.forget();
        const QImage part = render(QRegion(exposed));
        // The cells under the rectangle, a ring around them, and stars sticking out of the ring.
        const int rows = exposed.bottom() / grid.CellHeight() - exposed.top() / grid.CellHeight() + 1;
        const int columns = exposed.right() / grid.CellWidth() - exposed.left() / grid.CellWidth() + 1;
        EXPECT_LE(grid.cellsDrawn, (rows + 2) * (columns + 4));
        for (int y = exposed.top(); y <= exposed.bottom(); ++y)
            for (int x = exposed.left(); x <= exposed.right(); ++x)
                ASSERT_EQ(part.pixel(x, y), full.pixel(x, y)) << x << "," << y;
        EXPECT_EQ(part.pixel(exposed.right() + 1, exposed.top()), QColor(Qt::magenta).rgb());
    }
}

TEST_F(DrawTextQt, AStrokeRepaintsOnlyTheCellsItChanged)
{
    grid.setPenText(kStar);
    grid.setTextList({"", " " + kStar + "a"});
    showAndSettle();

    struct Step {
        const char *name;
        Qt::MouseButton button;
        int column;
        int firstCell;
        int lastCell; // changed cells of row 2
    };
    const std::vector<Step> steps = {
        {"star over the first half of a star", Qt::LeftButton, 2, 2, 3},
        {"star over a single before a star", Qt::LeftButton, 1, 1, 3},
        {"erasing the second half of a star", Qt::RightButton, 2, 1, 2},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        grid.forget();
        press(s.button, at(s.column, 2));
        release(s.button, at(s.column, 2));
        QApplication::processEvents();
        const QRegion expected = grid.cellRect(s.firstCell, 2).united(grid.cellRect(s.lastCell, 2));
        EXPECT_EQ(grid.painted, expected);
        // The changed cells plus at most a ring of neighbours, clipped away.
        EXPECT_LE(grid.cellsDrawn, 4 * (s.lastCell - s.firstCell + 5));
    }
    EXPECT_EQ(grid.TextList()[1], "   a      ");

    // Writing the same character again still repaints its cells, and only them.
    for (int i = 0; i < 2; ++i) {
        grid.forget();
        press(Qt::LeftButton, at(3, 2));
        release(Qt::LeftButton, at(3, 2));
        QApplication::processEvents();
        EXPECT_EQ(grid.painted, QRegion(grid.cellRect(3, 2).united(grid.cellRect(4, 2))));
        EXPECT_EQ(grid.TextList()[1], "  " + kStar + "      ");
    }
}

TEST_F(DrawTextQt, SetterSideEffects)
{
    showAndSettle();
    grid.setPenText("#");
    QApplication::processEvents();
    EXPECT_EQ(grid.paints, 0);

    grid.setGridlinesColor(clRed);
    QApplication::processEvents();
    EXPECT_EQ(grid.painted, QRegion(grid.rect()));

    grid.forget();
    grid.setTextList({"abcdefghijklmnop"}); // wider: resized at once
    EXPECT_EQ(grid.TextWidth(), 16);
    EXPECT_EQ(grid.width(), 16 * grid.CellWidth() + 1);
    QApplication::processEvents();
    EXPECT_EQ(grid.painted, QRegion(grid.rect()));

    grid.forget();
    grid.Clear();
    QApplication::processEvents();
    EXPECT_EQ(grid.painted, QRegion(grid.rect()));
    EXPECT_EQ(grid.TextList(), Lines(4, std::string(16, ' ')));

    grid.setTextHeight(0);
    EXPECT_EQ(grid.TextHeight(), 4);
    grid.setTextHeight(2);
    EXPECT_EQ(grid.height(), 2 * grid.CellHeight() + 1);
}

TEST_F(DrawTextQt, LeftPaintsRightErasesMiddleOnlyMoves)
{
    grid.setPenText(kStar);
    press(Qt::LeftButton, at(1, 1));
    EXPECT_TRUE(grid.MouseIsDown());
    move(at(5, 1), Qt::LeftButton);
    move(at(10, 3), Qt::LeftButton); // the last column takes no star
    release(Qt::LeftButton, at(10, 3));
    EXPECT_FALSE(grid.MouseIsDown());
    EXPECT_EQ(grid.TextList()[0], kStar + "  " + kStar + "    ");
    EXPECT_EQ(grid.TextList()[2], std::string(10, ' '));

    move(at(7, 1), Qt::NoButton); // no stroke after the release
    EXPECT_EQ(grid.TextList()[0], kStar + "  " + kStar + "    ");
    EXPECT_EQ(grid.PosX(), 7);

    press(Qt::RightButton, at(2, 1));
    EXPECT_EQ(grid.StrokeText(), " ");
    release(Qt::RightButton, at(2, 1));
    EXPECT_EQ(grid.TextList()[0], "    " + kStar + "    ");
    EXPECT_EQ(grid.PenText(), kStar); // erasing leaves the pen alone

    const Lines before = grid.TextList();
    press(Qt::MiddleButton, at(5, 3));
    EXPECT_FALSE(grid.MouseIsDown());
    move(at(6, 4), Qt::MiddleButton);
    release(Qt::MiddleButton, at(6, 4));
    EXPECT_EQ(grid.TextList(), before);
    EXPECT_EQ(grid.PosX(), 6);
    EXPECT_EQ(grid.PosY(), 4);
}

TEST_F(DrawTextQt, LeftStrokeFollowsTheMouseOutsideAlongTheEdge)
{
    press(Qt::LeftButton, at(2, 2));
    move(QPoint(-30, 1000), Qt::LeftButton);
    EXPECT_EQ(grid.PosX(), 1);
    EXPECT_EQ(grid.PosY(), 4);
    move(QPoint(5000, -5), Qt::LeftButton);
    EXPECT_EQ(grid.PosX(), 10);
    EXPECT_EQ(grid.PosY(), 1);
    release(Qt::LeftButton, QPoint(5000, -5));
    EXPECT_EQ(grid.TextList()[3], "*         ");
    EXPECT_EQ(grid.TextList()[0], "         *");

    // A right-button stroke does not hold the mouse: moves outside are not its own.
    press(Qt::RightButton, at(1, 4));
    move(QPoint(5000, -5), Qt::RightButton);
    EXPECT_EQ(grid.PosX(), 1);
    EXPECT_EQ(grid.PosY(), 4);
    EXPECT_EQ(grid.TextList()[0], "         *");
    release(Qt::RightButton, QPoint(5000, -5));
    EXPECT_FALSE(grid.MouseIsDown());
}

TEST_F(DrawTextQt, EventsFireAfterPositionAndWrite)
{
    std::vector<std::string> seen;
    auto note = [&](const char *what) {
        seen.push_back(std::string(what) + " " + std::to_string(grid.PosX()) + "," + std::to_string(grid.PosY()) +
                       " " + grid.TextList()[grid.PosY() - 1].substr(0, 4) + (grid.MouseIsDown() ? " down" : ""));
    };
    grid.OnMouseDown = [&](QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        EXPECT_EQ(sender, &grid);
        note("down");
    };
    grid.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int, int) { note("move"); };
    grid.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { note("up"); };
    grid.OnMouseEnter = [&](QObject *sender) {
        EXPECT_EQ(sender, &grid);
        seen.push_back(grid.MouseIsEnter() ? "enter in" : "enter out");
    };
    grid.OnMouseLeave = [&](QObject *) { seen.push_back(grid.MouseIsEnter() ? "leave in" : "leave out"); };

    QEnterEvent enter(at(2, 1), grid.mapToGlobal(at(2, 1)), grid.mapToGlobal(at(2, 1)));
    QApplication::sendEvent(&grid, &enter);
    press(Qt::LeftButton, at(2, 1));
    move(at(3, 1), Qt::LeftButton);
    release(Qt::LeftButton, at(3, 1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&grid, &leave);

    const std::vector<std::string> expected = {"enter in", "down 2,1  *   down", "move 3,1  **  down", "up 3,1  ** ",
                                               "leave out"};
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace vomra
