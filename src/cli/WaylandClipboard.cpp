#include "cli/WaylandClipboard.h"

#include <wayland-client.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace vomra::cli {

namespace {

// The text types offered; every one gets the UTF-8 bytes.
constexpr const char *kOffered[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT"};

struct Session {
    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_seat *seat = nullptr;
    wl_data_device_manager *manager = nullptr;
    wl_data_device *device = nullptr;
    wl_data_source *source = nullptr;
    const std::string *text = nullptr;
    bool cancelled = false;

    ~Session()
    {
        if (source)
            wl_data_source_destroy(source);
        if (device)
            wl_data_device_destroy(device);
        if (manager)
            wl_data_device_manager_destroy(manager);
        if (seat)
            wl_seat_destroy(seat);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }
};

void global(void *data, wl_registry *registry, std::uint32_t name, const char *interface, std::uint32_t version)
{
    auto *s = static_cast<Session *>(data);
    // The first seat holds the clipboard, as for any client.
    if (!s->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        s->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!s->manager && std::strcmp(interface, wl_data_device_manager_interface.name) == 0)
        s->manager = static_cast<wl_data_device_manager *>(
            wl_registry_bind(registry, name, &wl_data_device_manager_interface, std::min<std::uint32_t>(version, 3)));
}

void globalRemove(void *, wl_registry *, std::uint32_t) {}

const wl_registry_listener kRegistry = {global, globalRemove};

// A program asks for the text: the whole of it into its pipe. A reader that
// goes away (EPIPE) ends that transfer only.
void send(void *data, wl_data_source *, const char *, std::int32_t fd)
{
    const std::string &text = *static_cast<Session *>(data)->text;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

void cancelled(void *data, wl_data_source *) { static_cast<Session *>(data)->cancelled = true; }
void target(void *, wl_data_source *, const char *) {}
void dndDropPerformed(void *, wl_data_source *) {}
void dndFinished(void *, wl_data_source *) {}
void action(void *, wl_data_source *, std::uint32_t) {}

const wl_data_source_listener kSource = {target, send, cancelled, dndDropPerformed, dndFinished, action};

} // namespace

bool waylandDesktop()
{
    const char *name = std::getenv("WAYLAND_DISPLAY");
    return name && *name;
}

bool serveWaylandClipboard(const std::string &utf8, int limitMs, const std::function<void()> &placed)
{
    if (!waylandDesktop())
        return false;
    Session s;
    s.text = &utf8;
    s.display = wl_display_connect(nullptr);
    if (!s.display)
        return false;
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &kRegistry, &s);
    if (wl_display_roundtrip(s.display) < 0 || !s.seat || !s.manager)
        return false;
    s.device = wl_data_device_manager_get_data_device(s.manager, s.seat);
    s.source = wl_data_device_manager_create_data_source(s.manager);
    wl_data_source_add_listener(s.source, &kSource, &s);
    for (const char *type : kOffered)
        wl_data_source_offer(s.source, type);
    // A reader that closes its pipe early must not end the whole program.
    std::signal(SIGPIPE, SIG_IGN);
    // No input event of ours to name: serial 0, as any windowless client.
    wl_data_device_set_selection(s.device, s.source, 0);
    // The compositor confirms nothing; the source not cancelled after a round
    // trip is the best word we get.
    if (wl_display_roundtrip(s.display) < 0 || s.cancelled)
        return false;
    if (placed)
        placed();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!s.cancelled) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            break;
        while (wl_display_prepare_read(s.display) != 0)
            wl_display_dispatch_pending(s.display);
        wl_display_flush(s.display);
        pollfd p{wl_display_get_fd(s.display), POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000))) > 0) {
            if (wl_display_read_events(s.display) < 0)
                break;
        } else {
            wl_display_cancel_read(s.display);
        }
        if (wl_display_dispatch_pending(s.display) < 0)
            break;
    }
    return true;
}

} // namespace vomra::cli
