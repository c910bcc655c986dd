#include "cli/Cli.h"
#include "platform/Gbk.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <sstream>

using vomra::test::TempFolder;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> args, bool terminal = false)
{
    std::istringstream in;
    std::ostringstream out, err;
    args.insert(args.begin(), "grind");
    const int code = vomra::cli::runCli(args, {in, out, err, terminal});
    return {code, out.str(), err.str()};
}

std::string fixture(const std::string &name) { return std::string(VOMRA_TEST_DATA) + "/grind/" + name; }

const char *const kNotBitmap = "当图象为位图时才能修改它.\n";

} // namespace

TEST(GrindCli, GrindsBitmaps)
{
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::string picture = fixture("picture.bmp");
    // picture.bmp: a white border, then black, gray 128, white, red, green, blue,
    // white, white; a white band; red, red, black, four white, red; a white border.
    const Case cases[] = {
        {{picture}, "M7 $!N\n\n$$M    $\n"},
        {{fixture("bmp-named.png")}, "M7 $!N\n\n$$M    $\n"},
        {{fixture("mono.bmp")}, "M M\n M\n"},
        {{fixture("corner.bmp")}, "$$M$\nM$ N\n$$$$\n"},
        // Every pixel of the top-left red turns white; the emptied last row goes.
        {{"--transparent", fixture("corner.bmp")}, "  M\nM  N\n"},
        {{fixture("corner.bmp"), "--transparent"}, "  M\nM  N\n"},
        {{"--ramp", "#+ ", picture}, "#+ #+#\n\n###    #\n"},
        {{"--ramp=#+ ", picture}, "#+ #+#\n\n###    #\n"},
        {{"--ramp", "x", picture}, "xxxxxxxx\nxxxxxxxx\nxxxxxxxx\nxxxxxxxx\nxxxxxxxx\n"},
        {{"--ramp", "", picture}, ""},
        {{"--ramp", "M ", "--", picture}, "MM MMM\n\nMMM    M\n"},
        {{"--encoding", "gbk", "--ramp", "\xBA\xDA\xB0\xD7", fixture("mono.bmp")},
         "\xBA\xD7\xBA\xD7\xD7\n\xD7\xBA\xD7\xD7\xD7\n"},
    };
    for (const Case &c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.code, 0) << c.args.front();
        EXPECT_EQ(r.out, c.out) << c.args.front();
        EXPECT_EQ(r.err, "") << c.args.front();
    }
}

TEST(GrindCli, RampIsUtf8TextByDefault)
{
    // "黑白" is four GBK bytes, four levels; output rows go back through the codec.
    const Result r = run({"--ramp", "黑白", fixture("mono.bmp")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, vomra::gbk::toUtf8("\xBA\xD7\xBA\xD7\xD7") + "\n" + vomra::gbk::toUtf8("\xD7\xBA\xD7\xD7\xD7") + "\n");
    EXPECT_EQ(r.err, "");
}

TEST(GrindCli, PicturesThatCannotBeGround)
{
    TempFolder dir;
    struct Case {
        std::string path;
        std::string err;
    };
    const Case cases[] = {
        {fixture("picture.png"), kNotBitmap},
        {fixture("png-named.bmp"), kNotBitmap},
        {fixture("not-a-picture.bmp"),
         "vomra-cli grind: cannot read '" + fixture("not-a-picture.bmp") + "': not a picture\n"},
        {fixture("cut.bmp"), "vomra-cli grind: cannot read '" + fixture("cut.bmp") + "': damaged bitmap\n"},
        {dir.file("none.bmp"), "vomra-cli grind: cannot read '" + dir.file("none.bmp") + "': no such file\n"},
        {dir.path(), "vomra-cli grind: cannot read '" + dir.path() + "': not a readable file\n"},
    };
    for (const Case &c : cases) {
        const Result r = run({"--ramp", "ab", c.path});
        EXPECT_EQ(r.code, 1) << c.path;
        EXPECT_EQ(r.out, "") << c.path;
        EXPECT_EQ(r.err, c.err) << c.path;
    }
}

TEST(GrindCli, BadOptions)
{
    const std::string picture = fixture("picture.bmp");
    const std::vector<std::string> cases[] = {
        {},
        {picture, picture},
        {"--bogus", picture},
        {"--transparent=1", picture},
        {picture, "--ramp"},
        {"--encoding", "latin1", picture},
        {"--encoding"},
    };
    for (const auto &args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args.front());
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err; // one line
    }
    EXPECT_EQ(run({}).err, "vomra-cli grind: no picture given\n");
    EXPECT_EQ(run({"--bogus", picture}).err, "vomra-cli grind: unknown option '--bogus'\n");
}

TEST(GrindCli, ProgressOnlyOnATerminalForLargePictures)
{
    TempFolder dir;
    QImage large(1000, 1000, QImage::Format_RGB32);
    large.fill(0xFFFFFFu);
    large.setPixel(999, 500, 0u);
    ASSERT_TRUE(large.save(QString::fromStdString(dir.file("large.bmp")), "BMP"));
    const std::string row = std::string(999, ' ') + "M\n";

    const Result quiet = run({dir.file("large.bmp")});
    EXPECT_EQ(quiet.out, row);
    EXPECT_EQ(quiet.err, "");

    const Result shown = run({dir.file("large.bmp")}, true);
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.out, row);
    // Each percentage once, then the line is wiped.
    std::string expected;
    for (int p = 0; p <= 100; ++p)
        expected += "\rgrinding [" + std::string(p * 40 / 100, '#') + std::string(40 - p * 40 / 100, ' ') + "] " +
                    std::to_string(p) + "%";
    expected += "\r\x1b[K";
    EXPECT_EQ(shown.err, expected);

    const Result small = run({fixture("picture.bmp")}, true);
    EXPECT_EQ(small.err, "");
}
