// The recipe library's logic: scanning a library of 200 folders and 5,000 files
// (target: under 100 ms), and reading one collection item of 5,000 lines as the
// page shows it (target: under 50 ms, of which the editor takes its share).
#include "base/Gbk.h"
#include "recipe/core/Recipe.h"
#include "recipe/core/LibrarySearch.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
namespace gbk = vomra::gbk;

namespace {

class TempLibrary {
public:
    TempLibrary()
    {
        std::string templ = (fs::temp_directory_path() / "vomra-bench-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            std::abort();
        m_path = templ + "/";
    }
    ~TempLibrary()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const std::string &path() const { return m_path; }
    void write(const std::string &rel, const std::string &bytes) const
    {
        const fs::path p = fs::path(m_path) / rel;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::string m_path;
};

std::string collection(int items, int linesPerItem)
{
    std::string ini = "[ItemList]\r\nItemCount=" + std::to_string(items) + "\r\n";
    for (int i = 1; i <= items; ++i)
        ini += "ItemName" + std::to_string(i) + "=" + gbk::fromUtf8("祝福") + std::to_string(i) + "\r\n";
    for (int i = 1; i <= items; ++i) {
        ini += "\r\n[" + gbk::fromUtf8("祝福") + std::to_string(i) + "]\r\n";
        for (int k = 0; k < linesPerItem; ++k)
            ini += gbk::fromUtf8("  祝你天天开心，万事如意！★☆★  ") + std::to_string(k) + "\r\n";
    }
    return ini;
}

// 20 top-level folders with 9 subfolders each: 200 folders; in each, 5
// collections of 5 items and 20 recipe files: 5,000 files.
void makeLibrary(const TempLibrary &lib)
{
    const std::string ini = collection(5, 4);
    const std::string txt = gbk::fromUtf8("新年快乐！\r\n万事如意！\r\n");
    for (int top = 0; top < 20; ++top) {
        for (int sub = 0; sub < 10; ++sub) {
            const std::string folder = "Top" + std::to_string(top) + "/" + (sub ? "Sub" + std::to_string(sub) + "/" : "");
            for (int f = 0; f < 5; ++f)
                lib.write(folder + "Collection" + std::to_string(f) + ".Ini", ini);
            for (int f = 0; f < 20; ++f)
                lib.write(folder + "Recipe" + std::to_string(f) + ".Txt", txt);
        }
    }
}

void BM_ScanRecipeLibrary(benchmark::State &state)
{
    TempLibrary lib;
    makeLibrary(lib);
    std::size_t nodes = 0;
    for (auto _ : state) {
        const auto tree = vomra::ScanRecipeLibrary(lib.path());
        nodes = tree.size();
        benchmark::DoNotOptimize(tree.data());
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_ScanRecipeLibrary)->Unit(benchmark::kMillisecond);

// One item of 5,000 lines among others: the file read, the item found and
// trimmed, and the lines display mode shows.
void BM_CollectionItem5000Lines(benchmark::State &state)
{
    TempLibrary lib;
    std::string ini = collection(3, 200);
    ini += "[" + gbk::fromUtf8("长篇") + "]\r\n";
    for (int k = 0; k < 5000; ++k)
        ini += gbk::fromUtf8("　　这是一段很长的祝福，第") + std::to_string(k) + gbk::fromUtf8("行。  \r\n");
    ini += "[end]\r\n";
    lib.write("c.Ini", ini);
    const std::string path = lib.path() + "c.Ini";
    const std::string name = gbk::fromUtf8("长篇");
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto item = vomra::ReadIniItemLines(path, name);
        const auto shown = vomra::ItemCopyLines(name, item.value());
        lines = shown.size();
        benchmark::DoNotOptimize(shown.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_CollectionItem5000Lines)->Unit(benchmark::kMillisecond);

// A 20 MB recipe file read whole (what the editor is then given).
void BM_ReadRecipeFile20MB(benchmark::State &state)
{
    TempLibrary lib;
    std::string line = gbk::fromUtf8("　　★☆★ 很长很长的一行字 ★☆★　　") + "\r\n";
    std::string text;
    while (text.size() < (20u << 20))
        text += line;
    lib.write("big.Txt", text);
    for (auto _ : state) {
        const auto bytes = vomra::ReadRecipeFile(lib.path() + "big.Txt");
        benchmark::DoNotOptimize(bytes->data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}
BENCHMARK(BM_ReadRecipeFile20MB)->Unit(benchmark::kMillisecond);

// The item names of one large collection (the names are read per key).
void BM_CollectionItemNames(benchmark::State &state)
{
    const std::string ini = collection(static_cast<int>(state.range(0)), 3);
    for (auto _ : state) {
        const auto names = vomra::CollectionItemNames(ini);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_CollectionItemNames)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Finding text in the library of BM_ScanRecipeLibrary (5,000 files; target: under
// 200 ms): a word in no file, one in every file, and an ASCII word in one file,
// each with the scan (the command line) and on a tree already scanned (the
// tree's find field).
void BM_FindInLibrary5000Files(benchmark::State &state)
{
    TempLibrary lib;
    makeLibrary(lib);
    lib.write("Top7/Sub3/Recipe4.Txt", gbk::fromUtf8("一句 Happy 新年\r\n"));
    const char *needles[] = {"不存在的词", "如意", "happy"};
    const std::string needle = needles[state.range(0)];
    const bool scanned = state.range(1) != 0;
    const auto tree = vomra::ScanRecipeLibrary(lib.path());
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto found = scanned ? vomra::FindInTree(tree, needle) : vomra::FindInLibrary(lib.path(), needle);
        hits = found.hits.size();
        benchmark::DoNotOptimize(found.hits.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_FindInLibrary5000Files)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"needle", "scanned"})
    ->Unit(benchmark::kMillisecond);

} // namespace
