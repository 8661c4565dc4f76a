#pragma once

#include "core/BirthData.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro::cli {

// The fields of a birth, one table for the command-line options ("--date")
// and the batch records' fields and columns ("date"): the same names, values
// and messages. Id is a record's only, copied to its output line.
enum class Field { Name, Date, Time, Zone, Lat, Lon, Dst, City, State, Country, Id, Count };
inline constexpr auto FieldCount = static_cast<std::size_t>(Field::Count);

struct FieldSpec {
    std::string_view Name;
    std::string_view Syntax; // as the help shows the value
    std::string_view Help;
    bool Required; // in a record: dst may be left out (false), id is only copied
};

extern const std::array<FieldSpec, FieldCount> Fields;

// The field a record's key or column names, in any case.
std::optional<Field> FieldNamed(std::string_view name);

// Why a value was refused, led by its option or field; nothing when taken.
using ValueError = std::optional<std::string>;

// Puts one value into the birth data, or says what is wrong with it. `exact`
// asks for the documented digits (a record's YYYY-MM-DD and HH:MM); the
// options have always also taken a single digit ("9:00").
ValueError SetField(Field field, std::string_view label, std::string_view value, BirthData& birth, bool exact);

// The values of a record, in table order: its birth data, or the first
// value refused. A value left out is empty.
using FieldValues = std::array<std::string_view, FieldCount>;
ValueError FillBirth(const FieldValues& values, BirthData& birth);

// 'value', as the messages quote what was given, its control characters
// escaped so that a message cannot steer the terminal it is printed on.
std::string Shown(std::string_view value);

} // namespace halvaro::cli
