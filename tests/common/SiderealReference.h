// The Swiss Ephemeris's own sidereal positions, made once outside the program
// (tests/data/sky/sidereal-reference.tsv; its header says how).
#pragma once

#include "core/Birth.h"
#include "core/Conventions.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace halvaro::testing {

// The table's user value and the place of its ascendants, as its header says.
inline constexpr UserAyanamsa ReferenceUserAyanamsa {24.1, 2024, 3, 21};
inline constexpr double ReferenceLatitudeDeg = 28 + 39 / 60.0, ReferenceLongitudeDeg = 77 + 13 / 60.0;

struct SiderealRow {
    std::string Ayanamsa; // as --ayanamsa names it, or "user"
    AyanamsaSystem System = AyanamsaSystem::Count;
    CivilDateTime Local;
    int OffsetSeconds = 0; // local time less Universal Time
    double JulianDayUt = 0, AyanamsaDeg = 0; // the ayanamsa positive, as the library gives it
    // Sun .. Saturn, then Rahu as the mean node, as the true node, then the ascendant.
    std::array<double, 10> Degrees {};

    [[nodiscard]] Conventions With(NodeKind node) const { return {SkyModel::Precise, System, ReferenceUserAyanamsa, node}; }
    // The eight sidereal longitudes with that node's Rahu.
    [[nodiscard]] std::array<double, 8> Longitudes(NodeKind node) const
    {
        const auto& d = Degrees;
        return {d[0], d[1], d[2], d[3], d[4], d[5], d[6], node == NodeKind::True ? d[8] : d[7]};
    }
    [[nodiscard]] double Ascendant() const { return Degrees[9]; }
    // A checked birth at the row's local time, offset (to the nearest minute
    // and the seconds left) and place.
    [[nodiscard]] Birth BirthAt() const
    {
        Birth birth;
        birth.Local = Local;
        const int minutes = (OffsetSeconds + (OffsetSeconds < 0 ? -30 : 30)) / 60;
        birth.UtcOffsetMinutes = minutes;
        birth.UtcOffsetExtraSeconds = OffsetSeconds - minutes * 60;
        birth.LatitudeDeg = ReferenceLatitudeDeg;
        birth.LongitudeDeg = ReferenceLongitudeDeg;
        return birth;
    }
};

inline void PrintTo(const SiderealRow& row, std::ostream* os) { *os << row.Ayanamsa << ' ' << row.Local.Year; }

// Every row; none when the file cannot be read or a row is malformed (the
// caller checks the count).
inline std::vector<SiderealRow> SiderealRows(const std::string& path)
{
    std::vector<SiderealRow> rows;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#' || line.starts_with("ayanamsa\t")) {
            continue;
        }
        SiderealRow row;
        std::array<char, 32> name {};
        CivilDateTime& t = row.Local;
        auto& d = row.Degrees;
        const int read = std::sscanf(line.c_str(), "%31s %d-%d-%dT%d:%d %d %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf",
            name.data(), &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute, &row.OffsetSeconds, &row.JulianDayUt,
            &row.AyanamsaDeg, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6], &d[7], &d[8], &d[9]);
        row.Ayanamsa = name.data();
        for (std::size_t i = 0; i < AyanamsaTable.size(); ++i) {
            row.System = AyanamsaTable[i].Option == row.Ayanamsa ? static_cast<AyanamsaSystem>(i) : row.System;
        }
        if (read != 19 || row.System == AyanamsaSystem::Count) {
            return {};
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace halvaro::testing
