#include "fullreading/FullReading.h"
#include "houses/Houses.h"
#include "sky/PreciseSky.h"
#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace halvaro;
using houses::HouseSystem;

double Wrapped(double difference)
{
    const double d = std::fmod(difference, 360.0);
    return d > 180 ? d - 360 : d <= -180 ? d + 360 : d;
}

// The Swiss Ephemeris's own Placidus and Sripati cusps, from a scratch
// program that calls it directly (tests/data/houses/house-cusps.c): the sky's
// Placidus cusps and angles, and Sripati's cusps worked here from those
// angles, agree with them; inside the polar circles Placidus has none.
TEST(Houses, MatchTheLibrarysOwnCusps)
{
    std::ifstream file(HALVARO_HOUSES_DATA "/house-cusps.tsv");
    ASSERT_TRUE(file) << "no house-cusps.tsv";
    std::string line;
    int rows = 0, polar = 0;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        double jd = 0, ascendant = 0, midheaven = 0;
        BirthPlace place;
        char system = 0;
        ASSERT_TRUE(fields >> jd >> place.LatitudeDeg >> place.LongitudeDeg >> system >> ascendant >> midheaven) << line;
        std::string first;
        fields >> first;
        const auto found = sky::PreciseHouses(jd, place, DefaultConventions(SkyModel::Precise));
        ASSERT_TRUE(found) << line;
        // The table's moments have nine decimals of a day: 1e-9 day moves the angles by less than 1e-6 degree.
        EXPECT_NEAR(Wrapped(found->Ascendant - ascendant), 0, 1e-6) << line;
        EXPECT_NEAR(Wrapped(found->Midheaven - midheaven), 0, 1e-6) << line;
        if (first == "none") {
            EXPECT_FALSE(found->Placidus) << line;
            ++polar;
            ++rows;
            continue;
        }
        std::array<double, 12> expected {};
        expected[0] = std::stod(first);
        for (std::size_t house = 1; house < 12; ++house) {
            fields >> expected[house];
        }
        ASSERT_TRUE(fields) << line;
        const std::array<double, 12> cusps = system == 'P' ? found->Placidus.value_or(std::array<double, 12> {})
                                                           : houses::SripatiCusps(ascendant, midheaven);
        ASSERT_TRUE(system != 'P' || found->Placidus) << line;
        for (std::size_t house = 0; house < 12; ++house) {
            EXPECT_NEAR(Wrapped(cusps[house] - expected[house]), 0, 1e-6) << system << " cusp " << house + 1 << ": " << line;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 12);
    EXPECT_EQ(polar, 2);
}

// By hand: a house runs from its cusp up to the next, across 0° too.
TEST(Houses, HouseOfALongitude)
{
    const houses::Cusps cusps {350, 20, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320};
    const struct {
        double longitude;
        int house;
    } cases[] {{350, 1}, {359.9, 1}, {0, 1}, {19.999, 1}, {20, 2}, {349.999, 12}, {320, 12}, {185, 7}, {-5, 1}, {710, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(houses::HouseOf(cusps, c.longitude), c.house) << c.longitude;
    }
    // Whole signs from a Lagna at 5°55' Simha: the first house is Simha.
    EXPECT_EQ(houses::WholeSignCusps(125.9)[0], 120);
    EXPECT_EQ(houses::WholeSignCusps(125.9)[11], 90);
}

// A birth at Tromso (69°39' N): Placidus fails with a note, and its bhava
// chart is refused with it; Sripati divides the same sky.
TEST(Houses, PolarBirthGetsANoteNotCusps)
{
    BirthData entries = halvaro::testing::Delhi1975();
    entries.LatDeg = "69";
    const Birth birth = halvaro::testing::BirthOf(entries);
    for (const SkyModel sky : {SkyModel::Classic, SkyModel::Precise}) {
        const fullreading::FullReadingResult reading =
            fullreading::CalculateFullReading(birth, DefaultConventions(sky), fullreading::EveryPart);
        ASSERT_FALSE(reading.Failure);
        const houses::Houses placidus = fullreading::HousesOf(reading.Value, HouseSystem::Placidus);
        EXPECT_FALSE(placidus.Cusp);
        EXPECT_EQ(placidus.Note.rfind("Placidus houses do not exist at latitude 69\xC2\xB0" "39' N", 0), 0u) << placidus.Note;
        EXPECT_EQ(fullreading::BhavaChartOf(birth, reading.Value, placidus).Refusal, placidus.Note);
        const houses::Houses sripati = fullreading::HousesOf(reading.Value, HouseSystem::Sripati);
        ASSERT_TRUE(sripati.Cusp);
        const chart::ChartResult drawn = fullreading::BhavaChartOf(birth, reading.Value, sripati);
        EXPECT_TRUE(drawn.Refusal.empty()) << drawn.Refusal;
        EXPECT_EQ(drawn.Data.Title, "Bhava Chalit");
        // The classic sky says whose cusps it shows.
        EXPECT_EQ(sripati.Note.find("cusps of the precise sky") != std::string::npos, sky == SkyModel::Classic);
    }
}

} // namespace
