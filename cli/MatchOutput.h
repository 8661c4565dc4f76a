#pragma once

#include "cli/ReadingOutput.h"
#include "matching/Matching.h"

#include <cstddef>
#include <string>

// The match of two readings as halvaro-cli writes it: the JSON object, a
// pair batch's line and CSV columns.
namespace halvaro::cli {

// "Boy" and "Girl" (the readings' members of the groups) and "Match" (the
// kutas, total, verdict, doshas and Manglik findings), into an object the
// writer has started.
void WriteMatchMembers(JsonWriter& json, const OutputContext& boy, const OutputContext& girl, const OutputGroups& groups,
    const matching::Match& match);

// The whole object and a line end.
std::string MatchJson(const OutputContext& boy, const OutputContext& girl, const OutputGroups& groups,
    const matching::Match& match);

// A pair batch's CSV columns: the eight kutas' points, the total, verdict and
// doshas, each side's three Manglik findings and the cancellation.
std::string MatchCsvHeader();
std::size_t MatchCsvFieldCount();
void AppendMatchCsvFields(OutputBuffer& csv, const matching::Match& match);

} // namespace halvaro::cli
