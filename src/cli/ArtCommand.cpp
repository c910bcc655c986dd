// vomra-cli art: the art font maker of the program, for scripts. Draws the word
// with the same renderer as the page and runs the same making and layout steps.
#include "cli/Cli.h"

#include "art/core/ArtLayout.h"
#include "art/core/ArtWithFont.h"
#include "base/Gbk.h"
#include "base/TextLines.h"
#include "glyph/GlyphDrawer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <optional>

namespace vomra::cli {

namespace {

constexpr const char *kName = "vomra-cli art";

struct ArtOptions {
    std::string word;
    bool haveWord = false;
    std::optional<std::string> font; // in the chosen encoding; none: "宋体"
    int size = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string fg = "*";
    std::string bg;
    MakeMode mode = MakeMode::Normal;
    LayoutMode layout = LayoutMode::Replace;
    std::optional<std::string> onto;
    Encoding encoding = Encoding::Utf8;
    int width = 0; // columns a line of glyphs may take; 0: one line
};

template <typename E> struct Choice {
    const char *name;
    E value;
};
const Choice<MakeMode> kModes[] = {
    {"normal", MakeMode::Normal}, {"cycle", MakeMode::Cycle}, {"follow", MakeMode::Follow}};
const Choice<LayoutMode> kLayouts[] = {
    {"replace", LayoutMode::Replace}, {"left", LayoutMode::Left}, {"right", LayoutMode::Right},
    {"below", LayoutMode::Below}};

// The value named `word`; false (and the error, listing the names) for an unknown word.
template <typename E, std::size_t N>
bool pick(const Choice<E> (&choices)[N], const char *what, const std::string &word, E &value, std::ostream &err)
{
    for (const Choice<E> &c : choices)
        if (word == c.name) {
            value = c.value;
            return true;
        }
    err << kName << ": unknown " << what << " '" << word << "' (use ";
    for (std::size_t i = 0; i < N; ++i)
        err << (i == 0 ? "" : i + 1 == N ? " or " : ", ") << choices[i].name;
    err << ")\n";
    return false;
}

bool parseSize(const std::string &text, int &size, std::ostream &err)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        err << kName << ": --size needs a whole number of points (got '" << text << "')\n";
        return false;
    }
    if (value < 1 || value > 200) {
        err << kName << ": --size must be 1 to 200 points (got " << value << ")\n";
        return false;
    }
    size = value;
    return true;
}

// Returns kOk, or the exit status of a usage error already reported.
int parseArgs(const std::vector<std::string> &args, ArtOptions &o, std::ostream &err)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        const auto is = [&a](const char *opt) {
            const std::string o(opt);
            return a == o || a.rfind(o + "=", 0) == 0;
        };
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            if (o.haveWord) {
                err << kName << ": unexpected argument '" << a << "' (give one WORD)\n";
                return kUsage;
            }
            o.word = a;
            o.haveWord = true;
            ++i;
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            ++i;
        } else if (a == "--bold" || a == "--italic" || a == "--underline") {
            (a == "--bold" ? o.bold : a == "--italic" ? o.italic : o.underline) = true;
            ++i;
        } else if (is("--encoding")) {
            if (!takeEncoding(args, i, o.encoding, err))
                return kUsage;
        } else if (is("--font") || is("--fg") || is("--bg") || is("--onto")) {
            const std::string opt = a.substr(0, a.find('='));
            const auto value = takeValue(args, i, opt, kName, err);
            if (!value)
                return kUsage;
            if (opt == "--font")
                o.font = *value;
            else if (opt == "--fg")
                o.fg = *value;
            else if (opt == "--bg")
                o.bg = *value;
            else
                o.onto = *value;
        } else if (is("--width")) {
            const auto value = takeValue(args, i, "--width", kName, err);
            if (!value)
                return kUsage;
            const auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), o.width);
            if (ec != std::errc() || end != value->data() + value->size() || o.width < 1 || o.width > 10000) {
                err << kName << ": --width wants a whole number from 1 to 10000, not '" << *value << "'\n";
                return kUsage;
            }
        } else if (is("--size")) {
            const auto value = takeValue(args, i, "--size", kName, err);
            if (!value || !parseSize(*value, o.size, err))
                return kUsage;
        } else if (is("--mode")) {
            const auto value = takeValue(args, i, "--mode", kName, err);
            if (!value || !pick(kModes, "mode", *value, o.mode, err))
                return kUsage;
        } else if (is("--layout")) {
            const auto value = takeValue(args, i, "--layout", kName, err);
            if (!value || !pick(kLayouts, "layout", *value, o.layout, err))
                return kUsage;
        } else {
            err << kName << ": unknown option '" << a << "' (try 'vomra-cli art --help')\n";
            return kUsage;
        }
    }
    if (!o.haveWord) {
        err << kName << ": no WORD given (try 'vomra-cli art --help')\n";
        return kUsage;
    }
    if (o.layout != LayoutMode::Replace && !o.onto) {
        const auto named = std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                        [&o](const Choice<LayoutMode> &c) { return c.value == o.layout; });
        err << kName << ": --layout " << named->name << " joins onto a text: give it with --onto FILE\n";
        return kUsage;
    }
    return kOk;
}

// The widest row of a block, in half-width cells (GBK bytes).
std::size_t blockWidth(const Lines &block)
{
    std::size_t widest = 0;
    for (const std::string &row : block)
        widest = std::max(widest, row.size());
    return widest;
}

// The word drawn in lines of glyphs, each line holding as many characters as fit
// in `width` columns (at least one, drawn whole even when wider), the lines one
// below the other.
std::optional<Lines> makeWrappedArt(const GlyphDrawer &drawer, const ArtRequest &request, std::size_t width,
                                    std::ostream &err)
{
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < request.word.size();) {
        const std::size_t n = isLeadByte(static_cast<unsigned char>(request.word[i])) && i + 1 < request.word.size() ? 2 : 1;
        characters.push_back(request.word.substr(i, n));
        i += n;
    }
    auto draw = [&](std::size_t from, std::size_t to) {
        ArtRequest part = request;
        part.word.clear();
        for (std::size_t i = from; i < to; ++i)
            part.word += characters[i];
        return makeArtWithFont(drawer, part);
    };
    if (characters.empty())
        return makeArtWithFont(drawer, request);
    Lines all;
    bool tooWide = false;
    for (std::size_t start = 0; start < characters.size();) {
        std::size_t end = start + 1;
        std::optional<Lines> line = draw(start, end);
        while (end < characters.size()) {
            std::optional<Lines> longer = draw(start, end + 1);
            if (!longer || blockWidth(*longer) > width)
                break;
            line = std::move(longer);
            ++end;
        }
        if (line) {
            tooWide = tooWide || blockWidth(*line) > width;
            all.insert(all.end(), line->begin(), line->end());
        }
        start = end;
    }
    if (tooWide)
        err << kName << ": warning: a single glyph is wider than " << width << " columns\n";
    return all;
}

} // namespace

int runArt(const std::vector<std::string> &args, Io &io)
{
    ArtOptions o;
    if (const int status = parseArgs(args, o, io.err); status != kOk)
        return status;

    // Arguments come in the chosen encoding; the making works on GBK.
    ArtRequest request;
    request.mode = o.mode;
    std::string family; // UTF-8
    if (o.encoding == Encoding::Utf8) {
        bool lossyWord = false, lossyFg = false, lossyBg = false;
        request.word = gbk::fromUtf8(o.word, &lossyWord);
        request.fg = gbk::fromUtf8(o.fg, &lossyFg);
        request.bg = gbk::fromUtf8(o.bg, &lossyBg);
        if (lossyWord || lossyFg || lossyBg)
            io.err << "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n";
        if (o.font)
            family = *o.font;
    } else {
        request.word = o.word;
        request.fg = o.fg;
        request.bg = o.bg;
        if (o.font)
            family = gbk::toUtf8(*o.font);
    }
    if (!o.font)
        family = "宋体";

    Lines output;
    if (o.onto) {
        const std::string what = "'" + *o.onto + "'";
        errno = 0;
        std::ifstream file(*o.onto, std::ios::binary);
        if (!file) {
            io.err << kName << ": cannot read " << what << ": " << std::strerror(errno ? errno : ENOENT) << '\n';
            return kFailed;
        }
        auto lines = readInputLines(io, file, o.encoding, kName, what);
        if (!lines)
            return kFailed;
        output = std::move(*lines);
    }

    const GlyphDrawer drawer({family, o.size, o.bold, o.italic, o.underline});
    if (!drawer.familyInstalled())
        io.err << kName << ": warning: font '" << family << "' is not installed; drawing with '"
               << drawer.resolvedFamily() << "'\n";

    placeArt(output,
             o.width > 0 ? makeWrappedArt(drawer, request, static_cast<std::size_t>(o.width), io.err)
                         : makeArtWithFont(drawer, request),
             o.layout);
    writeOutputLines(io, o.encoding, output);
    return kOk;
}

} // namespace vomra::cli
