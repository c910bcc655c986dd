#include "base/PackedLines.h"

#include <gtest/gtest.h>

#include <string>

namespace vomra {
namespace {

// Lines read through in pieces and released behind the reader keep their
// indices and bytes, whatever the piece sizes, empty lines included.
TEST(PackedLines, ReleasedLinesLeaveTheRestAsTheyWere)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back(i % 7 == 3 ? std::string() : "line " + std::to_string(i));
    for (const std::size_t piece : {1u, 3u, 64u, 999u, 1000u}) {
        SCOPED_TRACE(piece);
        PackedLines packed(lines);
        for (std::size_t from = 0; from < lines.size(); from += piece) {
            const std::size_t to = std::min(from + piece, lines.size());
            for (std::size_t i = from; i < to; ++i)
                ASSERT_EQ(packed[i], lines[i]) << i;
            packed.releaseBefore(to);
            ASSERT_EQ(packed.size(), lines.size());
            if (to < lines.size()) {
                ASSERT_EQ(packed.back(), lines.back());
            }
        }
        packed.push_back("more");
        EXPECT_EQ(packed.size(), lines.size() + 1);
        EXPECT_EQ(packed.back(), "more");
        packed.pop_back();
        EXPECT_EQ(packed.size(), lines.size());
    }
}

} // namespace
} // namespace vomra
