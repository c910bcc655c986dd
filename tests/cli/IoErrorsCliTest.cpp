// Every command meets a read or a write error with one line naming the file and
// exit status 1, never an abort.
#include "cli/Cli.h"

#include "support/TempFolder.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace vomra::cli;

namespace {

// An output that fails every write, as a full disk does.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override
    {
        errno = ENOSPC;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char *, std::streamsize) override
    {
        errno = ENOSPC;
        return 0;
    }
};

const std::string kGrindPicture = std::string(VOMRA_TEST_DATA) + "/grind/picture.bmp";

} // namespace

TEST(IoErrorsCli, ReadingAFolderFailsWithOneLine)
{
    vomra::test::TempFolder dir;
    const std::string folder = dir.path();
    struct Row {
        std::vector<std::string> args;
        std::string err;
    };
    const Row rows[] = {
        {{"trim-left"}, "vomra-cli trim-left: cannot read standard input: Is a directory\n"},
        {{"trim-right"}, "vomra-cli trim-right: cannot read standard input: Is a directory\n"},
        {{"art", "--onto", folder, "--layout", "left", "x"},
         "vomra-cli art: cannot read '" + folder + "': Is a directory\n"},
    };
    for (const Row &r : rows) {
        // A file stream on a folder opens, and its first read fails, as standard
        // input redirected from a folder does.
        std::ifstream in(folder, std::ios::binary);
        std::ostringstream out, err;
        const int status = runCli(r.args, {in, out, err, false});
        EXPECT_EQ(status, 1) << r.args[0];
        EXPECT_EQ(out.str(), "") << r.args[0];
        EXPECT_EQ(err.str(), r.err);
    }
}

TEST(IoErrorsCli, AFullOutputFailsWithOneLine)
{
    const std::vector<std::vector<std::string>> commands = {
        {"trim-left"}, {"trim-right"}, {"art", "x"}, {"grind", kGrindPicture}};
    for (const auto &args : commands) {
        std::istringstream in("  a\n  b\n");
        FullDisk disk;
        std::ostream out(&disk);
        std::ostringstream err;
        const int status = runCli(args, {in, out, err, false});
        EXPECT_EQ(status, 1) << args[0];
        EXPECT_EQ(err.str(), "vomra-cli " + args[0] + ": cannot write standard output: No space left on device\n");
    }
}
