// Watching who fetches our clipboard's text.
#include "platform/X11Session.h"

namespace vomra {

using x11::ErrorTrap;
using x11::PropertyData;

namespace x11 {

bool ClipboardRequests::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
        return false;
    const auto *request = reinterpret_cast<const xcb_selection_request_event_t *>(event);
    if (request->selection != clipboard ||
        std::find(notText.begin(), notText.end(), request->target) != notText.end())
        return false;
    askers.push_back(request->requestor & ~resourceMask);
    return false; // Qt answers it
}

} // namespace x11

// Waits until the program behind `input` has asked for our clipboard's
// text (after `before` requests). Another program asking (a clipboard
// manager) counts only after a while, in case the chat program asks
// through a second connection of its own.
void TX11WindowSystem::Impl::waitForFetch(Window input, std::size_t before)
{
    if (!requests) {
        // Our clipboard is not the X selection of this display (another Qt
        // platform): give the chat program a moment.
        waitUntil([] { return false; }, 300);
        return;
    }
    const std::uint32_t asker = static_cast<std::uint32_t>(input) & ~requests->resourceMask;
    QElapsedTimer clock;
    clock.start();
    const bool fetched = waitUntil(
        [&] {
            const auto &all = requests->askers;
            if (std::find(all.begin() + static_cast<long>(before), all.end(), asker) != all.end())
                return true;
            return all.size() > before && clock.elapsed() > 500;
        },
        kStepTimeoutMs);
    if (!fetched)
        throw WindowSystemError("the chat program did not take the text");
    // Our answer went out on Qt's connection: make sure the server has it
    // before anything we send next on ours.
    std::free(xcb_get_input_focus_reply(qtConnection, xcb_get_input_focus(qtConnection), nullptr));
}

} // namespace vomra
