// Profile files: a Theme.Ini whose catalogue lists many themes, each with a
// section of its own, read the way start-up reads it (the catalogue, then the
// page colours of one theme); and a settings write into a large file.
#include "base/Profile.h"
#include "pagekit/core/PageColours.h"
#include "theme/core/ThemeCatalogue.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// ThemeCount names, each about 40 bytes, plus a 12-key section per theme.
std::string themeFile(int themes)
{
    std::string ini = "[Theme]\r\nThemeCount=" + std::to_string(themes) + "\r\n";
    for (int n = 1; n <= themes; ++n)
        ini += "ThemeName" + std::to_string(n) + "=Theme number " + std::to_string(n) + "\r\n";
    for (int n = 1; n <= themes; ++n) {
        ini += "[Theme number " + std::to_string(n) + "]\r\n";
        for (const char *key : {"LeftColorR", "LeftColorG", "LeftColorB", "FontColorR", "FontColorG", "FontColorB"})
            ini += std::string(key) + "=" + std::to_string(n % 256) + "\r\n";
    }
    return ini;
}

class FileOnDisk {
public:
    explicit FileOnDisk(const std::string &bytes)
    {
        char templ[] = "/tmp/vomra-bench-XXXXXX";
        const int fd = ::mkstemp(templ);
        m_path = templ;
        if (fd >= 0) {
            if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
                m_path.clear();
            ::close(fd);
        }
    }
    ~FileOnDisk() { std::remove(m_path.c_str()); }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

void BM_LoadThemeNames(benchmark::State &state)
{
    const std::string bytes = themeFile(static_cast<int>(state.range(0)));
    const FileOnDisk file(bytes);
    const vomra::Profile profile(file.path());
    for (auto _ : state) {
        const auto names = vomra::LoadThemeNames(profile);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["file_kb"] = static_cast<double>(bytes.size()) / 1024.0;
}
BENCHMARK(BM_LoadThemeNames)->ArgName("themes")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadPageColours(benchmark::State &state)
{
    const std::string bytes = themeFile(static_cast<int>(state.range(0)));
    const FileOnDisk file(bytes);
    const vomra::Profile profile(file.path());
    const std::string section = "Theme number " + std::to_string(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(vomra::ReadPageColours(profile, section));
}
BENCHMARK(BM_ReadPageColours)->ArgName("themes")->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
