#include "art/core/GrayRamp.h"
#include "art/core/GrindPrepare.h"
#include "base/Profile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vomra {
namespace {

TEST(GrindPrepare, CellsKeepThePicturesShape)
{
    struct Case {
        int w, h, columns, rows;
        double aspect;
        CellSize want;
    };
    const Case cases[] = {
        {4000, 3000, 80, 0, 2.0, {80, 30}},   // a 4:3 photo: 80 across, 60 cells' worth of height halved
        {4000, 3000, 0, 30, 2.0, {80, 30}},   // the same from the height
        {4000, 3000, 80, 10, 2.0, {27, 10}},  // both: the tighter one wins
        {4000, 3000, 80, 0, 1.0, {80, 60}},   // square cells
        {100, 100, 50, 0, 2.5, {50, 20}},
        {3000, 10, 80, 0, 2.0, {80, 1}},      // a thin strip keeps one row
        {10, 20, 200, 0, 2.0, {200, 200}},    // scaling up
        {33, 7, 0, 0, 2.0, {33, 7}},          // nothing asked: a cell per pixel
        {100, 50, 40, 0, 0.0, {40, 10}},      // a nonsense aspect falls back to 2
    };
    for (const Case &c : cases)
        EXPECT_EQ(fitCells(c.w, c.h, c.columns, c.rows, c.aspect), c.want)
            << c.w << "x" << c.h << " to " << c.columns << "x" << c.rows;
}

RgbGrid gridOf(const std::vector<std::vector<int>> &grays)
{
    RgbGrid g(static_cast<int>(grays[0].size()), static_cast<int>(grays.size()));
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const int v = grays[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            g.set(x, y, rgb(v, v, v));
        }
    return g;
}

std::vector<int> graysOf(const RgbGrid &g)
{
    std::vector<int> out;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            out.push_back(grayLevel(g.at(x, y)));
    return out;
}

TEST(GrindPrepare, AreaAveragingWeighsPartlyCoveredPixels)
{
    const RgbGrid picture = gridOf({{0, 90, 180}, {30, 120, 210}});
    struct Case {
        const char *name;
        PrepareOptions options;
        std::vector<int> grays;
    };
    const Case cases[] = {
        {"same size copies", {{3, 2}, false, false}, {0, 90, 180, 30, 120, 210}},
        {"halves across: the middle pixel splits", {{2, 1}, false, false}, {45, 165}},
        {"one cell is the mean", {{1, 1}, false, false}, {105}},
        {"doubling repeats", {{6, 2}, false, false}, {0, 0, 90, 90, 180, 180, 30, 30, 120, 120, 210, 210}},
        {"inverted", {{3, 1}, false, true}, {255 - 15, 255 - 105, 255 - 195}},
        // The top-left colour turns white before averaging, also when inverted.
        {"transparent", {{1, 2}, true, true}, {(255 + 165 + 75) / 3, (225 + 135 + 45) / 3}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(graysOf(preparePicture(picture.view(), c.options)), c.grays) << c.name;
}

TEST(GrindPrepare, BitmapRowsAndPlainGridsAverageAlike)
{
    // B, G, R bytes, bottom row first, as a bitmap file keeps them.
    const unsigned char bytes[] = {10, 20, 30, 40, 50, 60, 0, 0, 70, 80, 90, 100, 110, 120, 0, 0};
    const BgrView bgr{bytes + 8, 2, 2, -8, 3};
    RgbGrid plain(2, 2);
    plain.set(0, 0, rgb(90, 80, 70));
    plain.set(1, 0, rgb(120, 110, 100));
    plain.set(0, 1, rgb(30, 20, 10));
    plain.set(1, 1, rgb(60, 50, 40));
    const PrepareOptions half{{1, 1}, false, false};
    EXPECT_EQ(preparePicture(bgr, half).pixels, preparePicture(plain.view(), half).pixels);
    EXPECT_EQ(preparePicture(bgr, half).at(0, 0), rgb(75, 65, 55));
}

TEST(GrindPrepare, DitherMixesNeighbouringLevels)
{
    struct Case {
        const char *name;
        std::string ramp;
        int gray;
        char dark;       // the byte counted
        int least, most; // how many of the 16 × 16 cells get it
    };
    const Case cases[] = {
        {"black stays black", "# ", 0, '#', 256, 256},
        {"white stays white", "# ", 255, '#', 0, 0},
        {"mid gray is half and half", "# ", 128, '#', 120, 136},
        {"a quarter", "# ", 191, '#', 56, 72},
        {"between two inner levels", "#+. ", 128, '+', 120, 136}, // levels 0, 85, 170, 255
    };
    for (const Case &c : cases) {
        RgbGrid g(16, 16, rgb(c.gray, c.gray, c.gray));
        ditherForRamp(g, c.ramp);
        const Lines rows = grind(g.view(), c.ramp);
        int count = 0;
        for (const std::string &row : rows)
            count += static_cast<int>(std::count(row.begin(), row.end(), c.dark));
        EXPECT_GE(count, c.least) << c.name;
        EXPECT_LE(count, c.most) << c.name;
    }
    RgbGrid untouched(2, 2, rgb(1, 2, 3));
    ditherForRamp(untouched, "");
    EXPECT_EQ(untouched.at(1, 1), rgb(1, 2, 3));
}

TEST(GrindPrepare, DitheredGrayMapsBackToEveryLevelOfALongRamp)
{
    // A ramp of 94 levels: a smooth gradient must reach the first and last byte
    // and every byte the lookup knows, each pixel landing on a level exactly.
    const std::string ramp = shippedRamp(RampKind::Levels94);
    RgbGrid g(256, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 256; ++x)
            g.set(x, y, rgb(x, x, x));
    ditherForRamp(g, ramp);
    std::string seen;
    for (const std::string &row : grind(g.view(), ramp))
        seen += row;
    for (char c : ramp.substr(0, ramp.size() - 1))
        EXPECT_NE(seen.find(c), std::string::npos) << "level '" << c << "' never used";
}

TEST(GrayRamp, ShippedRampsAreThoseOfTheShippedSettingsFile)
{
    const Profile shipped(std::string(VOMRA_TEST_DATA) + "/../../assets/QOBR.Ini");
    EXPECT_EQ(shippedRamp(RampKind::Standard), readRamp(shipped, RampKind::Standard));
    EXPECT_EQ(shippedRamp(RampKind::Levels94), readRamp(shipped, RampKind::Levels94));
    EXPECT_EQ(shippedRamp(RampKind::Custom), "");
}

} // namespace
} // namespace vomra
