#pragma once

#include "calculation/Reading.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>
#include <string_view>

namespace halvaro::cli {

// The output goes straight into RapidJSON's buffer, JSON and CSV alike.
using OutputBuffer = rapidjson::StringBuffer;
using JsonWriter = rapidjson::Writer<OutputBuffer>;

// The result screen as text: per graha the name and sign lines, then the
// position and planets lines, the right column aligned; then, for the
// precise sky only, a line naming it.
std::string ReadingText(const Reading& reading);

// The reading as one JSON object and a line end: the engine's texts and
// ayanamsa, the result rows, the Lagna's (null when the reading has none)
// and Ketu's short positions, and last the name of its sky model.
std::string ReadingJson(const Reading& reading);

// The members of that object, into an object the writer has started: what a
// batch line holds after its "line" and "id".
void WriteReadingMembers(JsonWriter& json, const Reading& reading);

// The CSV columns of a reading: the eight short positions, the Moon text,
// the ayanamsa and the 32 texts; their names, comma-separated; and a row.
std::string ReadingCsvHeader();
inline constexpr int ReadingCsvFieldCount = 8 + 2 + 8 * 4;
void AppendReadingCsvFields(OutputBuffer& csv, const Reading& reading);

// One CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(OutputBuffer& csv, std::string_view text);
void Append(OutputBuffer& out, std::string_view bytes);

} // namespace halvaro::cli
