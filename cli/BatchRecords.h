#pragma once

#include "cli/CommandLine.h"
#include "core/BirthData.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvaro::cli {

// A birth record is a few hundred bytes; a longer one is refused, so that a
// quote left open cannot draw the rest of a file into memory.
inline constexpr std::size_t MaxRecordBytes = 64 * 1024;

// Records as the reader found them, a block at a time, before they are
// decoded: the reader runs on one thread, the decoding on any.
struct RecordBlock {
    struct Item {
        std::uint64_t Line = 0;  // where the record starts in the input, from 1
        std::uint32_t First = 0; // JSON Lines: offset of the line in Bytes; CSV: index of its first field
        std::uint32_t Count = 0; // JSON Lines: length of the line; CSV: number of fields
        std::string Error;       // why the record could not be read; empty when it could
    };
    std::string Bytes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Fields; // CSV: offset and length in Bytes
    std::vector<Item> Items;

    void Clear()
    {
        Bytes.clear();
        Fields.clear();
        Items.clear();
    }
};

// One record decoded: its birth data, or why it has none.
struct BatchRecord {
    std::uint64_t Line = 0;
    std::optional<std::string> Id; // as given, to copy to the output
    bool IdIsNumber = false;       // a JSON number, written back as one
    BirthData Birth;
    std::string Error;
};

class RecordReader {
public:
    virtual ~RecordReader() = default;

    // Reads records into `block` until it holds about `maxItems` records or
    // `maxBytes` bytes, or the input ends. False once nothing more will come:
    // the input has ended, or cannot be used (see Problem).
    virtual bool Fill(RecordBlock& block, std::size_t maxItems, std::size_t maxBytes) = 0;

    // Decodes one record of a block this reader filled; any thread may call
    // it while the reader fills another block.
    virtual void Decode(const RecordBlock& block, const RecordBlock::Item& item, BatchRecord& record) const = 0;

    // Why the input as a whole cannot be used; empty while it can.
    [[nodiscard]] const std::string& Problem() const { return problem_; }
    [[nodiscard]] std::uint64_t BytesRead() const { return bytesRead_; }

protected:
    std::string problem_;
    std::uint64_t bytesRead_ = 0;
};

// Reads `in`, which must outlive the reader.
std::unique_ptr<RecordReader> MakeRecordReader(RecordFormat format, std::istream& in);

// The text with each byte that is not part of well-formed UTF-8 replaced by
// U+FFFD, so that a message quoting the input stays valid JSON.
std::string WellFormedUtf8(std::string_view text);

} // namespace halvaro::cli
