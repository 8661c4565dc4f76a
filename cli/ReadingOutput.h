#pragma once

#include "atlas/Atlas.h"
#include "calculation/Reading.h"
#include "core/Birth.h"
#include "fullreading/FullReading.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvaro::cli {

// The output goes straight into RapidJSON's buffer, JSON and CSV alike.
using OutputBuffer = rapidjson::StringBuffer;
using JsonWriter = rapidjson::Writer<OutputBuffer>;

// The result screen as text: per graha the name and sign lines, then the
// position and planets lines, the right column aligned; then, for the
// precise sky only, a line naming it.
std::string ReadingText(const Reading& reading);

// --details: the positions table and the maha dasha table, the dasha
// running at `todayJulianDay` (UT) marked; empty when the reading has none.
std::string DetailsSection(const Reading& reading, double todayJulianDay);

// What an output shows beside the reading: the birth it came from, the IANA
// zone its offset came from (empty: none), and for a single reading the
// grahas the precise sky places elsewhere (a batch leaves them out: each
// costs a precise computation).
struct ReadingContext {
    const Birth& BirthValue;
    std::string_view TimeZone;
    const std::vector<fullreading::SkyDifference>* SkyDiffers = nullptr;
};

// The reading as one JSON object and a line end: the engine's texts and
// ayanamsa, the result rows, the Lagna's (null when the reading has none)
// and Ketu's short positions, the name of its sky model, then SkyDiffers
// (when given), Grahas, Dasha and Birth.
std::string ReadingJson(const Reading& reading, const ReadingContext& context);

// The members of that object, into an object the writer has started: what a
// batch line holds after its "line" and "id".
void WriteReadingMembers(JsonWriter& json, const Reading& reading, const ReadingContext& context);

// The CSV columns of a reading: the eight short positions, the Moon text,
// the ayanamsa and the 32 texts, the Lagna's and Ketu's short positions and
// the sky, then nakshatra, pada and Navamsa sign of the nine grahas and the
// Lagna; their names, comma-separated; and a row.
std::string ReadingCsvHeader();
inline constexpr int ReadingCsvFieldCount = 8 + 2 + 8 * 4 + 3 + 10 * 3;
void AppendReadingCsvFields(OutputBuffer& csv, const Reading& reading);

// The places --find-place found as one JSON array and a line end: Name,
// State, Country, CountryCode, Latitude and Longitude (signed degrees),
// TimeZone, Population.
std::string PlacesJson(const std::vector<atlas::Place>& places);

// One CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(OutputBuffer& csv, std::string_view text);
void Append(OutputBuffer& out, std::string_view bytes);

} // namespace halvaro::cli
