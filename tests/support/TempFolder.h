#pragma once
// A fresh temporary folder per test, removed afterwards; fixtures are copied in,
// never written in the source tree.

#include <string>

namespace vomra::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder with a trailing "/".
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + name; }

    void write(const std::string &name, const std::string &bytes) const;
    std::string read(const std::string &name) const;
    // Copies tests/data/<fixture> (a folder) into this folder.
    void copyFixture(const std::string &fixture) const;

private:
    std::string m_path;
};

} // namespace vomra::test
