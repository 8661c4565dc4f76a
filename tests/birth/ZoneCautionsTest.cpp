#include "birth/ZoneCautions.h"

#include <gtest/gtest.h>

namespace {

using namespace halvaro;

// Offsets read off the zone table's names; a longitude's mean time is four
// minutes a degree (77°13' E: +5:08:52, 74°00' W: -4:56:00).
struct CautionCase {
    const char* Label;
    int Position;        // zone list entry, -1 for an offset of none
    bool Dst;
    int OffsetSeconds;   // what that gives
    double LongitudeDeg;
    const char* TimeZone;
    bool AsksTwice, AsksFar;
};

void PrintTo(const CautionCase& c, std::ostream* os) { *os << c.Label; }
class Cautions : public ::testing::TestWithParam<CautionCase> {};

INSTANTIATE_TEST_SUITE_P(ZoneTraps, Cautions,
    ::testing::Values(
        CautionCase {"EasternDaylightAndTheBox", 24, true, -3 * 3600, -74.0, "", true, false},
        CautionCase {"EasternStandardAndTheBox", 27, true, -4 * 3600, -74.0, "", false, false},
        CautionCase {"EasternDaylightAlone", 24, false, -4 * 3600, -74.0, "", false, false},
        CautionCase {"BritishSummerAndTheBox", 16, true, 2 * 3600, 0.0, "", true, false},
        CautionCase {"AlaskaWarAndTheBox", 2, true, -8 * 3600, -150.0, "", true, false},
        CautionCase {"FoundZoneIsTheDatabasesReading", 24, true, -3 * 3600, -74.0, "America/New_York", false, false},
        CautionCase {"FirstEntryAtNewDelhi", 0, false, -9 * 3600, 77 + 13 / 60.0, "", false, true},
        CautionCase {"IndianTimeAtNewDelhi", 34, false, 330 * 60, 77 + 13 / 60.0, "", false, false},
        CautionCase {"ThreeHoursExactlyIsNotFar", -1, false, 3 * 3600, 0.0, "", false, false},
        CautionCase {"ThreeHoursAndAMinuteIsFar", -1, false, 181 * 60, 0.0, "", false, true},
        CautionCase {"FarWestOfItsMeanTime", -1, false, -8 * 3600 - 60, -74.0, "", false, true}),
    [](const auto& row) { return std::string(row.param.Label); });

TEST_P(Cautions, AskOnlyWhereTheZoneMisleads)
{
    const CautionCase& c = GetParam();
    Birth birth;
    if (c.Position >= 0) {
        birth.Zone = ZoneChoice {c.Position, c.Dst};
    }
    birth.UtcOffsetMinutes = c.OffsetSeconds / 60;
    birth.UtcOffsetExtraSeconds = c.OffsetSeconds % 60;
    birth.LongitudeDeg = c.LongitudeDeg;
    birth.TimeZone = c.TimeZone;
    EXPECT_EQ(birth::DaylightTwiceQuestion(birth).has_value(), c.AsksTwice);
    EXPECT_EQ(birth::FarFromMeanTimeQuestion(birth).has_value(), c.AsksFar);
}

} // namespace
