#include "x11/X11Clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <utility>

// For the connection's resource-id mask, which tells the client a window
// belongs to (the part Xlib keeps for extensions; it defines min and max).
#include <X11/Xlibint.h>
#undef min
#undef max

#include "x11/XlibCalls.h"

namespace vomra {

namespace {

// Windows of other programs may vanish while we write to them; such errors
// concern one transfer only.
int ignoreError(Display *, XErrorEvent *e)
{
    if (std::getenv("VOMRA_X11_DEBUG"))
        std::fprintf(stderr, "clipboard: error %d request %d resource 0x%lx\n", e->error_code, e->request_code,
                     e->resourceid);
    return 0;
}

std::string latin1(const std::string &utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        std::size_t n = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
        unsigned cp = c & (n == 2 ? 0x1f : n == 3 ? 0x0f : 0x07);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
        out += cp < 0x100 ? static_cast<char>(cp) : '?';
        i += n;
    }
    return out;
}

// Xlib's error handler is process-wide: ours is in force only while we talk on
// our own connection, and every call ends with the server's answers read.
class Trap {
public:
    explicit Trap(Display *dpy) : m_dpy(dpy) { m_previous = XSetErrorHandler(ignoreError); }
    ~Trap()
    {
        XSync(m_dpy, False);
        XSetErrorHandler(m_previous);
    }
    Trap(const Trap &) = delete;
    Trap &operator=(const Trap &) = delete;

private:
    Display *m_dpy;
    XErrorHandler m_previous = nullptr;
};

} // namespace

struct X11Clipboard::Impl {
    Display *dpy = nullptr;
    Window window = 0;
    unsigned long resourceMask = 0;
    std::size_t chunk = 0;

    Atom clipboard = None, targets = None, timestamp = None, multiple = None, atomPair = None, incr = None, utf8 = None,
         textPlain = None, text = None, timeProperty = None, manager = None, saveTargets = None;

    std::shared_ptr<const std::string> utf8Text = std::make_shared<const std::string>();
    std::shared_ptr<const std::string> latin1Text; // made on first request
    Time ownTime = CurrentTime;
    bool owning = false;

    unsigned long favoured = 0;
    std::deque<XSelectionRequestEvent> held;

    struct Transfer {
        std::shared_ptr<const std::string> data;
        Atom type = None;
        std::size_t offset = 0;
        bool ended = false; // the zero-length end marker is out
    };
    std::map<std::pair<Window, Atom>, Transfer> transfers;

    std::vector<Delivery> deliveries;
    std::vector<unsigned long> takers;

    enum class Save { Idle, Asked, Saved, Refused } save = Save::Idle;

    unsigned long clientOf(unsigned long w) const { return w & ~resourceMask; }

    // A server timestamp: the time of a property change on our own window.
    Time serverTime()
    {
        XChangeProperty(dpy, window, timeProperty, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent e;
        XIfEvent(
            dpy, &e,
            [](Display *, XEvent *ev, XPointer arg) -> Bool {
                const auto *self = reinterpret_cast<const Impl *>(arg);
                return ev->type == PropertyNotify && ev->xproperty.window == self->window &&
                       ev->xproperty.atom == self->timeProperty;
            },
            reinterpret_cast<XPointer>(this));
        return e.xproperty.time;
    }

    bool take()
    {
        ownTime = serverTime();
        XSetSelectionOwner(dpy, clipboard, window, ownTime);
        owning = XGetSelectionOwner(dpy, clipboard) == window;
        return owning;
    }

    bool isText(Atom target) const
    {
        return target == utf8 || target == textPlain || target == XA_STRING || target == text;
    }

    // The bytes and type for a text target.
    std::pair<std::shared_ptr<const std::string>, Atom> textFor(Atom target)
    {
        if (target == XA_STRING) {
            if (!latin1Text)
                latin1Text = std::make_shared<const std::string>(latin1(*utf8Text));
            return {latin1Text, XA_STRING};
        }
        // TEXT leaves the encoding to the owner; UTF-8 loses nothing.
        return {utf8Text, target == textPlain ? textPlain : utf8};
    }

    void watch(Window requestor) { XSelectInput(dpy, requestor, PropertyChangeMask | StructureNotifyMask); }

    void unwatchIfIdle(Window requestor)
    {
        for (const auto &t : transfers)
            if (t.first.first == requestor)
                return;
        XSelectInput(dpy, requestor, NoEventMask);
    }

    void delivered(Window requestor)
    {
        deliveries.push_back({requestor, clientOf(requestor), std::chrono::steady_clock::now()});
    }

    // Writes one text target into (requestor, property); false when refused.
    // A small text is complete when written, a large one when its last piece
    // has been read.
    bool convert(Window requestor, Atom target, Atom property, std::vector<Window> &done)
    {
        if (!isText(target) || property == None)
            return false;
        auto [data, type] = textFor(target);
        if (data->size() <= chunk) {
            XChangeProperty(dpy, requestor, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(data->data()), static_cast<int>(data->size()));
            done.push_back(requestor);
            return true;
        }
        watch(requestor);
        const long size = static_cast<long>(data->size());
        XChangeProperty(dpy, requestor, property, incr, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(&size), 1);
        transfers[{requestor, property}] = Transfer{data, type, 0, false};
        return true;
    }

    // The answer to TARGETS or TIMESTAMP.
    void describe(Window requestor, Atom target, Atom property)
    {
        if (target == targets) {
            const Atom offered[] = {targets, timestamp, textPlain, utf8, XA_STRING, text};
            XChangeProperty(dpy, requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(offered), 6);
        } else {
            const long t = static_cast<long>(ownTime);
            XChangeProperty(dpy, requestor, property, XA_INTEGER, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&t), 1);
        }
    }

    void answer(const XSelectionRequestEvent &r)
    {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = dpy;
        reply.requestor = r.requestor;
        reply.selection = r.selection;
        reply.target = r.target;
        reply.time = r.time;
        // A requestor of the oldest kind gives no property: use the target's name.
        const Atom property = r.property == None ? r.target : r.property;
        reply.property = property;
        std::vector<Window> done;
        if (r.selection != clipboard) {
            reply.property = None;
        } else if (r.target == targets || r.target == timestamp) {
            describe(r.requestor, r.target, property);
        } else if (r.target == multiple && r.property != None) {
            answerMultiple(r.requestor, r.property, done);
        } else if (!convert(r.requestor, r.target, property, done)) {
            reply.property = None;
        }
        XSendEvent(dpy, r.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&reply));
        // The requestor must have the answer before anything we do next on
        // another connection (the key that follows a paste).
        XSync(dpy, False);
        for (Window w : done)
            delivered(w);
    }

    void answerMultiple(Window requestor, Atom property, std::vector<Window> &done)
    {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(dpy, requestor, property, 0, 1L << 16, False, atomPair, &type, &format, &items, &after,
                               &data) != Success ||
            !data)
            return;
        std::vector<Atom> pairs(reinterpret_cast<Atom *>(data), reinterpret_cast<Atom *>(data) + (items & ~1UL));
        XFree(data);
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const Atom target = pairs[i];
            const Atom prop = pairs[i + 1];
            bool ok = false;
            if (target == targets || target == timestamp) {
                describe(requestor, target, prop);
                ok = true;
            } else {
                ok = convert(requestor, target, prop, done);
            }
            if (!ok)
                pairs[i + 1] = None;
        }
        XChangeProperty(dpy, requestor, property, atomPair, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(pairs.data()), static_cast<int>(pairs.size()));
    }

    void request(const XSelectionRequestEvent &r)
    {
        if (favoured && clientOf(r.requestor) != favoured && r.requestor != window) {
            held.push_back(r);
            return;
        }
        answer(r);
    }

    // The requestor deleted what we wrote: the next piece, or the end marker.
    void propertyDeleted(Window requestor, Atom property)
    {
        const auto it = transfers.find({requestor, property});
        if (it == transfers.end())
            return;
        Transfer &t = it->second;
        if (t.ended) {
            transfers.erase(it);
            unwatchIfIdle(requestor);
            return;
        }
        const std::size_t n = std::min(chunk, t.data->size() - t.offset);
        XChangeProperty(dpy, requestor, property, t.type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(t.data->data() + t.offset), static_cast<int>(n));
        t.offset += n;
        if (n == 0) {
            // The last piece was read: the requestor has the whole text.
            t.ended = true;
            XSync(dpy, False);
            delivered(requestor);
        } else {
            XFlush(dpy);
        }
    }

    void dropTransfersOf(Window requestor)
    {
        for (auto it = transfers.begin(); it != transfers.end();)
            it = it->first.first == requestor ? transfers.erase(it) : std::next(it);
    }

    void handle(XEvent &e)
    {
        switch (e.type) {
        case SelectionRequest:
            request(e.xselectionrequest);
            break;
        case SelectionClear:
            if (e.xselectionclear.selection == clipboard && e.xselectionclear.window == window) {
                owning = false;
                if (const Window owner = XGetSelectionOwner(dpy, clipboard))
                    takers.push_back(clientOf(owner));
            }
            break;
        case PropertyNotify:
            if (e.xproperty.state == PropertyDelete && e.xproperty.window != window)
                propertyDeleted(e.xproperty.window, e.xproperty.atom);
            break;
        case DestroyNotify:
            dropTransfersOf(e.xdestroywindow.window);
            break;
        case SelectionNotify:
            if (e.xselection.selection == manager && e.xselection.target == saveTargets)
                save = e.xselection.property == None ? Save::Refused : Save::Saved;
            break;
        default:
            break;
        }
    }

    void dispatch()
    {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            handle(e);
        }
    }
};

X11Clipboard::X11Clipboard(const char *display) : d(std::make_unique<Impl>())
{
    d->dpy = libX11.available() ? XOpenDisplay(display) : nullptr;
    if (!d->dpy)
        return;
    Display *dpy = d->dpy;
    d->resourceMask = dpy->resource_mask;
    // Room for the request header within the largest plain request.
    d->chunk = static_cast<std::size_t>(XMaxRequestSize(dpy)) * 4 - 1024;
    d->window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(dpy, d->window, PropertyChangeMask);
    // One round trip for all the names.
    const char *names[] = {"CLIPBOARD", "TARGETS",    "TIMESTAMP",         "MULTIPLE",
                           "ATOM_PAIR", "INCR",       "UTF8_STRING",       "text/plain;charset=utf-8",
                           "TEXT",      "VOMRA_TIME", "CLIPBOARD_MANAGER", "SAVE_TARGETS"};
    Atom *into[] = {&d->clipboard, &d->targets,   &d->timestamp, &d->multiple,     &d->atomPair, &d->incr,
                    &d->utf8,      &d->textPlain, &d->text,      &d->timeProperty, &d->manager,  &d->saveTargets};
    constexpr int kNames = sizeof names / sizeof *names;
    Atom atoms[kNames] = {};
    XInternAtoms(dpy, const_cast<char **>(names), kNames, False, atoms);
    for (int i = 0; i < kNames; ++i)
        *into[i] = atoms[i];
}

X11Clipboard::~X11Clipboard()
{
    if (!d->dpy)
        return;
    {
        const Trap trap(d->dpy);
        XDestroyWindow(d->dpy, d->window);
    }
    XCloseDisplay(d->dpy);
}

bool X11Clipboard::ok() const
{
    return d->dpy != nullptr;
}

int X11Clipboard::fd() const
{
    return d->dpy ? ConnectionNumber(d->dpy) : -1;
}

unsigned long X11Clipboard::clientOf(unsigned long window) const
{
    return d->clientOf(window);
}

bool X11Clipboard::own(std::string utf8)
{
    if (!d->dpy)
        return false;
    const Trap trap(d->dpy);
    d->utf8Text = std::make_shared<const std::string>(std::move(utf8));
    d->latin1Text.reset();
    d->takers.clear();
    return d->take();
}

bool X11Clipboard::reassert()
{
    if (!d->dpy)
        return false;
    const Trap trap(d->dpy);
    d->dispatch();
    return d->owning || d->take();
}

bool X11Clipboard::owns() const
{
    return d->owning;
}

const std::string &X11Clipboard::text() const
{
    return *d->utf8Text;
}

void X11Clipboard::favour(unsigned long client)
{
    d->favoured = client;
    if (client || !d->dpy || d->held.empty())
        return;
    const Trap trap(d->dpy);
    while (!d->held.empty()) {
        const XSelectionRequestEvent r = d->held.front();
        d->held.pop_front();
        d->answer(r);
    }
}

void X11Clipboard::serve(int ms)
{
    if (!d->dpy)
        return;
    if (ms > 0 && !XPending(d->dpy)) {
        pollfd p{ConnectionNumber(d->dpy), POLLIN, 0};
        ::poll(&p, 1, ms);
    }
    if (!XPending(d->dpy))
        return;
    const Trap trap(d->dpy);
    d->dispatch();
}

const std::vector<X11Clipboard::Delivery> &X11Clipboard::deliveries() const
{
    return d->deliveries;
}

const std::vector<unsigned long> &X11Clipboard::takers() const
{
    return d->takers;
}

bool X11Clipboard::transferring() const
{
    // A transfer whose end marker is out is over, whether or not the requestor
    // deletes the marker.
    return std::any_of(d->transfers.begin(), d->transfers.end(), [](const auto &t) { return !t.second.ended; });
}

bool X11Clipboard::handToManager(int ms)
{
    if (!d->dpy || !d->owning || XGetSelectionOwner(d->dpy, d->manager) == None)
        return false;
    favour(0);
    const Trap trap(d->dpy);
    d->save = Impl::Save::Asked;
    // No property: the manager keeps every target we offer.
    XConvertSelection(d->dpy, d->manager, d->saveTargets, None, d->window, d->ownTime);
    XFlush(d->dpy);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (d->save == Impl::Save::Asked || transferring()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        serve(static_cast<int>(std::min<long long>(left.count(), 50)));
    }
    return d->save == Impl::Save::Saved;
}

} // namespace vomra
