#include "cli/Batch.h"

#include "readingsky/ReadingSky.h"

#include "cli/BatchRecords.h"
#include "cli/ReadingOutput.h"
#include "core/Text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace halvaro::cli {

namespace {

namespace fs = std::filesystem;

// A block is what one thread computes at a time: large enough that handing
// it over costs little, small enough that a few of them in flight keep the
// memory flat.
constexpr std::size_t BlockRecords = 512;
constexpr std::size_t BlockBytes = 256 * 1024;

struct Block {
    RecordBlock Records;
    std::string Output;
    std::uint64_t Readings = 0, Errors = 0;
    bool Done = false;
};

void AppendId(std::string& out, RecordFormat format, const BatchRecord& record)
{
    if (format == RecordFormat::Csv) {
        AppendCsvField(out, record.Id.value_or(""));
    } else if (record.IdIsNumber) {
        out += *record.Id;
    } else {
        AppendJsonString(out, *record.Id);
    }
}

void AppendLineStart(std::string& out, RecordFormat format, const BatchRecord& record)
{
    if (format == RecordFormat::Csv) {
        out += DecimalText(static_cast<long long>(record.Line));
        out += ',';
        AppendId(out, format, record);
        out += ',';
        return;
    }
    out += "{\"line\": ";
    out += DecimalText(static_cast<long long>(record.Line));
    if (record.Id) {
        out += ", \"id\": ";
        AppendId(out, format, record);
    }
    out += ", ";
}

void AppendReading(std::string& out, RecordFormat format, const BatchRecord& record, const Reading& reading)
{
    AppendLineStart(out, format, record);
    if (format == RecordFormat::Csv) {
        out += ','; // no error
        AppendReadingCsvFields(out, reading);
        out += "\r\n";
        return;
    }
    AppendReadingJsonMembers(out, reading);
    out += "}\n";
}

void AppendError(std::string& out, RecordFormat format, const BatchRecord& record)
{
    AppendLineStart(out, format, record);
    const std::string error = WellFormedUtf8(record.Error);
    if (format == RecordFormat::Csv) {
        AppendCsvField(out, error);
        out.append(static_cast<std::size_t>(ReadingCsvFieldCount()), ',');
        out += "\r\n";
        return;
    }
    out += "\"error\": ";
    AppendJsonString(out, error);
    out += "}\n";
}

// Decodes, computes and writes out every record of a block. Each reading is
// a value of its own, so blocks may be computed on any number of threads.
void Compute(const RecordReader& reader, RecordFormat outputFormat, SkyModel sky, Block& block)
{
    block.Output.clear();
    block.Readings = 0;
    block.Errors = 0;
    for (const RecordBlock::Item& item : block.Records.Items) {
        BatchRecord record;
        record.Line = item.Line;
        if (item.Error.empty()) {
            reader.Decode(block.Records, item, record);
        } else {
            record.Error = item.Error;
        }
        if (record.Error.empty()) {
            const ReadingResult result = readingsky::CalculateReading(record.Birth, sky);
            if (!result.Failure) {
                AppendReading(block.Output, outputFormat, record, result.Value);
                ++block.Readings;
                continue;
            }
            record.Error = result.Failure->Message;
        }
        AppendError(block.Output, outputFormat, record);
        ++block.Errors;
    }
}

// Threads that compute blocks handed to them; each block is marked done.
class Workers {
public:
    Workers(unsigned count, std::function<void(Block&)> work)
        : work_(std::move(work))
    {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back([this] { Run(); });
        }
    }
    ~Workers()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void Submit(Block& block)
    {
        {
            const std::lock_guard lock(mutex_);
            block.Done = false;
            queue_.push_back(&block);
        }
        ready_.notify_one();
    }

    void WaitFor(const Block& block)
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return block.Done; });
    }

private:
    void Run()
    {
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) {
                    return;
                }
                block = queue_.front();
                queue_.pop_front();
            }
            work_(*block);
            {
                const std::lock_guard lock(mutex_);
                block->Done = true;
            }
            done_.notify_all();
        }
    }

    std::function<void(Block&)> work_;
    std::mutex mutex_;
    std::condition_variable ready_, done_;
    std::deque<Block*> queue_;
    bool stopping_ = false;
    std::vector<std::jthread> threads_; // last: joined before the rest goes
};

std::string Counted(std::uint64_t count, std::string_view thing)
{
    return DecimalText(static_cast<long long>(count)) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

std::string Seconds(double seconds)
{
    std::array<char, 32> digits {};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), seconds, std::chars_format::fixed, 2);
    (void)ec;
    return std::string(digits.data(), end);
}

std::string ErrnoText(int error)
{
    return std::strerror(error);
}

// The output file: written to a temporary file beside it, which replaces it
// only when complete; anything else leaves an existing file as it was.
class OutputFile {
public:
    ~OutputFile()
    {
        if (file_ != nullptr) {
            std::fclose(file_);
            std::remove(temporary_.c_str());
        }
    }

    std::optional<std::string> Open(const std::string& path)
    {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            return "it is a folder";
        }
        path_ = path;
        temporary_ = path + ".XXXXXX";
        const int fd = ::mkstemp(temporary_.data());
        if (fd < 0) {
            return ErrnoText(errno);
        }
        // mkstemp makes the file private; the output gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, static_cast<mode_t>(0666U & ~static_cast<unsigned>(mask)));
        file_ = ::fdopen(fd, "wb");
        if (file_ == nullptr) {
            const int error = errno;
            ::close(fd);
            std::remove(temporary_.c_str());
            return ErrnoText(error);
        }
        return std::nullopt;
    }

    bool Write(std::string_view bytes)
    {
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) {
            return true;
        }
        error_ = errno != 0 ? errno : EIO;
        return false;
    }

    std::optional<std::string> Commit()
    {
        std::FILE* file = std::exchange(file_, nullptr);
        int error = error_;
        errno = 0;
        if (error == 0 && std::fflush(file) != 0) {
            error = errno != 0 ? errno : EIO;
        }
        errno = 0;
        if (std::fclose(file) != 0 && error == 0) {
            error = errno != 0 ? errno : EIO;
        }
        if (error == 0 && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
            error = errno;
        }
        if (error != 0) {
            std::remove(temporary_.c_str());
            return ErrnoText(error);
        }
        return std::nullopt;
    }

    [[nodiscard]] int Error() const { return error_; }

private:
    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
    int error_ = 0;
};

// "halvaro-cli: births.csv: 41% read, 12288 records", redrawn in place at
// most a few times a second.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::string name, std::uintmax_t size)
        : err_(err)
        , name_(std::move(name))
        , size_(size)
    {
    }

    void Show(std::uint64_t records, std::uint64_t bytesRead)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(250)) {
            return;
        }
        last_ = now;
        const auto percent = size_ == 0 ? 100 : std::min<std::uint64_t>(100, bytesRead * 100 / size_);
        std::string line = std::string(ProgramName) + ": " + name_ + ": " + DecimalText(static_cast<long long>(percent))
            + "% read, " + Counted(records, "record");
        const std::size_t length = line.size();
        line.resize(std::max(length, shown_), ' ');
        shown_ = length;
        err_ << '\r' << line << std::flush;
    }

    void Clear()
    {
        if (shown_ != 0) {
            err_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
        }
    }

private:
    std::ostream& err_;
    std::string name_;
    std::uintmax_t size_;
    std::size_t shown_ = 0;
    std::chrono::steady_clock::time_point last_ {};
};

} // namespace

BatchTotals ProcessBatch(std::istream& in, RecordFormat inputFormat, RecordFormat outputFormat, unsigned jobs,
    const BatchSink& write, const BatchProgress& progress, SkyModel sky)
{
    BatchTotals totals;
    const std::unique_ptr<RecordReader> reader = MakeRecordReader(inputFormat, in);
    jobs = std::clamp(jobs, 1U, MaxBatchJobs);
    const auto compute = [&](Block& block) { Compute(*reader, outputFormat, sky, block); };

    // Blocks in flight: two for each thread keep every thread busy while the
    // oldest is written out.
    std::vector<Block> ring(jobs == 1 ? 1 : 2 * static_cast<std::size_t>(jobs));
    std::optional<Workers> workers;
    if (jobs > 1) {
        workers.emplace(jobs, compute);
    }

    std::uint64_t filled = 0, written = 0;
    bool more = true;
    bool headerDue = outputFormat == RecordFormat::Csv;
    for (;;) {
        if (more && filled - written < ring.size()) {
            Block& block = ring[filled % ring.size()];
            block.Records.Clear();
            more = reader->Fill(block.Records, BlockRecords, BlockBytes);
            // The CSV header, unless the input turned out unusable before any record.
            if (headerDue && (reader->Problem().empty() || !block.Records.Items.empty())) {
                headerDue = false;
                totals.OutputFailed = !write("line,id,error," + ReadingCsvHeader() + "\r\n");
                more = more && !totals.OutputFailed;
            }
            if (!block.Records.Items.empty()) {
                if (workers) {
                    workers->Submit(block);
                } else {
                    compute(block);
                }
                ++filled;
            }
            continue;
        }
        if (written == filled) {
            break;
        }
        Block& block = ring[written % ring.size()];
        if (workers) {
            workers->WaitFor(block);
        }
        ++written;
        if (totals.OutputFailed) {
            continue; // only waits for the threads now
        }
        if (!write(block.Output)) {
            totals.OutputFailed = true;
            more = false;
            continue;
        }
        totals.Readings += block.Readings;
        totals.Errors += block.Errors;
        totals.Records = totals.Readings + totals.Errors;
        if (progress) {
            progress(totals.Records, reader->BytesRead());
        }
    }
    totals.Problem = reader->Problem();
    return totals;
}

int RunBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    const auto started = std::chrono::steady_clock::now();
    const bool fromStandardInput = options.Input == "-";
    const std::string inputName = fromStandardInput ? "standard input" : options.Input;

    std::ifstream file;
    if (!fromStandardInput) {
        std::error_code ec;
        if (fs::is_directory(options.Input, ec)) {
            err << ProgramName << ": " << inputName << ": the file cannot be read: it is a folder\n";
            return ExitUsage;
        }
        errno = 0;
        file.open(options.Input, std::ios::binary);
        if (!file) {
            err << ProgramName << ": " << inputName << ": the file cannot be read: "
                << ErrnoText(errno != 0 ? errno : ENOENT) << "\n";
            return ExitUsage;
        }
    }

    OutputFile outputFile;
    if (options.OutputPath) {
        if (const auto error = outputFile.Open(*options.OutputPath)) {
            err << ProgramName << ": " << *options.OutputPath << ": the output file cannot be created: " << *error << "\n";
            return ExitUsage;
        }
    }
    const BatchSink write = [&](std::string_view bytes) {
        if (options.OutputPath) {
            return outputFile.Write(bytes);
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    };

    std::optional<ProgressLine> progressLine;
    BatchProgress progress;
    if (errIsTerminal && !fromStandardInput) {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(options.Input, ec);
        progressLine.emplace(err, inputName, ec ? 0 : size);
        progress = [&](std::uint64_t records, std::uint64_t bytesRead) { progressLine->Show(records, bytesRead); };
    }

    const unsigned jobs = options.Jobs != 0 ? options.Jobs : std::max(1U, std::thread::hardware_concurrency());
    BatchTotals totals = ProcessBatch(fromStandardInput ? in : file, options.InputFormat, options.OutputFormat, jobs,
        write, progress, options.Sky);
    if (progressLine) {
        progressLine->Clear();
    }

    // Why the output is incomplete: a reason, or empty when the system gave none.
    std::optional<std::string> outputError;
    if (totals.OutputFailed) {
        const int error = options.OutputPath ? outputFile.Error() : 0;
        outputError = error != 0 ? ErrnoText(error) : std::string();
    } else if (options.OutputPath && totals.Problem.empty()) {
        outputError = outputFile.Commit();
    }
    if (!totals.Problem.empty()) {
        err << ProgramName << ": " << inputName << ": " << totals.Problem << "\n";
    }
    if (outputError) {
        err << ProgramName << ": " << options.OutputPath.value_or("standard output") << ": the output could not be written"
            << (outputError->empty() ? "" : ": ") << *outputError << "\n";
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
    err << ProgramName << ": " << Counted(totals.Records, "record") << " read, " << Counted(totals.Readings, "reading")
        << ", " << Counted(totals.Errors, "error") << " in " << Seconds(seconds.count()) << " s\n";

    if (!totals.Problem.empty() || outputError) {
        return ExitUsage;
    }
    return totals.Errors == 0 ? ExitSuccess : ExitRefused;
}

} // namespace halvaro::cli
