#include "cli/CommandLine.h"

#include <unistd.h>

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    int status = halvaro::cli::RunCommandLine(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    // A reading that could not be written out (a full disk, a closed pipe) is
    // not a success.
    std::cout.flush();
    if (!std::cout && status == halvaro::cli::ExitSuccess) {
        std::cerr << halvaro::cli::ProgramName << ": the output could not be written\n";
        status = halvaro::cli::ExitRefused;
    }
    return status;
}
