#include "cli/Cli.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace vomra::cli;

namespace {

using Result = vomra::test::CliResult;

Result run(const std::vector<std::string> &args, const std::string &input = {})
{
    return vomra::test::run(args, {.input = input});
}

} // namespace

TEST(TrimCli, TrimLeftUtf8)
{
    const Result r = run({"trim-left"}, "　　ab\n   cd\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, " ab\ncd\n");
    EXPECT_EQ(r.err, "");
}

TEST(TrimCli, TrimRightUtf8AndCrlfInput)
{
    const Result r = run({"trim-right"}, "ab 　 \r\n　　\r\nx");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ab\n\nx\n");
}

TEST(TrimCli, RawGbk)
{
    const Result r = run({"trim-right", "--encoding", "gbk"}, "\xD2\xD5\xA1\xA1 \n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\xD2\xD5\n");
    const Result eq = run({"trim-left", "--encoding=gbk"}, "\xA1\xA1x\n");
    EXPECT_EQ(eq.out, "x\n"); // the full-width blank widens to a two-byte margin, then goes
}

TEST(TrimCli, UnmappableInputWarnsOnce)
{
    const Result r = run({"trim-right"}, "😀 \n😀\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "?\n?\n");
    EXPECT_EQ(r.err, "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n");
}

TEST(TrimCli, EmptyInputGivesNoOutput)
{
    const Result r = run({"trim-left"}, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(TrimCli, UsageErrors)
{
    struct Row {
        std::vector<std::string> args;
        std::string err;
    };
    const Row rows[] = {
        {{}, "vomra-cli: no command given (try 'vomra-cli --help')\n"},
        {{"frobnicate"}, "vomra-cli: unknown command 'frobnicate' (try 'vomra-cli --help')\n"},
        {{"--frob"}, "vomra-cli: unknown option '--frob' (try 'vomra-cli --help')\n"},
        {{"trim-left", "--encoding"}, "vomra-cli: --encoding needs a value (utf-8 or gbk)\n"},
        {{"trim-left", "--encoding", "latin1"}, "vomra-cli: unknown encoding 'latin1' (use utf-8 or gbk)\n"},
        {{"trim-right", "extra"}, "vomra-cli trim-right: unexpected argument 'extra'\n"},
    };
    for (const Row &r : rows) {
        const Result res = run(r.args, "x\n");
        EXPECT_EQ(res.status, 2);
        EXPECT_EQ(res.err, r.err);
        EXPECT_EQ(res.out, "");
    }
}

TEST(TrimCli, HelpAndVersion)
{
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("trim-left"), std::string::npos);
    EXPECT_NE(help.out.find("trim-right"), std::string::npos);
    const Result version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.substr(0, version.out.find('\n') + 1), "vomra-cli 2.0.0\n");
    EXPECT_NE(version.out.find("GPL version 3 or later"), std::string::npos);
    const Result sub = run({"trim-left", "--help"});
    EXPECT_EQ(sub.status, 0);
    EXPECT_EQ(sub.out.rfind("Usage: vomra-cli trim-left", 0), 0u);
}

TEST(TrimCli, HelpIsAskedOnlyOutsideOptionValues)
{
    // "-h" as the value of --encoding is a bad encoding, not a help request.
    const Result value = run({"trim-left", "--encoding", "-h"}, "x\n");
    EXPECT_EQ(value.status, 2);
    EXPECT_EQ(value.err, "vomra-cli: unknown encoding '-h' (use utf-8 or gbk)\n");
    const Result late = run({"trim-left", "--encoding", "gbk", "--help"});
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.out.rfind("Usage: vomra-cli trim-left", 0), 0u);
}

namespace {

// Lines of "ab   " made on demand; notes how much output the trim had written by
// the time the input ran out.
class LongInput : public std::streambuf {
public:
    LongInput(std::size_t bytes, const std::ostringstream &out) : m_left(bytes), m_out(out)
    {
        for (int i = 0; i < 1024; ++i)
            m_block += "ab   \n";
    }
    std::streamoff writtenAtEnd = -1;

protected:
    int_type underflow() override
    {
        if (m_left == 0) {
            writtenAtEnd = const_cast<std::ostringstream &>(m_out).tellp();
            return traits_type::eof();
        }
        const std::size_t n = std::min(m_left, m_block.size());
        m_left -= n;
        setg(m_block.data(), m_block.data(), m_block.data() + n);
        return traits_type::to_int_type(m_block[0]);
    }

private:
    std::size_t m_left;
    const std::ostringstream &m_out;
    std::string m_block;
};

} // namespace

TEST(TrimCli, TrimRightStreams)
{
    // Six megabytes of input: the first trimmed lines leave before the last are read.
    std::ostringstream out, err;
    LongInput source(std::size_t{6} << 20, out);
    std::istream in(&source);
    EXPECT_EQ(runCli({"trim-right"}, {in, out, err, false}), 0);
    EXPECT_GT(source.writtenAtEnd, 0);
    const std::string text = out.str();
    EXPECT_EQ(text.size(), std::size_t{3} << 20);
    EXPECT_EQ(text.substr(0, 6), "ab\nab\n");
}
