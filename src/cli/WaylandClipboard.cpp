#include "cli/WaylandClipboard.h"

#include "base/LazyLibrary.h"

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

// libwayland-client is opened only when a send finds no X display
// (base/LazyLibrary.h). The header's inline requests would bind it at start,
// so the few this needs are written out below over wl_proxy_marshal_flags.
constinit LazyLibrary libWayland("libwayland-client.so.0");
#define VOMRA_WAYLAND_CALL(name) constinit const LazyCall<decltype(&::name)> name{libWayland, #name};
VOMRA_WAYLAND_CALL(wl_display_connect)
VOMRA_WAYLAND_CALL(wl_display_disconnect)
VOMRA_WAYLAND_CALL(wl_display_roundtrip)
VOMRA_WAYLAND_CALL(wl_display_prepare_read)
VOMRA_WAYLAND_CALL(wl_display_dispatch_pending)
VOMRA_WAYLAND_CALL(wl_display_flush)
VOMRA_WAYLAND_CALL(wl_display_get_fd)
VOMRA_WAYLAND_CALL(wl_display_read_events)
VOMRA_WAYLAND_CALL(wl_display_cancel_read)
VOMRA_WAYLAND_CALL(wl_proxy_add_listener)
VOMRA_WAYLAND_CALL(wl_proxy_destroy)
VOMRA_WAYLAND_CALL(wl_proxy_get_version)
#undef VOMRA_WAYLAND_CALL

const wl_interface *interfaceNamed(const char *name)
{
    return static_cast<const wl_interface *>(libWayland.require(name));
}

// A request; `made` is the interface of the object it creates, if any.
template <typename... Args>
wl_proxy *marshal(void *proxy, std::uint32_t opcode, const wl_interface *made, std::uint32_t version,
                  std::uint32_t flags, Args... args)
{
    using Marshal = wl_proxy *(*)(wl_proxy *, std::uint32_t, const wl_interface *, std::uint32_t, std::uint32_t, ...);
    static const auto fn = reinterpret_cast<Marshal>(libWayland.require("wl_proxy_marshal_flags"));
    return fn(static_cast<wl_proxy *>(proxy), opcode, made, version, flags, args...);
}

std::uint32_t versionOf(void *proxy) { return wl_proxy_get_version(static_cast<wl_proxy *>(proxy)); }

void *bind(wl_registry *registry, std::uint32_t name, const wl_interface *interface, std::uint32_t version)
{
    return marshal(registry, WL_REGISTRY_BIND, interface, version, 0, name, interface->name, version, nullptr);
}

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
            marshal(source, WL_DATA_SOURCE_DESTROY, nullptr, versionOf(source), WL_MARSHAL_FLAG_DESTROY);
        for (void *proxy : {static_cast<void *>(device), static_cast<void *>(manager), static_cast<void *>(seat),
                            static_cast<void *>(registry)})
            if (proxy)
                wl_proxy_destroy(static_cast<wl_proxy *>(proxy));
        if (display)
            wl_display_disconnect(display);
    }
};

void global(void *data, wl_registry *registry, std::uint32_t name, const char *interface, std::uint32_t version)
{
    auto *s = static_cast<Session *>(data);
    // The first seat holds the clipboard, as for any client.
    if (!s->seat && std::strcmp(interface, "wl_seat") == 0)
        s->seat = static_cast<wl_seat *>(bind(registry, name, interfaceNamed("wl_seat_interface"), 1));
    else if (!s->manager && std::strcmp(interface, "wl_data_device_manager") == 0)
        s->manager = static_cast<wl_data_device_manager *>(bind(
            registry, name, interfaceNamed("wl_data_device_manager_interface"), std::min<std::uint32_t>(version, 3)));
}

void globalRemove(void *, wl_registry *, std::uint32_t) {}

// (not const: the library takes the table as a plain pointer)
wl_registry_listener kRegistry = {global, globalRemove};

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

wl_data_source_listener kSource = {target, send, cancelled, dndDropPerformed, dndFinished, action};

} // namespace

bool waylandDesktop()
{
    const char *name = std::getenv("WAYLAND_DISPLAY");
    return name && *name;
}

bool serveWaylandClipboard(const std::string &utf8, int limitMs, const std::function<void()> &placed)
{
    if (!waylandDesktop() || !libWayland.available())
        return false;
    Session s;
    s.text = &utf8;
    s.display = wl_display_connect(nullptr);
    if (!s.display)
        return false;
    s.registry = reinterpret_cast<wl_registry *>(marshal(s.display, WL_DISPLAY_GET_REGISTRY,
                                                         interfaceNamed("wl_registry_interface"), versionOf(s.display), 0,
                                                         nullptr));
    wl_proxy_add_listener(reinterpret_cast<wl_proxy *>(s.registry), reinterpret_cast<void (**)()>(&kRegistry), &s);
    if (wl_display_roundtrip(s.display) < 0 || !s.seat || !s.manager)
        return false;
    const std::uint32_t version = versionOf(s.manager);
    s.device = reinterpret_cast<wl_data_device *>(marshal(s.manager, WL_DATA_DEVICE_MANAGER_GET_DATA_DEVICE,
                                                          interfaceNamed("wl_data_device_interface"), version, 0,
                                                          nullptr, s.seat));
    s.source = reinterpret_cast<wl_data_source *>(marshal(s.manager, WL_DATA_DEVICE_MANAGER_CREATE_DATA_SOURCE,
                                                          interfaceNamed("wl_data_source_interface"), version, 0,
                                                          nullptr));
    wl_proxy_add_listener(reinterpret_cast<wl_proxy *>(s.source), reinterpret_cast<void (**)()>(&kSource), &s);
    for (const char *type : kOffered)
        marshal(s.source, WL_DATA_SOURCE_OFFER, nullptr, version, 0, type);
    // A reader that closes its pipe early must not end the whole program.
    std::signal(SIGPIPE, SIG_IGN);
    // No input event of ours to name: serial 0, as any windowless client.
    marshal(s.device, WL_DATA_DEVICE_SET_SELECTION, nullptr, version, 0, s.source, std::uint32_t{0});
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
