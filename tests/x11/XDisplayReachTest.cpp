#include "x11/XDisplayReach.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace vomra;

namespace {

// A listening socket standing in for an X server's.
class Listener {
public:
    explicit Listener(const std::string &path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr), 0);
        EXPECT_EQ(::listen(m_fd, 4), 0);
    }
    ~Listener() { ::close(m_fd); }
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

private:
    int m_fd = -1;
};

} // namespace

TEST(XDisplayReach, OnlyALocalServerThatListensCounts)
{
    const test::TempFolder dir;
    const std::string sockets = dir.path() + "x";
    ASSERT_EQ(::mkdir(sockets.c_str(), 0700), 0);
    const Listener server(sockets + "/X7");
    // A socket file left by a server that is gone: nobody answers.
    {
        const Listener gone(sockets + "/X8");
    }
    struct Case {
        const char *display;
        bool reachable;
    };
    const Case cases[] = {
        {":7", true}, {":7.0", true}, {"unix:7", true}, {":8", false}, {":9", false},
        {"", false},  {":", false},   {":x", false},    {"7", false},  {"otherhost:0", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(xDisplayReachable(c.display, sockets), c.reachable) << "DISPLAY=" << c.display;
}
