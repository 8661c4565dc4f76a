// The precise sky under every ayanamsa and node against the Swiss
// Ephemeris's own sidereal computation, called directly once outside the
// program (tests/data/sky/sidereal-reference.c): the sky at the library's
// moment, and the whole reading of a birth at the row's local time and
// offset, which must come to the same moment.
#include "fullreading/FullReading.h"
#include "sky/PreciseSky.h"

#include "tests/common/SiderealReference.h"
#include "tests/positions/ReferenceChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace halvaro;
using halvaro::testing::AngleDifferenceDeg;
using halvaro::testing::SiderealRow;

// The table keeps twelve decimals. The reading must reach the library's own
// moment nearly to the bit: the last bit of a Julian Day moves the Moon
// 6e-9 degree.
constexpr double ToleranceDeg = 1e-9;

const std::vector<SiderealRow>& Rows()
{
    static const std::vector<SiderealRow> rows = halvaro::testing::SiderealRows(HALVARO_SKY_DATA "/sidereal-reference.tsv");
    return rows;
}

void ExpectLongitudes(const double* actual, const std::array<double, GrahaCount>& expected, const char* what)
{
    for (std::size_t g = 0; g < GrahaCount; ++g) {
        EXPECT_NEAR(AngleDifferenceDeg(actual[g], expected[g]), 0, ToleranceDeg) << what << ' ' << GrahaNameTable[g].English;
    }
}

TEST(SiderealReference, HasEveryAyanamsaAtSevenMoments)
{
    EXPECT_EQ(Rows().size(), AyanamsaSystemCount * 7);
}

class UnderEachConvention : public ::testing::TestWithParam<SiderealRow> {};

INSTANTIATE_TEST_SUITE_P(SwissEphemeris, UnderEachConvention, ::testing::ValuesIn(Rows()), [](const auto& row) {
    std::string name = row.param.Ayanamsa + "_" + std::to_string(row.param.Local.Year);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

TEST_P(UnderEachConvention, TheSkyAndTheReadingAreTheLibrarysOwn)
{
    const SiderealRow& row = GetParam();
    const Birth birth = row.BirthAt();
    for (const NodeKind node : {NodeKind::Mean, NodeKind::True}) {
        SCOPED_TRACE(std::string(NodeOption(node)) + " node");
        const Conventions conventions = row.With(node);
        const std::array<double, GrahaCount> expected = row.Longitudes(node);

        const auto sky = sky::PrecisePositions(row.JulianDayUt, conventions);
        ASSERT_TRUE(sky.has_value());
        EXPECT_NEAR(sky->Ayanamsa, -row.AyanamsaDeg, ToleranceDeg);
        ExpectLongitudes(sky->Longitudes.data(), expected, "sky");
        const auto lagna = sky::PreciseLagna(row.JulianDayUt, {birth.LatitudeDeg, birth.LongitudeDeg}, conventions);
        EXPECT_NEAR(AngleDifferenceDeg(lagna.Longitude, row.Ascendant()), 0, ToleranceDeg) << "sky Lagna";

        const auto reading = fullreading::CalculateFullReading(birth, conventions, {false, false, false, false});
        ASSERT_FALSE(reading.Failure.has_value());
        EXPECT_NEAR(reading.Value.Ayanamsa, -row.AyanamsaDeg, ToleranceDeg);
        ExpectLongitudes(reading.Value.Longitudes.data(), expected, "reading");
        EXPECT_NEAR(AngleDifferenceDeg(reading.Value.Lagna.Longitude, row.Ascendant()), 0, ToleranceDeg) << "reading Lagna";
        // Ketu stays opposite Rahu, whichever node Rahu is.
        EXPECT_NEAR(AngleDifferenceDeg(reading.Value.Longitudes[IndexOf(Graha::Ketu)], expected[7] + 180), 0, ToleranceDeg);
    }
}

} // namespace
