#include "cli/Cli.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

int main(int argc, char *argv[])
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    vomra::cli::Io io{std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0};
    return vomra::cli::runCli(args, io);
}
