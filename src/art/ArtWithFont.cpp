#include "art/ArtWithFont.h"

#include "platform/GbkQt.h"

namespace vomra {

std::optional<Lines> makeArtWithFont(const GlyphRenderer &renderer, const ArtRequest &request)
{
    // The word is drawn from its GBK text, so what is drawn and what the follow
    // mode writes into the cells are the same characters.
    const InkGrid grid = renderer.inkGrid(gbk::toQString(request.word));
    const CharWidth width = [&renderer](std::string_view ch) { return renderer.textWidth(gbk::toQString(ch)); };
    return makeArt(grid, request, width);
}

} // namespace vomra
