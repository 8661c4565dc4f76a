#pragma once

#include "cli/CommandLine.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace halvaro::cli {

inline constexpr unsigned MaxBatchJobs = 256;

// What a batch did.
struct BatchTotals {
    std::uint64_t Records = 0, Readings = 0, Errors = 0;
    std::string Problem; // why the input could not be used (or stopped being usable)
    bool OutputFailed = false;
};

// Takes a part of the output, in order; false when it could not be written.
using BatchSink = std::function<bool(std::string_view)>;
// Told, now and then, how many records and input bytes have been handled.
using BatchProgress = std::function<void(std::uint64_t records, std::uint64_t bytesRead)>;

// Reads the records of `in` and writes one output line (or CSV row) for each,
// in input order, computing on `jobs` threads (1: on this one) in the given
// sky. Memory stays within a few blocks of records, whatever the length of
// the input.
BatchTotals ProcessBatch(std::istream& in, RecordFormat inputFormat, RecordFormat outputFormat, unsigned jobs,
    const BatchSink& write, const BatchProgress& progress = {}, SkyModel sky = SkyModel::Classic);

// The batch command: opens the input (or takes `in` for "-"), writes to `out`
// or through a temporary file renamed to --output once complete, and ends
// with the summary on `err`. Returns the exit status.
int RunBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace halvaro::cli
