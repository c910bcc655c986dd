#include "x11/X11TopLevels.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vomra;

namespace {

// A made-up X server: a root, a few frames with clients in them, and the
// properties a window manager may or may not have set.
struct FakeTree final : XTreeSource {
    XWindowId rootId = 1;
    std::map<XWindowId, XWindowId> checks;            // _NET_SUPPORTING_WM_CHECK
    bool supported = false;                           // _NET_SUPPORTED names the stacking list
    std::optional<std::vector<XWindowId>> stacking;   // bottom-most first
    std::map<XWindowId, std::vector<XWindowId>> kids; // top-most first
    std::set<XWindowId> hidden;                       // unmapped or override-redirect
    std::set<XWindowId> wmState;

    XWindowId root() override { return rootId; }
    std::optional<XWindowId> wmCheck(XWindowId w) override
    {
        auto it = checks.find(w);
        return it == checks.end() ? std::nullopt : std::optional<XWindowId>(it->second);
    }
    bool stackingListSupported() override { return supported; }
    std::optional<std::vector<XWindowId>> stackingList() override { return stacking; }
    std::vector<XWindowId> children(XWindowId w) override { return kids[w]; }
    bool userVisible(XWindowId w) override { return !hidden.count(w); }
    bool hasWmState(XWindowId w) override { return wmState.count(w) != 0; }
};

enum class Manager { None, Alive, Gone };

// Root children, top-most first: frame 10 holding client 11; a menu 20
// (override-redirect); an unmapped frame 30 with client 31; frame 40 holding
// client 42 two levels down; a bare window 50 with no WM_STATE anywhere.
FakeTree desktop(Manager manager, bool supported, std::optional<std::vector<XWindowId>> stacking)
{
    FakeTree t;
    t.kids[1] = {10, 20, 30, 40, 50};
    t.kids[10] = {11};
    t.kids[30] = {31};
    t.kids[40] = {41};
    t.kids[41] = {42};
    t.hidden = {20, 30};
    t.wmState = {11, 31, 42};
    if (manager != Manager::None) {
        t.checks[1] = 99;
        if (manager == Manager::Alive)
            t.checks[99] = 99; // the check window names itself while its manager runs
    }
    t.supported = supported;
    t.stacking = std::move(stacking);
    return t;
}

} // namespace

TEST(X11TopLevels, FollowTheManagersWord)
{
    const std::vector<XWindowId> walked{11, 42, 50};
    const std::vector<XWindowId> listed{11, 42}; // top-most first, from the list {42, 11}
    struct Case {
        const char *what;
        Manager manager;
        bool supported;
        std::optional<std::vector<XWindowId>> stacking;
        std::vector<XWindowId> expected;
    };
    const Case cases[] = {
        {"a manager that publishes the list", Manager::Alive, true, std::vector<XWindowId>{42, 11}, listed},
        {"a manager that keeps the list without announcing it", Manager::Alive, false, std::vector<XWindowId>{42, 11},
         listed},
        {"a manager that announces no list and sets none (Xwayland's)", Manager::Alive, false, std::nullopt, walked},
        {"a manager that announces the list but has not set it", Manager::Alive, true, std::nullopt, walked},
        {"a list left behind by a manager that quit", Manager::Gone, true, std::vector<XWindowId>{42}, walked},
        {"no manager at all", Manager::None, false, std::nullopt, walked},
        {"an announced, empty list: no clients", Manager::Alive, true, std::vector<XWindowId>{},
         std::vector<XWindowId>{}},
    };
    for (const Case &c : cases) {
        FakeTree tree = desktop(c.manager, c.supported, c.stacking);
        EXPECT_EQ(discoverTopLevels(tree), c.expected) << c.what;
    }
}

TEST(X11TopLevels, ClientIsFoundBelowItsFrameButNotTooDeep)
{
    FakeTree t;
    t.kids[1] = {2};
    t.kids[2] = {3};
    t.kids[3] = {4};
    t.kids[4] = {5};
    t.kids[5] = {6};
    t.wmState = {6};
    EXPECT_EQ(clientBelow(t, 2), 0u) << "four levels down is no longer the frame's client";
    EXPECT_EQ(clientBelow(t, 3), 6u);
    t.wmState.insert(3);
    EXPECT_EQ(clientBelow(t, 2), 3u) << "the nearest window with WM_STATE counts";
}
