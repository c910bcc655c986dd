#include "base/MappedFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

namespace {

// The mappings a SIGBUS may come from. The handler reads this table, so it is
// fixed in size and made of atomics; a mapping that finds no free slot is
// simply not guarded.
struct Guarded {
    std::atomic<std::uintptr_t> begin{UINTPTR_MAX};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> cut{false};
};
constexpr int kSlots = 64;
Guarded g_slots[kSlots];
struct sigaction g_previous {};
std::atomic<bool> g_installed{false};

// A read past the end of a file that shrank after it was mapped: the page is
// replaced by one of zeros, so the read completes, and the mapping is marked.
// Faults anywhere else go to the handler that was there before.
void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guarded &slot : g_slots) {
        if (address < slot.begin.load() || address >= slot.end.load())
            continue;
        const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        void *at = reinterpret_cast<void *>(address & ~(page - 1));
        if (::mmap(at, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            slot.cut.store(true);
            return;
        }
        break;
    }
    if (g_previous.sa_flags & SA_SIGINFO) {
        if (g_previous.sa_sigaction) {
            g_previous.sa_sigaction(signal, info, context);
            return;
        }
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installHandler()
{
    if (g_installed.exchange(true))
        return;
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
}

int guard(const unsigned char *data, std::size_t size)
{
    installHandler();
    for (int i = 0; i < kSlots; ++i) {
        std::uintptr_t none = 0;
        // A free slot has an empty range; the end claims it, the start opens it.
        if (g_slots[i].end.compare_exchange_strong(none, reinterpret_cast<std::uintptr_t>(data) + size)) {
            g_slots[i].cut.store(false);
            g_slots[i].begin.store(reinterpret_cast<std::uintptr_t>(data));
            return i;
        }
    }
    return -1;
}

} // namespace

MappedFile::~MappedFile() { close(); }

void MappedFile::close()
{
    if (m_slot >= 0) {
        g_slots[m_slot].begin.store(UINTPTR_MAX);
        g_slots[m_slot].end.store(0);
        m_slot = -1;
    }
    if (m_data && m_size)
        ::munmap(const_cast<unsigned char *>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
}

bool MappedFile::cut() const { return m_slot >= 0 && g_slots[m_slot].cut.load(); }

bool MappedFile::open(const std::string &path, bool populate)
{
    close();
    m_error.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
        ::close(fd);
        return false;
    }
    if (st.st_size > 0) {
        const auto size = static_cast<std::size_t>(st.st_size);
        void *map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (populate ? MAP_POPULATE : 0), fd, 0);
        if (map == MAP_FAILED) {
            m_error = std::strerror(errno);
            ::close(fd);
            return false;
        }
        m_data = static_cast<const unsigned char *>(map);
        m_size = size;
        m_slot = guard(m_data, m_size);
    }
    ::close(fd);
    return true;
}

} // namespace vomra
