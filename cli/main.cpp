#include "cli/CommandLine.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    // Checks that its output reached standard output, and says so if not.
    return halvaro::cli::RunCommandLine(args, std::cout, std::cerr);
}
