#include "base/LazyLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vomra;

namespace {

// A library opened by its soname on the first call (zlib: every system has it).
LazyLibrary zlib("libz.so.1");
using AdlerFn = unsigned long (*)(unsigned long, const unsigned char *, unsigned);
const LazyCall<AdlerFn> adler32{zlib, "adler32"};

} // namespace

TEST(LazyLibrary, OpensOnFirstCallAndCallsThrough)
{
    const unsigned char text[] = {'a', 'b', 'c'};
    // Adler-32 of "abc", from its definition: (1+97+98+99) | (98+196+295) << 16.
    EXPECT_EQ(adler32(1, text, 3), 0x024d0127u);
    EXPECT_TRUE(zlib.available());
}

TEST(LazyLibrary, MissingLibraryOrSymbolIsNull)
{
    LazyLibrary missing("libvomra-no-such-library.so.0");
    EXPECT_FALSE(missing.available());
    EXPECT_EQ(missing.symbol("anything"), nullptr);
    EXPECT_EQ(zlib.symbol("vomra_no_such_call"), nullptr);
    EXPECT_NE(zlib.symbol("crc32"), nullptr);
}

TEST(LazyLibraryDeathTest, CallWithoutItsSymbolEndsTheProcessWithItsName)
{
    static LazyLibrary missing("libvomra-no-such-library.so.0");
    static const LazyCall<void (*)()> call{missing, "vomra_call"};
    EXPECT_DEATH(call(), "libvomra-no-such-library.so.0: no vomra_call");
}
