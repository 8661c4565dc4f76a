#include "cli/Batch.h"

#include "birth/BirthRoad.h"

#include "cli/BirthFields.h"
#include "cli/MatchOutput.h"
#include "cli/ReadingOutput.h"
#include "core/InputChecks.h"
#include "core/Text.h"
#include "files/FileRead.h"
#include "files/FileReplace.h"
#include "matching/Matching.h"

#include <csv.h>
#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <signal.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace halvaro::cli {

namespace {

// A block is what one job computes at a time: large enough that handing it
// over costs little, small enough that a few in flight keep memory flat.
constexpr std::size_t BlockRecords = 512;
constexpr std::size_t BlockBytes = 256 * 1024;
constexpr std::size_t ChunkBytes = 64 * 1024;

constexpr std::string_view ReadFailure = "the input could not be read";

// A record holds one birth, or for a batch of pairs two side by side: the
// boy's fields named "boy_date" and so on, the girl's "girl_date", the id
// the pair's own.
constexpr std::size_t MaxSides = 2;
constexpr std::array<std::string_view, MaxSides> SidePrefixes {"boy_", "girl_"};

struct RecordKey {
    std::size_t Side = 0;
    Field Which = Field::Name;
    [[nodiscard]] std::size_t Index() const { return Side * FieldCount + static_cast<std::size_t>(Which); }
};

std::optional<RecordKey> RecordKeyNamed(std::string_view name, bool pairs)
{
    if (!pairs) {
        const auto field = FieldNamed(name);
        return field ? std::optional(RecordKey {0, *field}) : std::nullopt;
    }
    if (FieldNamed(name) == Field::Id) {
        return RecordKey {0, Field::Id};
    }
    for (std::size_t side = 0; side < MaxSides; ++side) {
        const std::string_view prefix = SidePrefixes[side];
        if (name.size() > prefix.size() && EqualsIgnoringCase(name.substr(0, prefix.size()), prefix)) {
            const auto field = FieldNamed(name.substr(prefix.size()));
            return field && *field != Field::Id ? std::optional(RecordKey {side, *field}) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::string KeyName(RecordKey key, bool pairs)
{
    const std::string_view name = Fields[static_cast<std::size_t>(key.Which)].Name;
    return pairs && key.Which != Field::Id ? std::string(SidePrefixes[key.Side]) + std::string(name) : std::string(name);
}

// The first needed key of any side not given.
std::optional<RecordKey> MissingKey(const std::array<bool, FieldCount * MaxSides>& given, bool pairs)
{
    for (std::size_t side = 0; side < (pairs ? MaxSides : 1); ++side) {
        std::array<bool, FieldCount> one {};
        std::copy_n(given.begin() + static_cast<std::ptrdiff_t>(side * FieldCount), FieldCount, one.begin());
        if (const auto missing = MissingField(one)) {
            return RecordKey {side, *missing};
        }
    }
    return std::nullopt;
}

using SideValues = std::array<std::string_view, FieldCount * MaxSides>;

// Records as the reader found them, before they are decoded: the reader runs
// on one thread, the decoding and computing on any.
struct Record {
    std::uint64_t Line = 0;  // where the record starts in the input, from 1
    std::uint32_t First = 0; // JSON Lines: offset of the line in Bytes; CSV: index of its first field
    std::uint32_t Count = 0; // JSON Lines: length of the line; CSV: number of fields
    std::string Error;       // why the record could not be read; empty when it could
};

struct Block {
    std::string Bytes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Fields; // CSV: offset and length in Bytes
    std::vector<Record> Records;
    OutputBuffer Output;
    std::uint64_t Readings = 0, Errors = 0;
    atlas::ZoneCache Zones; // a block is computed by one thread at a time

    [[nodiscard]] bool Full() const
    {
        return Records.size() >= BlockRecords || Bytes.size() + Fields.size() * sizeof(Fields[0]) >= BlockBytes;
    }
    void Clear()
    {
        Bytes.clear();
        Fields.clear();
        Records.clear();
        Output.Clear();
        Readings = Errors = 0;
    }
};

// One record decoded: its birth data, or why it has none.
struct Decoded {
    std::optional<std::string> Id {}; // as given, to copy to the output
    bool IdIsNumber = false;          // a JSON number, written back as given
    BirthRequest Birth {};
    BirthRequest GirlBirth {}; // of a pair
    std::string Error {};
};

Decoded Filled(Decoded decoded, const SideValues& values, bool hasId, bool pairs)
{
    if (hasId) {
        decoded.Id = std::string(values[static_cast<std::size_t>(Field::Id)]);
    }
    for (std::size_t side = 0; side < (pairs ? MaxSides : 1); ++side) {
        FieldValues one;
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(side * FieldCount), FieldCount, one.begin());
        if (auto error = FillBirth(one, side == 0 ? decoded.Birth : decoded.GirlBirth)) {
            decoded.Error = pairs ? (side == 0 ? "the boy's " : "the girl's ") + std::move(*error) : std::move(*error);
            break;
        }
    }
    return decoded;
}

std::string Counted(std::uint64_t count, std::string_view thing)
{
    return DecimalText(static_cast<long long>(count)) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string TooLong()
{
    return "the record is longer than " + DecimalText(static_cast<long long>(MaxRecordBytes)) + " bytes or has more than "
        + DecimalText(static_cast<long long>(MaxRecordFields)) + " fields";
}

class RecordReader {
public:
    explicit RecordReader(int fd, bool pairs = false) : Pairs(pairs), fd_(fd), buffer_(ChunkBytes) {}
    virtual ~RecordReader() = default;
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Reads records into the block until it is full or the input ends; false
    // once nothing more will come (see Problem).
    virtual bool Fill(Block& block) = 0;
    // Decodes one record of a block this reader filled; any thread may call
    // it while the reader fills another block.
    virtual Decoded Decode(Block& block, const Record& record) const = 0;

    const bool Pairs; // each record two births, the boy's and the girl's
    std::uint64_t BytesRead = 0;
    std::string Problem; // why the input as a whole cannot be used

protected:
    // A piece of the input: up to and with a line end, or what a read gave.
    // A line ends at CR, at LF, or at CR LF, whose LF is then a piece of its
    // own that ends no line.
    struct Piece {
        std::string_view Bytes; // empty at the end of the input
        bool EndsLine = false;
        [[nodiscard]] bool IsLfOfCrLf() const { return Bytes == "\n" && !EndsLine; }
    };

    // The next piece, without the byte-order mark; empty at the end.
    Piece NextPiece()
    {
        while (chunk_.empty()) {
            if (!Refill()) {
                return {};
            }
        }
        const auto end = std::find_if(chunk_.begin(), chunk_.end(), [](char c) { return c == '\n' || c == '\r'; });
        Piece piece {chunk_.substr(0, static_cast<std::size_t>(end - chunk_.begin()) + (end == chunk_.end() ? 0 : 1))};
        chunk_.remove_prefix(piece.Bytes.size());
        const char last = piece.Bytes.back();
        piece.EndsLine = last == '\r' || (last == '\n' && !(piece.Bytes.size() == 1 && afterCr_));
        afterCr_ = last == '\r';
        return piece;
    }

private:
    // Reads the next chunk; false at the end or when the input cannot be
    // read. The byte-order mark is looked for in the first three bytes
    // however many reads they take (a pipe may give them one at a time).
    bool Refill()
    {
        std::size_t have = 0;
        do {
            const long got = files::ReadSome(fd_, buffer_.data() + have, buffer_.size() - have);
            if (got < 0) {
                Problem = std::string(ReadFailure);
                return false;
            }
            if (got == 0) {
                break;
            }
            have += static_cast<std::size_t>(got);
            BytesRead += static_cast<std::uint64_t>(got);
        } while (!markChecked_ && have < 3);
        chunk_ = {buffer_.data(), have};
        if (!markChecked_) {
            markChecked_ = true;
            if (chunk_.starts_with("\xEF\xBB\xBF")) {
                chunk_.remove_prefix(3);
            }
        }
        return have != 0;
    }

    int fd_;
    std::vector<char> buffer_;
    std::string_view chunk_;
    bool markChecked_ = false, afterCr_ = false;
};

// Collects the known members of one record's object as RapidJSON's reader
// meets them; numbers come as their text. Parsed in place, the texts stay in
// the block's bytes.
class RecordHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, RecordHandler> {
public:
    explicit RecordHandler(bool pairs) : pairs_(pairs) {}
    std::array<std::optional<std::string_view>, FieldCount * MaxSides> Values;
    std::string Error;
    bool IdIsNumber = false;

    bool Default() { return Value(Kind::Other, {}); }
    bool Bool(bool value) { return Value(Kind::Boolean, value ? "true" : "false"); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool)
    {
        const std::string_view number(text, length);
        return Value(number.find_first_of(".eE") == std::string_view::npos ? Kind::Whole : Kind::Other, number);
    }
    bool String(const char* text, rapidjson::SizeType length, bool) { return Value(Kind::Text, {text, length}); }
    bool StartObject() { return Open(depth_ == 0 || Value(Kind::Other, {})); }
    bool StartArray() { return Open(depth_ == 0 ? Fail("the record is not a JSON object") : Value(Kind::Other, {})); }
    bool EndObject(rapidjson::SizeType) { --depth_; return true; }
    bool EndArray(rapidjson::SizeType) { --depth_; return true; }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        if (depth_ != 1) {
            return true;
        }
        const std::string_view name(text, length);
        field_ = RecordKeyNamed(name, pairs_);
        if (field_ && std::exchange(seen_[field_->Index()], true)) {
            return Fail("the key " + Quoted(name) + " is given twice");
        }
        return true;
    }

private:
    enum class Kind { Text, Whole, Boolean, Other };

    bool Fail(std::string error)
    {
        Error = std::move(error);
        return false;
    }
    bool Open(bool go)
    {
        ++depth_;
        return go;
    }

    // The record itself when not in an object, a member's value when
    // directly in it; anything deeper belongs to a member of another name.
    bool Value(Kind kind, std::string_view value)
    {
        if (depth_ == 0) {
            return Fail("the record is not a JSON object");
        }
        if (depth_ != 1 || !field_) {
            return true;
        }
        const Field field = field_->Which;
        const auto name = [&] { return Quoted(KeyName(*field_, pairs_)); };
        const bool takesWhole = field == Field::Zone || field == Field::Id;
        if (field == Field::Dst ? kind != Kind::Boolean && kind != Kind::Text
                                : kind != Kind::Text && !(takesWhole && kind == Kind::Whole)) {
            return Fail("the value of " + name()
                + (field == Field::Dst ? " is neither true nor false"
                        : takesWhole   ? " is neither a text nor a whole number"
                                       : " is not a text"));
        }
        IdIsNumber = IdIsNumber || (field == Field::Id && kind == Kind::Whole);
        Values[field_->Index()] = value;
        return true;
    }

    bool pairs_;
    int depth_ = 0;
    std::optional<RecordKey> field_;
    std::array<bool, FieldCount * MaxSides> seen_ {};
};

class JsonLinesReader : public RecordReader {
public:
    using RecordReader::RecordReader;

    bool Fill(Block& block) override
    {
        // A line's pieces all go to one block: it ends only between lines.
        while (inLine_ || !block.Full()) {
            const Piece next = NextPiece();
            const std::string_view piece = next.Bytes;
            if (piece.empty()) {
                if (inLine_ && Problem.empty()) {
                    EndLine(block); // the last line, without its line end
                }
                if (!anyRecord_ && Problem.empty()) {
                    Problem = "the input is empty"; // nothing, or only blank lines
                }
                return false;
            }
            if (next.IsLfOfCrLf()) {
                continue;
            }
            if (!inLine_) {
                inLine_ = true;
                ++line_;
                lineStart_ = block.Bytes.size();
                tooLong_ = false;
            }
            if (!tooLong_) {
                block.Bytes += piece;
                if (block.Bytes.size() - lineStart_ > MaxRecordBytes + 2) {
                    block.Bytes.resize(lineStart_);
                    tooLong_ = true;
                }
            }
            if (next.EndsLine && !EndLine(block)) {
                return false;
            }
        }
        return true;
    }

    Decoded Decode(Block& block, const Record& record) const override
    {
        // Parsed in place (the block's bytes are this thread's); the UTF-8 is
        // checked by the parser only where a byte is not ASCII.
        char* text = block.Bytes.data() + record.First;
        // The parser would take a NUL for the end of the record and not see
        // what follows it.
        if (const void* nul = std::memchr(text, '\0', record.Count)) {
            return {.Error = "the record is not JSON: it holds a NUL byte (at byte "
                    + DecimalText(static_cast<long long>(static_cast<const char*>(nul) - text + 1)) + ")"};
        }
        const bool ascii = std::none_of(text, text + record.Count, [](char c) { return (c & 0x80) != 0; });
        rapidjson::InsituStringStream stream(text);
        RecordHandler handler(Pairs);
        rapidjson::Reader reader;
        constexpr unsigned flags = rapidjson::kParseInsituFlag | rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag;
        const rapidjson::ParseResult parsed = ascii ? reader.Parse<flags>(stream, handler)
                                                    : reader.Parse<flags | rapidjson::kParseValidateEncodingFlag>(stream, handler);
        if (!handler.Error.empty()) {
            return {.Error = std::move(handler.Error)};
        }
        if (parsed.IsError()) {
            return {.Error = std::string("the record is not JSON: ") + rapidjson::GetParseError_En(parsed.Code())
                    + " (at byte " + DecimalText(static_cast<long long>(parsed.Offset() + 1)) + ")"};
        }
        SideValues values;
        std::array<bool, FieldCount * MaxSides> given {};
        for (std::size_t i = 0; i < given.size(); ++i) {
            given[i] = handler.Values[i].has_value();
            values[i] = handler.Values[i].value_or(std::string_view());
        }
        if (const auto missing = MissingKey(given, Pairs)) {
            return {.Error = "the key " + Quoted(KeyName(*missing, Pairs)) + " is missing"};
        }
        return Filled({.IdIsNumber = handler.IdIsNumber}, values, given[static_cast<std::size_t>(Field::Id)], Pairs);
    }

private:
    // The line end, CR LF, LF or CR, and blanks around the object are no part of
    // the record; false when the input turns out not to be JSON Lines.
    bool EndLine(Block& block)
    {
        inLine_ = false;
        if (tooLong_) {
            anyRecord_ = true;
            block.Records.push_back({line_, 0, 0, TooLong()});
            return true;
        }
        std::string_view text(block.Bytes.data() + lineStart_, block.Bytes.size() - lineStart_);
        const auto first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) {
            block.Bytes.resize(lineStart_); // a blank line holds no record
            return true;
        }
        text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
        if (!sawObject_ && text.front() != '{') {
            Problem = "line " + DecimalText(static_cast<long long>(line_)) + " is not a JSON object, so the input is not JSON Lines";
            return false;
        }
        sawObject_ = anyRecord_ = true;
        block.Records.push_back({line_, static_cast<std::uint32_t>(lineStart_ + first), static_cast<std::uint32_t>(text.size()), {}});
        block.Bytes.resize(lineStart_ + first + text.size()); // the record ends its string, for the parser
        block.Bytes.push_back('\0');
        return true;
    }

    std::uint64_t line_ = 0;
    std::size_t lineStart_ = 0;
    bool inLine_ = false, tooLong_ = false, sawObject_ = false, anyRecord_ = false;
};

// RFC 4180 through libcsv in strict mode: quoted fields with commas, quotes
// and line breaks, CR LF, LF or CR. The input goes to the parser a line at a
// time, so that a record knows the line it starts on. A record too long is
// still parsed to its end, its bytes dropped, so that what its quotes hold
// is never taken for records; one with a quote out of place is skipped to
// the end of its line, whichever line end the file uses.
class CsvReader : public RecordReader {
public:
    CsvReader(int fd, bool pairs) : RecordReader(fd, pairs) { StartParser(); }
    ~CsvReader() override { csv_free(&parser_); }

    bool Fill(Block& block) override
    {
        block_ = &block;
        // A record's fields all go to one block: it ends only between records.
        while (Problem.empty() && (!header_ || recordOpen_ || parser_.pstate != RowNotBegun || !block.Full())) {
            const Piece piece = NextPiece();
            if (piece.Bytes.empty()) {
                Finish();
                return false;
            }
            Feed(piece);
        }
        return Problem.empty();
    }

    Decoded Decode(Block& block, const Record& record) const override
    {
        if (record.Count != columns_.size()) {
            return {.Error = "the record has " + Counted(record.Count, "field") + " where the header names "
                    + DecimalText(static_cast<long long>(columns_.size()))};
        }
        SideValues values;
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            if (!columns_[column]) {
                continue;
            }
            const auto [offset, length] = block.Fields[record.First + column];
            const std::string_view text(block.Bytes.data() + offset, length);
            if (!IsUtf8(text)) {
                return {.Error = "the field " + Quoted(KeyName(*columns_[column], Pairs)) + " is not valid UTF-8"};
            }
            values[columns_[column]->Index()] = text;
        }
        return Filled({}, values, idColumn_, Pairs);
    }

private:
    // libcsv's state between records (ROW_NOT_BEGUN in libcsv.c).
    static constexpr int RowNotBegun = 0;

    [[nodiscard]] static std::string EmptyInput()
    {
        return "the input is empty: a CSV file starts with a header line naming its columns";
    }

    void StartParser()
    {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
        // Blanks belong to the field, as RFC 4180 has it.
        csv_set_space_func(&parser_, [](unsigned char) { return 0; });
    }

    void Feed(const Piece& next)
    {
        const std::string_view piece = next.Bytes;
        if (skippingLine_) {
            skippingLine_ = !next.EndsLine;
            line_ += next.EndsLine ? 1 : 0;
            return;
        }
        if (!recordOpen_ && parser_.pstate == RowNotBegun) {
            recordLine_ = line_ + 1;
        }
        const std::size_t used = csv_parse(&parser_, piece.data(), piece.size(), OnField, OnRecordEnd, this);
        line_ += next.EndsLine ? 1 : 0;
        if (used < piece.size()) {
            DropRecord(csv_error(&parser_) == CSV_EPARSE
                    ? "a quote is out of place in field " + DecimalText(static_cast<long long>((recordOpen_ ? fields_ : 0) + 1))
                    : std::string(csv_strerror(csv_error(&parser_))));
            csv_free(&parser_);
            StartParser();
            skippingLine_ = !next.EndsLine;
            return;
        }
        // A field too long for a record is read on, its bytes dropped.
        if (parser_.entry_pos > MaxRecordBytes) {
            tooLong_ = true;
            parser_.entry_pos = 0;
        }
    }

    void Finish()
    {
        if (!Problem.empty()) {
            return;
        }
        if (csv_fini(&parser_, OnField, OnRecordEnd, this) != 0) {
            DropRecord("a quoted field is not closed at the end of the input");
        }
        if (!header_ && Problem.empty()) {
            Problem = EmptyInput();
        }
    }

    void OpenRecord()
    {
        recordOpen_ = true;
        fields_ = 0;
        recordBytes_ = 0;
        firstField_ = block_->Fields.size();
        firstByte_ = block_->Bytes.size();
        if (!header_) {
            headerFields_.clear();
        }
    }

    // The record cannot be read: an error line, or, as the header, an
    // unusable input.
    void DropRecord(std::string error)
    {
        if (!recordOpen_) {
            OpenRecord();
        }
        recordOpen_ = false;
        tooLong_ = false;
        block_->Fields.resize(firstField_);
        block_->Bytes.resize(firstByte_);
        if (!header_) {
            Problem = "the header line cannot be read: " + error;
            return;
        }
        block_->Records.push_back({recordLine_, 0, 0, std::move(error)});
        recordLine_ = line_ + 1;
    }

    static void OnField(void* data, std::size_t size, void* self)
    {
        static_cast<CsvReader*>(self)->AddField({static_cast<const char*>(data), data == nullptr ? 0 : size});
    }
    static void OnRecordEnd(int, void* self) { static_cast<CsvReader*>(self)->EndRecord(); }

    void AddField(std::string_view text)
    {
        if (!recordOpen_) {
            OpenRecord();
        }
        ++fields_;
        recordBytes_ += text.size() + 1;
        tooLong_ = tooLong_ || fields_ > MaxRecordFields || recordBytes_ > MaxRecordBytes;
        if (tooLong_) {
            return;
        }
        if (!header_) {
            headerFields_.emplace_back(text);
            return;
        }
        block_->Fields.emplace_back(static_cast<std::uint32_t>(block_->Bytes.size()), static_cast<std::uint32_t>(text.size()));
        block_->Bytes += text;
    }

    void EndRecord()
    {
        if (!recordOpen_) {
            OpenRecord(); // a field too long ended its record before its callback
        }
        if (tooLong_) {
            DropRecord(TooLong());
            return;
        }
        recordOpen_ = false;
        if (!header_) {
            ReadHeader();
        } else {
            block_->Records.push_back({recordLine_, static_cast<std::uint32_t>(firstField_),
                static_cast<std::uint32_t>(block_->Fields.size() - firstField_), {}});
        }
        recordLine_ = line_ + 1; // set again by the next piece fed, if the record ended at its line end
    }

    void ReadHeader()
    {
        std::array<bool, FieldCount * MaxSides> named {};
        for (const std::string& name : headerFields_) {
            const auto field = RecordKeyNamed(name, Pairs);
            if (field && named[field->Index()]) {
                Problem = "the header names the column " + Quoted(name) + " twice";
                return;
            }
            if (field) {
                named[field->Index()] = true;
            }
            columns_.push_back(field); // a column of another name is left alone
        }
        if (const auto missing = MissingKey(named, Pairs)) {
            Problem = "the header names no column " + Quoted(KeyName(*missing, Pairs));
            return;
        }
        idColumn_ = named[static_cast<std::size_t>(Field::Id)];
        header_ = true;
    }

    csv_parser parser_ {};
    Block* block_ = nullptr;
    std::vector<std::optional<RecordKey>> columns_; // the field of each column, if any
    std::vector<std::string> headerFields_;
    bool header_ = false, idColumn_ = false, recordOpen_ = false, skippingLine_ = false, tooLong_ = false;
    std::uint64_t line_ = 0, recordLine_ = 1;
    std::size_t fields_ = 0, recordBytes_ = 0, firstField_ = 0, firstByte_ = 0;
};

void WriteLineStart(OutputBuffer& out, JsonWriter& json, RecordFormat format, const Record& record, const Decoded& decoded)
{
    std::array<char, 24> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), record.Line).ptr;
    if (format == RecordFormat::Csv) {
        Append(out, {digits.data(), static_cast<std::size_t>(end - digits.data())});
        out.Put(',');
        AppendCsvField(out, decoded.Id.value_or(""));
        out.Put(',');
        return;
    }
    json.Reset(out);
    json.StartObject();
    json.Key("line");
    json.Uint64(record.Line);
    if (decoded.Id) {
        json.Key("id");
        if (decoded.IdIsNumber) {
            json.RawValue(decoded.Id->data(), decoded.Id->size(), rapidjson::kNumberType);
        } else {
            json.String(decoded.Id->data(), static_cast<rapidjson::SizeType>(decoded.Id->size()));
        }
    }
}

// One record of a pair: both readings and their match, or the first refusal.
void ComputePair(const RecordReader& reader, RecordFormat format, const Conventions& conventions, const OutputGroups& groups,
    const fullreading::ReadingParts& parts, const AtlasOnce& places, Block& block, const Record& record, JsonWriter& json)
{
    Decoded decoded = record.Error.empty() ? reader.Decode(block, record) : Decoded {.Error = record.Error};
    const auto refuse = [&](std::string_view side, std::string_view why) {
        if (decoded.Error.empty()) {
            decoded.Error = "the " + std::string(side) + "'s birth: " + std::string(why);
        }
    };
    const ResolvedBirth boy = decoded.Error.empty() ? ResolveBirth(decoded.Birth, places, block.Zones, conventions) : ResolvedBirth {};
    if (boy.Error) {
        refuse("boy", *boy.Error);
    }
    const ResolvedBirth girl = decoded.Error.empty() ? ResolveBirth(decoded.GirlBirth, places, block.Zones, conventions) : ResolvedBirth {};
    if (girl.Error) {
        refuse("girl", *girl.Error);
    }
    const fullreading::FullReadingResult boyReading = decoded.Error.empty()
        ? fullreading::CalculateFullReading(boy.Value, conventions, parts) : fullreading::FullReadingResult {};
    if (boyReading.Failure) {
        refuse("boy", boyReading.Failure->Message);
    }
    const fullreading::FullReadingResult girlReading = decoded.Error.empty()
        ? fullreading::CalculateFullReading(girl.Value, conventions, parts) : fullreading::FullReadingResult {};
    if (girlReading.Failure) {
        refuse("girl", girlReading.Failure->Message);
    }
    const std::optional<matching::Match> match =
        decoded.Error.empty() ? matching::MatchReadings(boyReading.Value, girlReading.Value) : std::nullopt;
    if (decoded.Error.empty() && !match) {
        decoded.Error = NoPositionsFailure.Message;
    }
    WriteLineStart(block.Output, json, format, record, decoded);
    const bool matched = decoded.Error.empty();
    ++(matched ? block.Readings : block.Errors);
    if (format == RecordFormat::Csv) {
        if (matched) {
            block.Output.Put(',');
            AppendMatchCsvFields(block.Output, *match);
        } else {
            AppendCsvField(block.Output, decoded.Error);
            Append(block.Output, std::string(MatchCsvFieldCount(), ','));
        }
        Append(block.Output, "\r\n");
        return;
    }
    if (matched) {
        WriteMatchMembers(json, {boyReading.Value, boy.Value, boy.Value.TimeZone}, {girlReading.Value, girl.Value, girl.Value.TimeZone},
            groups, *match);
    } else {
        json.Key("error");
        json.String(decoded.Error.data(), static_cast<rapidjson::SizeType>(decoded.Error.size()));
    }
    json.EndObject();
    block.Output.Put('\n');
}

// Decodes, computes and writes out every record of a block. Each reading is
// a value of its own, so blocks may be computed on any number of threads.
void Compute(const RecordReader& reader, RecordFormat format, const Conventions& conventions, const OutputGroups& groups,
    houses::HouseSystem houses, const AtlasOnce& places, Block& block)
{
    fullreading::ReadingParts parts = PartsFor(groups);
    parts.HouseSystem = houses;
    JsonWriter json;
    for (const Record& record : block.Records) {
        if (reader.Pairs) {
            ComputePair(reader, format, conventions, groups, parts, places, block, record, json);
            continue;
        }
        Decoded decoded = record.Error.empty() ? reader.Decode(block, record) : Decoded {.Error = record.Error};
        // Each made where it stays: a reading is some kilobytes to copy.
        const ResolvedBirth checked = decoded.Error.empty() ? ResolveBirth(decoded.Birth, places, block.Zones, conventions)
                                                            : ResolvedBirth {};
        const fullreading::FullReadingResult result = decoded.Error.empty() && !checked.Error
            ? fullreading::CalculateFullReading(checked.Value, conventions, parts,
                  parts.Panchanga ? birth::BirthClock(checked.Value, block.Zones) : panchanga::UtcOffsetAt())
            : fullreading::FullReadingResult {};
        if (decoded.Error.empty() && (checked.Error || result.Failure)) {
            decoded.Error = checked.Error ? *checked.Error : result.Failure->Message;
        }
        WriteLineStart(block.Output, json, format, record, decoded);
        const bool reading = decoded.Error.empty();
        ++(reading ? block.Readings : block.Errors);
        if (format == RecordFormat::Csv) {
            if (reading) {
                block.Output.Put(',');
                AppendReadingCsvFields(block.Output, {result.Value, checked.Value, checked.Value.TimeZone, 1}, groups);
            } else {
                AppendCsvField(block.Output, decoded.Error);
                Append(block.Output, std::string(ReadingCsvFieldCount(groups), ','));
            }
            Append(block.Output, "\r\n");
            continue;
        }
        if (reading) {
            WriteReadingMembers(json, {result.Value, checked.Value, checked.Value.TimeZone, 1}, groups);
        } else {
            json.Key("error");
            json.String(decoded.Error.data(), static_cast<rapidjson::SizeType>(decoded.Error.size()));
        }
        json.EndObject();
        block.Output.Put('\n');
    }
}

// "halvaro-cli: births.csv: 41% read, 12288 records", redrawn in place at
// most four times a second, and cleared at the end.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::string name, std::uint64_t size) : err_(err), name_(std::move(name)), size_(size) {}
    ~ProgressLine()
    {
        if (shown_ != 0) {
            err_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
        }
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(std::uint64_t records, std::uint64_t bytesRead)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ >= std::chrono::milliseconds(250)) {
            last_ = now;
            const auto percent = size_ == 0 ? 100 : std::min<std::uint64_t>(100, bytesRead * 100 / size_);
            std::string line = std::string(ProgramName) + ": " + name_ + ": " + DecimalText(static_cast<long long>(percent))
                + "% read, " + Counted(records, "record");
            shown_ = std::max(shown_, line.size());
            line.resize(shown_, ' ');
            err_ << '\r' << line << std::flush;
        }
    }

private:
    std::ostream& err_;
    std::string name_;
    std::uint64_t size_;
    std::size_t shown_ = 0;
    std::chrono::steady_clock::time_point last_ {};
};

// What a signal handler may reach: static storage, set before the handlers
// are installed and cleared after they are taken away.
struct PendingTemporary {
    int FolderFd = -1;
    std::array<char, 64> Name {};
};
PendingTemporary pendingTemporary;
constexpr std::array<int, 3> CleanedUpSignals {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporaryAndStop(int signal)
{
    ::unlinkat(pendingTemporary.FolderFd, pendingTemporary.Name.data(), 0);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

ValueError BirthOfRecord(std::string record, BirthRequest& birth)
{
    if (record.find('\0') != std::string::npos) {
        return "the birth is not JSON: it holds a NUL byte";
    }
    record.append(16, '\0'); // RapidJSON's SSE2 scans read up to 15 bytes past a text's end
    RecordHandler handler(false);
    rapidjson::Reader reader;
    rapidjson::InsituStringStream stream(record.data());
    constexpr unsigned flags = rapidjson::kParseInsituFlag | rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag
        | rapidjson::kParseValidateEncodingFlag;
    const rapidjson::ParseResult parsed = reader.Parse<flags>(stream, handler);
    if (!handler.Error.empty()) {
        return handler.Error;
    }
    if (parsed.IsError()) {
        return std::string("the birth is not JSON: ") + rapidjson::GetParseError_En(parsed.Code()) + " (at byte "
            + DecimalText(static_cast<long long>(parsed.Offset() + 1)) + ")";
    }
    SideValues values;
    std::array<bool, FieldCount * MaxSides> given {};
    for (std::size_t i = 0; i < FieldCount; ++i) {
        given[i] = handler.Values[i].has_value();
        values[i] = handler.Values[i].value_or(std::string_view());
    }
    if (const auto missing = MissingKey(given, false)) {
        return "the key " + Quoted(KeyName(*missing, false)) + " is missing";
    }
    Decoded decoded = Filled({}, values, false, false);
    if (!decoded.Error.empty()) {
        return decoded.Error;
    }
    birth = std::move(decoded.Birth);
    return std::nullopt;
}

TemporaryRemovedOnSignal::TemporaryRemovedOnSignal(const files::FileWriter& writer)
{
    const std::string& name = writer.TemporaryName();
    if (name.empty() || name.size() >= pendingTemporary.Name.size()) {
        return; // an unnamed file: nothing to remove
    }
    pendingTemporary.FolderFd = writer.FolderFd();
    std::copy(name.begin(), name.end(), pendingTemporary.Name.begin());
    pendingTemporary.Name[name.size()] = '\0';
    for (std::size_t i = 0; i < CleanedUpSignals.size(); ++i) {
        // A signal the batch was started to ignore (nohup) stays ignored.
        struct sigaction current {};
        if (::sigaction(CleanedUpSignals[i], nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            previous_[i] = std::signal(CleanedUpSignals[i], RemoveTemporaryAndStop);
            installed_[i] = previous_[i] != SIG_ERR;
        }
    }
}

TemporaryRemovedOnSignal::~TemporaryRemovedOnSignal()
{
    for (std::size_t i = 0; i < CleanedUpSignals.size(); ++i) {
        if (installed_[i]) {
            std::signal(CleanedUpSignals[i], previous_[i]);
        }
    }
    if (pendingTemporary.FolderFd >= 0) {
        pendingTemporary = {};
    }
}

BatchTotals ProcessBatch(int inputFd, RecordFormat inputFormat, RecordFormat outputFormat, unsigned jobs, const Conventions& conventions,
    const OutputGroups& groups, const BatchSink& write, const BatchProgress& progress, bool pairs, houses::HouseSystem houses)
{
    BatchTotals totals;
    const AtlasOnce places; // loaded by the first record that names a place
    const std::unique_ptr<RecordReader> reader = inputFormat == RecordFormat::Csv
        ? std::unique_ptr<RecordReader>(std::make_unique<CsvReader>(inputFd, pairs))
        : std::make_unique<JsonLinesReader>(inputFd, pairs);
    jobs = std::clamp(jobs, 1U, MaxBatchJobs);
    // One block for each job and one more, so that a job finds work while
    // the oldest block is written out; each block computed on a thread of its own.
    std::vector<Block> blocks(jobs == 1 ? 1 : jobs + 1);
    std::vector<std::future<void>> computed(blocks.size());
    std::uint64_t filled = 0, written = 0;
    bool more = true;
    bool headerDue = outputFormat == RecordFormat::Csv;
    while (true) {
        if (more && filled - written < blocks.size()) {
            Block& block = blocks[filled % blocks.size()];
            block.Clear();
            more = reader->Fill(block);
            block.Bytes.append(16, '\0'); // RapidJSON's SSE2 scans read up to 15 bytes past a text's end
            totals.Records += block.Records.size();
            // The CSV header, unless the input turned out unusable before any record.
            if (headerDue && (reader->Problem.empty() || !block.Records.empty())) {
                headerDue = false;
                totals.OutputFailed = !write("line,id,error," + (pairs ? MatchCsvHeader() : ReadingCsvHeader(groups)) + "\r\n");
                more = more && !totals.OutputFailed;
            }
            if (!block.Records.empty() && !totals.OutputFailed) {
                const auto compute = [&, &block = block] { Compute(*reader, outputFormat, conventions, groups, houses, places, block); };
                if (jobs == 1) {
                    compute();
                } else {
                    computed[filled % blocks.size()] = std::async(std::launch::async, compute);
                }
                ++filled;
            }
            continue;
        }
        if (written == filled) {
            break;
        }
        const std::size_t oldest = written++ % blocks.size();
        if (computed[oldest].valid()) {
            computed[oldest].get();
        }
        const Block& block = blocks[oldest];
        if (totals.OutputFailed || !write({block.Output.GetString(), block.Output.GetSize()})) {
            totals.OutputFailed = true;
            more = false;
            continue; // only waits for the threads now
        }
        totals.Readings += block.Readings;
        totals.Errors += block.Errors;
        if (progress) {
            progress(totals.Readings + totals.Errors, reader->BytesRead);
        }
    }
    totals.Problem = reader->Problem;
    return totals;
}

int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    const auto started = std::chrono::steady_clock::now();
    const bool fromStandardInput = options.Input == "-";
    const std::string inputName = fromStandardInput ? "standard input" : PrintableText(options.Input);
    int fd = STDIN_FILENO;
    if (!fromStandardInput) {
        std::string error;
        fd = files::OpenToRead(options.Input, error);
        if (fd < 0) {
            err << ProgramName << ": " << inputName << ": the file cannot be read: " << error << "\n";
            return ExitUsage;
        }
    }
    const std::unique_ptr<int, void (*)(int*)> closeInput(fromStandardInput ? nullptr : &fd, [](int* f) { ::close(*f); });

    files::FileWriter outputFile;
    if (options.OutputPath) {
        // Replacing the input with the output would lose it, whatever path
        // or link names it.
        struct stat input {};
        struct stat output {};
        const bool sameFile = ::fstat(fd, &input) == 0 && ::stat(options.OutputPath->c_str(), &output) == 0
            && input.st_dev == output.st_dev && input.st_ino == output.st_ino;
        if (const auto refused = sameFile ? std::optional<std::string>("it is the batch's input") : outputFile.Open(*options.OutputPath)) {
            err << ProgramName << ": " << PrintableText(*options.OutputPath) << ": the output file cannot be created: "
                << *refused << "\n";
            return ExitUsage;
        }
    }
    const TemporaryRemovedOnSignal removedOnSignal(outputFile);
    int outError = 0; // standard output's, as the failed write left it in errno
    const auto written = [&] {
        if (!out && outError == 0) {
            outError = errno;
        }
        return static_cast<bool>(out);
    };
    const BatchSink write = [&](std::string_view bytes) {
        if (options.OutputPath) {
            return outputFile.Write(bytes);
        }
        errno = 0;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return written();
    };

    std::optional<ProgressLine> progressLine;
    BatchProgress progress;
    if (errIsTerminal && !fromStandardInput) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(options.Input, ec);
        progressLine.emplace(err, inputName, ec ? 0 : size);
        progress = [&](std::uint64_t records, std::uint64_t bytesRead) { progressLine->Show(records, bytesRead); };
    }
    // Each job holds blocks of records and their output (some 4 MB); more
    // jobs than a few for each core only cost memory.
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const unsigned jobs = options.Jobs != 0 ? std::min(options.Jobs, JobsPerCore * cores) : cores;
    BatchTotals totals = ProcessBatch(fd, options.InputFormat, options.OutputFormat, jobs, options.Chosen, options.Groups, write, progress,
        options.Pairs, options.Houses);
    progressLine.reset();
    if (!options.OutputPath && !totals.OutputFailed) {
        errno = 0;
        out.flush();
        totals.OutputFailed = !written();
    }

    // Why the output is incomplete: a reason, or empty when the system gave none.
    std::optional<std::string> outputError;
    if (totals.OutputFailed) {
        const int error = options.OutputPath ? outputFile.Error() : outError;
        outputError = error != 0 ? files::ErrnoText(error) : std::string();
    } else if (options.OutputPath && totals.Problem.empty()) {
        outputError = outputFile.Commit();
    }
    if (!totals.Problem.empty()) {
        err << ProgramName << ": " << inputName << ": " << totals.Problem << "\n";
    }
    if (outputError) {
        err << ProgramName << ": " << PrintableText(options.OutputPath.value_or("standard output"))
            << ": the output could not be written" << (outputError->empty() ? "" : ": ") << *outputError << "\n";
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
    std::array<char, 32> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), seconds.count(), std::chars_format::fixed, 2).ptr;
    err << ProgramName << ": " << Counted(totals.Records, "record") << " read, " << Counted(totals.Readings, "reading")
        << ", " << Counted(totals.Errors, "error")
        << (totals.OutputFailed ? ", " + DecimalText(static_cast<long long>(totals.Records - totals.Readings - totals.Errors)) + " not written" : "")
        << " in " << std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data()))
        << " s\n";
    return !totals.Problem.empty() || outputError ? ExitUsage : totals.Errors == 0 ? ExitSuccess : ExitRefused;
}

} // namespace halvaro::cli
