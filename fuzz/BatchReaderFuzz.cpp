// The batch reader from fuzz data: the first byte chooses the input format
// (bit 0: CSV, else JSON Lines) and the output format (bit 1: CSV); the rest
// is the input. Whatever the bytes, every record gives exactly one output
// line, in input order, and every JSON Lines output line is a JSON object.
// (A lone CR ends a CSV record but not a line, so two CSV records may share
// a line number; JSON Lines records never do.)
#include "cli/Batch.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "batch broke a rule: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvaro::cli;
    if (size == 0) {
        return 0;
    }
    const RecordFormat inputFormat = (data[0] & 1U) != 0 ? RecordFormat::Csv : RecordFormat::JsonLines;
    const RecordFormat outputFormat = (data[0] & 2U) != 0 ? RecordFormat::Csv : RecordFormat::JsonLines;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::string output;
    const BatchTotals totals = ProcessBatch(in, inputFormat, outputFormat, 1, [&](std::string_view bytes) {
        output += bytes;
        return true;
    });
    Require(totals.Records == totals.Readings + totals.Errors, "each record is a reading or an error");
    Require(!totals.OutputFailed, "memory output never fails");
    if (outputFormat == RecordFormat::Csv) {
        Require(output.empty() || output.starts_with("line,id,error,"), "CSV output starts with its header");
        return 0;
    }

    std::uint64_t lines = 0;
    std::uint64_t lastLine = 0;
    std::istringstream out(output);
    for (std::string line; std::getline(out, line); ++lines) {
        const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
        Require(object.is_object(), "each output line is a JSON object");
        Require(object.contains("line") && object["line"].is_number_unsigned(), "each line says where its record is");
        const auto at = object["line"].get<std::uint64_t>();
        Require(at > lastLine || (inputFormat == RecordFormat::Csv && at == lastLine && at != 0),
            "output lines keep the input order");
        lastLine = at;
        Require(object.contains("error") != object.contains("GrahaPositionTexts"), "a line is a reading or an error");
    }
    Require(lines == totals.Records, "one output line per record");
    return 0;
}
