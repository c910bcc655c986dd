// A mapped file that another program shortens: reads past its new end must not
// end the process, and the mapping must say the file was cut.
#include "base/MappedFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <unistd.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string writeFile(const TempFolder &folder, const std::string &name, std::size_t size)
{
    const std::string path = folder.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    return path;
}

} // namespace

TEST(MappedFile, ShortenedWhileMappedReadsZerosAndSaysSo)
{
    TempFolder folder;
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    for (const std::size_t newSize : {std::size_t{0}, page + 10}) {
        SCOPED_TRACE(newSize);
        const std::string cutPath = writeFile(folder, "cut.bin", 5 * page);
        const std::string keptPath = writeFile(folder, "kept.bin", 5 * page);
        MappedFile cut, kept;
        ASSERT_TRUE(cut.open(cutPath));
        ASSERT_TRUE(kept.open(keptPath, true));
        ASSERT_EQ(::truncate(cutPath.c_str(), static_cast<off_t>(newSize)), 0);
        unsigned sum = 0;
        for (std::size_t i = 0; i < cut.size(); i += 97)
            sum += cut.data()[i];
        for (std::size_t i = 0; i < kept.size(); i += 97)
            sum += kept.data()[i];
        EXPECT_GT(sum, 0u);
        EXPECT_EQ(cut.data()[cut.size() - 1], 0); // past the new end: zeros
        EXPECT_TRUE(cut.cut());
        EXPECT_FALSE(kept.cut());
        // A fresh mapping of the shortened file starts clean.
        cut.close();
        EXPECT_FALSE(cut.cut());
        ASSERT_TRUE(cut.open(cutPath));
        EXPECT_EQ(cut.size(), newSize);
        EXPECT_FALSE(cut.cut());
    }
}
