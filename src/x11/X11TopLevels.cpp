#include "x11/X11TopLevels.h"

#include <algorithm>

namespace vomra {

XWindowId clientBelow(XTreeSource &tree, XWindowId w)
{
    std::vector<XWindowId> level{w};
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<XWindowId> next;
        for (XWindowId x : level) {
            if (tree.hasWmState(x))
                return x;
            for (XWindowId c : tree.children(x))
                next.push_back(c);
        }
        level.swap(next);
    }
    return 0;
}

namespace {

bool managerAlive(XTreeSource &tree)
{
    const auto check = tree.wmCheck(tree.root());
    if (!check)
        return false;
    const auto self = tree.wmCheck(*check);
    return self && *self == *check;
}

} // namespace

std::vector<XWindowId> discoverTopLevels(XTreeSource &tree)
{
    if (managerAlive(tree)) {
        // Asked for once: a manager that lists it but has not set it yet has
        // no list to read, and the walk below serves instead.
        const bool supported = tree.stackingListSupported();
        if (auto list = tree.stackingList(); list && (supported || !list->empty())) {
            std::reverse(list->begin(), list->end());
            return *list;
        }
    }
    std::vector<XWindowId> out;
    for (XWindowId child : tree.children(tree.root())) {
        if (!tree.userVisible(child))
            continue;
        const XWindowId client = clientBelow(tree, child);
        out.push_back(client ? client : child);
    }
    return out;
}

} // namespace vomra
