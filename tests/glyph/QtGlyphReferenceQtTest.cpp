#include "support/QtGlyphReference.h"
#include "support/OneCallRender.h"
#include "art/core/ArtWithFont.h"

#include "platform/FontSetup.h"
#include "base/Gbk.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

const QString kSong = QStringLiteral("宋体");

// The 12-pixel strike of "艺", "术" and "字" in the Song stand-in, as FreeType gives it.
const std::vector<std::string> kStrike = {
    "....................................",
    "....#..#.........#..#........#......",
    "###########......#...#...##########.",
    "....#..#.........#.......#........#.",
    "....#..#....###########.#.########..",
    "..#######........#.............#....",
    "......##.......#.#.#..........#.....",
    "....##.........#.#.#....###########.",
    "...#..........#..#..#.........#.....",
    "..#.......#...#..#...#.....#..#.....",
    "..#.......#..#...#...##.....###.....",
    "...########.#....#....#......#......",
};

std::vector<std::string> rowsOf(const InkGrid &grid)
{
    std::vector<std::string> rows;
    for (int y = 0; y < grid.height(); ++y) {
        std::string row;
        for (int x = 0; x < grid.width(); ++x)
            row += grid.ink(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Counts pixels that are neither pure black nor pure white.
int grayPixels(const QImage &image)
{
    int gray = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0x00FFFFFF;
            gray += (c != 0 && c != 0x00FFFFFF) ? 1 : 0;
        }
    return gray;
}

bool rowAllBlack(const QImage &image, int y)
{
    for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0x00FFFFFF) != 0)
            return false;
    return true;
}

} // namespace

TEST(QtGlyphReference, PointsBecomePixelsAt96Dpi)
{
    EXPECT_EQ(QtGlyphReference::pixelSize(9), 12);
    EXPECT_EQ(QtGlyphReference::pixelSize(10), 13);
    EXPECT_EQ(QtGlyphReference::pixelSize(11), 15);
    EXPECT_EQ(QtGlyphReference::pixelSize(20), 27);
    EXPECT_EQ(QtGlyphReference::pixelSize(72), 96);
}

TEST(QtGlyphReference, SongNinePointIsTheTwelvePixelStrike)
{
    const QtGlyphReference renderer({kSong, 9});
    EXPECT_EQ(renderer.resolvedFamily(), songFamily());
    EXPECT_TRUE(renderer.familyInstalled());
    const QImage image = renderer.render(QStringLiteral("艺术字"));
    ASSERT_EQ(image.size(), QSize(36, 12));
    EXPECT_EQ(renderer.textWidth(QStringLiteral("艺")), 12);
    EXPECT_EQ(renderer.textHeight(), 12);
    EXPECT_EQ(grayPixels(image), 0);
    EXPECT_EQ(rowsOf(inkGridOf(image)), kStrike);
}

TEST(QtGlyphReference, StylesStayPureBlackAndWhite)
{
    struct Case {
        int points;
        bool bold, italic, underline;
    };
    const Case cases[] = {
        {9, true, false, false}, {9, false, true, false}, {9, false, false, true}, {9, true, true, true},
        {20, true, true, true},  {20, false, false, false}, {13, true, false, true}, {72, false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << "pt b" << c.bold << " i" << c.italic << " u" << c.underline);
        const QtGlyphReference renderer({kSong, c.points, c.bold, c.italic, c.underline});
        const QImage image = renderer.render(QStringLiteral("艺术字Ag"));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.height(), renderer.textHeight());
        EXPECT_EQ(image.width(), renderer.textWidth(QStringLiteral("艺术字Ag")));
        EXPECT_EQ(grayPixels(image), 0);
        int ink = 0;
        const InkGrid grid = inkGridOf(image);
        for (int y = 0; y < grid.height(); ++y)
            for (int x = 0; x < grid.width(); ++x)
                ink += grid.ink(x, y) ? 1 : 0;
        EXPECT_GT(ink, image.width()); // the word is actually there
    }
}

TEST(QtGlyphReference, BoldWidensTheStrokes)
{
    const QImage plain = QtGlyphReference({kSong, 9}).render(QStringLiteral("艺"));
    const QImage bold = QtGlyphReference({kSong, 9, true}).render(QStringLiteral("艺"));
    ASSERT_FALSE(bold.isNull());
    EXPECT_EQ(bold.height(), 12);
    int plainInk = 0, boldInk = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < plain.width(); ++x)
            plainInk += (plain.pixel(x, y) & 0xFFFFFF) == 0;
        for (int x = 0; x < bold.width(); ++x)
            boldInk += (bold.pixel(x, y) & 0xFFFFFF) == 0;
    }
    EXPECT_GT(boldInk, plainInk + 10);
}

TEST(QtGlyphReference, UnderlineLandsInsideTheBitmap)
{
    for (int points : {9, 12, 20, 48}) {
        SCOPED_TRACE(points);
        const QString word = QStringLiteral("艺a");
        const QtGlyphReference plainRenderer({kSong, points});
        const QtGlyphReference underRenderer({kSong, points, false, false, true});
        const QImage plain = plainRenderer.render(word);
        const QImage under = underRenderer.render(word);
        ASSERT_EQ(under.size(), plain.size());
        // A row that is black from edge to edge, in the lower part, that the plain word lacks.
        int lineRow = -1;
        for (int y = under.height() - 1; y >= under.height() / 2 && lineRow < 0; --y)
            if (rowAllBlack(under, y) && !rowAllBlack(plain, y))
                lineRow = y;
        EXPECT_GE(lineRow, 0);
    }
    // Song 9 pt would put it one row below the descent: it sits on the last row.
    const QImage small = QtGlyphReference({kSong, 9, false, false, true}).render(QStringLiteral("艺术字"));
    EXPECT_TRUE(rowAllBlack(small, 11));
}

TEST(QtGlyphReference, EmptyWordHasRowsButNoColumns)
{
    const QtGlyphReference renderer({kSong, 9});
    EXPECT_TRUE(renderer.render(QString()).isNull());
    const InkGrid grid = renderer.inkGrid(QString());
    EXPECT_EQ(grid.width(), 0);
    EXPECT_EQ(grid.height(), 12);
}

TEST(QtGlyphReference, OnlyExactBlackIsInk)
{
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(1, 0, 0));
    image.setPixel(2, 0, qRgb(128, 128, 128));
    image.setPixel(3, 0, qRgb(255, 255, 255));
    EXPECT_EQ(rowsOf(inkGridOf(image)), (std::vector<std::string>{"#..."}));
}

TEST(QtGlyphReference, UnknownFamilyIsReported)
{
    const QtGlyphReference renderer({QStringLiteral("No Such Face 42"), 9});
    EXPECT_FALSE(renderer.familyInstalled());
    EXPECT_FALSE(renderer.resolvedFamily().isEmpty());
    EXPECT_NE(renderer.resolvedFamily(), QStringLiteral("No Such Face 42"));
}

TEST(GlyphDrawer, DefaultMakingGivesTheStrikeInStars)
{
    const GlyphDrawer renderer({"宋体", 9}); // the drawer the page makes art with
    const auto block = makeArtWithFont(renderer, ArtRequest{gbk::fromUtf8("艺术字"), "*", "", MakeMode::Normal});
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), kStrike.size());
    for (std::size_t y = 0; y < kStrike.size(); ++y) {
        std::string expected = kStrike[y];
        std::replace(expected.begin(), expected.end(), '#', '*');
        std::replace(expected.begin(), expected.end(), '.', ' ');
        EXPECT_EQ((*block)[y], expected);
    }
}

TEST(GlyphDrawer, FollowModeSplitsAtEachCharactersAdvance)
{
    const GlyphDrawer renderer({"宋体", 9}); // the drawer the page makes art with
    const auto block = makeArtWithFont(renderer, ArtRequest{gbk::fromUtf8("艺术字"), "*", "", MakeMode::Follow});
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), 12u);
    const std::string cells[] = {gbk::fromUtf8("艺"), gbk::fromUtf8("术"), gbk::fromUtf8("字")};
    const std::string blank = gbk::fromUtf8("　");
    for (std::size_t y = 0; y < 12; ++y) {
        const std::string &row = (*block)[y];
        ASSERT_EQ(row.size(), 72u);
        for (std::size_t x = 0; x < 36; ++x)
            EXPECT_EQ(row.substr(2 * x, 2), kStrike[y][x] == '#' ? cells[x / 12] : blank);
    }
    EXPECT_FALSE(makeArtWithFont(renderer, ArtRequest{"", "*", "", MakeMode::Follow}));
}

TEST(QtGlyphReference, LongWordsMatchTheWholeWordDrawnAtOnce)
{
    // Words of many pieces, with kerning pairs, ligature candidates, overlapping
    // italics and characters the family lacks (drawn by a fallback face).
    const QString words[] = {
        QStringLiteral("艺术字体★☆○●◎◇◆□■△▲※→←↑↓〓°＄￡№‰℃¤￠≈⌒≡＝∷∫∮∝∞≌∽√"),
        QStringLiteral("AVAWAT fi ffl Type Ty Yo LT AV 12 345 -- !! Wo Va yy jjj gqp AVATAR office"),
        QStringLiteral("ab艺cd术ef字 fi 丄乤 AV＊ﾈ ☆ 9 x"),
        QStringLiteral("\n艺 a\tb\x12\r艺术字体艺术字体艺术字体 \u2028x\u2029y"), // line ends and controls
    };
    const QString families[] = {kSong, QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                                QStringLiteral("Z003"), QStringLiteral("Nimbus Roman")};
    struct Style {
        bool bold, italic, underline;
    };
    const Style styles[] = {{false, false, false}, {true, false, false}, {false, true, true}, {true, true, false}};
    for (const QString &family : families)
        for (const int size : {6, 9, 30, 60, 100})
            for (const Style &st : styles) {
                const QtGlyphReference renderer({family, size, st.bold, st.italic, st.underline});
                for (const QString &word : words) {
                    const QImage pieces = renderer.render(word);
                    const QImage whole = vomra::test::renderInOneCall(renderer, word, st.underline);
                    ASSERT_EQ(pieces.size(), whole.size()) << family.toStdString() << " " << size;
                    EXPECT_TRUE(pieces == whole) << family.toStdString() << " " << size << "pt bold " << st.bold
                                                 << " italic " << st.italic << " word " << word.toStdString();
                }
            }
}
