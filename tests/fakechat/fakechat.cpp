// A stand-in chat program for the end-to-end tests: top-level windows with the
// titles, input boxes and buttons given on the command line. It fetches the
// clipboard on Ctrl+V in an input box, and writes every event it handled as a
// line to the log file:
//   window TAG 0xID      a top-level window is mapped
//   ready                all of them are
//   paste TAG PART TEXT  the text it received (\n, \r, \t, \\ escaped)
//   paste TAG PART <none> the clipboard owner refused every target asked
//   paste TAG PART <TYPE> TEXT  the text came as TYPE, not as plain text
//   paste TAG PART <saved N bytes>  with --save: the text went to that file
//   offered TAG PART T... with --show-targets: the owner's answer to TARGETS
//   kept TEXT            the clipboard keeper took the selection back with TEXT
//   saved TEXT           the clipboard manager was asked to keep TEXT
//   click TAG PART X,Y   a press and release inside a button, at X,Y in it
//   enter TAG PART       Return
//   key TAG PART KEYSYM  any other key, or Ctrl+V and Return with other
//                        modifiers held (shift+, ctrl+, alt+, super+ before it)
//   clipboard lost       another program took the clipboard given by --clipboard
// PART is input, window (the top-level itself), send or reply.
//
// Usage: fakechat --log FILE [--stamp] [--reply] WINDOW...
//   --stamp                each line starts with the wall-clock time in ms
//   --clipboard TEXT       own the clipboard with TEXT from the start
//   --keeper               a clipboard keeper: each time another program takes
//                          the clipboard, fetch its text and take it back
//   --manager              a clipboard manager: keep the text of a program that
//                          asks through CLIPBOARD_MANAGER / SAVE_TARGETS
//   --ask T1,T2,...        the targets a paste asks for, in order, until one
//                          gives text (default UTF8_STRING); TARGETS among them
//                          only reads the list, as some toolkits do first
//   --show-targets         log the list a TARGETS request got
//   --slow MS              wait MS before each request and each INCR piece
//   --save FILE            write a pasted text to FILE instead of the log
//   --hold KEYSYM          hold that key down from the start until the end
//   --second-connection    fetch a paste through a helper process with an X
//                          connection of its own (as some programs do)
//        fakechat --wait-gone ID...   waits until the window manager has let go
//                                     of these windows (their ids may be reused)
//   --reply                "查看消息" with its "(&R)回讯息" button (tag view)
//   WINDOW: --window TITLE [--tag T] [--size WxH] [--at X,Y]
//           [--input X,Y,W,H] [--send X,Y,W,H] [--disabled X,Y,W,H]
//           [--no-send] [--no-children] [--wm-name-only]
//   A window has an input box (default 10,60,380,300) and a "送讯息(&S)"
//   button (default 300,368,80,24) unless --no-children or --no-send. The
//   window itself takes keys too, where no child does. --disabled puts a child that takes no input over
//   that rectangle. --wm-name-only names the window by WM_NAME alone.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

struct Rect {
    int x, y, w, h;
};

struct WindowPlan {
    std::string title, tag;
    int w = 400, h = 400, x = -1, y = -1;
    Rect input{10, 60, 380, 300};
    Rect send{300, 368, 80, 24};
    bool hasDisabled = false;
    Rect disabled{};
    bool noSend = false, noChildren = false, wmNameOnly = false;
    bool reply = false;
};

enum class Role { Input, Button, Other };
struct Part {
    std::string tag, name;
    Role role;
    Window top;
    bool armed = false;
};

Display *dpy;
FILE *logFile;
std::map<Window, Part> parts;
Atom clipboardAtom, utf8Atom, propAtom, netWmName, wmDelete, targetsAtom, incrAtom, managerAtom, saveTargetsAtom;

bool stampLines = false;
bool ownClipboard = false;
bool keeper = false;
bool manager = false;
bool showTargets = false;
bool secondConnection = false;
int slowMs = 0;
const char *savePath = nullptr;
std::vector<std::string> asks{"UTF8_STRING"};
std::string clipboardText;
Window clipboardWindow = 0; // the window we own the clipboard through
int signalPipe[2] = {-1, -1};

// A fetch of the clipboard's text, one per requesting window at a time.
enum class Purpose { Paste, Keep, Save };
struct Fetch {
    Purpose purpose = Purpose::Paste;
    std::string tag; // "TAG PART" of the input for a paste
    std::vector<std::string> asks;
    std::size_t next = 0;
    Time time = CurrentTime;
    bool incr = false;
    Atom type = None;
    std::string data;
};
std::map<Window, Fetch> fetches;
// A SAVE_TARGETS request waiting for its fetch.
bool saveWaiting = false;
XSelectionRequestEvent saveRequest{};

void pause(int ms)
{
    if (ms <= 0)
        return;
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

// The answer to a selection request, naming the property it asked for.
XSelectionEvent replyTo(const XSelectionRequestEvent &r)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = r.requestor;
    reply.selection = r.selection;
    reply.target = r.target;
    reply.time = r.time;
    reply.property = r.property == None ? r.target : r.property;
    return reply;
}

// Answers a request for the clipboard we own: its targets or its text; as
// the manager, a request to keep another program's text once we have it.
void serveClipboard(const XSelectionRequestEvent &r)
{
    XSelectionEvent reply = replyTo(r);
    if (r.selection == managerAtom) {
        if (r.target == saveTargetsAtom && manager) {
            saveWaiting = true;
            saveRequest = r;
            Fetch f;
            f.purpose = Purpose::Save;
            f.asks = {"UTF8_STRING"};
            f.time = r.time;
            fetches[clipboardWindow] = f;
            XConvertSelection(dpy, clipboardAtom, utf8Atom, propAtom, clipboardWindow, r.time);
            XFlush(dpy);
            return;
        }
        reply.property = None;
    } else if (r.target == targetsAtom) {
        const Atom offered[] = {targetsAtom, utf8Atom};
        XChangeProperty(dpy, r.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(offered), 2);
    } else if (r.target == utf8Atom) {
        XChangeProperty(dpy, r.requestor, reply.property, utf8Atom, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(clipboardText.data()),
                        static_cast<int>(clipboardText.size()));
    } else {
        reply.property = None;
    }
    XSendEvent(dpy, r.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&reply));
    XFlush(dpy);
}

void logLine(const std::string &line)
{
    if (stampLines) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(logFile, "%lld ", static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
    }
    std::fprintf(logFile, "%s\n", line.c_str());
    std::fflush(logFile);
}

[[noreturn]] void usage(const char *why)
{
    std::fprintf(stderr, "fakechat: %s\n", why);
    std::exit(2);
}

Rect parseRect(const char *s)
{
    Rect r{};
    if (std::sscanf(s, "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) != 4)
        usage("a rectangle is X,Y,W,H");
    return r;
}

void setName(Window w, const std::string &name, bool netName)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(name.data());
    const int n = static_cast<int>(name.size());
    XChangeProperty(dpy, w, XA_WM_NAME, utf8Atom, 8, PropModeReplace, bytes, n);
    if (netName)
        XChangeProperty(dpy, w, netWmName, utf8Atom, 8, PropModeReplace, bytes, n);
}

Window child(Window parent, const Rect &r, const std::string &name, long mask, unsigned long colour)
{
    Window w = XCreateSimpleWindow(dpy, parent, r.x, r.y, static_cast<unsigned>(r.w), static_cast<unsigned>(r.h), 1,
                                   BlackPixel(dpy, DefaultScreen(dpy)), colour);
    setName(w, name, false);
    XSelectInput(dpy, w, mask);
    XMapWindow(dpy, w);
    return w;
}

Window open(const WindowPlan &s)
{
    const int screen = DefaultScreen(dpy);
    Window top = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), s.x < 0 ? 0 : s.x, s.y < 0 ? 0 : s.y,
                                     static_cast<unsigned>(s.w), static_cast<unsigned>(s.h), 0,
                                     BlackPixel(dpy, screen), 0xd4d0c8);
    setName(top, s.title, !s.wmNameOnly);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(dpy, top, &hints);
    if (s.x >= 0) {
        XSizeHints size{};
        size.flags = USPosition;
        size.x = s.x;
        size.y = s.y;
        XSetWMNormalHints(dpy, top, &size);
    }
    XSetWMProtocols(dpy, top, &wmDelete, 1);
    long topMask = StructureNotifyMask | ExposureMask | PropertyChangeMask;
    const long inputMask = KeyPressMask | ButtonPressMask | ExposureMask;
    const long buttonMask = ButtonPressMask | ButtonReleaseMask | ExposureMask;
    if (s.reply) {
        parts[child(top, {200, 160, 80, 24}, "(&R)回讯息", buttonMask, 0xffffff)] = {s.tag, "reply", Role::Button, top};
    } else {
        topMask |= inputMask;
        parts[top] = {s.tag, "window", Role::Input, top};
    }
    if (!s.reply && !s.noChildren) {
        parts[child(top, s.input, "", inputMask, 0xffffff)] = {s.tag, "input", Role::Input, top};
        if (s.hasDisabled)
            parts[child(top, s.disabled, "disabled", ExposureMask, 0x808080)] = {s.tag, "disabled", Role::Other, top};
        if (!s.noSend)
            parts[child(top, s.send, "送讯息(&S)", buttonMask, 0xffffff)] = {s.tag, "send", Role::Button, top};
    }
    XSelectInput(dpy, top, topMask);
    XMapWindow(dpy, top);
    return top;
}

std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string atomName(Atom a)
{
    char *name = a ? XGetAtomName(dpy, a) : nullptr;
    std::string out = name ? name : "None";
    if (name)
        XFree(name);
    return out;
}

// The next target of a fetch, or its end when none is left.
void askNext(Window w)
{
    Fetch &f = fetches[w];
    if (f.next >= f.asks.size()) {
        if (f.purpose == Purpose::Paste)
            logLine("paste " + f.tag + " <none>");
        fetches.erase(w);
        return;
    }
    pause(slowMs);
    XConvertSelection(dpy, clipboardAtom, XInternAtom(dpy, f.asks[f.next].c_str(), False), propAtom, w, f.time);
    XFlush(dpy);
}

// A paste fetched by a child process on a connection of its own: it logs the
// text it got (UTF8_STRING only) and ends.
void fetchElsewhere(const std::string &tag)
{
    std::fflush(logFile);
    if (fork() != 0)
        return;
    Display *own = XOpenDisplay(nullptr);
    if (!own)
        _exit(1);
    const Window w = XCreateSimpleWindow(own, DefaultRootWindow(own), 0, 0, 1, 1, 0, 0, 0);
    const Atom prop = XInternAtom(own, "FAKECHAT_PASTE", False);
    XConvertSelection(own, XInternAtom(own, "CLIPBOARD", False), XInternAtom(own, "UTF8_STRING", False), prop, w,
                      CurrentTime);
    XEvent e;
    do
        XNextEvent(own, &e);
    while (e.type != SelectionNotify);
    std::string text = "<none>";
    if (e.xselection.property != None) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        XGetWindowProperty(own, w, prop, 0, 1L << 24, True, AnyPropertyType, &type, &format, &items, &after, &data);
        text = data ? escaped(std::string(reinterpret_cast<const char *>(data), items)) : "";
        if (data)
            XFree(data);
    }
    logLine("paste " + tag + " " + text);
    _exit(0);
}

void startFetch(Window w, Fetch f)
{
    fetches[w] = std::move(f);
    askNext(w);
}

bool plainType(Atom type)
{
    return type == utf8Atom || type == XA_STRING || type == XInternAtom(dpy, "text/plain;charset=utf-8", False);
}

void finish(Window w)
{
    Fetch f = fetches[w];
    fetches.erase(w);
    switch (f.purpose) {
    case Purpose::Paste: {
        const std::string kind = plainType(f.type) ? "" : "<" + atomName(f.type) + "> ";
        if (savePath) {
            FILE *out = std::fopen(savePath, "wb");
            if (out) {
                std::fwrite(f.data.data(), 1, f.data.size(), out);
                std::fclose(out);
            }
            logLine("paste " + f.tag + " " + kind + "<saved " + std::to_string(f.data.size()) + " bytes>");
        } else {
            logLine("paste " + f.tag + " " + kind + escaped(f.data));
        }
        break;
    }
    case Purpose::Keep:
    case Purpose::Save:
        clipboardText = f.data;
        XSetSelectionOwner(dpy, clipboardAtom, clipboardWindow, CurrentTime);
        ownClipboard = XGetSelectionOwner(dpy, clipboardAtom) == clipboardWindow;
        logLine((f.purpose == Purpose::Keep ? "kept " : "saved ") + escaped(f.data));
        if (f.purpose == Purpose::Save && saveWaiting) {
            saveWaiting = false;
            XSelectionEvent reply = replyTo(saveRequest);
            XSendEvent(dpy, reply.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&reply));
        }
        XFlush(dpy);
        break;
    }
}

// Reads and deletes the fetch property.
std::pair<Atom, std::string> takeProperty(Window w)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    XGetWindowProperty(dpy, w, propAtom, 0, 1L << 26, True, AnyPropertyType, &type, &format, &items, &after, &data);
    std::string bytes;
    if (data) {
        const std::size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
        bytes.assign(reinterpret_cast<const char *>(data), items * unit);
        XFree(data);
    }
    return {type, bytes};
}

void received(const XSelectionEvent &e)
{
    const auto it = fetches.find(e.requestor);
    if (it == fetches.end())
        return;
    Fetch &f = it->second;
    if (e.property == None) {
        ++f.next;
        askNext(e.requestor);
        return;
    }
    auto [type, bytes] = takeProperty(e.requestor);
    if (type == incrAtom) {
        f.incr = true;
        f.data.clear();
        return; // the pieces follow as new values of the property
    }
    if (e.target == targetsAtom) {
        if (showTargets) {
            std::string list;
            const auto *atoms = reinterpret_cast<const Atom *>(bytes.data());
            for (std::size_t i = 0; i < bytes.size() / sizeof(Atom); ++i)
                list += " " + atomName(atoms[i]);
            logLine("offered " + f.tag + list);
        }
        ++f.next;
        askNext(e.requestor);
        return;
    }
    f.type = type;
    f.data = bytes;
    finish(e.requestor);
}

void incrPiece(const XPropertyEvent &e)
{
    const auto it = fetches.find(e.window);
    if (it == fetches.end() || !it->second.incr || e.atom != propAtom || e.state != PropertyNewValue)
        return;
    pause(slowMs);
    auto [type, bytes] = takeProperty(e.window);
    if (bytes.empty()) {
        it->second.type = type;
        finish(e.window);
        return;
    }
    it->second.data += bytes;
}

std::string modifiers(unsigned state)
{
    std::string out;
    if (state & ShiftMask)
        out += "shift+";
    if (state & ControlMask)
        out += "ctrl+";
    if (state & Mod1Mask)
        out += "alt+";
    if (state & Mod4Mask)
        out += "super+";
    return out;
}

// The window manager's client list no longer holds any of the ids: it has
// finished with them, so a new program's windows may take the same ids.
int waitGone(int count, char **ids)
{
    dpy = XOpenDisplay(nullptr);
    if (!dpy)
        usage("no X display");
    const Atom list = XInternAtom(dpy, "_NET_CLIENT_LIST", False);
    for (int round = 0; round < 500; ++round) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        bool held = false;
        if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), list, 0, 1L << 16, False, XA_WINDOW, &type, &format,
                               &items, &after, &data) == Success && data) {
            const auto *windows = reinterpret_cast<const unsigned long *>(data);
            for (unsigned long i = 0; i < items; ++i)
                for (int k = 0; k < count; ++k)
                    held = held || windows[i] == std::strtoul(ids[k], nullptr, 0);
            XFree(data);
        }
        if (!held)
            return 0;
        pause(20);
    }
    std::fprintf(stderr, "fakechat: the window manager still holds the windows\n");
    return 1;
}

void onSignal(int)
{
    const char c = 0;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

std::vector<std::string> split(const std::string &list)
{
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t comma; (comma = list.find(',', from)) != std::string::npos; from = comma + 1)
        out.push_back(list.substr(from, comma - from));
    out.push_back(list.substr(from));
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--wait-gone") == 0)
        return waitGone(argc - 2, argv + 2);
    const char *logPath = nullptr;
    const char *holdKey = nullptr;
    std::vector<WindowPlan> plans;
    auto current = [&]() -> WindowPlan & {
        if (plans.empty())
            usage("an option before the first --window");
        return plans.back();
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                usage((a + " needs a value").c_str());
            return argv[++i];
        };
        if (a == "--log") {
            logPath = value();
        } else if (a == "--stamp") {
            stampLines = true;
        } else if (a == "--clipboard") {
            clipboardText = value();
            ownClipboard = true;
        } else if (a == "--keeper") {
            keeper = true;
            ownClipboard = true;
        } else if (a == "--manager") {
            manager = true;
        } else if (a == "--ask") {
            asks = split(value());
        } else if (a == "--show-targets") {
            showTargets = true;
        } else if (a == "--slow") {
            slowMs = std::atoi(value());
        } else if (a == "--save") {
            savePath = value();
        } else if (a == "--second-connection") {
            secondConnection = true;
        } else if (a == "--hold") {
            holdKey = value();
        } else if (a == "--reply") {
            WindowPlan s;
            s.title = "查看消息";
            s.tag = "view";
            s.w = 300;
            s.h = 200;
            s.reply = true;
            plans.push_back(s);
        } else if (a == "--window") {
            WindowPlan s;
            s.title = value();
            s.tag = "w" + std::to_string(plans.size() + 1);
            plans.push_back(s);
        } else if (a == "--tag") {
            current().tag = value();
        } else if (a == "--size") {
            if (std::sscanf(value(), "%dx%d", &current().w, &current().h) != 2)
                usage("a size is WxH");
        } else if (a == "--at") {
            if (std::sscanf(value(), "%d,%d", &current().x, &current().y) != 2)
                usage("a position is X,Y");
        } else if (a == "--input") {
            current().input = parseRect(value());
        } else if (a == "--send") {
            current().send = parseRect(value());
        } else if (a == "--disabled") {
            current().hasDisabled = true;
            current().disabled = parseRect(value());
        } else if (a == "--no-send") {
            current().noSend = true;
        } else if (a == "--no-children") {
            current().noChildren = true;
        } else if (a == "--wm-name-only") {
            current().wmNameOnly = true;
        } else {
            usage(("unknown option " + a).c_str());
        }
    }
    if (!logPath || plans.empty())
        usage("usage: fakechat --log FILE [--reply] --window TITLE [...]");
    logFile = std::fopen(logPath, "a");
    if (!logFile)
        usage("cannot open the log file");
    dpy = XOpenDisplay(nullptr);
    if (!dpy)
        usage("no X display");
    clipboardAtom = XInternAtom(dpy, "CLIPBOARD", False);
    utf8Atom = XInternAtom(dpy, "UTF8_STRING", False);
    propAtom = XInternAtom(dpy, "FAKECHAT_PASTE", False);
    netWmName = XInternAtom(dpy, "_NET_WM_NAME", False);
    wmDelete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    targetsAtom = XInternAtom(dpy, "TARGETS", False);
    incrAtom = XInternAtom(dpy, "INCR", False);
    managerAtom = XInternAtom(dpy, "CLIPBOARD_MANAGER", False);
    saveTargetsAtom = XInternAtom(dpy, "SAVE_TARGETS", False);

    if (pipe(signalPipe) != 0)
        usage("no pipe");
    signal(SIGTERM, onSignal);
    signal(SIGCHLD, SIG_IGN); // helper processes need no waiting for
    signal(SIGINT, onSignal);

    std::map<Window, std::string> tops; // top-level -> tag
    for (const WindowPlan &s : plans)
        tops[open(s)] = s.tag;
    clipboardWindow = tops.begin()->first;
    if (ownClipboard)
        XSetSelectionOwner(dpy, clipboardAtom, clipboardWindow, CurrentTime);
    if (manager)
        XSetSelectionOwner(dpy, managerAtom, clipboardWindow, CurrentTime);
    KeyCode held = 0;
    std::size_t mapped = 0;

    for (;;) {
        if (!XPending(dpy)) {
            pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
            poll(fds, 2, -1);
            if (fds[1].revents)
                break;
            if (!XPending(dpy))
                continue;
        }
        XEvent e;
        XNextEvent(dpy, &e);
        if (std::getenv("FAKECHAT_DEBUG"))
            std::fprintf(stderr, "fakechat: event %d window 0x%lx button %u at %d,%d\n", e.type, e.xany.window,
                         e.xbutton.button, e.xbutton.x, e.xbutton.y);
        switch (e.type) {
        case MapNotify:
            if (tops.count(e.xmap.window)) {
                char id[32];
                std::snprintf(id, sizeof id, "0x%lx", e.xmap.window);
                logLine("window " + tops[e.xmap.window] + " " + id);
                if (++mapped == tops.size()) {
                    if (holdKey) {
                        held = XKeysymToKeycode(dpy, XStringToKeysym(holdKey));
                        if (held)
                            XTestFakeKeyEvent(dpy, held, True, CurrentTime);
                        XSync(dpy, False);
                    }
                    logLine("ready");
                }
            }
            break;
        case KeyPress: {
            auto it = parts.find(e.xkey.window);
            if (it == parts.end() || it->second.role != Role::Input)
                break;
            const KeySym sym = XLookupKeysym(&e.xkey, 0);
            const unsigned mods = e.xkey.state & (ShiftMask | ControlMask | Mod1Mask | Mod4Mask);
            const std::string where = it->second.tag + " " + it->second.name;
            if (mods == ControlMask && sym == XK_v && secondConnection) {
                fetchElsewhere(where);
            } else if (mods == ControlMask && sym == XK_v) {
                Fetch f;
                f.tag = where;
                f.asks = asks;
                f.time = e.xkey.time;
                startFetch(it->second.top, f);
            } else if (mods == 0 && sym == XK_Return) {
                logLine("enter " + where);
            } else if (!IsModifierKey(sym)) {
                const char *name = XKeysymToString(sym);
                logLine("key " + where + " " + modifiers(mods) + (name ? name : "?"));
            }
            break;
        }
        case SelectionRequest:
            serveClipboard(e.xselectionrequest);
            break;
        case SelectionClear:
            if (e.xselectionclear.selection != clipboardAtom)
                break;
            if (ownClipboard && !keeper)
                logLine("clipboard lost");
            ownClipboard = false;
            if (keeper) {
                // Let the new owner settle, then take its text.
                Fetch f;
                f.purpose = Purpose::Keep;
                f.asks = {"UTF8_STRING"};
                f.time = e.xselectionclear.time;
                startFetch(clipboardWindow, f);
            }
            break;
        case SelectionNotify:
            received(e.xselection);
            break;
        case PropertyNotify:
            incrPiece(e.xproperty);
            break;
        case ButtonPress:
            if (auto it = parts.find(e.xbutton.window); it != parts.end() && it->second.role == Role::Button)
                it->second.armed = e.xbutton.button == Button1;
            break;
        case ButtonRelease:
            if (auto it = parts.find(e.xbutton.window); it != parts.end() && it->second.armed) {
                it->second.armed = false;
                XWindowAttributes a;
                XGetWindowAttributes(dpy, e.xbutton.window, &a);
                if (e.xbutton.x >= 0 && e.xbutton.y >= 0 && e.xbutton.x < a.width && e.xbutton.y < a.height)
                    logLine("click " + it->second.tag + " " + it->second.name + " " + std::to_string(e.xbutton.x) +
                            "," + std::to_string(e.xbutton.y));
            }
            break;
        case ClientMessage:
            if (static_cast<Atom>(e.xclient.data.l[0]) == wmDelete)
                goto done;
            break;
        default:
            break;
        }
    }
done:
    if (held) {
        XTestFakeKeyEvent(dpy, held, False, CurrentTime);
        XSync(dpy, False);
    }
    return 0;
}
