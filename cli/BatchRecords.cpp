#include "cli/BatchRecords.h"

#include "cli/BirthFields.h"
#include "core/Text.h"

#include <csv.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstring>

namespace halvaro::cli {

namespace {

// The fields of a record, named as the options are.
enum class Field { Name, Date, Time, Zone, Lat, Lon, Dst, City, State, Country, Id, Count };
constexpr auto FieldCount = static_cast<std::size_t>(Field::Count);
constexpr std::array<std::string_view, FieldCount> FieldNames {
    "name", "date", "time", "zone", "lat", "lon", "dst", "city", "state", "country", "id"};

// dst may be left out (false) and id is only copied; every other field is needed.
bool IsRequired(Field field) { return field != Field::Dst && field != Field::Id; }

using FieldValues = std::array<std::optional<std::string>, FieldCount>;

std::optional<Field> FieldNamed(std::string_view name)
{
    for (std::size_t i = 0; i < FieldCount; ++i) {
        if (!name.empty() && name.front() == FieldNames[i].front() && name == FieldNames[i]) {
            return static_cast<Field>(i);
        }
    }
    for (std::size_t i = 0; i < FieldCount; ++i) {
        const std::string_view known = FieldNames[i];
        if (name.size() == known.size()
            && std::equal(name.begin(), name.end(), known.begin(),
                [](char a, char b) { return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b; })) {
            return static_cast<Field>(i);
        }
    }
    return std::nullopt;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The values in the order and with the messages of the options; the input
// checks come later, with the reading.
void FillBirth(FieldValues& values, BatchRecord& record)
{
    const auto take = [&](Field field) -> std::string { return std::move(values[static_cast<std::size_t>(field)]).value_or(""); };
    BirthData& birth = record.Birth;
    ValueError error = ParseDate("date", take(Field::Date), birth);
    if (!error) {
        error = ParseTime("time", take(Field::Time), birth);
    }
    if (!error) {
        error = ParseZone("zone", take(Field::Zone), birth);
    }
    if (!error) {
        error = ParseLatitude("lat", take(Field::Lat), birth);
    }
    if (!error) {
        error = ParseLongitude("lon", take(Field::Lon), birth);
    }
    if (!error) {
        error = ParseDaylightSaving("dst", take(Field::Dst), birth);
    }
    if (error) {
        record.Error = std::move(*error);
        return;
    }
    birth.Name = take(Field::Name);
    birth.City = take(Field::City);
    birth.State = take(Field::State);
    birth.Country = take(Field::Country);
}

bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80U) {
            ++pos;
            continue;
        }
        const std::size_t length = DecodeUtf8(text, pos).Length;
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

// The input in blocks, handed out a line at a time; a line longer than the
// buffer comes in pieces.
class LineInput {
public:
    explicit LineInput(std::istream& in)
        : in_(in)
        , buffer_(Capacity)
    {
    }

    struct Piece {
        std::string_view Text; // with its line end
        bool EndsLine = true;
    };

    std::optional<Piece> Next()
    {
        for (;;) {
            const char* from = buffer_.data() + begin_;
            if (const void* newline = std::memchr(from, '\n', end_ - begin_)) {
                const std::size_t length = static_cast<const char*>(newline) - from + 1;
                begin_ += length;
                return Piece {{from, length}, true};
            }
            if (ended_) {
                if (begin_ == end_) {
                    return std::nullopt;
                }
                const std::size_t length = end_ - begin_;
                begin_ = end_;
                return Piece {{from, length}, true};
            }
            if (begin_ == 0 && end_ == buffer_.size()) {
                begin_ = end_;
                return Piece {{from, end_}, false};
            }
            std::memmove(buffer_.data(), from, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
            in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
            const auto got = static_cast<std::size_t>(in_.gcount());
            end_ += got;
            bytesRead_ += got;
            if (got == 0) {
                ended_ = true;
                failed_ = in_.bad();
            }
            if (firstRead_) {
                firstRead_ = false;
                // A byte-order mark is no part of the first line.
                if (end_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) {
                    begin_ = 3;
                }
            }
        }
    }

    [[nodiscard]] bool Failed() const { return failed_; }
    [[nodiscard]] std::uint64_t BytesRead() const { return bytesRead_; }

private:
    static constexpr std::size_t Capacity = 256 * 1024;

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool ended_ = false, failed_ = false, firstRead_ = true;
    std::uint64_t bytesRead_ = 0;
};

constexpr std::string_view ReadFailure = "the input could not be read";

std::string TooLong()
{
    return "the record is longer than " + DecimalText(static_cast<long long>(MaxRecordBytes)) + " bytes";
}

// ---- JSON Lines ----

// Collects the members of one JSON object; nlohmann's parser checks the
// syntax and the UTF-8 and calls these for each token.
class RecordEvents {
public:
    FieldValues Values;
    std::string Error;
    bool IdIsNumber = false;

    bool null() { return Scalar(Kind::Other, {}); }
    bool boolean(bool value) { return Scalar(Kind::Boolean, value ? "true" : "false"); }
    bool number_integer(std::int64_t value) { return Scalar(Kind::Whole, DecimalText(value)); }
    bool number_unsigned(std::uint64_t value) { return Scalar(Kind::Whole, std::to_string(value)); }
    bool number_float(double, const std::string&) { return Scalar(Kind::Other, {}); }
    // Copied, not moved: the parser's own buffer keeps its room for the next token.
    bool string(std::string& value) { return Scalar(Kind::Text, value); }
    bool binary(nlohmann::json::binary_t&) { return Scalar(Kind::Other, {}); }

    // The record itself, or a member's value (anything deeper is ignored).
    bool start_object(std::size_t)
    {
        const bool go = depth_ == 0 || Scalar(Kind::Other, {});
        ++depth_;
        return go;
    }
    bool end_object()
    {
        --depth_;
        return true;
    }
    bool start_array(std::size_t)
    {
        const bool go = depth_ == 0 ? Fail("the record is not a JSON object") : Scalar(Kind::Other, {});
        ++depth_;
        return go;
    }
    bool end_array()
    {
        --depth_;
        return true;
    }
    bool key(std::string& name)
    {
        if (depth_ != 1) {
            return true;
        }
        field_ = FieldNamed(name);
        if (field_ && seen_[static_cast<std::size_t>(*field_)]) {
            return Fail("the key " + Quoted(name) + " is given twice");
        }
        if (field_) {
            seen_[static_cast<std::size_t>(*field_)] = true;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e)
    {
        // "[json.exception.parse_error.101] parse error at line 1, column 9: ..."
        std::string_view what = e.what();
        for (const std::string_view lead : {std::string_view("] "), std::string_view("parse error at line 1, ")}) {
            if (const auto at = what.find(lead); at != std::string_view::npos && at < 40) {
                what.remove_prefix(at + lead.size());
            }
        }
        return Fail("the record is not JSON: " + std::string(what));
    }

private:
    enum class Kind { Text, Whole, Boolean, Other };

    bool Fail(std::string error)
    {
        if (Error.empty()) {
            Error = std::move(error);
        }
        return false;
    }

    // A value: the record itself when not in an object, a member's value
    // when directly in it; anything deeper belongs to an unknown member.
    bool Scalar(Kind kind, std::string_view value)
    {
        if (depth_ == 0) {
            return Fail("the record is not a JSON object");
        }
        if (depth_ != 1 || !field_) {
            return true;
        }
        const Field field = *field_;
        const auto name = [&] { return Quoted(FieldNames[static_cast<std::size_t>(field)]); };
        const bool takesWhole = field == Field::Zone || field == Field::Id;
        if (field == Field::Dst) {
            if (kind != Kind::Boolean && kind != Kind::Text) {
                return Fail("the value of " + name() + " is neither true nor false");
            }
        } else if (kind != Kind::Text && !(takesWhole && kind == Kind::Whole)) {
            return Fail("the value of " + name() + (takesWhole ? " is neither a text nor a whole number" : " is not a text"));
        }
        if (field == Field::Id) {
            IdIsNumber = kind == Kind::Whole;
        }
        Values[static_cast<std::size_t>(field)] = std::string(value);
        return true;
    }

    int depth_ = 0;
    std::optional<Field> field_;
    std::array<bool, FieldCount> seen_ {};
};

class JsonLinesReader : public RecordReader {
public:
    explicit JsonLinesReader(std::istream& in)
        : input_(in)
    {
    }

    bool Fill(RecordBlock& block, std::size_t maxItems, std::size_t maxBytes) override
    {
        // A line's pieces all go to one block: it ends only between lines.
        while (inLine_ || (block.Items.size() < maxItems && block.Bytes.size() < maxBytes)) {
            const auto piece = input_.Next();
            bytesRead_ = input_.BytesRead();
            if (!piece) {
                if (input_.Failed()) {
                    problem_ = ReadFailure;
                }
                return false;
            }
            if (!Take(block, *piece) ) {
                return false;
            }
        }
        return true;
    }

    void Decode(const RecordBlock& block, const RecordBlock::Item& item, BatchRecord& record) const override
    {
        const char* text = block.Bytes.data() + item.First;
        RecordEvents events;
        nlohmann::json::sax_parse(text, text + item.Count, &events);
        if (!events.Error.empty()) {
            record.Error = std::move(events.Error);
            return;
        }
        record.Id = std::move(events.Values[static_cast<std::size_t>(Field::Id)]);
        record.IdIsNumber = events.IdIsNumber;
        for (std::size_t i = 0; i < FieldCount; ++i) {
            if (IsRequired(static_cast<Field>(i)) && !events.Values[i]) {
                record.Error = "the key " + Quoted(FieldNames[i]) + " is missing";
                return;
            }
        }
        FillBirth(events.Values, record);
    }

private:
    // One piece of a line; false when the input turns out not to be JSON Lines.
    bool Take(RecordBlock& block, const LineInput::Piece& piece)
    {
        if (!inLine_) {
            inLine_ = true;
            ++line_;
            lineStart_ = block.Bytes.size();
            tooLong_ = false;
        }
        if (!tooLong_) {
            block.Bytes += piece.Text;
            if (block.Bytes.size() - lineStart_ > MaxRecordBytes + 2) {
                block.Bytes.resize(lineStart_);
                tooLong_ = true;
            }
        }
        if (!piece.EndsLine) {
            return true;
        }
        inLine_ = false;
        if (tooLong_) {
            block.Items.push_back({line_, 0, 0, TooLong()});
            return true;
        }
        // The line end, CR LF or LF, and blanks around the object are no part of it.
        std::string_view text(block.Bytes.data() + lineStart_, block.Bytes.size() - lineStart_);
        const auto first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) {
            block.Bytes.resize(lineStart_); // a blank line holds no record
            return true;
        }
        text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
        if (!sawObject_ && text.front() != '{') {
            problem_ = "line " + DecimalText(static_cast<long long>(line_))
                + " is not a JSON object, so the input is not JSON Lines";
            return false;
        }
        sawObject_ = true;
        block.Items.push_back({line_, static_cast<std::uint32_t>(lineStart_ + first),
            static_cast<std::uint32_t>(text.size()), {}});
        return true;
    }

    LineInput input_;
    std::uint64_t line_ = 0;
    std::size_t lineStart_ = 0;
    bool inLine_ = false, tooLong_ = false, sawObject_ = false;
};

// ---- CSV ----

// RFC 4180 through libcsv in strict mode: quoted fields with commas, quotes
// and line breaks, CR LF or LF. The input goes to the parser a line at a
// time, so that a record knows the line it starts on and a malformed record
// is skipped to the end of its line.
class CsvReader : public RecordReader {
public:
    explicit CsvReader(std::istream& in)
        : input_(in)
    {
        StartParser();
    }
    ~CsvReader() override { csv_free(&parser_); }
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    bool Fill(RecordBlock& block, std::size_t maxItems, std::size_t maxBytes) override
    {
        block_ = &block;
        // A record's fields all go to one block: it ends only between records.
        while (!ended_ && (!header_ || recordOpen_ || (block.Items.size() < maxItems && block.Bytes.size() < maxBytes))) {
            const auto piece = input_.Next();
            bytesRead_ = input_.BytesRead();
            if (!piece) {
                Finish();
                break;
            }
            Feed(*piece);
            if (!problem_.empty()) {
                return false;
            }
        }
        block_ = nullptr;
        return !ended_ && problem_.empty();
    }

    void Decode(const RecordBlock& block, const RecordBlock::Item& item, BatchRecord& record) const override
    {
        if (item.Count != columns_.size()) {
            record.Error = "the record has " + DecimalText(item.Count) + " fields where the header names "
                + DecimalText(static_cast<long long>(columns_.size()));
            return;
        }
        FieldValues values;
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            if (!columns_[column]) {
                continue;
            }
            const auto [offset, length] = block.Fields[item.First + column];
            std::string_view text(block.Bytes.data() + offset, length);
            const auto field = static_cast<std::size_t>(*columns_[column]);
            if (!IsWellFormedUtf8(text)) {
                record.Error = "the field " + Quoted(FieldNames[field]) + " is not valid UTF-8";
                return;
            }
            values[field] = std::string(text);
        }
        record.Id = std::move(values[static_cast<std::size_t>(Field::Id)]);
        FillBirth(values, record);
    }

private:
    void StartParser()
    {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
        // Blanks belong to the field, as RFC 4180 has it.
        csv_set_space_func(&parser_, [](unsigned char) { return 0; });
    }

    void RestartParser()
    {
        csv_free(&parser_);
        StartParser();
    }

    static bool IsBlankLine(std::string_view text) { return text.find_first_not_of("\r\n") == std::string_view::npos; }

    void Feed(const LineInput::Piece& piece)
    {
        const std::uint64_t lineNumber = line_ + 1;
        if (piece.EndsLine) {
            ++line_;
        }
        if (skippingLine_) {
            skippingLine_ = !piece.EndsLine;
            return;
        }
        if (!recordOpen_ && !IsBlankLine(piece.Text)) {
            OpenRecord(lineNumber);
        }
        currentLine_ = lineNumber;
        const std::size_t used = csv_parse(&parser_, piece.Text.data(), piece.Text.size(), OnField, OnRecordEnd, this);
        if (used < piece.Text.size()) {
            DropRecord(csv_error(&parser_) == CSV_EPARSE
                    ? "a quote is out of place in field " + DecimalText(static_cast<long long>(FieldsInRecord() + 1))
                    : std::string(csv_strerror(csv_error(&parser_))));
            skippingLine_ = !piece.EndsLine;
            return;
        }
        recordBytes_ = recordOpen_ ? recordBytes_ + piece.Text.size() : 0;
        if (recordBytes_ > MaxRecordBytes || parser_.entry_pos > MaxRecordBytes) {
            DropRecord(TooLong());
            skippingLine_ = !piece.EndsLine;
        }
    }

    void Finish()
    {
        ended_ = true;
        if (input_.Failed()) {
            problem_ = ReadFailure;
            return;
        }
        if (csv_fini(&parser_, OnField, OnRecordEnd, this) != 0) {
            DropRecord("a quoted field is not closed at the end of the input");
        }
        if (!header_ && problem_.empty()) {
            problem_ = "the input is empty: a CSV file starts with a header line naming its columns";
        }
    }

    void OpenRecord(std::uint64_t lineNumber)
    {
        recordOpen_ = true;
        recordLine_ = lineNumber;
        recordBytes_ = 0;
        if (block_ != nullptr) {
            recordFirstField_ = block_->Fields.size();
            recordFirstByte_ = block_->Bytes.size();
        }
        headerFields_.clear();
    }

    [[nodiscard]] std::size_t FieldsInRecord() const
    {
        return header_ ? block_->Fields.size() - recordFirstField_ : headerFields_.size();
    }

    // The record cannot be read: it gives an error line, or, as the header,
    // makes the input unusable. The parser starts again after it, unless the
    // record ended well (and the parser is the caller).
    void DropRecord(std::string error, bool restartParser = true)
    {
        if (restartParser) {
            RestartParser();
        }
        if (!recordOpen_) {
            OpenRecord(currentLine_);
        }
        recordOpen_ = false;
        if (!header_) {
            problem_ = "the header line cannot be read: " + error;
            return;
        }
        block_->Fields.resize(recordFirstField_);
        block_->Bytes.resize(recordFirstByte_);
        block_->Items.push_back({recordLine_, 0, 0, std::move(error)});
    }

    static void OnField(void* data, std::size_t size, void* self)
    {
        static_cast<CsvReader*>(self)->AddField({static_cast<const char*>(data), data == nullptr ? 0 : size});
    }
    static void OnRecordEnd(int, void* self) { static_cast<CsvReader*>(self)->EndRecord(); }

    void AddField(std::string_view text)
    {
        if (!recordOpen_) {
            OpenRecord(currentLine_); // a record after a lone CR on the same line
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
            return;
        }
        recordOpen_ = false;
        if (!header_) {
            ReadHeader();
            return;
        }
        if (block_->Bytes.size() - recordFirstByte_ > MaxRecordBytes) {
            recordOpen_ = true;
            DropRecord(TooLong(), false);
            return;
        }
        block_->Items.push_back({recordLine_, static_cast<std::uint32_t>(recordFirstField_),
            static_cast<std::uint32_t>(block_->Fields.size() - recordFirstField_), {}});
    }

    void ReadHeader()
    {
        std::array<bool, FieldCount> named {};
        for (const std::string& name : headerFields_) {
            const auto field = FieldNamed(name);
            if (field && named[static_cast<std::size_t>(*field)]) {
                problem_ = "the header names the column " + Quoted(name) + " twice";
                return;
            }
            if (field) {
                named[static_cast<std::size_t>(*field)] = true;
            }
            columns_.push_back(field); // a column of another name is left alone
        }
        for (std::size_t i = 0; i < FieldCount; ++i) {
            if (IsRequired(static_cast<Field>(i)) && !named[i]) {
                problem_ = "the header names no column " + Quoted(FieldNames[i]);
                return;
            }
        }
        header_ = true;
    }

    LineInput input_;
    csv_parser parser_ {};
    RecordBlock* block_ = nullptr;
    std::vector<std::optional<Field>> columns_; // the field of each column, if one
    std::vector<std::string> headerFields_;
    bool header_ = false, ended_ = false, recordOpen_ = false, skippingLine_ = false;
    std::uint64_t line_ = 0, currentLine_ = 1, recordLine_ = 0;
    std::size_t recordFirstField_ = 0, recordFirstByte_ = 0, recordBytes_ = 0;
};

} // namespace

std::unique_ptr<RecordReader> MakeRecordReader(RecordFormat format, std::istream& in)
{
    if (format == RecordFormat::Csv) {
        return std::make_unique<CsvReader>(in);
    }
    return std::make_unique<JsonLinesReader>(in);
}

std::string WellFormedUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::size_t length = byte < 0x80U ? 1 : DecodeUtf8(text, pos).Length;
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++pos;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
    return out;
}

} // namespace halvaro::cli
