#pragma once

#include "core/BirthData.h"
#include "core/InputChecks.h"

#include <array>
#include <string_view>

namespace halvaro::testing {

// The births of the worked readings whose position and result texts the
// tests and the command-line golden files check, as typed on the input screen.

// New Delhi, 15 June 1975, 10:30, "Indian Time, IST, +5.3", 28°39' N, 77°13' E.
inline BirthData Delhi1975()
{
    return {.Name = "Asha Rao", .LatDeg = "28", .LatMin = "39", .LonDeg = "77", .LonMin = "13",
        .City = "New Delhi", .State = "Delhi", .Country = "India",
        .North = true, .South = false, .East = true, .West = false, .DaylightSaving = false,
        .Day = 15, .Month = 6, .Year = 1975, .Hour = 10, .Minute = 30, .ZonePosition = 34};
}

// Greenwich, 1 January 2000, 12:00, "Greenwich Mean Time,GMT,0.0", 51°28' N, 0°0' W.
inline BirthData Greenwich2000()
{
    return {.Name = "Tom Reed", .LatDeg = "51", .LatMin = "28", .LonDeg = "0", .LonMin = "0",
        .City = "Greenwich", .State = "London", .Country = "United Kingdom",
        .North = true, .South = false, .East = false, .West = true, .DaylightSaving = false,
        .Day = 1, .Month = 1, .Year = 2000, .Hour = 12, .Minute = 0, .ZonePosition = 29};
}

// New York, 4 July 1990, 9:00, "Eastern Standard Time,EST,-5.0" with daylight
// saving, 40°43' N, 74°0' W.
inline BirthData NewYork1990()
{
    return {.Name = "Ruth Hale", .LatDeg = "40", .LatMin = "43", .LonDeg = "74", .LonMin = "0",
        .City = "New York", .State = "New York", .Country = "USA",
        .North = true, .South = false, .East = false, .West = true, .DaylightSaving = true,
        .Day = 4, .Month = 7, .Year = 1990, .Hour = 9, .Minute = 0, .ZonePosition = 27};
}

// The checked birth of entries that pass the input checks.
inline Birth BirthOf(const BirthData& entries)
{
    return ValidateInput(entries).Value;
}

// The 32 result texts of the New Delhi 1975 reading, one row per graha:
// name, position, aspected signs, aspected grahas. The positions are the
// short texts of the worked examples; the aspect texts were worked out by hand from them
// (7th sign for all; Mars 4th and 8th, Jupiter 5th and 9th, Saturn 3rd and
// 10th besides).
struct ResultRow {
    std::string_view Planets, Position, AspectsSign, AspectsPlanets;
};

inline constexpr std::array<ResultRow, 8> Delhi1975Results {{
    {"Sun / Surya", "00 Gem 19", "Sign aspected by Sun is Dhanus.", "Planet Sun has no Graha Drishti."},
    {"Moon / Chandra", "11 Leo 08", "Sign aspected by Moon is Kumbha.", "Planet Moon has no Graha Drishti."},
    {"Mercury / Budha", "23 Tau 42", "Sign aspected by Mercury is Vrischika.",
        "Planet(s) aspected by Mercury is North Node."},
    {"Venus / Shukra", "15 Can 38", "Sign aspected by Venus is Makara.", "Planet Venus has no Graha Drishti."},
    {"Mars / Mangala", "25 Pis 18", "Sign aspected by Mars is Mithuna, Kanya, Thula.",
        "Planet(s) aspected by Mars is Sun, Saturn."},
    {"Jupiter / Guru", "26 Pis 00", "Sign aspected by Jupiter is Kataka, Kanya, Vrischika.",
        "Planet(s) aspected by Jupiter is Venus, North Node."},
    {"Saturn / Shani", "25 Gem 32", "Sign aspected by Saturn is Simha, Dhanus, Meena.",
        "Planet(s) aspected by Saturn is Moon, Mars, Jupiter."},
    {"North Node / Rahu", "05 Sco 24", "Sign aspected by North Node is Vrishabha.",
        "Planet(s) aspected by North Node is Mercury."},
}};

} // namespace halvaro::testing
