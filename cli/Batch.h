#pragma once

#include "cli/CommandLine.h"
#include "files/FileReplace.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace halvaro::cli {

// A birth record is a few hundred bytes; a longer one, or one of more
// fields, is refused (and read past), so that neither a quote left open nor
// a row of commas can draw the input into memory.
inline constexpr std::size_t MaxRecordBytes = 64 * 1024;
inline constexpr std::size_t MaxRecordFields = 1024;

// --jobs takes at most this many jobs for each core.
inline constexpr unsigned JobsPerCore = 4;

struct BatchTotals {
    std::uint64_t Records = 0, Readings = 0, Errors = 0; // records read; lines written of each kind
    std::string Problem; // why the input could not be used (or stopped being usable)
    bool OutputFailed = false;
};

// Takes a part of the output, in order; false when it could not be written.
using BatchSink = std::function<bool(std::string_view)>;
// Told, now and then, how many records and input bytes have been handled.
using BatchProgress = std::function<void(std::uint64_t records, std::uint64_t bytesRead)>;

// Reads the records from `inputFd` and writes one output line (or CSV row)
// for each, in input order, computing on `jobs` threads (1: on this one),
// of the output groups given, the houses in `houses`; with `pairs`, each record holds a boy's and a
// girl's birth and gives their match. Memory stays within a few blocks of records
// for each job, whatever the input holds.
BatchTotals ProcessBatch(int inputFd, RecordFormat inputFormat, RecordFormat outputFormat, unsigned jobs, const Conventions& conventions,
    const OutputGroups& groups, const BatchSink& write, const BatchProgress& progress = {}, bool pairs = false,
    houses::HouseSystem houses = houses::HouseSystem::WholeSign);

// A birth given as one JSON object with a batch record's fields (as --match
// takes it), or why it is refused.
ValueError BirthOfRecord(std::string record, BirthRequest& birth);

// While it lives, SIGINT, SIGTERM and SIGHUP remove the writer's named
// temporary file, if it has one, before they end the program as they would
// have; a file system without unnamed files leaves nothing behind then
// either. (A SIGKILL's leftover goes at the next save to the folder.) A
// signal that was ignored when it was made is left ignored.
class TemporaryRemovedOnSignal {
public:
    explicit TemporaryRemovedOnSignal(const files::FileWriter& writer);
    ~TemporaryRemovedOnSignal();
    TemporaryRemovedOnSignal(const TemporaryRemovedOnSignal&) = delete;
    TemporaryRemovedOnSignal& operator=(const TemporaryRemovedOnSignal&) = delete;

private:
    std::array<void (*)(int), 3> previous_ {};
    std::array<bool, 3> installed_ {};
};

// The batch command: opens the input (standard input for "-"), writes to
// `out` or through the safe writer to --output once complete, and ends with
// the summary on `err`. Returns the exit status.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace halvaro::cli
