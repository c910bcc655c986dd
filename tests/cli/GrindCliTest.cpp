#include "cli/Cli.h"
#include "support/CliRun.h"
#include "base/Gbk.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <utility>

using vomra::test::TempFolder;

namespace {

using Result = vomra::test::CliResult;

Result run(std::vector<std::string> args, bool terminal = false)
{
    args.insert(args.begin(), "grind");
    return vomra::test::run(args, {.terminal = terminal});
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
        // PNG is read as well, whatever the name says.
        {{fixture("picture.png")}, "M7 $!N\n\n$$M    $\n"},
        {{fixture("png-named.bmp")}, "M7 $!N\n\n$$M    $\n"},
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
        EXPECT_EQ(r.status, 0) << c.args.front();
        EXPECT_EQ(r.out, c.out) << c.args.front();
        EXPECT_EQ(r.err, "") << c.args.front();
    }
}

TEST(GrindCli, RampIsUtf8TextByDefault)
{
    // "黑白" is four GBK bytes, four levels; output rows go back through the codec.
    const Result r = run({"--ramp", "黑白", fixture("mono.bmp")});
    EXPECT_EQ(r.status, 0);
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
        {fixture("cut.jpg"),
         "vomra-cli grind: cannot read '" + fixture("cut.jpg") + "': damaged JPEG (Premature end of JPEG file)\n"},
        {fixture("cut.png"), "vomra-cli grind: cannot read '" + fixture("cut.png") + "': damaged PNG (file cut short)\n"},
        {fixture("not-a-picture.bmp"),
         "vomra-cli grind: cannot read '" + fixture("not-a-picture.bmp") + "': not a picture\n"},
        {fixture("cut.bmp"),
         "vomra-cli grind: cannot read '" + fixture("cut.bmp") + "': damaged bitmap (pixel rows cut short)\n"},
        {dir.file("none.bmp"), "vomra-cli grind: cannot read '" + dir.file("none.bmp") + "': no such file\n"},
        {dir.path(), "vomra-cli grind: cannot read '" + dir.path() + "': not a readable file\n"},
    };
    for (const Case &c : cases) {
        const Result r = run({"--ramp", "ab", c.path});
        EXPECT_EQ(r.status, 1) << c.path;
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
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.front());
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
    EXPECT_EQ(shown.status, 0);
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

TEST(GrindCli, BitmapsReadInPlaceMatchTheDecoder)
{
    // The same picture saved as a 24-bit bitmap (read in place) and as an
    // 8-bit one (decoded) gives the same text, with and without transparency.
    TempFolder dir;
    QImage picture(37, 9, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (x * 7 + y * 29) % 5 == 0 ? 0xFFFFFFu : qRgb(x % 4 * 80, y % 3 * 120, (x + y) % 5 * 60));
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    ASSERT_EQ(indexed.convertToFormat(QImage::Format_RGB32), picture) << "more colours than a palette holds";
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("rgb.bmp")), "BMP"));
    ASSERT_TRUE(indexed.save(QString::fromStdString(dir.file("indexed.bmp")), "BMP"));
    const std::string ramp = "0123456789abcdefghijklmnopqrstuvwxyz ";
    for (const char *option : {"--encoding=utf-8", "--transparent"}) {
        const Result inPlace = run({option, "--ramp", ramp, dir.file("rgb.bmp")});
        const Result decoded = run({option, "--ramp", ramp, dir.file("indexed.bmp")});
        EXPECT_EQ(inPlace.status, 0);
        EXPECT_EQ(std::count(inPlace.out.begin(), inPlace.out.end(), '\n'), 9) << option;
        EXPECT_EQ(inPlace.out, decoded.out) << option;
    }
}

TEST(GrindCli, CutBitmapsOfEveryKindAreDamaged)
{
    TempFolder dir;
    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(0x808080u);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("whole.bmp")), "BMP"));
    const std::string whole = dir.read("whole.bmp");
    std::string topDown32 = whole.substr(0, 54); // 32 bits, negative height, unpadded rows
    topDown32[2] = 0; // the size field is not checked; the rows are
    topDown32.replace(22, 4, std::string("\xFC\xFF\xFF\xFF", 4));
    topDown32.replace(28, 2, std::string("\x20\x00", 2));
    topDown32 += std::string(5 * 4 * 4, '\x40');
    ASSERT_EQ(run({dir.file("whole.bmp")}).status, 0);
    dir.write("top-down.bmp", topDown32);
    ASSERT_EQ(run({dir.file("top-down.bmp")}).status, 0);
    const std::pair<std::string, std::string> cut[] = {
        {"cut24.bmp", whole.substr(0, whole.size() - 2)}, // the last byte is padding
        {"cut32.bmp", topDown32.substr(0, topDown32.size() - 4)},
        {"headers.bmp", whole.substr(0, 54)},
    };
    for (const auto &[name, bytes] : cut) {
        dir.write(name, bytes);
        const Result r = run({dir.file(name)});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(r.err, "vomra-cli grind: cannot read '" + dir.file(name) + "': damaged bitmap (pixel rows cut short)\n")
            << name;
    }
}

TEST(GrindCli, TimingSplitOnRequest)
{
    const std::string picture = fixture("picture.bmp");
    ::setenv("VOMRA_GRIND_TIMING", "1", 1);
    const Result timed = run({picture});
    ::unsetenv("VOMRA_GRIND_TIMING");
    EXPECT_EQ(timed.status, 0);
    EXPECT_EQ(timed.out, run({picture}).out);
    const std::regex line(R"(grind timing: decode \d+\.\d ms, grind \d+\.\d ms, write \d+\.\d ms\n)");
    EXPECT_TRUE(std::regex_match(timed.err, line)) << timed.err;
    EXPECT_EQ(run({picture}).err, "");
}

TEST(GrindCli, LongOutputOfMixedRows)
{
    // More than a megabyte of rows, ASCII ones and GBK ones taking turns, so the
    // writes are gathered across several chunks and only some rows are converted.
    TempFolder dir;
    QImage picture(1200, 1000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (y / 3) % 2 == 0 ? 0x000000u : 0xFFFFFFu);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("bands.bmp")), "BMP"));
    // "M黑": 'M' for black, the second byte of 黑 (0xDA) for white; 0xDA 0xDA is a character.
    std::string expected;
    for (int y = 0; y < picture.height(); ++y)
        expected += (y / 3) % 2 == 0 ? std::string(1200, 'M') + "\n"
                                     : vomra::gbk::toUtf8(std::string(1200, '\xDA')) + "\n";
    const Result r = run({"--ramp", "M黑", dir.file("bands.bmp")});
    EXPECT_EQ(r.status, 0);
    EXPECT_GT(r.out.size(), std::size_t{1} << 20);
    EXPECT_TRUE(r.out == expected);
}

TEST(GrindCli, GrayRampsComeFromTheProgramFolder)
{
    TempFolder dir;
    dir.write("QOBR.Ini", vomra::gbk::fromUtf8("[图片磨牙器]\r\n常规灰度=#+\r\n94 级灰度=@\r\n自定义灰度=%=\r\n"));
    auto grindWith = [&](std::vector<std::string> args) {
        std::istringstream in;
        std::ostringstream out, err;
        args.insert(args.begin(), "grind");
        vomra::cli::Io io{in, out, err};
        io.programFolder = dir.path();
        const int code = vomra::cli::runCli(args, io);
        return Result{code, out.str(), err.str()};
    };
    struct Case {
        std::vector<std::string> args;
        Result expected;
    };
    const std::string picture = fixture("picture.bmp");
    // Each stored ramp gets the page's final blank, so white is blank and trimmed.
    const Case cases[] = {
        {{"--gray", "standard", picture}, {0, "#+ #+#\n\n###    #\n", ""}},
        {{"--gray=94", picture}, {0, "@@ @@@\n\n@@@    @\n", ""}},
        {{"--gray", "custom", picture}, {0, "%= %=%\n\n%%%    %\n", ""}},
        {{"--gray", "light", picture}, {2, "", "vomra-cli grind: unknown gray ramp 'light' (standard, 94 or custom)\n"}},
        {{"--gray", "94", "--ramp", "x", picture}, {2, "", "vomra-cli grind: give --ramp or --gray, not both\n"}},
    };
    for (const Case &c : cases) {
        const Result r = grindWith(c.args);
        EXPECT_EQ(r.status, c.expected.status) << c.args[1];
        EXPECT_EQ(r.out, c.expected.out) << c.args[1];
        EXPECT_EQ(r.err, c.expected.err) << c.args[1];
    }
    // A folder whose QOBR.Ini lacks the fixed ramps grinds with the shipped ones;
    // the custom ramp has no shipped form, so that one still grinds to blanks and says so.
    dir.write("QOBR.Ini", "");
    EXPECT_EQ(grindWith({"--gray", "standard", picture}).out, "@z &*M\n\n&&@    &\n");
    EXPECT_EQ(grindWith({"--gray", "94", picture}).out, "@f XJR\n\nXX@    X\n");
    const Result r = grindWith({"--gray", "custom", picture});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "vomra-cli grind: warning: " + dir.file("QOBR.Ini") +
                         " holds no ramp \"自定义灰度\"; every pixel becomes a blank\n");
}

// The same picture as bitmap, PNG (plain and with transparent pixels) and JPEG
// grinds to the same text, at full size and fitted, inverted or dithered.
TEST(GrindCli, ScaledDitheredAndInvertedGrindsAgreeAcrossFormats)
{
    // blocks: 4 × 4 flat blocks of 8 × 8 pixels, grays 0, 57, 128, 198 and white:
    //   # 2 . 3 / 1 # 3 . / . . 2 2 / # 1 . #
    struct Case {
        std::vector<std::string> options;
        std::string out; // empty: only the agreement is checked
    };
    const Case cases[] = {
        // Each cell of 8 × 16 pixels averages two blocks: (0 + 57) / 2 -> "N", ...
        {{"--width", "4"}, "N$;;\n7!'$\n"},
        {{"--height=2"}, "N$;;\n7!'$\n"},
        {{"--width", "4", "--invert"}, ";:NN\n7C$:\n"},
        // Square cells: a cell per block.
        {{"--width", "4", "--cell-aspect", "1"}, "M7 '\nQM'\n  77\nMQ M\n"},
        // Two levels: gray 128 gives one dark cell in two, 198 one in four.
        {{"--width", "8", "--cell-aspect=1", "--dither", "--ramp", "# "},
         "## #\n###    #\n####\n# ## #\n    # #\n     # #\n####  ##\n####  ##\n"},
        {{"--width", "4", "--cell-aspect=1", "--invert", "--dither"}, " 7M$\n' $M\nMM7>\n 'M\n"},
        {{"--width", "16", "--dither"}, ""},
        {{"--invert"}, ""},
        {{}, ""},
    };
    for (const Case &c : cases) {
        std::string first;
        for (const char *file : {"blocks.bmp", "blocks.png", "blocks-alpha.png", "blocks.jpg"}) {
            std::vector<std::string> args = c.options;
            args.push_back(fixture(file));
            const Result r = run(args);
            const std::string what = std::string(file) + " " + (c.options.empty() ? "" : c.options.front());
            EXPECT_EQ(r.status, 0) << what;
            EXPECT_EQ(r.err, "") << what;
            if (!c.out.empty()) {
                EXPECT_EQ(r.out, c.out) << what;
            }
            if (first.empty())
                first = r.out;
            EXPECT_EQ(r.out, first) << what;
            EXPECT_NE(r.out, "") << what;
        }
    }
    // The full-size grind: a character per pixel.
    const Result full = run({fixture("blocks.jpg")});
    EXPECT_EQ(full.out.substr(0, full.out.find('\n')), "MMMMMMMM77777777        ''''''''");
}

TEST(GrindCli, BadScaleOptions)
{
    const std::string picture = fixture("blocks.bmp");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"--width", "0", picture}, "vomra-cli grind: --width wants a whole number from 1 to 10000, not '0'\n"},
        {{"--height=x", picture}, "vomra-cli grind: --height wants a whole number from 1 to 10000, not 'x'\n"},
        {{"--width", "10001", picture}, "vomra-cli grind: --width wants a whole number from 1 to 10000, not '10001'\n"},
        {{"--cell-aspect", "0", picture}, "vomra-cli grind: --cell-aspect wants a number from 0.1 to 10, not '0'\n"},
        {{"--cell-aspect=2x", picture}, "vomra-cli grind: --cell-aspect wants a number from 0.1 to 10, not '2x'\n"},
    };
    for (const Case &c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.front();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}
