#pragma once

#include "calculation/Reading.h"

#include <string>
#include <string_view>

namespace halvaro::cli {

// The result screen as text: per graha the name and sign lines, then the
// position and planets lines, the right column aligned.
std::string ReadingText(const modVedicGrahaDrishti::ResultTexts& results);

// The reading as one JSON object, with the engine's texts and ayanamsa, then
// the Lagna's and Ketu's short position texts (the Lagna null when the reading
// has none) and last the name of its sky model, and a line end.
std::string ReadingJson(const Reading& reading);

// The members of that object, without its braces: what a batch line holds
// after its "line" and "id". A key added here appears in both outputs.
void AppendReadingJsonMembers(std::string& json, const Reading& reading);

// The line the text output adds for a reading of the precise sky; empty for
// the classic model, whose output stays as it always was.
std::string SkyLine(const Reading& reading);

// A JSON string literal, quotes included; UTF-8 is kept as it is.
std::string JsonString(std::string_view text);
void AppendJsonString(std::string& json, std::string_view text);

// The ayanamsa as JSON writes it: seventeen significant digits give the
// double back exactly, in any locale; null when not finite.
void AppendJsonNumber(std::string& json, double value);

// One reading as a row of CSV fields, in the order of ReadingCsvHeader:
// the eight short positions, the Moon text, the ayanamsa and the 32 texts.
void AppendReadingCsvFields(std::string& csv, const Reading& reading);
// Their names, comma-separated.
std::string ReadingCsvHeader();
// How many fields AppendReadingCsvFields writes.
int ReadingCsvFieldCount();

// One CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& csv, std::string_view text);

} // namespace halvaro::cli
