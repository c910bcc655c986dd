#include "base/NativePath.h"
#include "base/Gbk.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(NativePath, EachPartIsShownAsUtf8OrGbkOrWithReplacements)
{
    const std::string gbkNew = gbk::fromUtf8("新年");
    struct Row {
        std::string native;
        std::string shown;
    };
    const Row rows[] = {
        {"/home/u/Vomra秘笈/a.Txt", "/home/u/Vomra秘笈/a.Txt"},       // UTF-8 stays
        {"/home/u/Lib/" + gbkNew + ".Txt", "/home/u/Lib/新年.Txt"},   // a GBK name
        {"/home/程序/" + gbkNew + "/x.Txt", "/home/程序/新年/x.Txt"}, // UTF-8 and GBK folders side by side
        {"/p/a\xFF"
         "b.Txt",
         "/p/a\xEF\xBF\xBD"
         "b.Txt"},                      // neither: U+FFFD per bad byte
        {"/p/\xD0", "/p/\xEF\xBF\xBD"}, // a lead byte alone
        {"", ""},
        {"/", "/"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(nativeToDisplay(row.native), row.shown) << row.shown;
}
