// The batch reader from fuzz data: the first byte chooses the input format
// (bit 0: CSV, else JSON Lines) and the output format (bit 1: CSV); the rest
// is the input. Whatever the bytes, every record gives exactly one output
// line, in input order, and nothing else does. The records are counted again
// here independently: for CSV by libcsv over the whole buffer at once (after
// the batch's recovery (cli/Batch.cpp): a record with a quote out of place ends at
// its line end, CR or LF), for JSON Lines as the lines, ended by CR, LF or
// CR LF, that are not blank. A CSV output is counted by libcsv too, since an
// id may hold a line break; JSON Lines output escapes them, so its lines are
// its records. The seeds include inputs longer than one 64 KiB read.
#include "cli/Batch.h"

#include <csv.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// All the records libcsv finds, the header's included.
std::uint64_t CsvRecords(std::string_view input)
{
    std::uint64_t records = 0;
    csv_parser parser {};
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
    csv_set_space_func(&parser, [](unsigned char) { return 0; });
    const auto onRecord = [](int, void* count) { ++*static_cast<std::uint64_t*>(count); };
    while (!input.empty()) {
        const std::size_t used = csv_parse(&parser, input.data(), input.size(), nullptr, onRecord, &records);
        if (used == input.size()) {
            break;
        }
        ++records; // the record with the quote out of place, then on from its line end
        const std::size_t end = input.find_first_of("\r\n", used);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        csv_free(&parser);
        csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
        csv_set_space_func(&parser, [](unsigned char) { return 0; });
    }
    if (csv_fini(&parser, nullptr, onRecord, &records) != 0) {
        ++records; // a quote not closed at the end
    }
    csv_free(&parser);
    return records;
}

std::uint64_t JsonLines(std::string_view input)
{
    std::uint64_t lines = 0;
    for (std::size_t start = 0; start < input.size();) {
        const std::size_t end = std::min(input.find_first_of("\r\n", start), input.size());
        const std::string_view line = input.substr(start, end - start);
        lines += line.find_first_not_of(" \t") == std::string_view::npos ? 0 : 1;
        start = end + 1;
    }
    return lines;
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
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int fd = ::memfd_create("input", MFD_CLOEXEC);
    Require(fd >= 0 && ::write(fd, input.data(), input.size()) == static_cast<ssize_t>(input.size()), "memory file");
    ::lseek(fd, 0, SEEK_SET);
    std::string output;
    const BatchTotals totals = ProcessBatch(fd, inputFormat, outputFormat, 1, halvaro::Conventions {}, halvaro::cli::BatchOutputGroups,
        [&](std::string_view bytes) {
            output += bytes;
            return true;
        });
    ::close(fd);
    Require(totals.Records == totals.Readings + totals.Errors, "each record is a reading or an error");
    Require(!totals.OutputFailed, "memory output never fails");
    std::uint64_t lines = 0;
    if (outputFormat == RecordFormat::Csv) {
        lines = CsvRecords(output);
        lines -= lines != 0 ? 1 : 0; // the header
    } else {
        lines = static_cast<std::uint64_t>(std::count(output.begin(), output.end(), '\n'));
    }
    Require(lines == totals.Records, "one output line per record");
    if (!totals.Problem.empty()) {
        return 0; // an unusable input stops where it turned out to be so
    }
    if (input.starts_with("\xEF\xBB\xBF")) {
        input.remove_prefix(3);
    }
    const std::uint64_t csvRecords = inputFormat == RecordFormat::Csv ? CsvRecords(input) : 0;
    const std::uint64_t expected = inputFormat == RecordFormat::Csv ? csvRecords - (csvRecords != 0 ? 1 : 0) : JsonLines(input);
    Require(totals.Records == expected, "as many records as an independent reader finds");
    return 0;
}
