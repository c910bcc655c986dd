#pragma once
// A clipboard owner of our own on the X display, for sending a text into another
// program: it serves one text in the plain formats only and tells when a program
// has received the whole of it. Qt's clipboard answers requests (large transfers
// included) out of our sight, so it cannot say when a paste has really happened.
//
// Offered: text/plain;charset=utf-8, UTF8_STRING, STRING (Latin-1, "?" for the
// rest) and TEXT, plus TARGETS and TIMESTAMP; MULTIPLE is answered (clipboard
// managers fetch through it) but not listed. Every other target is refused.
// A text larger than one request goes out in INCR pieces.
//
// Plain Xlib on a connection of its own, no Qt: the owner is served from
// whatever loop the caller runs (serve()).

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vomra {

class X11Clipboard {
public:
    // A program that received the whole text: the window it asked through and
    // the program's client (its resource base).
    struct Delivery {
        unsigned long requestor = 0;
        unsigned long client = 0;
        std::chrono::steady_clock::time_point at;
    };

    // Connects to $DISPLAY (or `display`); without one ok() is false and
    // nothing else does anything.
    explicit X11Clipboard(const char *display = nullptr);
    ~X11Clipboard();
    X11Clipboard(const X11Clipboard &) = delete;
    X11Clipboard &operator=(const X11Clipboard &) = delete;

    bool ok() const;
    // The connection's file descriptor, to wait on beside others (-1 without one).
    int fd() const;
    // The client a window belongs to, comparable with Delivery::client.
    unsigned long clientOf(unsigned long window) const;

    // Takes the CLIPBOARD selection with `utf8`. False when we do not own it
    // afterwards.
    bool own(std::string utf8);
    // Takes the selection again when another program took it (a clipboard
    // keeper takes it back after each change); true when we own it then.
    bool reassert();
    bool owns() const;
    const std::string &text() const;

    // While a paste is under way, requests of every other client than `client`
    // wait, so that no keeper takes the selection back before the program we
    // paste into has asked; 0 serves everyone again (the held ones first).
    void favour(unsigned long client);

    // Handles every event that has arrived; waits up to `ms` for the first one.
    void serve(int ms = 0);

    // Every completed transfer, in order of completion.
    const std::vector<Delivery> &deliveries() const;
    // The clients that took the selection from us, in order.
    const std::vector<unsigned long> &takers() const;
    // Whether a large transfer is still going on.
    bool transferring() const;

    // Asks the desktop's clipboard manager to keep our text after we are
    // gone (CLIPBOARD_MANAGER / SAVE_TARGETS); true when one confirmed it
    // within `ms`. False at once when no manager runs.
    bool handToManager(int ms);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vomra
