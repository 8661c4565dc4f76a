#pragma once

#include "atlas/Atlas.h"
#include "core/Birth.h"
#include "fullreading/FullReading.h"
#include "panchanga/Panchanga.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <bitset>
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
std::string ReadingText(const fullreading::FullReading& reading);

// --details: the positions table and the maha dasha table, the dasha
// running at `todayJulianDay` (UT) marked; empty when the reading has none.
// With `dashaLevels` 3, the running antar dasha's pratyantars; then the
// Yogini dasha, the ashtakavarga, the panchanga, the vargas with the
// Vimshopaka and the houses where the reading has them.
std::string DetailsSection(const fullreading::FullReading& reading, double todayJulianDay, int dashaLevels = 1);
// Its panchanga part; empty when the reading has none.
std::string PanchangaSection(const fullreading::FullReading& reading);

// What an output shows of a reading: the reading, the birth it came from and
// the IANA zone its offset came from (empty: none).
// The Vimshottari's maha and antar dashas are always written; DashaLevels 3
// adds the pratyantars.
struct OutputContext {
    const fullreading::FullReading& Reading;
    const Birth& BirthValue;
    std::string_view TimeZone;
    int DashaLevels = 1;
};

// The groups of keys an output holds, in the order of the JSON object and of
// the CSV columns. One table says for each its JSON key, its CSV columns and
// what of the reading must be computed for it.
enum class OutputGroup {
    GrahaPositionTexts, MoonPositionText, Ayanamsa, Rows, Lagna, Ketu, Sky, SkyDiffers, Grahas, Dasha, Birth, Conventions,
    Panchanga, YoginiDasha, Ashtakavarga, Vargas, Vimshopaka, Houses, Count
};
inline constexpr auto OutputGroupCount = static_cast<std::size_t>(OutputGroup::Count);
using OutputGroups = std::bitset<OutputGroupCount>;

// A CSV row's fields, comma-separated as they are added.
class CsvFields {
public:
    explicit CsvFields(OutputBuffer& out) : out_(out) {}
    void Add(std::string_view text);     // quoted when it must be
    void AddRaw(std::string_view bytes); // known to need no quotes
    void AddEmpty(std::size_t count);

private:
    void Separate();
    OutputBuffer& out_;
    bool first_ = true;
};

struct OutputGroupRow {
    std::string_view Name; // the JSON key
    fullreading::ReadingParts Needs;
    void (*Json)(JsonWriter& json, const OutputContext& context);
    // Appends the group's column names, each led by a comma; none for most.
    void (*CsvHeader)(std::string& header);
    void (*Csv)(CsvFields& fields, const OutputContext& context);
    std::size_t CsvWidth;
};
extern const std::array<OutputGroupRow, OutputGroupCount> OutputGroupTable;

// Every group; a batch line holds the groups up to Conventions but
// SkyDiffers, which costs a precise computation for each record: the groups
// after them (the panchanga, some hundreds of precise computations; the
// houses, one; the tables of the vargas and the ashtakavarga) would make
// every line of an existing batch longer and slower, so --fields asks for them.
inline const OutputGroups AllOutputGroups = OutputGroups().set();
inline const OutputGroups BatchOutputGroups = [] {
    OutputGroups groups;
    for (std::size_t group = 0; group <= static_cast<std::size_t>(OutputGroup::Conventions); ++group) {
        groups.set(group);
    }
    return groups.reset(static_cast<std::size_t>(OutputGroup::SkyDiffers));
}();

// What must be computed for the groups.
fullreading::ReadingParts PartsFor(const OutputGroups& groups);

// The groups a comma-separated list names by their JSON keys, in any order;
// for a name no group has, why, with every name.
std::optional<std::string> OutputGroupsNamed(std::string_view list, OutputGroups& groups);

// The groups' JSON keys in order, joined by `separator`.
std::string OutputGroupNames(const OutputGroups& groups, std::string_view separator);

// The reading as one JSON object and a line end: the groups' members.
std::string ReadingJson(const OutputContext& context, const OutputGroups& groups);

// The groups' members into an object the writer has started: what a batch
// line holds after its "line" and "id".
void WriteReadingMembers(JsonWriter& json, const OutputContext& context, const OutputGroups& groups);

// The groups' CSV column names, comma-separated; their number; and a row.
std::string ReadingCsvHeader(const OutputGroups& groups);
std::size_t ReadingCsvFieldCount(const OutputGroups& groups);
void AppendReadingCsvFields(OutputBuffer& csv, const OutputContext& context, const OutputGroups& groups);

// --panchanga --json: the day's panchanga as one JSON object and a line
// end: Date, Place, Ayanamsa; Tithi, Nakshatra, Yoga and Karana, each a list
// from the day's start with Number, Name (a tithi's Paksha), Start and End;
// Vara; Sunrise, Sunset, NextSunrise, Moonrise, Moonset; RahuKala,
// Yamaganda, GulikaKala and AbhijitMuhurta as {"Start", "End"};
// SunriseConvention. Times as the birth's panchanga has them, null where none.
std::string DayPanchangaJson(const panchanga::DayPanchanga& day, std::string_view placeName, std::string_view ayanamsaName);

// The places --find-place found as one JSON array and a line end: Name,
// State, Country, CountryCode, Latitude and Longitude (signed degrees),
// TimeZone, Population.
std::string PlacesJson(const std::vector<atlas::Place>& places);

// One CSV field, quoted when it holds a comma, a quote or a line break.
void AppendCsvField(OutputBuffer& csv, std::string_view text);
void Append(OutputBuffer& out, std::string_view bytes);

} // namespace halvaro::cli
