#include "art/core/ArtWithFont.h"

#include "base/Gbk.h"

namespace vomra {

std::optional<Lines> makeArtWithFont(const GlyphDrawer &drawer, const ArtRequest &request)
{
    // The word is drawn from its GBK text, so what is drawn and what the follow
    // mode writes into the cells are the same characters.
    const InkGrid grid = drawer.inkGrid(gbk::toUtf8(request.word));
    const CharWidth width = [&drawer](std::string_view ch) { return drawer.textWidth(gbk::toUtf8(ch)); };
    return makeArt(grid, request, width);
}

} // namespace vomra
