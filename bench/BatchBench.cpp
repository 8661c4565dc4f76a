// Batch readings end to end: 100,000 generated births in a JSON Lines file,
// read, computed and written to a JSON Lines file by the halvaro-cli process
// (start-up included), on one thread and on two; and the same batch in
// process, from memory to memory, beside the single reading of
// CalculationBench. Each run first checks that every birth gave its reading.
#include "cli/Batch.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int BirthCount = 100'000;

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

// halvaro-cli --batch births.jsonl --output readings.jsonl --jobs N, timed
// from start to exit; the CPU seconds of the process go to a counter too.
void BM_BatchProcessJsonLines(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("halvaro-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path input = folder / "births.jsonl";
    const fs::path output = folder / "readings.jsonl";
    std::ofstream(input, std::ios::binary) << Births();
    const std::string jobs = std::to_string(state.range(0));
    std::vector<std::string> args {HALVARO_CLI, "--batch", input.string(), "--output", output.string(), "--jobs", jobs};
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
        if (LineCount(output) != BirthCount) {
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
BENCHMARK(BM_BatchProcessJsonLines)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The same records through ProcessBatch on this thread, memory to memory:
// what a reading costs in a batch, against BM_CalculateReading alone.
void BM_BatchInProcessJsonLines(benchmark::State& state)
{
    std::uint64_t readings = 0;
    for (auto _ : state) {
        std::istringstream in(Births());
        std::uint64_t bytes = 0;
        const halvaro::cli::BatchTotals totals = halvaro::cli::ProcessBatch(in, halvaro::cli::RecordFormat::JsonLines,
            halvaro::cli::RecordFormat::JsonLines, 1, [&](std::string_view text) {
                bytes += text.size();
                return true;
            });
        if (totals.Readings != BirthCount) {
            state.SkipWithError("not every birth gave its reading");
            break;
        }
        readings += totals.Readings;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(readings));
}
BENCHMARK(BM_BatchInProcessJsonLines)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
