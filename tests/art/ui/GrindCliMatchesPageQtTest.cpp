// `vomra-cli grind FILE` and the picture grinder page read pictures alike: a file
// is ground to the same rows by both, or refused by both for the same reason.
// The page is driven in the real main window; the command runs in-process.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "art/ui/ArtFontPage.h"
#include "art/ui/PicturePage.h"
#include "cli/Cli.h"
#include "platform/GbkQt.h"
#include "platform/ImageIO.h"
#include "support/MainWindowFixture.h"
#include "support/CliRun.h"
#include "support/BmpBuilder.h"
#include "support/TempFolder.h"
#include "widgets/Button.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace vomra;
using vomra::test::BmpLayout;
using vomra::test::bmpFile;
using vomra::test::TempFolder;

namespace {

QStringList *g_qtMessages = nullptr;

void recordQtMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    if (g_qtMessages)
        g_qtMessages->append(text);
}

test::CliResult grindWithCli(const std::string &file) { return test::run({"grind", "--encoding", "gbk", file}); }

// A picture of `width` x `height` whose stored pixels are all `white` but for
// `black` in the top-left and bottom-right corners.
BmpLayout cornerPicture(int width, int height, int bits, std::uint32_t white, std::uint32_t black)
{
    BmpLayout b;
    b.width = width;
    b.height = height;
    b.bits = bits;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const int bytes = bits / 8;
    std::string row;
    for (int x = 0; x < width; ++x)
        vomra::test::putLe(row, white, bytes);
    row.resize(rowBytes, '\0');
    b.pixels.reserve(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) // bottom row first
        b.pixels += row;
    std::string ink;
    vomra::test::putLe(ink, black, bytes);
    b.pixels.replace(static_cast<std::size_t>(height - 1) * rowBytes, ink.size(), ink); // top-left
    b.pixels.replace((static_cast<std::size_t>(width) - 1) * bytes, ink.size(), ink);   // bottom-right
    return b;
}

std::string S(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

class GrindCliMatchesPage : public test::MainWindowFixture {
protected:
    QString answer;

    void SetUp() override
    {
        dialogs::nextFileName() = [this](const FileQuestion &) { return answer; };
        openWindow();
        QTest::mouseClick(frm->GWImageLabels[1], Qt::LeftButton);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        frm->close();
        dialogs::nextFileName() = nullptr;
    }
    // The page's rows for the file, as the CLI writes them: one line end each.
    std::string groundOnThePage(const std::string &file)
    {
        answer = QString::fromStdString(file);
        QTest::mouseClick(frm->picture->picturepnl1Button1, Qt::LeftButton);
        QTest::mouseClick(frm->artFont->artfontImageLabel(1), Qt::LeftButton);
        const std::string text = gbk::fromQString(frm->artFont->artfontRichEdit1->toPlainText());
        return text.empty() ? text : text + "\n";
    }
};

} // namespace

TEST_F(GrindCliMatchesPage, SameRowsOrTheSameRefusal)
{
    const std::vector<std::uint32_t> grey = {0x000000, 0xFFFFFF, 0x808080, 0xFF0000};

    BmpLayout unpadded;
    unpadded.width = 3;
    unpadded.height = 2;
    unpadded.pixels = vomra::test::packRows(3, 2, 24, {0x000000, 0x808080, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF}, false);
    std::string unpaddedFile = bmpFile(unpadded);
    unpaddedFile.resize(unpaddedFile.size() - 3);

    // Just over the 128 MB a decoded 32-bit picture may take in Qt's reader.
    BmpLayout big8 = cornerPicture(5800, 5800, 8, 1, 0);
    big8.palette = grey;
    const BmpLayout big16 = cornerPicture(5800, 5800, 16, 0x7FFF, 0);
    const std::string bigRows = "M\n" + std::string(5798, '\n') + std::string(5799, ' ') + "M\n";

    BmpLayout rle;
    rle.width = 4;
    rle.height = 3;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette = grey;
    // Bottom row: two white, end of line; then a delta to the top row's third
    // pixel, grey there, end of bitmap. Every other pixel is index 0, black.
    rle.pixels = S({2, 1, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1});
    const std::string rleFileBytes = bmpFile(rle);
    std::string rleCut = rleFileBytes.substr(0, rleFileBytes.size() - 4);

    BmpLayout small;
    small.width = 2;
    small.height = 2;
    small.pixels = vomra::test::packRows(2, 2, 24, {0, 0xFFFFFF, 0xFFFFFF, 0}, false);
    auto with = [](BmpLayout b, auto change) {
        change(b);
        return bmpFile(b);
    };
    BmpLayout mono;
    mono.width = 4;
    mono.height = 2;
    mono.bits = 1;
    mono.coloursUsed = 256;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.pixels = S({0x50, 0, 0, 0, 0xA0, 0, 0, 0});

    // JPEG: the page's pictures and the command share one decoder.
    std::ifstream fixture(VOMRA_TEST_DATA "/images/quadrants.jpg", std::ios::binary);
    const std::string jpeg{std::istreambuf_iterator<char>(fixture), std::istreambuf_iterator<char>()};
    std::string jpegHuge = jpeg;
    const std::size_t sof = jpegHuge.find("\xFF\xC0");
    jpegHuge[sof + 5] = jpegHuge[sof + 7] = '\xFF'; // the high bytes of height and width

    const struct {
        const char *name;
        std::string bytes;
        std::string refusal; // empty: ground
        std::string rows;    // the rows both give; empty: not fixed here
    } cases[] = {
        {"24 bits without the last row's padding", unpaddedFile, "", "M7\n$!N\n"},
        {"8 bits, 5800 x 5800", bmpFile(big8), "", bigRows},
        {"16 bits, 5800 x 5800", bmpFile(big16), "", bigRows},
        {"1 bit claiming 256 colours", bmpFile(mono), "", " M M\nM M\n"},
        {"RLE8 with end of line, delta and end of bitmap", rleFileBytes, "", "MM7M\nMMMM\n  MM\n"},
        {"RLE8 cut short", rleCut, "damaged bitmap (run-length data cut short)", ""},
        {"pixel offset past the end", with(small, [](BmpLayout &b) { b.offset = 4096; }),
         "damaged bitmap (pixel data past the end of the file)", ""},
        {"pixel offset inside the headers", with(small, [](BmpLayout &b) { b.offset = 20; }),
         "damaged bitmap (pixel data inside the headers)", ""},
        {"24 bits, 8001 x 8000", with(small, [](BmpLayout &b) { b.width = 8001; b.height = 8000; }),
         "bitmap too large (8001 x 8000 pixels)", ""},
        {"stride times height past 64 bits",
         with(small, [](BmpLayout &b) { b.width = INT_MAX; b.height = INT_MIN; b.bits = 32; }),
         "bitmap too large (2147483647 x 2147483648 pixels)", ""},
        {"JPEG inside", with(small, [](BmpLayout &b) { b.compression = 4; }), "bitmap not supported (JPEG data inside)", ""},
        {"2 bits", with(small, [&](BmpLayout &b) { b.bits = 2; b.palette = grey; }),
         "bitmap not supported (2 bits per pixel)", ""},
        {"JPEG cut in its scan", jpeg.substr(0, jpeg.size() * 2 / 3), "damaged JPEG (Premature end of JPEG file)", ""},
        {"JPEG claiming 65312 x 65304 pixels", jpegHuge, "JPEG too large (65312 x 65304 pixels)", ""},
    };
    QStringList qtMessages;
    g_qtMessages = &qtMessages;
    const QtMessageHandler previous = qInstallMessageHandler(recordQtMessage);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("p.bmp", c.bytes);
        const std::string file = dir.file("p.bmp");
        qtMessages.clear();
        const test::CliResult cli = grindWithCli(file);
        EXPECT_TRUE(qtMessages.isEmpty()) << qPrintable(qtMessages.join(QLatin1Char('\n')));
        const Result<Picture> load = loadPicture(file);
        if (c.refusal.empty()) {
            EXPECT_EQ(cli.status, 0);
            EXPECT_EQ(cli.err, "");
            EXPECT_TRUE(load.ok()) << load.message();
            if (!c.rows.empty()) {
                EXPECT_EQ(cli.out, c.rows);
            }
            EXPECT_EQ(groundOnThePage(file), cli.out);
        } else {
            EXPECT_EQ(cli.status, 1);
            EXPECT_EQ(cli.out, "");
            EXPECT_EQ(cli.err, "vomra-cli grind: cannot read '" + file + "': " + c.refusal + "\n");
            EXPECT_FALSE(load.ok());
            EXPECT_EQ(load.message(), c.refusal);
            // The page keeps the picture it had.
            const qint64 before = frm->picture->WorkCopy().cacheKey();
            answer = QString::fromStdString(file);
            QTest::mouseClick(frm->picture->picturepnl1Button1, Qt::LeftButton);
            EXPECT_EQ(frm->picture->WorkCopy().cacheKey(), before);
        }
    }
    qInstallMessageHandler(previous);
    g_qtMessages = nullptr;
}
