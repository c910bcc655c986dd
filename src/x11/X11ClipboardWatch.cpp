// Watching who received our clipboard's text.
#include "x11/X11Session.h"

namespace vomra {

// Waits until the program behind `input` has received the whole text
// (deliveries from `before` on). Other programs' requests wait meanwhile;
// after a second they are served, and one that fetched the text and did not
// take the clipboard over (a keeper does) counts: a chat program may ask
// through a connection of its own.
void TX11WindowSystem::Impl::waitForFetch(Window input, std::size_t before)
{
    using namespace std::chrono;
    constexpr auto kOthersAfter = milliseconds(1000);
    constexpr auto kSettle = milliseconds(200);
    const unsigned long target = clipboard->clientOf(input);
    const auto keysAt = steady_clock::now();
    const bool fetched = waitUntil([&] {
        const auto &all = clipboard->deliveries();
        for (std::size_t i = before; i < all.size(); ++i)
            if (all[i].client == target)
                return true;
        const auto now = steady_clock::now();
        if (now - keysAt < kOthersAfter)
            return false;
        clipboard->favour(0);
        const auto &takers = clipboard->takers();
        for (std::size_t i = before; i < all.size(); ++i)
            if (now - all[i].at >= kSettle && std::find(takers.begin(), takers.end(), all[i].client) == takers.end())
                return true;
        return false;
    });
    clipboard->favour(0);
    if (!fetched)
        throw WindowSystemError("the chat program did not take the text in time");
}

} // namespace vomra
