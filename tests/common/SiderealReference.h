// The Swiss Ephemeris's own sidereal positions, made once outside the program
// (tests/data/sky/sidereal-reference.tsv; its header says how).
#pragma once

#include "core/Birth.h"
#include "core/Conventions.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace halvaro::testing {

// The table's user row: 24.1 degrees at 0h UT of 2024-03-21, as its header says.
inline constexpr UserAyanamsa ReferenceUserAyanamsa {24.1, 2024, 3, 21};
// The table's ascendants are New Delhi's, 28 39 N 77 13 E.
inline constexpr double ReferenceLatitudeDeg = 28 + 39 / 60.0, ReferenceLongitudeDeg = 77 + 13 / 60.0;

struct SiderealRow {
    std::string Ayanamsa; // as --ayanamsa names it, or "user"
    AyanamsaSystem System = AyanamsaSystem::Count;
    CivilDateTime Local;
    int OffsetMinutes = 0;
    double JulianDayUt = 0;
    double AyanamsaDeg = 0; // positive, as the library gives it
    // Sun .. Saturn, Rahu as the mean and as the true node.
    std::array<double, 7> Planets {};
    double RahuMean = 0, RahuTrue = 0, Ascendant = 0;

    // The row's conventions in the precise sky, with the node given.
    [[nodiscard]] Conventions With(NodeKind node) const
    {
        return {SkyModel::Precise, System, ReferenceUserAyanamsa, node};
    }
    // The eight sidereal longitudes with that node's Rahu.
    [[nodiscard]] std::array<double, 8> Longitudes(NodeKind node) const
    {
        std::array<double, 8> eight {};
        std::copy(Planets.begin(), Planets.end(), eight.begin());
        eight[7] = node == NodeKind::True ? RahuTrue : RahuMean;
        return eight;
    }
};

inline void PrintTo(const SiderealRow& row, std::ostream* os) { *os << row.Ayanamsa << ' ' << row.Local.Year; }

// Every row; none when the file cannot be read or a row is malformed (the
// caller checks the count).
inline std::vector<SiderealRow> SiderealRows(const std::string& path)
{
    std::vector<SiderealRow> rows;
    std::ifstream file(path);
    std::string line;
    std::getline(file, line); // the column names follow the comments
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.starts_with("ayanamsa\t")) {
            continue;
        }
        SiderealRow row;
        std::array<char, 32> name {};
        CivilDateTime& t = row.Local;
        std::array<double, 7>& p = row.Planets;
        const int read = std::sscanf(line.c_str(), "%31s %d-%d-%dT%d:%d %d %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf",
            name.data(), &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute, &row.OffsetMinutes, &row.JulianDayUt,
            &row.AyanamsaDeg, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &row.RahuMean, &row.RahuTrue,
            &row.Ascendant);
        row.Ayanamsa = name.data();
        for (std::size_t i = 0; i < AyanamsaTable.size(); ++i) {
            if (AyanamsaTable[i].Option == row.Ayanamsa) {
                row.System = static_cast<AyanamsaSystem>(i);
            }
        }
        if (read != 19 || row.System == AyanamsaSystem::Count) {
            return {};
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace halvaro::testing
