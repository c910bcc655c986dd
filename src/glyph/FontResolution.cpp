#include "glyph/FontResolution.h"

#include "base/LazyLibrary.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

constexpr char kSep = '\x1f';

// What fontconfig's answers depend on: its configuration and its caches. A
// font installed or removed rewrites a cache, so the answers are asked again.
std::string setupStamp()
{
    std::string stamp = "v1";
    const auto add = [&stamp](const std::string &path) {
        struct stat st {};
        const bool there = !path.empty() && ::stat(path.c_str(), &st) == 0;
        stamp += ' ';
        stamp += there ? std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) : "-";
    };
    const char *home = std::getenv("HOME");
    const char *xdgCache = std::getenv("XDG_CACHE_HOME");
    const char *xdgConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string userCache = xdgCache && *xdgCache ? xdgCache : home ? std::string(home) + "/.cache" : "";
    const std::string userConfig = xdgConfig && *xdgConfig ? xdgConfig : home ? std::string(home) + "/.config" : "";
    for (const std::string &dir : {std::string("/etc/fonts"), std::string("/etc/fonts/conf.d"),
                                   std::string("/var/cache/fontconfig"), userCache + "/fontconfig",
                                   userConfig + "/fontconfig", userConfig + "/fontconfig/conf.d"})
        add(dir);
    // The fallbacks are ranked for the locale's language (fontconfig reads it
    // from these, in this order).
    for (const char *var : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_LANG", "LC_ALL",
                            "LC_CTYPE", "LANG"}) {
        const char *v = std::getenv(var);
        stamp += ' ';
        stamp += v ? v : "-";
    }
    if (const char *file = std::getenv("FONTCONFIG_FILE"))
        add(file);
    return stamp;
}

std::string keyOf(const std::string &family, bool bold, bool italic)
{
    return family + kSep + (bold ? '1' : '0') + kSep + (italic ? '1' : '0');
}

std::vector<std::string> split(const std::string &line)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, kSep))
        parts.push_back(part);
    return parts;
}

// The cache's lines after its stamp, if the stamp is current.
std::vector<std::string> cachedLines(const std::string &path, const std::string &stamp)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || line != stamp)
        return lines;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool fromLine(const std::string &line, const std::string &key, Resolution &out)
{
    if (line.compare(0, key.size(), key) != 0 || line.size() == key.size() || line[key.size()] != kSep)
        return false;
    const std::vector<std::string> parts = split(line.substr(key.size() + 1));
    if (parts.size() < 2 || parts.size() % 2 != 0)
        return false;
    out.resolved = parts[0];
    out.installed = parts[1] == "1";
    for (std::size_t i = 2; i + 1 < parts.size(); i += 2)
        out.files.push_back({parts[i], std::atoi(parts[i + 1].c_str())});
    return true;
}

std::string toLine(const std::string &key, const Resolution &r)
{
    std::string line = key + kSep + r.resolved + kSep + (r.installed ? "1" : "0");
    for (const FontFile &f : r.files)
        line += kSep + f.path + kSep + std::to_string(f.index);
    return line;
}

void store(const std::string &path, const std::string &stamp, std::vector<std::string> lines, const std::string &line)
{
    if (path.empty())
        return;
    const std::string folder = path.substr(0, path.rfind('/'));
    // The folder and its parent (~/.cache) may not exist yet.
    ::mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    lines.push_back(line);
    // Written beside and renamed over, so a reader never sees half a file.
    const std::string temp = path + "." + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::trunc);
        out << stamp << '\n';
        for (const std::string &l : lines)
            out << l << '\n';
        if (!out)
            return static_cast<void>(std::remove(temp.c_str()));
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0)
        std::remove(temp.c_str());
}

// fontconfig is opened only when the cache cannot answer (base/LazyLibrary.h):
// linked in, it and what it links (expat) were mapped and bound on every run,
// for nothing.
#define VOMRA_FC_CALLS(X)                                                                                          \
    X(FcPatternCreate) X(FcPatternAddString) X(FcPatternAddInteger) X(FcConfigSubstitute) X(FcDefaultSubstitute)     \
    X(FcFontSort) X(FcPatternDestroy) X(FcPatternGetString) X(FcPatternGetInteger) X(FcStrCmpIgnoreCase)             \
    X(FcObjectSetCreate) X(FcObjectSetAdd) X(FcFontList) X(FcFontSetDestroy) X(FcObjectSetDestroy)

struct Fc {
#define VOMRA_FC_MEMBER(name) decltype(&::name) name = nullptr;
    VOMRA_FC_CALLS(VOMRA_FC_MEMBER)
#undef VOMRA_FC_MEMBER
};

// Null when the library or one of its calls is missing: then no font is found.
// A process that has fontconfig already (the program, through Qt) gets that
// same copy.
const Fc *fontconfig()
{
    static const Fc *const loaded = [] {
        static LazyLibrary lib("libfontconfig.so.1");
        static Fc fc;
        if (!lib.available())
            return static_cast<const Fc *>(nullptr);
        bool all = true;
#define VOMRA_FC_LOAD(name)                                                                                        \
    fc.name = reinterpret_cast<decltype(fc.name)>(lib.symbol(#name));                                               \
    all = all && fc.name;
        VOMRA_FC_CALLS(VOMRA_FC_LOAD)
#undef VOMRA_FC_LOAD
        return all ? static_cast<const Fc *>(&fc) : nullptr;
    }();
    return loaded;
}

Resolution askFontconfig(const std::string &family, bool bold, bool italic)
{
    Resolution r;
    const Fc *fc = fontconfig();
    if (!fc)
        return r;
    FcPattern *pattern = fc->FcPatternCreate();
    fc->FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    fc->FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc->FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fc->FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    fc->FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet *set = fc->FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    fc->FcPatternDestroy(pattern);
    if (!set)
        return r;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8 *file = nullptr;
        int index = 0;
        if (fc->FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        fc->FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        r.files.push_back({reinterpret_cast<const char *>(file), index});
    }
    if (set->nfont > 0) {
        FcPattern *best = set->fonts[0];
        FcChar8 *name = nullptr;
        for (int n = 0; fc->FcPatternGetString(best, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            if (n == 0)
                r.resolved = reinterpret_cast<const char *>(name);
            if (fc->FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8 *>(family.c_str())) == 0) {
                r.installed = true;
                r.resolved = reinterpret_cast<const char *>(name);
            }
        }
        // The same face is often installed more than once (OpenType and Type 1):
        // the first of its copies in the font list is drawn, as the Qt font
        // database took it.
        FcPattern *same = fc->FcPatternCreate();
        FcChar8 *bestFamily = nullptr;
        int weight = 0, slant = 0, width = 0;
        if (fc->FcPatternGetString(best, FC_FAMILY, 0, &bestFamily) == FcResultMatch)
            fc->FcPatternAddString(same, FC_FAMILY, bestFamily);
        if (fc->FcPatternGetInteger(best, FC_WEIGHT, 0, &weight) == FcResultMatch)
            fc->FcPatternAddInteger(same, FC_WEIGHT, weight);
        if (fc->FcPatternGetInteger(best, FC_SLANT, 0, &slant) == FcResultMatch)
            fc->FcPatternAddInteger(same, FC_SLANT, slant);
        if (fc->FcPatternGetInteger(best, FC_WIDTH, 0, &width) == FcResultMatch)
            fc->FcPatternAddInteger(same, FC_WIDTH, width);
        FcObjectSet *fields = fc->FcObjectSetCreate();
        fc->FcObjectSetAdd(fields, FC_FILE);
        fc->FcObjectSetAdd(fields, FC_INDEX);
        if (FcFontSet *copies = fc->FcFontList(nullptr, same, fields)) {
            FcChar8 *file = nullptr;
            if (copies->nfont > 0 && fc->FcPatternGetString(copies->fonts[0], FC_FILE, 0, &file) == FcResultMatch
                && !r.files.empty()) {
                r.files[0].path = reinterpret_cast<const char *>(file);
                r.files[0].index = 0;
                fc->FcPatternGetInteger(copies->fonts[0], FC_INDEX, 0, &r.files[0].index);
            }
            fc->FcFontSetDestroy(copies);
        }
        fc->FcObjectSetDestroy(fields);
        fc->FcPatternDestroy(same);
    }
    fc->FcFontSetDestroy(set);
    return r;
}

} // namespace

std::string fontCachePath()
{
    if (const char *own = std::getenv("VOMRA_FONT_CACHE"))
        return own;
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/vomra/fonts";
    const char *home = std::getenv("HOME");
    return home && *home == '/' ? std::string(home) + "/.cache/vomra/fonts" : std::string();
}

Resolution resolveFonts(const std::string &family, bool bold, bool italic)
{
    const std::string path = fontCachePath();
    const std::string key = keyOf(family, bold, italic);
    const std::string stamp = path.empty() ? std::string() : setupStamp();
    std::vector<std::string> lines = path.empty() ? std::vector<std::string>{} : cachedLines(path, stamp);
    Resolution r;
    for (const std::string &line : lines)
        if (fromLine(line, key, r))
            return r;
    r = askFontconfig(family, bold, italic);
    if (!r.files.empty())
        store(path, stamp, std::move(lines), toLine(key, r));
    return r;
}

} // namespace vomra
