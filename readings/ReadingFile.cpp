#include "readings/ReadingFile.h"

#include "files/FileRead.h"
#include "files/FileReplace.h"
#include "core/Angles.h"
#include "core/InputChecks.h"
#include "core/Ranges.h"
#include "core/Text.h"
#include "readings/ReadingExtras.h"
#include "readings/Scramble.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>
#include <system_error>
#include <vector>

namespace halvaro::readings {

namespace fs = std::filesystem;

namespace {

// The highest code that still has a scrambled form (170 + 85 = 255), and the
// lowest stored byte that has an unscrambled one.
constexpr char32_t HighestStorableCode = 170;
constexpr unsigned char LowestStoredByte = 85;

// How each line is called in messages, line 1 first.
// Kept as characters, not pointers, so that the tables hold no address.
constexpr char LineNames[ReadingLineCount][20] {
    "name", "month", "day", "year", "hour", "minute", "time zone",
    "longitude degrees", "longitude minutes", "latitude degrees", "latitude minutes",
    "East/West", "North/South", "daylight saving", "city", "state", "country",
};

// The same fields as the window labels them, for save errors the user reads.
constexpr char FieldLabels[ReadingLineCount][20] {
    "Name", "Month", "Day", "Year", "Hour", "Minute", "Time Zone",
    "Longitude degrees", "Longitude minutes", "Latitude degrees", "Latitude minutes",
    "East/West", "North/South", "Daylight Saving", "City", "State", "Country",
};

std::string Decimal(int value)
{
    return DecimalText(value);
}

std::string TruthText(bool value)
{
    return value ? "True" : "False";
}

std::string CodePointLabel(char32_t code)
{
    std::array<char, 16> hex {};
    const auto [end, ec] = std::to_chars(hex.data(), hex.data() + hex.size(), static_cast<std::uint32_t>(code), 16);
    (void)ec;
    std::string digits(hex.data(), end);
    for (char& c : digits) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    while (digits.size() < 4) {
        digits.insert(digits.begin(), '0');
    }
    return "U+" + digits;
}

// A field's UTF-8 text as single-byte codes, or the reason it has none.
struct StoredCodes {
    std::optional<std::string> Codes;
    std::string Error;
};

StoredCodes ToStoredCodes(std::string_view utf8, std::string_view label)
{
    std::string codes;
    codes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const Utf8Character d = DecodeUtf8(utf8, pos);
        if (d.Length == 0) {
            return {std::nullopt,
                "The " + std::string(label) + " field holds text that is not valid UTF-8; the reading was not saved."};
        }
        if (d.Code > HighestStorableCode) {
            return {std::nullopt,
                "The " + std::string(label) + " field holds the character \"" + std::string(utf8.substr(pos, d.Length))
                    + "\" (" + CodePointLabel(d.Code)
                    + "), which a reading file cannot store; the reading was not saved."};
        }
        codes.push_back(static_cast<char>(static_cast<unsigned char>(d.Code)));
        pos += d.Length;
    }
    return {std::move(codes), {}};
}

std::string StoredCodesToUtf8(std::string_view codes)
{
    std::string utf8;
    utf8.reserve(codes.size() * 2);
    for (const char c : codes) {
        AppendUtf8(utf8, static_cast<unsigned char>(c));
    }
    return utf8;
}

// The lists of the input screen, by line number (1-based) of the file.
std::optional<ListRange> ListOfLine(int line)
{
    switch (line) {
    case 2: return MonthRange;
    case 3: return DayRange;
    case 4: return YearRange;
    case 5: return HourRange;
    case 6: return MinuteRange;
    case 7: return ZoneRange;
    default: return std::nullopt;
    }
}

// A number as the lists label their lines: digits only, no sign, blank or
// leading zero.
std::optional<int> ParseListNumber(std::string_view text, ListRange list)
{
    if (text.size() > 1 && text.front() == '0') {
        return std::nullopt;
    }
    const auto value = DigitsNumber(text, 4);
    if (!value || !list.Contains(*value)) {
        return std::nullopt;
    }
    return value;
}

// "True" or "False" in any letter case, or a decimal number: non-zero is
// true, zero false.
std::optional<bool> ParseTruth(std::string_view text)
{
    if (EqualsIgnoringCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(text, "false")) {
        return false;
    }
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        rest.remove_prefix(1);
    }
    bool sawDigit = false;
    bool sawPoint = false;
    bool nonZero = false;
    for (const char c : rest) {
        if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else if (c >= '0' && c <= '9') {
            sawDigit = true;
            nonZero = nonZero || c != '0';
        } else {
            return std::nullopt;
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }
    return nonZero;
}

OpenResult Refuse(std::string reason)
{
    return {std::nullopt, std::move(reason), std::nullopt, std::nullopt};
}

std::string LineLabel(int line)
{
    return "line " + Decimal(line) + " (" + std::string(LineNames[line - 1]) + ")";
}

// Lines 15 to 17, the place, may be missing (they open as empty texts); a
// file that stops before is cut short.
constexpr int LeastLineCount = 14;

std::string SaveFailure(const fs::path& path, std::string_view reason)
{
    return "The reading could not be saved to " + files::QuotedPath(path) + ": " + std::string(reason) + ".";
}

// The free-text lines: a name or place of blanks passes the input checks,
// but is stored as an empty line, which the same checks refuse on opening.
bool MustNotBeBlank(int line)
{
    return line == 1 || line >= 15;
}

// Four free-text lines at their limit and thirteen short fixed lines (six
// characters at most) stay under the file limit, so a writer that keeps every
// line to its limit never makes a file the reader refuses for its size.
static_assert(4 * (MaxReadingLineBytes + 2) + 13 * (6 + 2) <= MaxReadingFileBytes);

} // namespace

StoredLineCheck CheckStoredLine(std::string_view stored)
{
    if (stored.size() > MaxReadingLineBytes) {
        return {StoredLineCheck::Fault::TooLong, 0};
    }
    for (const char c : stored) {
        const auto code = static_cast<unsigned char>(c);
        if (code < LowestStoredByte) {
            return {StoredLineCheck::Fault::ByteWithoutField, code};
        }
    }
    return {};
}

BytesResult ReadingFileBytes(const Birth& birth, const Conventions& conventions)
{
    // An offset no entry gives keeps the nearest entry in line 7, for a
    // reader of the 17 lines; the lines after them keep the offset itself.
    const ZoneChoice entry = birth.Zone.value_or(ZoneChoice {NearestListEntry(UtcOffsetSecondsOf(birth)), false});
    const long long longitude = WholeArcMinutes(birth.LongitudeDeg);
    const long long latitude = WholeArcMinutes(birth.LatitudeDeg);
    const std::array<std::string, ReadingLineCount> fields {
        birth.Name,
        Decimal(birth.Local.Month),
        Decimal(birth.Local.Day),
        Decimal(birth.Local.Year),
        Decimal(birth.Local.Hour),
        Decimal(birth.Local.Minute),
        Decimal(entry.Position),
        DecimalText(longitude / 60),
        DecimalText(longitude % 60),
        DecimalText(latitude / 60),
        DecimalText(latitude % 60),
        TruthText(!std::signbit(birth.LongitudeDeg)),
        TruthText(std::signbit(birth.LatitudeDeg)),
        TruthText(entry.DaylightSaving),
        birth.City,
        birth.State,
        birth.Country,
    };

    std::string bytes;
    for (int line = 1; line <= ReadingLineCount; ++line) {
        const auto index = static_cast<std::size_t>(line - 1);
        const std::string_view label = FieldLabels[index];
        // A list value outside its list would make a file that no one could
        // open again; refuse it now rather than write it.
        if (const auto list = ListOfLine(line); list) {
            const std::string& text = fields[index];
            if (!ParseListNumber(text, *list)) {
                return {std::nullopt,
                    "The " + std::string(label) + " field holds " + text + ", outside its list (" + Decimal(list->First)
                        + " to " + Decimal(list->Last) + "); the reading was not saved."};
            }
        }
        const std::string trimmed = TrimBlanks(fields[index]);
        if (trimmed.empty() && MustNotBeBlank(line)) {
            return {std::nullopt,
                "The " + std::string(label) + " field is blank, and a reading saved without it could not be opened "
                    "again; the reading was not saved."};
        }
        StoredCodes stored = ToStoredCodes(trimmed, label);
        if (!stored.Codes) {
            return {std::nullopt, std::move(stored.Error)};
        }
        const std::string scrambled = modHelp::ScrambleText(*stored.Codes);
        if (CheckStoredLine(scrambled).Found != StoredLineCheck::Fault::None) {
            // Codes above 170 are refused above, so only the length is left.
            return {std::nullopt,
                "The " + std::string(label) + " field holds " + Decimal(static_cast<int>(stored.Codes->size()))
                    + " characters, more than the " + Decimal(static_cast<int>(MaxReadingLineBytes))
                    + " a reading file keeps in one field; the reading was not saved."};
        }
        bytes += scrambled;
        bytes += "\r\n";
    }
    // Written by this program from checked values: ASCII and short.
    for (const std::string& extra : ExtraLineTexts(birth, conventions)) {
        bytes += modHelp::ScrambleText(extra);
        bytes += "\r\n";
    }
    return {std::move(bytes), {}};
}

SaveResult SaveReadingFile(const fs::path& path, const Birth& birth, const Conventions& conventions)
{
    BytesResult content = ReadingFileBytes(birth, conventions);
    if (!content.Bytes) {
        return {false, std::move(content.Error)};
    }
    if (const auto reason = files::ReplaceFileContents(path, *content.Bytes)) {
        return {false, SaveFailure(path, *reason)};
    }
    return {true, {}};
}

OpenResult ParseReadingFile(std::string_view bytes)
{
    if (bytes.size() > MaxReadingFileBytes) {
        return Refuse("the file is far larger than a reading");
    }

    if (bytes.empty()) {
        return Refuse("the file is empty");
    }
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", pos);
        const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
        lines.push_back(bytes.substr(pos, stop - pos));
        pos = end == std::string_view::npos ? bytes.size() : end + 2;
    }
    std::vector<std::string> texts(std::max<std::size_t>(lines.size(), ReadingLineCount));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const StoredLineCheck check = CheckStoredLine(lines[i]);
        if (check.Found == StoredLineCheck::Fault::TooLong) {
            return Refuse((line <= ReadingLineCount ? LineLabel(line) : "line " + Decimal(line)) + " is far longer than any field");
        }
        if (check.Found == StoredLineCheck::Fault::ByteWithoutField) {
            return Refuse("line " + Decimal(line) + " is not in the reading file's form (was it edited as plain text?)");
        }
        texts[i] = modHelp::UnscrambleText(lines[i]);
    }
    if (lines.size() < LeastLineCount) {
        return Refuse("the file ends at line " + Decimal(static_cast<int>(lines.size())) + " of " + Decimal(ReadingLineCount));
    }

    std::array<int, 8> numbers {};
    for (int line = 2; line <= 7; ++line) {
        const ListRange list = *ListOfLine(line);
        const auto value = ParseListNumber(texts[static_cast<std::size_t>(line - 1)], list);
        if (!value) {
            return Refuse(LineLabel(line) + " is not a number from " + Decimal(list.First) + " to " + Decimal(list.Last));
        }
        numbers[static_cast<std::size_t>(line)] = *value;
    }
    std::array<bool, 3> truths {};
    for (int line = 12; line <= 14; ++line) {
        const auto value = ParseTruth(texts[static_cast<std::size_t>(line - 1)]);
        if (!value) {
            return Refuse(LineLabel(line) + " reads as neither true nor false");
        }
        truths[static_cast<std::size_t>(line - 12)] = *value;
    }

    const auto text = [&](int line) { return StoredCodesToUtf8(texts[static_cast<std::size_t>(line - 1)]); };
    BirthData reading;
    reading.Name = text(1);
    reading.Month = numbers[2];
    reading.Day = numbers[3];
    reading.Year = numbers[4];
    reading.Hour = numbers[5];
    reading.Minute = numbers[6];
    reading.ZonePosition = numbers[7];
    reading.LonDeg = text(8);
    reading.LonMin = text(9);
    reading.LatDeg = text(10);
    reading.LatMin = text(11);
    reading.East = truths[0];
    reading.West = !truths[0];
    reading.South = truths[1];
    reading.North = !truths[1];
    reading.DaylightSaving = truths[2];
    reading.City = text(15);
    reading.State = text(16);
    reading.Country = text(17);

    // Blank lines after the 17th are harmless; any other must be one of ours.
    std::vector<std::string_view> extras;
    std::vector<int> extraLines;
    for (std::size_t i = ReadingLineCount; i < lines.size(); ++i) {
        if (!texts[i].empty()) {
            extras.push_back(texts[i]);
            extraLines.push_back(static_cast<int>(i) + 1);
        }
    }
    ExtrasRead read = ReadExtraLines(extras, ZoneChoice {reading.ZonePosition, reading.DaylightSaving});
    if (!read.Reason.empty()) {
        return Refuse(read.BadLine ? "line " + Decimal(extraLines[static_cast<std::size_t>(*read.BadLine)]) + " " + read.Reason
                                   : std::move(read.Reason));
    }
    return {std::move(reading), {}, std::move(read.Offset), read.Chosen};
}

OpenResult OpenReadingFile(const fs::path& path)
{
    files::ReadFileResult file = files::ReadRegularFile(path, MaxReadingFileBytes);
    switch (file.Fault) {
    case files::ReadFault::None: break;
    case files::ReadFault::CannotRead: return Refuse("the file cannot be read: " + files::ErrnoText(file.Error));
    case files::ReadFault::NotPlainFile: return Refuse("it is not a plain file");
    case files::ReadFault::TooLarge: return Refuse("the file is far larger than a reading");
    }
    return ParseReadingFile(file.Bytes);
}

bool HasReadingExtension(std::string_view path)
{
    return path.size() >= 3 && path.substr(path.size() - 3) == "aha";
}

} // namespace halvaro::readings
