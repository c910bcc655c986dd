// The FreeType drawer against the Qt drawer it replaces: the same extent and the
// same ink, pixel for pixel, over the fonts, sizes and styles the program uses.
#include "glyph/GlyphDrawer.h"
#include "support/QtGlyphReference.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vomra;
using namespace vomra::test;

namespace {

int differingPixels(const InkGrid &a, const InkGrid &b)
{
    int diff = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            diff += a.ink(x, y) != b.ink(x, y) ? 1 : 0;
    return diff;
}

} // namespace

TEST(GlyphDrawer, SameInkAsTheQtDrawer)
{
    // Every size of the page's list (the Song strikes among them) and sizes past
    // 64 pixels, where glyphs are filled from their outlines; the Latin faces the
    // fuzzing harness draws with, Chinese in them coming from a fallback face.
    const char *const families[] = {"宋体", "DejaVu Sans", "DejaVu Serif", "Nimbus Sans"};
    const char *const words[] = {"艺术字", "Vomra Ag", "艺术字Ag|,", "★☆§→〓", ""};
    std::vector<int> sizes;
    for (int points = 6; points <= 30; ++points)
        sizes.push_back(points);
    for (int points : {36, 48, 49, 72, 100})
        sizes.push_back(points);
    int compared = 0;
    for (const char *family : families)
        for (const int points : sizes)
            for (int style = 0; style < 8; ++style) {
                const bool bold = (style & 1) != 0, italic = (style & 2) != 0, underline = (style & 4) != 0;
                const QtGlyphReference old({QString::fromUtf8(family), points, bold, italic, underline});
                const GlyphDrawer drawer({family, points, bold, italic, underline});
                ASSERT_EQ(drawer.textHeight(), old.textHeight()) << family << " " << points;
                for (const char *word : words) {
                    SCOPED_TRACE(testing::Message() << family << " " << points << "pt b" << bold << " i" << italic
                                                    << " u" << underline << " '" << word << "'");
                    const InkGrid want = old.inkGrid(QString::fromUtf8(word));
                    const InkGrid got = drawer.inkGrid(word);
                    ASSERT_EQ(got.width(), want.width());
                    ASSERT_EQ(got.height(), want.height());
                    ASSERT_EQ(differingPixels(got, want), 0);
                    EXPECT_EQ(drawer.textWidth(word), old.textWidth(QString::fromUtf8(word)));
                    ++compared;
                }
            }
    EXPECT_EQ(compared, 4 * 30 * 8 * 5);
}

TEST(GlyphDrawer, FamiliesAsTheQtDrawerResolvesThem)
{
    struct Case {
        const char *family;
        bool installed;
    };
    const Case cases[] = {{"宋体", true}, {"SimSun", true}, {"新宋体", true}, {"DejaVu Serif", true},
                          {"No Such Face 42", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.family);
        const QtGlyphReference old({QString::fromUtf8(c.family), 9});
        const GlyphDrawer drawer({c.family, 9});
        EXPECT_EQ(drawer.familyInstalled(), c.installed);
        EXPECT_EQ(old.familyInstalled(), c.installed);
        if (c.installed) {
            EXPECT_EQ(drawer.resolvedFamily(), old.resolvedFamily().toStdString());
        }
    }
    EXPECT_EQ(GlyphDrawer({"宋体", 9}).resolvedFamily(), kSongStandIn);
}
