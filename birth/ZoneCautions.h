#pragma once

// Zone choices that give a wrong offset without a word: each is a question
// to put to the user before calculating, or nothing when all is plain.

#include "core/Birth.h"

#include <optional>
#include <string>

namespace halvaro::birth {

// A list entry whose name already counts daylight saving (Daylight, Summer,
// War time) with the daylight-saving box ticked as well: one hour too many
// (New York 1980-10-26 01:30, EDT and the box: UTC-03:00).
std::optional<std::string> DaylightTwiceQuestion(const Birth& birth);

// An offset more than three hours from the mean time of the birth's
// longitude: a zone left at the list's first entry, as often as not.
std::optional<std::string> FarFromMeanTimeQuestion(const Birth& birth);

// How far an offset may lie from the longitude's mean time before asking.
inline constexpr int FarFromMeanTimeSeconds = 3 * 3600;

} // namespace halvaro::birth
