#pragma once

#include "core/BirthData.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvaro::cli {

// The value syntax of the birth data, shared by the command-line options and
// the fields of a batch record. Each parser fills its part of the entries or
// returns what is wrong, led by `label`: the option ("--date") or the field
// ("date") the value came from.
using ValueError = std::optional<std::string>;

ValueError ParseDate(std::string_view label, std::string_view value, BirthData& entries);   // YYYY-MM-DD
ValueError ParseTime(std::string_view label, std::string_view value, BirthData& entries);   // HH:MM
ValueError ParseZone(std::string_view label, std::string_view value, BirthData& entries);   // list position
ValueError ParseLatitude(std::string_view label, std::string_view value, BirthData& entries);  // DD:MM then N or S
ValueError ParseLongitude(std::string_view label, std::string_view value, BirthData& entries); // DDD:MM then E or W
// A record's daylight-saving field: true or false in any case; empty is false.
ValueError ParseDaylightSaving(std::string_view label, std::string_view value, BirthData& entries);

// 'value', as the messages quote what was given.
std::string Shown(std::string_view value);

} // namespace halvaro::cli
