#include "base/MappedFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vomra {

MappedFile::~MappedFile() { close(); }

void MappedFile::close()
{
    if (m_data && m_size)
        ::munmap(const_cast<unsigned char *>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
}

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
    }
    ::close(fd);
    return true;
}

} // namespace vomra
