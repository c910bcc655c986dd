#pragma once
// Which top-level windows an X display has, top-most first, decided from what
// the server says. Kept free of Xlib so the rule can be checked against a
// made-up window tree.
//
// The window manager's list is used only when the manager is alive (its check
// window points at itself, so a list left by a manager that quit is ignored)
// and the list is really there: listed in _NET_SUPPORTED or present on the
// root. Managers that publish neither (the X window manager of some Wayland
// compositors) leave us to walk the root's children: mapped, not
// override-redirect, each taken as the window carrying WM_STATE in it or a
// few levels below (the child itself when none does).

#include <cstdint>
#include <optional>
#include <vector>

namespace vomra {

using XWindowId = std::uint64_t;

class XTreeSource {
public:
    virtual ~XTreeSource() = default;
    virtual XWindowId root() = 0;
    // _NET_SUPPORTING_WM_CHECK of `w`, when set.
    virtual std::optional<XWindowId> wmCheck(XWindowId w) = 0;
    // Whether the root's _NET_SUPPORTED names _NET_CLIENT_LIST_STACKING.
    virtual bool stackingListSupported() = 0;
    // The root's _NET_CLIENT_LIST_STACKING, bottom-most first; none when absent.
    virtual std::optional<std::vector<XWindowId>> stackingList() = 0;
    // Direct children, top-most first.
    virtual std::vector<XWindowId> children(XWindowId w) = 0;
    // Mapped and viewable, and not override-redirect (menus, tooltips).
    virtual bool userVisible(XWindowId w) = 0;
    virtual bool hasWmState(XWindowId w) = 0;
};

std::vector<XWindowId> discoverTopLevels(XTreeSource &tree);

// The window carrying WM_STATE at or below `w`, breadth first; 0 when none.
XWindowId clientBelow(XTreeSource &tree, XWindowId w);

} // namespace vomra
