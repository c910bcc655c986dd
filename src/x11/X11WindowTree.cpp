// Finding windows: properties, the top-level list, names, children and the window at a point.
#include "x11/X11Session.h"
#include "x11/X11TopLevels.h"

namespace vomra {

using x11::ErrorTrap;
using x11::PropertyData;

std::optional<x11::PropertyData> TX11WindowSystem::Impl::property(Window w, Atom name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(dpy, w, name, 0, 1L << 20, False, type, &actualType, &format, &items, &after,
                           &data) != Success)
        return std::nullopt;
    if (actualType == None) {
        if (data)
            XFree(data);
        return std::nullopt;
    }
    PropertyData p;
    p.type = actualType;
    p.format = format;
    p.items = items;
    if (data) {
        const std::size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
        p.bytes.assign(reinterpret_cast<const char *>(data), items * unit);
        XFree(data);
    }
    return p;
}

std::vector<Window> TX11WindowSystem::Impl::windowList(Window w, Atom name, Atom type)
{
    std::vector<Window> out;
    if (auto p = property(w, name, type); p && p->format == 32 && p->type == type) {
        const auto *ids = reinterpret_cast<const unsigned long *>(p->bytes.data());
        out.assign(ids, ids + p->items);
    }
    return out;
}

std::optional<Window> TX11WindowSystem::Impl::windowProperty(Window w, Atom name)
{
    const std::vector<Window> list = windowList(w, name, XA_WINDOW);
    if (list.empty())
        return std::nullopt;
    return list.front();
}

bool TX11WindowSystem::Impl::hasProperty(Window w, Atom name)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    const bool ok = XGetWindowProperty(dpy, w, name, 0, 0, False, AnyPropertyType, &actualType, &format, &items,
                                       &after, &data) == Success;
    if (data)
        XFree(data);
    return ok && actualType != None;
}

// A window manager that keeps the EWMH lists is running (its check window
// points at itself, so a list left behind by a manager that quit is ignored).
bool TX11WindowSystem::Impl::ewmhManager()
{
    const auto check = windowProperty(root, supportingWmCheck);
    if (!check)
        return false;
    const auto self = windowProperty(*check, supportingWmCheck);
    return self && *self == *check;
}

bool TX11WindowSystem::Impl::supports(Atom feature)
{
    const std::vector<Window> atoms = windowList(root, netSupported, XA_ATOM);
    return std::find(atoms.begin(), atoms.end(), feature) != atoms.end();
}

std::vector<Window> TX11WindowSystem::Impl::children(Window w)
{
    Window rootReturn = 0, parent = 0;
    Window *kids = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (!XQueryTree(dpy, w, &rootReturn, &parent, &kids, &n))
        return out;
    out.assign(kids, kids + n);
    if (kids)
        XFree(kids);
    std::reverse(out.begin(), out.end());
    return out;
}

// The server as the top-level rule sees it.
class TX11WindowSystem::Impl::ServerTree final : public XTreeSource {
public:
    explicit ServerTree(TX11WindowSystem::Impl &x) : m_x(x) {}
    XWindowId root() override { return m_x.root; }
    std::optional<XWindowId> wmCheck(XWindowId w) override { return m_x.windowProperty(w, m_x.supportingWmCheck); }
    bool stackingListSupported() override { return m_x.supports(m_x.clientListStacking); }
    std::optional<std::vector<XWindowId>> stackingList() override
    {
        auto p = m_x.property(m_x.root, m_x.clientListStacking, XA_WINDOW);
        if (!p || p->format != 32 || p->type != XA_WINDOW)
            return std::nullopt;
        const auto *ids = reinterpret_cast<const unsigned long *>(p->bytes.data());
        return std::vector<XWindowId>(ids, ids + p->items);
    }
    std::vector<XWindowId> children(XWindowId w) override
    {
        const std::vector<Window> kids = m_x.children(w);
        return {kids.begin(), kids.end()};
    }
    bool userVisible(XWindowId w) override
    {
        XWindowAttributes a;
        return XGetWindowAttributes(m_x.dpy, w, &a) && a.map_state == IsViewable && !a.override_redirect;
    }
    bool hasWmState(XWindowId w) override { return m_x.hasProperty(w, m_x.wmState); }

private:
    TX11WindowSystem::Impl &m_x;
};

Window TX11WindowSystem::Impl::clientBelow(Window w)
{
    ServerTree tree(*this);
    return vomra::clientBelow(tree, w);
}

std::vector<Window> TX11WindowSystem::Impl::topLevels()
{
    ServerTree tree(*this);
    const std::vector<XWindowId> ids = discoverTopLevels(tree);
    return {ids.begin(), ids.end()};
}

std::string TX11WindowSystem::Impl::text(Window w)
{
    if (auto p = property(w, netWmName, utf8String); p && p->type == utf8String && p->format == 8)
        return p->bytes;
    XTextProperty prop{};
    if (!XGetWMName(dpy, w, &prop) || !prop.value)
        return {};
    std::string out;
    char **list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(dpy, &prop, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i)
            out += list[i];
        XFreeStringList(list);
    } else {
        out.assign(reinterpret_cast<const char *>(prop.value), prop.nitems);
    }
    XFree(prop.value);
    return out;
}

// The top-level client window that holds w (w itself for a top-level).
Window TX11WindowSystem::Impl::clientOf(Window w)
{
    Window current = w;
    for (int depth = 0; depth < 64; ++depth) {
        if (hasProperty(current, wmState))
            return current;
        Window rootReturn = 0, parent = 0;
        Window *kids = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy, current, &rootReturn, &parent, &kids, &n))
            throw WindowSystemError("the window is gone");
        if (kids)
            XFree(kids);
        if (parent == rootReturn || parent == 0)
            return current;
        current = parent;
    }
    return current;
}

// The deepest mapped window at a root point.
Window TX11WindowSystem::Impl::windowAt(int x, int y)
{
    Window w = root;
    for (int depth = 0; depth < 64; ++depth) {
        int wx = 0, wy = 0;
        Window child = 0;
        if (!XTranslateCoordinates(dpy, root, w, x, y, &wx, &wy, &child) || child == None)
            break;
        w = child;
    }
    return w;
}

bool TX11WindowSystem::Impl::inside(Window w, Window ancestor)
{
    for (int depth = 0; depth < 64 && w && w != root; ++depth) {
        if (w == ancestor)
            return true;
        Window rootReturn = 0, parent = 0;
        Window *kids = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy, w, &rootReturn, &parent, &kids, &n))
            return false;
        if (kids)
            XFree(kids);
        w = parent;
    }
    return false;
}

} // namespace vomra
