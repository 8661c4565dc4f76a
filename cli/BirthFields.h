#pragma once

#include "atlas/Atlas.h"
#include "atlas/ZoneHistory.h"
#include "core/Birth.h"
#include "core/BirthData.h"
#include "core/Conventions.h"
#include "core/InputChecks.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::cli {

// The fields of a birth, one table for the command-line options ("--date")
// and the batch records' fields and columns ("date"): the same names, values
// and messages. Id is a record's only, copied to its output line. A place
// of the atlas stands for lat, lon, city, state and country; an IANA zone
// or an offset for the zone; a place alone gives its zone too.
enum class Field { Name, Date, Time, Zone, Lat, Lon, Dst, City, State, Country, Place, Tz, UtcOffset, Id, Count };
inline constexpr auto FieldCount = static_cast<std::size_t>(Field::Count);

struct FieldRow {
    std::string_view Name;
    std::string_view Syntax; // as the help shows the value
    std::string_view Help;
    bool Required; // unless another field stands for it (see MissingField)
};

extern const std::array<FieldRow, FieldCount> Fields;

// The field a record's key or column names, in any case.
std::optional<Field> FieldNamed(std::string_view name);

// The option or key of a field: "--utc-offset" for the record's "utc_offset".
std::string OptionName(Field field);

// The first needed field not given, where a place stands for the
// coordinates and names, and a place, a tz or an offset for the zone.
std::optional<Field> MissingField(const std::array<bool, FieldCount>& given);

// A birth as the options or a record give it, before the atlas is asked.
struct BirthRequest {
    BirthData Entries;
    std::string Place, TimeZone; // empty when not given
    std::optional<int> UtcOffsetMinutes;
    bool LocalMeanTime = false; // utc_offset lmt
    std::optional<bool> Dst; // as given: in an overlap, daylight or standard
    bool ZoneGiven = false;  // a list position
    std::optional<ExactOffset> Offset; // as a reading file keeps it, in place of all the above
};

// The atlas, loaded on first use (about 0.1 s), then shared read-only.
class AtlasOnce {
public:
    [[nodiscard]] const atlas::AtlasLoad& Get() const
    {
        std::call_once(once_, [this] { load_ = atlas::LoadAtlas(); });
        return *load_;
    }

private:
    mutable std::once_flag once_;
    mutable std::optional<atlas::AtlasLoad> load_;
};

struct ResolvedBirth {
    std::optional<std::string> Error; // the place, the zone or an input check refused
    Birth Value;
};

// The checked birth of a request, on the window's road (birth/): the place
// of its text, then what birth::ResolveBirth makes of it.
ResolvedBirth ResolveBirth(const BirthRequest& request, const AtlasOnce& places, atlas::ZoneCache& zones,
    const Conventions& conventions);

// The longest place or zone text taken: the longest names of either are
// far shorter, and a text of any length would be searched for its closest
// names.
inline constexpr std::size_t MaxNameBytes = 200;

// Why a value was refused, led by its option or field; nothing when taken.
using ValueError = std::optional<std::string>;

// Puts one value into the birth request, or says what is wrong with it.
// `exact` asks for the digits the help names (a record's YYYY-MM-DD and HH:MM);
// the options have always also taken a single digit ("9:00").
ValueError SetField(Field field, std::string_view label, std::string_view value, BirthRequest& birth, bool exact);

// The values of a record, in table order: its birth data, or the first
// value refused. A value left out is empty.
using FieldValues = std::array<std::string_view, FieldCount>;
ValueError FillBirth(const FieldValues& values, BirthRequest& birth);

// 'value', as the messages quote what was given, its control characters
// escaped so that a message cannot steer the terminal it is printed on.
std::string Shown(std::string_view value);

} // namespace halvaro::cli
