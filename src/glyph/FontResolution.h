#pragma once
// Which font files draw a family: the best match of fontconfig, then its
// fallbacks in order. Asking fontconfig costs more than drawing a short word
// (it reads its whole configuration first), so answers are kept in a small
// cache file and asked again only when the font set-up changes.

#include <string>
#include <vector>

namespace vomra {

struct FontFile {
    std::string path;
    int index = 0; // face in a collection
};

struct Resolution {
    std::vector<FontFile> files; // empty when fontconfig found nothing at all
    std::string resolved;        // the family drawn with
    bool installed = false;      // the asked family itself is installed
};

// family: UTF-8, after the program's substitutions.
Resolution resolveFonts(const std::string &family, bool bold, bool italic);

// The cache file: VOMRA_FONT_CACHE if set (empty: no cache), else
// $XDG_CACHE_HOME/vomra/fonts (~/.cache/vomra/fonts).
std::string fontCachePath();

} // namespace vomra
