// The bitmap reader as the picture page and as `vomra-cli grind` use it: the
// bytes decoded into a QImage and ground (the page), and the same bytes written
// to a file and ground by the command (mapped, read in place or decoded). Both
// must agree: the same rows, or the same refusal with the same message.

#include "art/core/Grind.h"
#include "art/ui/GrindImage.h"
#include "cli/Cli.h"
#include "base/Bmp.h"
#include "platform/ImageIO.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace vomra;

namespace {

// Headers claiming more pixels than this are only checked, not decoded: the
// limit itself is tested elsewhere, and big pictures slow the search down.
constexpr std::int64_t kDecodePixels = 1 << 16;

// 64 levels, all above the blank, so every pixel leaves a trace in the rows.
const std::string kRamp = "@#$%&*0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuv";

[[noreturn]] void fail(const char *what, const std::string &detail)
{
    std::fprintf(stderr, "bmp_fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

const std::string &scratchFile()
{
    static const std::string path = [] {
        const char *dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/bmp_fuzz." + std::to_string(::getpid()) + ".bmp";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (pictureKindOf(std::string_view(reinterpret_cast<const char *>(data), size)) != PictureKind::Bitmap)
        return 0; // other kinds have harnesses of their own
    const Result<bmp::Header> outcome = bmp::readHeader(data, size);
    const bmp::Header header = outcome ? *outcome : bmp::Header{};
    if (outcome.ok() && std::int64_t(header.width) * header.height > kDecodePixels)
        return 0;
    const bool transparent = size % 2 == 1;

    // The page: decoded from memory, then ground.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<Picture> load = decodePicture(bytes);
    if (load && load->kind != PictureKind::Bitmap)
        fail("a bitmap was not taken for one", "");
    if (load.ok() != outcome.ok())
        fail("the page and the header reader disagree", load.message());
    std::string pageText;
    if (load.ok()) {
        if (load->image.width() != header.width || load->image.height() != header.height)
            fail("decoded size differs from the header", "");
        GrindOptions options;
        options.transparent = transparent;
        for (const std::string &row : grind(rgbView(grindableImage(load->image)), kRamp, options))
            pageText += row + "\n";
    }

    // The command: the same bytes as a file.
    const std::string &file = scratchFile();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), std::streamsize(size));
    }
    std::vector<std::string> args = {"grind", "--encoding", "gbk", "--ramp", kRamp, file};
    if (transparent)
        args.insert(args.begin() + 1, "--transparent");
    std::istringstream in;
    std::ostringstream out, err;
    const int code = cli::runCli(args, {in, out, err, false});
    ::unlink(file.c_str());

    if (load.ok()) {
        if (code != 0 || !err.str().empty())
            fail("the command refused what the page grinds", err.str());
        if (out.str() != pageText)
            fail("the command and the page give different rows", "page:\n" + pageText + "command:\n" + out.str());
    } else {
        const std::string want = "vomra-cli grind: cannot read '" + file + "': " + load.message() + "\n";
        if (code != 1 || !out.str().empty() || err.str() != want)
            fail("the command and the page refuse differently", "page: " + want + "command: " + err.str());
    }
    return 0;
}
