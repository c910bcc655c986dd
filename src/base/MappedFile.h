#pragma once
// A regular file mapped read-only into memory: pictures are read where they lie,
// so a large bitmap costs no copy and only the pages actually read.

#include <cstddef>
#include <string>

namespace vomra {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // False, with the reason in error(), when the file cannot be opened, is not a
    // regular file or cannot be mapped. An empty file maps to no bytes.
    // `populate` reads every page at once, for callers that will touch them all.
    bool open(const std::string &path, bool populate = false);
    void close();

    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    const std::string &error() const { return m_error; }

    // Whether another program shortened the file while it was mapped and a read
    // fell past its new end. Such reads see zeros instead of ending the process
    // (SIGBUS), so what was read from the mapping must be thrown away.
    bool cut() const;

private:
    const unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
    int m_slot = -1; // in the table the SIGBUS handler reads
    std::string m_error;
};

} // namespace vomra
