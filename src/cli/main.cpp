#include "cli/Cli.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

int main(int argc, char *argv[])
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    vomra::cli::Io io{std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0};
    // Set by vomra-cli when it runs this program as its helper.
    if (const char *folder = std::getenv(vomra::cli::kHelperProgramFolder)) {
        io.programFolder = folder;
        ::unsetenv(vomra::cli::kHelperProgramFolder);
    }
    return vomra::cli::runCli(args, io);
}
