// Batch readings end to end: 100,000 generated births in a JSON Lines file,
// read, computed and written to a JSON Lines file by the halvaro-cli process
// (start-up included), on one thread and on two, as full lines and as lean
// ones (the short positions, the Lagna, Ketu and the sky); and the same batch in
// process, from memory to memory, beside the single reading of
// CalculationBench. Each run first checks that every birth gave its reading.
#include "cli/Batch.h"
#include "fullreading/FullReading.h"
#include "sky/PreciseSky.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// HALVARO_BENCH_BIRTHS makes it fewer, for a run under callgrind.
const int BirthCount = [] {
    const char* count = std::getenv("HALVARO_BENCH_BIRTHS");
    return count != nullptr ? std::atoi(count) : 100'000;
}();

// Births spread over the lists: every year, zone and place; all of them pass
// the input checks.
const std::string& Births()
{
    static const std::string births = [] {
        std::mt19937 random(12);
        const auto pick = [&](int first, int last) { return std::uniform_int_distribution(first, last)(random); };
        const auto two = [](int value) {
            std::string digits = std::to_string(value);
            return digits.size() == 1 ? '0' + digits : digits;
        };
        std::string text;
        for (int i = 0; i < BirthCount; ++i) {
            text += "{\"id\": " + std::to_string(i) + ", \"name\": \"Person " + std::to_string(i) + "\", \"date\": \""
                + std::to_string(pick(1901, 2050)) + "-" + two(pick(1, 12)) + "-" + two(pick(1, 28)) + "\", \"time\": \""
                + two(pick(0, 23)) + ":" + two(pick(0, 59)) + "\", \"zone\": " + std::to_string(pick(0, 70))
                + ", \"lat\": \"" + std::to_string(pick(0, 66)) + ":" + two(pick(0, 59)) + (pick(0, 1) != 0 ? "N" : "S")
                + "\", \"lon\": \"" + std::to_string(pick(0, 179)) + ":" + two(pick(0, 59)) + (pick(0, 1) != 0 ? "E" : "W")
                + "\", \"dst\": " + (pick(0, 1) != 0 ? "true" : "false")
                + ", \"city\": \"Pune\", \"state\": \"Maharashtra\", \"country\": \"India\"}\n";
        }
        return text;
    }();
    return births;
}

std::uint64_t LineCount(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return static_cast<std::uint64_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
}

// halvaro-cli --batch births.jsonl --output readings.jsonl --jobs N [--fields
// LEAN], timed from start to exit; the CPU seconds of the process go to a
// counter too.
void BM_BatchProcessJsonLines(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("halvaro-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path input = folder / "births.jsonl";
    const fs::path output = folder / "readings.jsonl";
    std::ofstream(input, std::ios::binary) << Births();
    const std::string jobs = std::to_string(state.range(0));
    const std::string sky = state.range(1) == 0 ? "classic" : "precise";
    std::vector<std::string> args {HALVARO_CLI, "--batch", input.string(), "--output", output.string(), "--jobs", jobs,
        "--sky", sky};
    if (state.range(2) != 0) {
        args.insert(args.end(), {"--fields", "GrahaPositionTexts,Lagna,Ketu,Sky"});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    double cpuSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = -1;
        int status = 0;
        rusage usage {};
        if (posix_spawn(&pid, HALVARO_CLI, &actions, nullptr, argv.data(), environ) != 0
            || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("halvaro-cli did not read every birth");
            break;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        if (LineCount(output) != static_cast<std::uint64_t>(BirthCount)) {
            state.SkipWithError("the output has not one line per birth");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    fs::remove_all(folder);
    state.SetItemsProcessed(state.iterations() * BirthCount);
    state.counters["readings_per_cpu_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * BirthCount / std::max(cpuSeconds, 1e-9));
}
BENCHMARK(BM_BatchProcessJsonLines)->ArgNames({"jobs", "precise", "lean"})->ArgsProduct({{1, 2}, {0, 1}, {0, 1}})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Three rounds of the births' readings, in a function of its own so that
// callgrind can count its instructions (--toggle-collect).
[[gnu::noinline]] void ReadEach(const std::vector<halvaro::BirthData>& births, halvaro::SkyModel sky)
{
    for (int round = 0; round < 3; ++round) {
        for (const halvaro::BirthData& birth : births) {
            const halvaro::BirthCheck checked = halvaro::ValidateInput(birth);
            benchmark::DoNotOptimize(halvaro::fullreading::CalculateFullReading(checked.Value, halvaro::DefaultConventions(sky), {false, false, false, false}));
        }
    }
}

// The same, with everything else a batch line carries: the positions table
// with the motions and the dasha.
[[gnu::noinline]] void ReadEachWithDetails(const std::vector<halvaro::BirthData>& births, halvaro::SkyModel sky)
{
    for (int round = 0; round < 3; ++round) {
        for (const halvaro::BirthData& birth : births) {
            const halvaro::BirthCheck checked = halvaro::ValidateInput(birth);
            benchmark::DoNotOptimize(halvaro::fullreading::CalculateFullReading(checked.Value, halvaro::DefaultConventions(sky), {true, true, false}));
        }
    }
}

// The same records through ProcessBatch on this thread, from a file in
// memory to memory, beside the in-process reading of the same births in the
// same run: what a reading costs in a batch against CalculateReading alone
// (batch_per_reading), and against the reading with the positions table and
// the dasha a line carries (batch_per_line_content).
void BM_BatchInProcessJsonLines(benchmark::State& state)
{
    const int input = ::memfd_create("births", MFD_CLOEXEC);
    if (::write(input, Births().data(), Births().size()) != static_cast<ssize_t>(Births().size())) {
        state.SkipWithError("the births could not be written to memory");
        return;
    }
    const auto sky = static_cast<halvaro::SkyModel>(state.range(0));
    std::uint64_t readings = 0;
    double batchSeconds = 0;
    for (auto _ : state) {
        ::lseek(input, 0, SEEK_SET);
        std::uint64_t bytes = 0;
        const auto start = std::chrono::steady_clock::now();
        const halvaro::cli::BatchTotals totals = halvaro::cli::ProcessBatch(input, halvaro::cli::RecordFormat::JsonLines,
            halvaro::cli::RecordFormat::JsonLines, 1, halvaro::DefaultConventions(sky), halvaro::cli::BatchOutputGroups, [&](std::string_view text) {
                bytes += text.size();
                return true;
            });
        batchSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (totals.Readings != static_cast<std::uint64_t>(BirthCount)) {
            state.SkipWithError("not every birth gave its reading");
            break;
        }
        readings += totals.Readings;
        benchmark::DoNotOptimize(bytes);
    }
    ::close(input);
    // The same births, each read straight from its fields into a reading.
    std::vector<halvaro::BirthData> births;
    std::istringstream lines(Births());
    for (std::string line; std::getline(lines, line);) {
        halvaro::BirthData birth;
        const auto text = [&](const char* key) {
            const std::size_t at = line.find(std::string("\"") + key + "\": ") + std::strlen(key) + 4;
            return line[at] == '"' ? line.substr(at + 1, line.find('"', at + 1) - at - 1) : line.substr(at, line.find(',', at) - at);
        };
        birth.Name = text("name");
        birth.Year = std::stoi(text("date").substr(0, 4));
        birth.Month = std::stoi(text("date").substr(5, 2));
        birth.Day = std::stoi(text("date").substr(8, 2));
        birth.Hour = std::stoi(text("time").substr(0, 2));
        birth.Minute = std::stoi(text("time").substr(3, 2));
        birth.ZonePosition = std::stoi(text("zone"));
        const std::string lat = text("lat"), lon = text("lon");
        birth.LatDeg = lat.substr(0, lat.find(':'));
        birth.LatMin = lat.substr(lat.find(':') + 1, 2);
        birth.North = lat.back() == 'N';
        birth.South = !birth.North;
        birth.LonDeg = lon.substr(0, lon.find(':'));
        birth.LonMin = lon.substr(lon.find(':') + 1, 2);
        birth.East = lon.back() == 'E';
        birth.West = !birth.East;
        birth.DaylightSaving = text("dst") == "true";
        birth.City = "Pune";
        birth.State = "Maharashtra";
        birth.Country = "India";
        births.push_back(std::move(birth));
    }
    const auto secondsOf = [&](void (*read)(const std::vector<halvaro::BirthData>&, halvaro::SkyModel)) {
        const auto start = std::chrono::steady_clock::now();
        read(births, sky);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 3;
    };
    const double readingSeconds = secondsOf(ReadEach);
    const double contentSeconds = secondsOf(ReadEachWithDetails);
    const double batchRoundSeconds = batchSeconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<std::int64_t>(readings));
    state.counters["reading_us"] = readingSeconds / BirthCount * 1e6;
    state.counters["line_content_us"] = contentSeconds / BirthCount * 1e6;
    state.counters["batch_us_per_reading"] = batchSeconds / static_cast<double>(readings) * 1e6;
    state.counters["batch_per_reading"] = batchRoundSeconds / readingSeconds;
    state.counters["batch_per_line_content"] = batchRoundSeconds / contentSeconds;
}
BENCHMARK(BM_BatchInProcessJsonLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
