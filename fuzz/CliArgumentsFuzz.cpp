// The command-line tool's arguments from fuzz data: the bytes split at NUL
// into arguments. Lines that name a file to read or write, and batches (which
// read files or standard input), are only parsed (the fuzzer must not touch
// the file system); every other line runs as the program runs it, into memory.
#include "cli/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "command line broke a rule: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvaro::cli;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    std::size_t start = 0;
    while (start <= bytes.size() && args.size() < 64) {
        const std::size_t end = bytes.find('\0', start);
        args.push_back(bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (bytes.empty()) {
        args.clear();
    }

    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.Parsed) {
        Require(!parsed.Error.empty(), "a refused command line says why");
        return 0;
    }
    // Loading the atlas (a place, --find-place) takes 0.1 s, too slow to fuzz.
    if (parsed.Parsed->ReadingPath || parsed.Parsed->SavePath || parsed.Parsed->ChartPath || parsed.Parsed->Kind == CommandKind::Batch
        || parsed.Parsed->Kind == CommandKind::FindPlace || !parsed.Parsed->Request.Place.empty()) {
        return 0;
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCommandLine(args, out, err);
    Require(status == ExitSuccess || status == ExitRefused, "an understood line is not a usage error");
    if (status == ExitSuccess) {
        Require(!out.str().empty() && err.str().empty(), "success prints the reading and no error");
        if (parsed.Parsed->Kind == CommandKind::Reading && parsed.Parsed->Json) {
            Require(out.str().front() == '{', "JSON output is one object");
        }
    } else {
        Require(!err.str().empty(), "a refusal says why");
    }
    return 0;
}
