// vomra-cli grind: a picture (bitmap, JPEG, PNG) to rows of characters through a gray ramp.
#include "base/Settings.h"
#include "art/core/GrayRamp.h"
#include "art/core/Grind.h"
#include "art/core/GrindPrepare.h"
#include "art/core/MappedBitmap.h"
#include "cli/Cli.h"
#include "base/Bmp.h"
#include "base/Gbk.h"
#include "base/PictureKind.h"
#include "picture/PictureDecode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace vomra::cli {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Below this many pixels a grind is over before a progress line could be read.
constexpr long long kProgressPixels = 1000000;

// A bar and the percentage on one terminal line, redrawn only when the percentage changes.
class ProgressLine {
public:
    explicit ProgressLine(std::ostream &err) : m_err(err) {}
    void update(int row, int rowCount)
    {
        const int percent = rowCount > 1 ? row * 100 / (rowCount - 1) : 100;
        if (percent == m_percent)
            return;
        m_percent = percent;
        const int filled = percent * kBarWidth / 100;
        m_err << "\rgrinding [" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << percent << '%'
              << std::flush;
    }
    void clear()
    {
        if (m_percent >= 0)
            m_err << "\r\x1b[K" << std::flush;
    }

private:
    static constexpr int kBarWidth = 40;
    std::ostream &m_err;
    int m_percent = -1;
};

// The picture, mapped and read by the bitmap reader the picture page uses, or a
// JPEG or PNG decoded into `decoded`; false (with the reason printed) when it
// cannot be ground.
bool readPicture(const std::string &path, MappedBitmap &bitmap, Result<picture::Decoded> *decoded,
                 const picture::NeededFor &needed, std::ostream &err)
{
    const std::string cannot = "vomra-cli grind: cannot read '" + path + "': ";
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        err << cannot << "no such file\n";
        return false;
    }
    if (!S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0) {
        err << cannot << "not a readable file\n";
        return false;
    }
    if (!bitmap.open(path)) {
        err << cannot << bitmap.fileError() << "\n";
        return false;
    }
    const Result<void> &status = bitmap.status();
    if (status)
        return true;
    if (pictureKindOf(bitmap.bytes()) == PictureKind::Bitmap) {
        err << cannot << status.message() << "\n";
        return false;
    }
    // The content decides, not the name: a renamed JPEG is still no bitmap.
    const std::string_view bytes = bitmap.bytes();
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const picture::Format format = picture::formatOf(data, bytes.size());
    if (format != picture::Format::Unknown) {
        *decoded = picture::decode(data, bytes.size(), needed);
        if (decoded->ok())
            return true;
        err << cannot << decoded->error().message << "\n";
        return false;
    }
    switch (pictureKindOf(bytes)) {
    case PictureKind::Icon:
        err << "当图象为位图时才能修改它.\n";
        break;
    default:
        err << cannot << "not a picture\n";
        break;
    }
    return false;
}

// A whole number from 1 to `most`, or nothing (with the reason printed).
std::optional<int> cellCount(const std::string &value, const char *option, int most, std::ostream &err)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < 1 || n > most) {
        err << "vomra-cli grind: " << option << " wants a whole number from 1 to " << most << ", not '" << value
            << "'\n";
        return std::nullopt;
    }
    return n;
}

std::optional<double> cellAspect(const std::string &value, std::ostream &err)
{
    double a = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), a);
    if (ec != std::errc() || end != value.data() + value.size() || !(a >= 0.1 && a <= 10)) {
        err << "vomra-cli grind: --cell-aspect wants a number from 0.1 to 10, not '" << value << "'\n";
        return std::nullopt;
    }
    return a;
}

// Columns and rows beyond this make no sense for chat text and only cost memory.
constexpr int kMostCells = 10000;

std::optional<RampKind> rampKindNamed(const std::string &name)
{
    if (name == "standard")
        return RampKind::Standard;
    if (name == "94")
        return RampKind::Levels94;
    if (name == "custom")
        return RampKind::Custom;
    return std::nullopt;
}

// The text as it lies when nothing in it needs converting, otherwise row by row
// through the codec as every command writes.
void writeGround(Io &io, Encoding enc, const GroundText &text, std::string_view ramp)
{
    const bool ascii = std::none_of(ramp.begin(), ramp.end(), [](char c) { return (c & 0x80) != 0; });
    if (enc == Encoding::Utf8 && !ascii) {
        writeOutputLines(io, enc, text.lines());
        return;
    }
    if (io.outError != 0)
        return;
    errno = 0;
    for (const std::string_view piece : text.pieces())
        io.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    io.out.flush();
    if (!io.out)
        io.outError = errno ? errno : EIO;
}

} // namespace

int runGrind(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    bool transparent = false;
    bool dither = false;
    bool invert = false;
    int wantColumns = 0;
    int wantRows = 0;
    double aspect = kCellAspect;
    std::optional<std::string> rampArg;
    std::optional<std::string> grayArg;
    std::vector<std::string> pictures;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            pictures.push_back(a);
            ++i;
        } else if (a == "--") {
            optionsEnded = true;
            ++i;
        } else if (a == "--transparent") {
            transparent = true;
            ++i;
        } else if (a == "--dither") {
            dither = true;
            ++i;
        } else if (a == "--invert") {
            invert = true;
            ++i;
        } else if (a == "--width" || a.rfind("--width=", 0) == 0 || a == "--height" || a.rfind("--height=", 0) == 0) {
            const bool across = a.rfind("--width", 0) == 0;
            const char *name = across ? "--width" : "--height";
            const std::optional<std::string> value = takeValue(args, i, name, "vomra-cli grind", io.err);
            const std::optional<int> n = value ? cellCount(*value, name, kMostCells, io.err) : std::nullopt;
            if (!n)
                return kUsage;
            (across ? wantColumns : wantRows) = *n;
        } else if (a == "--cell-aspect" || a.rfind("--cell-aspect=", 0) == 0) {
            const std::optional<std::string> value = takeValue(args, i, "--cell-aspect", "vomra-cli grind", io.err);
            const std::optional<double> n = value ? cellAspect(*value, io.err) : std::nullopt;
            if (!n)
                return kUsage;
            aspect = *n;
        } else if (a == "--ramp" || a.rfind("--ramp=", 0) == 0) {
            rampArg = takeValue(args, i, "--ramp", "vomra-cli grind", io.err);
            if (!rampArg)
                return kUsage;
        } else if (a == "--gray" || a.rfind("--gray=", 0) == 0) {
            grayArg = takeValue(args, i, "--gray", "vomra-cli grind", io.err);
            if (!grayArg)
                return kUsage;
        } else if (a == "--encoding" || a.rfind("--encoding=", 0) == 0) {
            if (!takeEncoding(args, i, enc, io.err))
                return kUsage;
        } else {
            io.err << "vomra-cli grind: unknown option '" << a << "'\n";
            return kUsage;
        }
    }
    if (pictures.size() != 1) {
        io.err << (pictures.empty() ? "vomra-cli grind: no picture given\n"
                                    : "vomra-cli grind: give one picture only\n");
        return kUsage;
    }

    if (rampArg && grayArg) {
        io.err << "vomra-cli grind: give --ramp or --gray, not both\n";
        return kUsage;
    }
    std::string ramp(kStartRamp);
    if (grayArg) {
        const std::optional<RampKind> kind = rampKindNamed(*grayArg);
        if (!kind) {
            io.err << "vomra-cli grind: unknown gray ramp '" << *grayArg << "' (standard, 94 or custom)\n";
            return kUsage;
        }
        const Profile settings(settingsPath(programFolderOf(io)));
        ramp = readRamp(settings, *kind);
        // A folder without the shipped settings file still has the shipped ramps.
        if (ramp == " " && *kind != RampKind::Custom)
            ramp = shippedRamp(*kind);
        if (ramp == " ")
            io.err << "vomra-cli grind: warning: " << settings.path() << " holds no ramp \"" << rampKey(*kind)
                   << "\"; every pixel becomes a blank\n";
    } else if (rampArg) {
        bool lossy = false;
        ramp = enc == Encoding::Utf8 ? gbk::fromUtf8(*rampArg, &lossy) : *rampArg;
        if (lossy)
            io.err << "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n";
    }

    const bool timing = std::getenv("VOMRA_GRIND_TIMING") != nullptr;
    auto start = Clock::now();
    double decodeMs = 0, grindMs = 0;
    GroundText rows;
    {
        MappedBitmap bitmap;
        Result<picture::Decoded> read = picture::Decoded{};
        const bool prepared = wantColumns > 0 || wantRows > 0 || dither || invert;
        // A JPEG far larger than the cells wanted is decoded smaller at once;
        // each cell still averages four by four pixels or more.
        const picture::NeededFor needed = [&](int w, int h) {
            if (wantColumns == 0 && wantRows == 0)
                return picture::Needed{};
            const CellSize cells = fitCells(w, h, wantColumns, wantRows, aspect);
            return picture::Needed{cells.columns * 4, cells.rows * 4};
        };
        if (!readPicture(pictures.front(), bitmap, &read, needed, io.err))
            return kFailed;
        const picture::Decoded &decoded = *read;
        const bool isBitmap = bitmap.status().ok();
        const RgbView decodedView{decoded.pixels.data(), decoded.width, decoded.height, decoded.width};
        const int width = isBitmap ? bitmap.width() : decoded.width;
        const int height = isBitmap ? bitmap.height() : decoded.height;
        const long long pixels = static_cast<long long>(width) * height;
        decodeMs = millisecondsSince(start);
        start = Clock::now();
        ProgressLine progress(io.err);
        GrindOptions options;
        options.transparent = transparent;
        if (io.errIsTerminal && pixels >= kProgressPixels)
            options.onRow = [&progress](int row, int count) { progress.update(row, count); };
        if (prepared) {
            PrepareOptions prepare;
            prepare.transparent = transparent;
            prepare.invert = invert;
            if (wantColumns > 0 || wantRows > 0)
                prepare.size = fitCells(width, height, wantColumns, wantRows, aspect);
            RgbGrid grid = isBitmap ? bitmap.prepare(prepare) : preparePicture(decodedView, prepare);
            if (dither)
                ditherForRamp(grid, ramp);
            options.transparent = false; // already white
            options.onRow = {};
            rows = grindText(grid.view(), ramp, options);
        } else {
            rows = isBitmap ? bitmap.grindText(ramp, options) : grindText(decodedView, ramp, options);
        }
        progress.clear();
        if (bitmap.cut()) {
            io.err << "vomra-cli grind: cannot read '" << pictures.front()
                   << "': " << bmp::damaged(bmp::kCutWhileRead).message << "\n";
            return kFailed;
        }
        grindMs = millisecondsSince(start);
    } // the picture is freed before the text is written
    start = Clock::now();
    writeGround(io, enc, rows, ramp);
    if (timing) {
        char line[128];
        std::snprintf(line, sizeof line, "grind timing: decode %.1f ms, grind %.1f ms, write %.1f ms\n", decodeMs,
                      grindMs, millisecondsSince(start));
        io.err << line << std::flush;
    }
    return kOk;
}

} // namespace vomra::cli
