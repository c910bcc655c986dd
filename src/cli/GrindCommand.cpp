// vomra-cli grind: a Windows bitmap to rows of characters through a gray ramp.
#include "base/Settings.h"
#include "art/GrayRamp.h"
#include "art/Grind.h"
#include "art/MappedBitmap.h"
#include "cli/Cli.h"
#include "base/Bmp.h"
#include "base/Gbk.h"
#include "base/PictureKind.h"

#include <sys/stat.h>
#include <unistd.h>

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

// The picture, mapped and read by the bitmap reader the picture page uses; false
// (with the reason printed) when it cannot be ground.
bool readBitmap(const std::string &path, MappedBitmap &bitmap, std::ostream &err)
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
    const bmp::Outcome &outcome = bitmap.outcome();
    if (outcome.ok())
        return true;
    if (outcome.verdict != bmp::Verdict::NotBitmap) {
        err << cannot << bmp::message(outcome) << "\n";
        return false;
    }
    // The content decides, not the name: a renamed JPEG is still no bitmap.
    const std::string_view bytes = bitmap.bytes();
    switch (pictureKindOf(bytes)) {
    case PictureKind::Jpeg:
    case PictureKind::Png:
    case PictureKind::Icon:
        err << "当图象为位图时才能修改它.\n";
        break;
    default:
        err << cannot << "not a picture\n";
        break;
    }
    return false;
}

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

} // namespace

int runGrind(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    bool transparent = false;
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
    Lines rows;
    {
        MappedBitmap bitmap;
        if (!readBitmap(pictures.front(), bitmap, io.err))
            return kFailed;
        const long long pixels = static_cast<long long>(bitmap.width()) * bitmap.height();
        decodeMs = millisecondsSince(start);
        start = Clock::now();
        ProgressLine progress(io.err);
        GrindOptions options;
        options.transparent = transparent;
        if (io.errIsTerminal && pixels >= kProgressPixels)
            options.onRow = [&progress](int row, int count) { progress.update(row, count); };
        rows = bitmap.grind(ramp, options);
        progress.clear();
        if (bitmap.cut()) {
            io.err << "vomra-cli grind: cannot read '" << pictures.front()
                   << "': " << bmp::message({bmp::Verdict::Damaged, bmp::kCutWhileRead}) << "\n";
            return kFailed;
        }
        grindMs = millisecondsSince(start);
    } // the picture is freed before the text is written
    start = Clock::now();
    writeOutputLines(io, enc, rows);
    if (timing) {
        char line[128];
        std::snprintf(line, sizeof line, "grind timing: decode %.1f ms, grind %.1f ms, write %.1f ms\n", decodeMs,
                      grindMs, millisecondsSince(start));
        io.err << line << std::flush;
    }
    return kOk;
}

} // namespace vomra::cli
