#include "core/InputChecks.h"
#include "core/Text.h"

#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using halvaro::BirthData;
using halvaro::InputControl;
using halvaro::MessageIcon;

// Every row changes the New Delhi 1975 worked birth, which passes all checks.
using halvaro::testing::Delhi1975;

struct Refusal {
    std::string_view Message;
    MessageIcon Icon;
    InputControl Control;
};

struct CheckCase {
    std::string_view Name;
    void (*Change)(BirthData&);
    std::optional<Refusal> Expected; // nothing: the entries pass
};

void PrintTo(const CheckCase& row, std::ostream* os)
{
    *os << row.Name;
}

class ValidateInputRows : public testing::TestWithParam<CheckCase> {};

TEST_P(ValidateInputRows, FirstFailingCheck)
{
    const CheckCase& c = GetParam();
    BirthData entries = Delhi1975();
    c.Change(entries);
    const auto failure = halvaro::ValidateInput(entries).Failure;
    if (!c.Expected) {
        EXPECT_FALSE(failure.has_value()) << "refused with \"" << failure->Message << '"';
        return;
    }
    ASSERT_TRUE(failure.has_value()) << "passed, expected \"" << c.Expected->Message << '"';
    EXPECT_EQ(failure->Message, c.Expected->Message);
    EXPECT_EQ(failure->Icon, c.Expected->Icon);
    EXPECT_EQ(failure->Control, c.Expected->Control);
}

constexpr Refusal ClassicYears {
    "Please Enter A Year From 1901 To 2050, Or Choose The Precise Sky For 1600 To 2399", MessageIcon::Error, InputControl::None};
constexpr Refusal NameMissing {"Please Enter Your Name", MessageIcon::Error, InputControl::txtName};
constexpr Refusal FebruaryWrong {"Please Enter Correct Date Or Month!", MessageIcon::Information, InputControl::None};
constexpr Refusal ThirtyDayWrong {"Please Enter Correct Date Or Month !", MessageIcon::Information, InputControl::None};
constexpr Refusal LatitudeTooLarge {
    "Please Enter A Latitude Of 90 Degrees Or Less", MessageIcon::Error, InputControl::txtLatDeg};
constexpr Refusal LongitudeTooLarge {
    "Please Enter A Longitude Of 180 Degrees Or Less", MessageIcon::Error, InputControl::txtLonDeg};
constexpr Refusal NotANumber(InputControl box)
{
    return {"Please enter only numbers", MessageIcon::Error, box};
}

// Messages, icons and controls of the calculate button's checks, in their
// order; dates chosen by hand around February and the thirty-day months.
const CheckCase CheckCases[] {
    {"CompleteEntriesPass", [](BirthData&) {}, std::nullopt},
    {"AllBoxesEmptyShowsOnlyTheName",
        [](BirthData& e) {
            e.Name = e.LatDeg = e.LatMin = e.LonDeg = e.LonMin = e.City = e.State = e.Country = "";
            e.North = e.South = e.East = e.West = false;
            e.Month = 2;
            e.Day = 31;
        },
        NameMissing},
    {"NameEmpty", [](BirthData& e) { e.Name = ""; }, NameMissing},
    {"NameOfOneBlankPasses", [](BirthData& e) { e.Name = " "; }, std::nullopt},
    {"LatitudeDegreesEmpty", [](BirthData& e) { e.LatDeg = ""; },
        Refusal {"Please Enter Degree of Latitude", MessageIcon::Error, InputControl::txtLatDeg}},
    {"LatitudeMinutesEmpty", [](BirthData& e) { e.LatMin = ""; },
        Refusal {"Please Enter Minutes of Latitude", MessageIcon::Error, InputControl::txtLatMin}},
    {"LongitudeDegreesEmpty", [](BirthData& e) { e.LonDeg = ""; },
        Refusal {"Please Enter Degree of Longitude", MessageIcon::Error, InputControl::txtLonDeg}},
    {"LongitudeMinutesEmpty", [](BirthData& e) { e.LonMin = ""; },
        Refusal {"Please Enter Minute of Longitude", MessageIcon::Error, InputControl::txtLonMin}},
    {"CityEmpty", [](BirthData& e) { e.City = ""; },
        Refusal {"Please Enter Your City name", MessageIcon::Error, InputControl::txtCity}},
    {"CityOfBlanksPasses", [](BirthData& e) { e.City = "   "; }, std::nullopt},
    {"StateEmpty", [](BirthData& e) { e.State = ""; },
        Refusal {"Please Enter Your State name", MessageIcon::Error, InputControl::txtState}},
    {"CountryEmpty", [](BirthData& e) { e.Country = ""; },
        Refusal {"Please Enter Your Country name", MessageIcon::Error, InputControl::txtCountry}},
    {"NoLatitudeDirection", [](BirthData& e) { e.North = e.South = false; },
        Refusal {"Please Select Direction For The Latitude", MessageIcon::Error, InputControl::optLat}},
    {"NoLongitudeDirection", [](BirthData& e) { e.East = e.West = false; },
        Refusal {"Please Select Direction For The Longitude", MessageIcon::Error, InputControl::optLong}},
    {"CityBeforeDirections",
        [](BirthData& e) {
            e.City = "";
            e.North = e.South = false;
        },
        Refusal {"Please Enter Your City name", MessageIcon::Error, InputControl::txtCity}},
    {"LeapDay2000Passes", [](BirthData& e) { e.Day = 29; e.Month = 2; e.Year = 2000; }, std::nullopt},
    {"LeapDay1901Refused", [](BirthData& e) { e.Day = 29; e.Month = 2; e.Year = 1901; }, FebruaryWrong},
    {"February28Of1901Passes", [](BirthData& e) { e.Day = 28; e.Month = 2; e.Year = 1901; }, std::nullopt},
    {"February30Of2004Refused", [](BirthData& e) { e.Day = 30; e.Month = 2; e.Year = 2004; }, FebruaryWrong},
    {"February31Of2004Refused", [](BirthData& e) { e.Day = 31; e.Month = 2; e.Year = 2004; }, FebruaryWrong},
    {"February31Of1990Refused", [](BirthData& e) { e.Day = 31; e.Month = 2; e.Year = 1990; }, FebruaryWrong},
    {"April31Of1990Refused", [](BirthData& e) { e.Day = 31; e.Month = 4; e.Year = 1990; }, ThirtyDayWrong},
    {"June31Refused", [](BirthData& e) { e.Day = 31; e.Month = 6; }, ThirtyDayWrong},
    {"September31Refused", [](BirthData& e) { e.Day = 31; e.Month = 9; }, ThirtyDayWrong},
    {"November31Refused", [](BirthData& e) { e.Day = 31; e.Month = 11; }, ThirtyDayWrong},
    {"May31Of1990Passes", [](BirthData& e) { e.Day = 31; e.Month = 5; e.Year = 1990; }, std::nullopt},
    {"April30Of1990Passes", [](BirthData& e) { e.Day = 30; e.Month = 4; e.Year = 1990; }, std::nullopt},
    {"December31Of2050Passes", [](BirthData& e) { e.Day = 31; e.Month = 12; e.Year = 2050; }, std::nullopt},
    {"ThreeDigitsPass", [](BirthData& e) { e.LonDeg = "179"; e.LonMin = "059"; }, std::nullopt},
    // A place on the globe: 90°00' and 180°00' at most, minutes below 60.
    {"Latitude90Passes", [](BirthData& e) { e.LatDeg = "90"; e.LatMin = "0"; }, std::nullopt},
    {"Latitude90Degrees1MinuteRefused", [](BirthData& e) { e.LatDeg = "90"; e.LatMin = "1"; }, LatitudeTooLarge},
    {"Latitude99Refused", [](BirthData& e) { e.LatDeg = "99"; }, LatitudeTooLarge},
    {"LatitudeMinutes60Refused", [](BirthData& e) { e.LatMin = "60"; },
        Refusal {"Please Enter Minutes of Latitude From 0 To 59", MessageIcon::Error, InputControl::txtLatMin}},
    {"Latitude95Degrees75MinutesRefusedForTheMinutes", [](BirthData& e) { e.LatDeg = "95"; e.LatMin = "75"; },
        Refusal {"Please Enter Minutes of Latitude From 0 To 59", MessageIcon::Error, InputControl::txtLatMin}},
    {"Longitude180Passes", [](BirthData& e) { e.LonDeg = "180"; e.LonMin = "00"; }, std::nullopt},
    {"Longitude181Refused", [](BirthData& e) { e.LonDeg = "181"; e.LonMin = "0"; }, LongitudeTooLarge},
    {"Longitude180Degrees7MinutesRefused", [](BirthData& e) { e.LonDeg = "180"; e.LonMin = "007"; },
        LongitudeTooLarge},
    {"LongitudeMinutes60Refused", [](BirthData& e) { e.LonMin = "60"; },
        Refusal {"Please Enter Minute of Longitude From 0 To 59", MessageIcon::Error, InputControl::txtLonMin}},
    {"EarlierChecksBeforeThePlace",
        [](BirthData& e) {
            e.LatDeg = "99";
            e.Day = 31;
            e.Month = 4;
        },
        ThirtyDayWrong},
    // Pasted text in a degree or minute box.
    {"PastedDecimalPoint", [](BirthData& e) { e.LatDeg = "2.5"; }, NotANumber(InputControl::txtLatDeg)},
    {"PastedMinusSign", [](BirthData& e) { e.LatMin = "-3"; }, NotANumber(InputControl::txtLatMin)},
    {"PastedLeadingBlank", [](BirthData& e) { e.LonDeg = " 77"; }, NotANumber(InputControl::txtLonDeg)},
    {"PastedFourDigits", [](BirthData& e) { e.LonMin = "1234"; }, NotANumber(InputControl::txtLonMin)},
    {"PastedLetters", [](BirthData& e) { e.LatDeg = "abc"; }, NotANumber(InputControl::txtLatDeg)},
    {"PastedPlusSign", [](BirthData& e) { e.LonDeg = "+7"; }, NotANumber(InputControl::txtLonDeg)},
    {"PastedArabicIndicDigit", [](BirthData& e) { e.LatMin = "\xD9\xA3"; }, NotANumber(InputControl::txtLatMin)},
    {"PastedTextBeforeNextEmptyBox",
        [](BirthData& e) {
            e.LatDeg = "x";
            e.LatMin = "";
        },
        NotANumber(InputControl::txtLatDeg)},
    {"EmptyBoxBeforeLaterPastedText",
        [](BirthData& e) {
            e.LatMin = "";
            e.LonDeg = "x";
        },
        Refusal {"Please Enter Minutes of Latitude", MessageIcon::Error, InputControl::txtLatMin}},
    {"PastedTextBeforeCity",
        [](BirthData& e) {
            e.LonMin = "1,5";
            e.City = "";
        },
        NotANumber(InputControl::txtLonMin)},
    // Values the window's lists cannot hold, from a caller without them.
    {"Day32Refused", [](BirthData& e) { e.Day = 32; }, FebruaryWrong},
    {"Day0Refused", [](BirthData& e) { e.Day = 0; }, FebruaryWrong},
    {"Month13Refused", [](BirthData& e) { e.Month = 13; }, FebruaryWrong},
    {"Year1900Refused", [](BirthData& e) { e.Year = 1900; }, ClassicYears},
    {"Year2051Refused", [](BirthData& e) { e.Year = 2051; }, ClassicYears},
    {"Hour24Refused", [](BirthData& e) { e.Hour = 24; },
        Refusal {"Please Enter Correct Time Of Birth", MessageIcon::Error, InputControl::None}},
    {"MinuteMinus1Refused", [](BirthData& e) { e.Minute = -1; },
        Refusal {"Please Enter Correct Time Of Birth", MessageIcon::Error, InputControl::None}},
    {"Zone71Refused", [](BirthData& e) { e.ZonePosition = 71; },
        Refusal {"Please Select Your Time Zone", MessageIcon::Error, InputControl::None}},
    {"ZoneMinus1Refused", [](BirthData& e) { e.ZonePosition = -1; },
        Refusal {"Please Select Your Time Zone", MessageIcon::Error, InputControl::None}},
    {"LastZonePasses", [](BirthData& e) { e.ZonePosition = 70; }, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Checks, ValidateInputRows, testing::ValuesIn(CheckCases),
    [](const testing::TestParamInfo<CheckCase>& row) { return std::string(row.param.Name); });

// The precise sky takes 1600 to 2399, where the Gregorian calendar leaves
// out the leap day of 1700, 1800, 1900, 2100, 2200 and 2300 but not of 1600
// or 2000 (a year divisible by 100 is a leap year only when divisible by 400).
TEST(ValidateInput, PreciseYearsAndGregorianLeapDays)
{
    struct Row {
        int Year, Month, Day;
        std::optional<std::string_view> Refused;
    };
    const halvaro::Conventions precise = halvaro::DefaultConventions(halvaro::SkyModel::Precise);
    for (const Row& row : {Row {1600, 2, 29, std::nullopt}, Row {1700, 2, 29, FebruaryWrong.Message},
             Row {1869, 10, 2, std::nullopt}, Row {2100, 2, 29, FebruaryWrong.Message}, Row {2399, 12, 31, std::nullopt},
             Row {1599, 12, 31, "Please Enter A Year From 1600 To 2399"},
             Row {2400, 1, 1, "Please Enter A Year From 1600 To 2399"}}) {
        BirthData entries = Delhi1975();
        entries.Year = row.Year;
        entries.Month = row.Month;
        entries.Day = row.Day;
        const auto failure = halvaro::ValidateInput(entries, precise).Failure;
        EXPECT_EQ(failure ? std::optional(failure->Message) : std::nullopt, row.Refused) << row.Year;
    }
}

// What passes becomes the typed birth. Offsets from the zone list's
// corrections with their sign reversed (Indian Time +5:30 has corrections -5
// and -30), an hour more with daylight saving; degrees and minutes as typed.
struct BirthCase {
    std::string_view Name;
    void (*Change)(BirthData&);
    int UtcOffsetMinutes;
    double LatitudeDeg, LongitudeDeg;
    std::string_view City;
};

void PrintTo(const BirthCase& row, std::ostream* os)
{
    *os << row.Name;
}

class CheckedBirths : public testing::TestWithParam<BirthCase> {};

TEST_P(CheckedBirths, OffsetPlaceAndTexts)
{
    const BirthCase& c = GetParam();
    BirthData entries = Delhi1975();
    c.Change(entries);
    const halvaro::BirthCheck checked = halvaro::ValidateInput(entries);
    ASSERT_FALSE(checked.Failure.has_value()) << checked.Failure->Message;
    const halvaro::Birth& birth = checked.Value;
    EXPECT_EQ(birth.UtcOffsetMinutes, c.UtcOffsetMinutes);
    EXPECT_EQ(birth.LatitudeDeg, c.LatitudeDeg);
    EXPECT_EQ(std::signbit(birth.LatitudeDeg), std::signbit(c.LatitudeDeg));
    EXPECT_EQ(birth.LongitudeDeg, c.LongitudeDeg);
    EXPECT_EQ(birth.City, c.City);
    // Kept as typed, with the entry the offset came from, for the reading file.
    EXPECT_EQ(birth.Name, entries.Name);
    ASSERT_TRUE(birth.Zone.has_value());
    EXPECT_EQ(birth.Zone->Position, entries.ZonePosition);
    EXPECT_EQ(birth.Zone->DaylightSaving, entries.DaylightSaving);
    EXPECT_EQ(birth.Local.Year, entries.Year);
    EXPECT_EQ(birth.Local.Month, entries.Month);
    EXPECT_EQ(birth.Local.Day, entries.Day);
    EXPECT_EQ(birth.Local.Hour, entries.Hour);
    EXPECT_EQ(birth.Local.Minute, entries.Minute);
}

constexpr double Delhi28N39 = 28 + 39 / 60.0;
constexpr double Delhi77E13 = 77 + 13 / 60.0;

const BirthCase BirthCases[] {
    {"IndianTime", [](BirthData&) {}, 330, Delhi28N39, Delhi77E13, "New Delhi"},
    {"IndianTimeWithDaylightSaving", [](BirthData& e) { e.DaylightSaving = true; }, 390, Delhi28N39, Delhi77E13,
        "New Delhi"},
    {"HawaiianStandardTime", [](BirthData& e) { e.ZonePosition = 32; }, -630, Delhi28N39, Delhi77E13, "New Delhi"},
    {"GreenwichMeanTime", [](BirthData& e) { e.ZonePosition = 29; }, 0, Delhi28N39, Delhi77E13, "New Delhi"},
    {"AlaskaHawaiiDaylightFirstLine", [](BirthData& e) { e.ZonePosition = 0; }, -540, Delhi28N39, Delhi77E13,
        "New Delhi"},
    {"YukonWarTimeLastLine", [](BirthData& e) { e.ZonePosition = 70; }, -480, Delhi28N39, Delhi77E13, "New Delhi"},
    {"NewZealandStdSummerTime", [](BirthData& e) { e.ZonePosition = 46; }, 780, Delhi28N39, Delhi77E13,
        "New Delhi"},
    {"NewfoundlandWithDaylightSaving",
        [](BirthData& e) {
            e.ZonePosition = 50;
            e.DaylightSaving = true;
        },
        -150, Delhi28N39, Delhi77E13, "New Delhi"},
    {"SouthAndWestAreNegative",
        [](BirthData& e) {
            e.North = false;
            e.South = true;
            e.East = false;
            e.West = true;
        },
        330, -Delhi28N39, -Delhi77E13, "New Delhi"},
    {"LeadingZerosTyped", [](BirthData& e) { e.LatDeg = "028"; e.LonMin = "013"; }, 330, Delhi28N39, Delhi77E13,
        "New Delhi"},
    {"ZeroSouthKeepsItsSign",
        [](BirthData& e) {
            e.LatDeg = e.LatMin = "0";
            e.North = false;
            e.South = true;
        },
        330, -0.0, Delhi77E13, "New Delhi"},
    {"PlaceTrimmedNameNot",
        [](BirthData& e) {
            e.Name = " Asha ";
            e.City = "  New Delhi ";
        },
        330, Delhi28N39, Delhi77E13, "New Delhi"},
    {"CityOfBlanksIsEmpty", [](BirthData& e) { e.City = "   "; }, 330, Delhi28N39, Delhi77E13, ""},
};

INSTANTIATE_TEST_SUITE_P(Births, CheckedBirths, testing::ValuesIn(BirthCases),
    [](const testing::TestParamInfo<BirthCase>& row) { return std::string(row.param.Name); });

struct TextCase {
    std::string_view Name;
    std::string_view Text;
    std::string_view Expected;
};

void PrintTo(const TextCase& row, std::ostream* os)
{
    *os << row.Name;
}

class TrimBlanksRows : public testing::TestWithParam<TextCase> {};

TEST_P(TrimBlanksRows, OuterBlanksOnly)
{
    EXPECT_EQ(halvaro::TrimBlanks(GetParam().Text), GetParam().Expected) << '"' << GetParam().Text << '"';
}

const TextCase TrimCases[] {
    {"NothingToTrim", "Pune", "Pune"},
    {"BothSides", "  New Delhi   ", "New Delhi"},
    {"InnerBlanksKept", "Rio  de Janeiro", "Rio  de Janeiro"},
    {"OnlyBlanks", "    ", ""},
    {"Empty", "", ""},
    {"TabsAreNotBlanks", "\tPune\t", "\tPune\t"},
};

INSTANTIATE_TEST_SUITE_P(Texts, TrimBlanksRows, testing::ValuesIn(TrimCases),
    [](const testing::TestParamInfo<TextCase>& row) { return std::string(row.param.Name); });

} // namespace
