#include "core/InputChecks.h"
#include "core/Text.h"

#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>

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
    const auto failure = halvaro::ValidateInput(entries);
    if (!c.Expected) {
        EXPECT_FALSE(failure.has_value()) << "refused with \"" << failure->Message << '"';
        return;
    }
    ASSERT_TRUE(failure.has_value()) << "passed, expected \"" << c.Expected->Message << '"';
    EXPECT_EQ(failure->Message, c.Expected->Message);
    EXPECT_EQ(failure->Icon, c.Expected->Icon);
    EXPECT_EQ(failure->Control, c.Expected->Control);
}

constexpr Refusal NameMissing {"Please Enter Your Name", MessageIcon::Error, InputControl::txtName};
constexpr Refusal FebruaryWrong {"Please Enter Correct Date Or Month!", MessageIcon::Information, InputControl::None};
constexpr Refusal ThirtyDayWrong {"Please Enter Correct Date Or Month !", MessageIcon::Information, InputControl::None};
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
    {"Latitude95Degrees75MinutesPasses", [](BirthData& e) { e.LatDeg = "95"; e.LatMin = "75"; }, std::nullopt},
    {"ThreeDigitsPass", [](BirthData& e) { e.LonDeg = "180"; e.LonMin = "007"; }, std::nullopt},
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
    {"Year1900Refused", [](BirthData& e) { e.Year = 1900; },
        Refusal {"Please Enter A Year From 1901 To 2050", MessageIcon::Error, InputControl::None}},
    {"Year2051Refused", [](BirthData& e) { e.Year = 2051; },
        Refusal {"Please Enter A Year From 1901 To 2050", MessageIcon::Error, InputControl::None}},
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
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.Name); });

struct KeyCase {
    std::string_view Name;
    int Code;
    bool Letter; // the name and place boxes let it through
    bool Number; // the degree and minute boxes let it through
};

void PrintTo(const KeyCase& row, std::ostream* os)
{
    *os << row.Name;
}

class KeyFilters : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilters, LetOrRefuseTheCode)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(halvaro::LetterBoxAccepts(c.Code), c.Letter) << "code " << c.Code;
    EXPECT_EQ(halvaro::NumberBoxAccepts(c.Code), c.Number) << "code " << c.Code;
}

// The filters' codes: letters 65-90 and 97-122, blank 32, backspace 8 and 127
// for the letter boxes; digits 48-57, 8 and 127 for the number boxes. The
// rows sit on both sides of every range edge.
const KeyCase KeyCases[] {
    {"Backspace", 8, true, true},
    {"Delete127", 127, true, true},
    {"Blank", 32, true, false},
    {"DigitZero", '0', false, true},
    {"DigitNine", '9', false, true},
    {"Slash", '/', false, false},
    {"Colon", ':', false, false},
    {"CapitalA", 'A', true, false},
    {"CapitalZ", 'Z', true, false},
    {"AtSign", '@', false, false},
    {"OpeningBracket", '[', false, false},
    {"SmallA", 'a', true, false},
    {"SmallZ", 'z', true, false},
    {"Backtick", '`', false, false},
    {"OpeningBrace", '{', false, false},
    {"Tilde", '~', false, false},
    {"FullStop", '.', false, false},
    {"Hyphen", '-', false, false},
    {"Apostrophe", '\'', false, false},
    {"Enter", 13, false, false},
    {"Escape", 27, false, false},
    {"CtrlC", 3, false, false},
    {"CtrlV", 22, false, false},
    {"CtrlX", 24, false, false},
    {"Nul", 0, false, false},
    {"Tab", 9, false, false},
    {"Code128", 128, false, false},
    {"AccentedSmallE", 233, false, false},
    {"Code255", 255, false, false},
};

INSTANTIATE_TEST_SUITE_P(Codes, KeyFilters, testing::ValuesIn(KeyCases),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.Name); });

// 26 + 26 letters, the blank, backspace and 127; ten digits, backspace, 127.
TEST(KeyFilters, NothingElseBetweenZeroAnd255)
{
    int letters = 0;
    int numbers = 0;
    for (int code = 0; code <= 255; ++code) {
        letters += halvaro::LetterBoxAccepts(code) ? 1 : 0;
        numbers += halvaro::NumberBoxAccepts(code) ? 1 : 0;
    }
    EXPECT_EQ(letters, 55);
    EXPECT_EQ(numbers, 12);
    EXPECT_FALSE(halvaro::LetterBoxAccepts(-1));
    EXPECT_FALSE(halvaro::NumberBoxAccepts(256 + '0'));
}

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
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.Name); });

struct NumberCase {
    std::string_view Name;
    std::string_view Text;
    std::optional<int> Expected;
};

void PrintTo(const NumberCase& row, std::ostream* os)
{
    *os << row.Name;
}

class BoxNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(BoxNumbers, WholeNumberOfOneToThreeDigits)
{
    const auto number = halvaro::BoxNumber(GetParam().Text);
    ASSERT_EQ(number.has_value(), GetParam().Expected.has_value()) << '"' << GetParam().Text << '"';
    if (number) {
        EXPECT_EQ(*number, *GetParam().Expected);
    }
}

const NumberCase NumberCases[] {
    {"Zero", "0", 0},
    {"TwoDigits", "28", 28},
    {"LeadingZeros", "007", 7},
    {"LargestThreeDigits", "999", 999},
    {"Empty", "", std::nullopt},
    {"FourDigits", "1000", std::nullopt},
    {"Decimal", "1.5", std::nullopt},
    {"Negative", "-1", std::nullopt},
    {"TrailingBlank", "1 ", std::nullopt},
    {"Exponent", "1e2", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Texts, BoxNumbers, testing::ValuesIn(NumberCases),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.Name); });

} // namespace
