#pragma once
// vomra-cli run in-process with string streams, for the command-line tests.

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace vomra::test {

struct CliResult {
    int status = 0;
    std::string out;
    std::string err;
};

struct CliInput {
    std::string input = {};         // what stdin holds
    bool terminal = false;          // whether stderr counts as a terminal
    std::string programFolder = {}; // empty: the program's own rule
};

inline CliResult run(const std::vector<std::string> &args, const CliInput &with = {})
{
    std::istringstream in(with.input);
    std::ostringstream out, err;
    const int status = cli::runCli(args, {in, out, err, with.terminal, with.programFolder});
    return {status, out.str(), err.str()};
}

} // namespace vomra::test
