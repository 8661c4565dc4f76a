#include "atlas/Atlas.h"
#include "atlas/PlainLatin.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace halvaro::atlas;

// A small atlas whose names, states and codes are GeoNames' (geonames.org);
// the populations are set so that each rule has a case at its edge.
AtlasLoad SmallAtlas()
{
    return MakeAtlas({
        {"London", "England", "United Kingdom", "GB", "Europe/London", 51.50853, -0.12574, 8961989},
        {"London", "Ontario", "Canada", "CA", "America/Toronto", 42.98339, -81.23304, 346765},
        {"Springfield", "Missouri", "United States of America", "US", "America/Chicago", 37.21533, -93.29824, 166810},
        {"Springfield", "Massachusetts", "United States of America", "US", "America/New_York", 42.10148, -72.58981,
            154341},
        {"Kathmandu", "Bagmati Province", "Nepal", "NP", "Asia/Kathmandu", 27.70169, 85.3206, 1442271},
        {"Kolkata", "State of West Bengal", "India", "IN", "Asia/Kolkata", 22.56263, 88.36304, 4631392},
        {"São Paulo", "São Paulo", "Brazil", "BR", "America/Sao_Paulo", -23.5475, -46.63611, 10021295},
        {"Tenfold", "North", "Testland", "TL", "Etc/UTC", 0, 0, 1000},
        {"Tenfold", "South", "Testland", "TL", "Etc/UTC", 0, 0, 100},
        {"Ninefold", "North", "Testland", "TL", "Etc/UTC", 0, 0, 999},
        {"Ninefold", "South", "Testland", "TL", "Etc/UTC", 0, 0, 100},
    });
}

struct ResolveCase {
    const char* Label;
    const char* Text;
    Resolution::Fault Expected;
    const char* State; // of the place found, or of the first candidate
};
void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.Label; }
class Resolving : public ::testing::TestWithParam<ResolveCase> {};

INSTANTIATE_TEST_SUITE_P(PlaceTexts, Resolving,
    ::testing::Values(ResolveCase {"Unique", "Kathmandu", Resolution::Fault::None, "Bagmati Province"},
        ResolveCase {"DominantTwentySixTimes", "London", Resolution::Fault::None, "England"},
        ResolveCase {"ExactlyTenTimes", "Tenfold", Resolution::Fault::None, "North"},
        ResolveCase {"JustUnderTenTimes", "Ninefold", Resolution::Fault::Ambiguous, "North"},
        ResolveCase {"AmbiguousAlike", "Springfield", Resolution::Fault::Ambiguous, "Missouri"},
        ResolveCase {"CountryByCode", "London, CA", Resolution::Fault::None, "Ontario"},
        ResolveCase {"CountryByName", "london, canada", Resolution::Fault::None, "Ontario"},
        ResolveCase {"CityState", "Springfield, Massachusetts", Resolution::Fault::None, "Massachusetts"},
        ResolveCase {"StateByItsWordsAndCountry", "Kolkata, West Bengal, IN", Resolution::Fault::None,
            "State of West Bengal"},
        ResolveCase {"AccentsIgnored", "Sao Paulo", Resolution::Fault::None, "São Paulo"},
        ResolveCase {"UnknownGetsClosest", "Kathmandoo", Resolution::Fault::Unknown, "Bagmati Province"},
        ResolveCase {"NotInThatCountry", "Kolkata, Nepal", Resolution::Fault::Unknown, "State of West Bengal"},
        ResolveCase {"ClosestInTheCountryFirst", "Londn, Canada", Resolution::Fault::Unknown, "Ontario"}),
    [](const auto& row) { return std::string(row.param.Label); });

TEST_P(Resolving, TakesTheDominantExactMatchOrExplains)
{
    const ResolveCase& c = GetParam();
    const AtlasLoad load = SmallAtlas();
    ASSERT_TRUE(load.Loaded);
    const Resolution found = load.Loaded->Resolve(c.Text);
    EXPECT_EQ(found.Problem, c.Expected) << found.Error;
    EXPECT_EQ(found.Found.has_value(), c.Expected == Resolution::Fault::None);
    EXPECT_EQ(found.Error.empty(), c.Expected == Resolution::Fault::None);
    const auto& place = found.Found ? *found.Found : found.Candidates.at(0);
    EXPECT_EQ(place.State, c.State);
}

TEST(Finding, PrefixIgnoringCaseAndAccentsMostPopulousFirst)
{
    const AtlasLoad load = SmallAtlas();
    ASSERT_TRUE(load.Loaded);
    const auto names = [&](const char* text) {
        std::vector<std::string> found;
        for (const Place& place : load.Loaded->Find(text)) {
            found.push_back(place.Name + "/" + place.CountryCode);
        }
        return found;
    };
    EXPECT_EQ(names("lon"), (std::vector<std::string> {"London/GB", "London/CA"}));
    EXPECT_EQ(names("London, ont"), (std::vector<std::string> {"London/CA"}));
    EXPECT_EQ(names("SAO"), (std::vector<std::string> {"São Paulo/BR"}));
    EXPECT_TRUE(names("").empty());
    EXPECT_TRUE(names("Lyon").empty());
}

TEST(Loading, NoCitiesIsAnErrorAndTheSystemAtlasFindsKathmandu)
{
    const AtlasLoad none = MakeAtlas({});
    EXPECT_FALSE(none.Loaded);
    EXPECT_FALSE(none.Error.empty());

    // Kathmandu in GeoNames (geonames.org, id 1283240): 27.70169 N, 85.3206 E.
    const AtlasLoad system = LoadAtlas();
    ASSERT_TRUE(system.Loaded) << system.Error;
    const std::vector<Place> found = system.Loaded->Find("Kathm", 1);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].Name, "Kathmandu");
    EXPECT_EQ(found[0].TimeZone, "Asia/Kathmandu");
    EXPECT_NEAR(found[0].LatitudeDeg, 27.70169, 1e-4);
    EXPECT_NEAR(found[0].LongitudeDeg, 85.3206, 1e-4);
}

// Former and common names as clients give them, and the city each names:
// the renamings listed in the English Wikipedia's "Renaming of cities in
// India" and the cities' own articles; Ceylon is Sri Lanka, Burma Myanmar.
TEST(FormerNames, FindTheCityOfToday)
{
    const AtlasLoad system = LoadAtlas();
    ASSERT_TRUE(system.Loaded) << system.Error;
    const std::vector<std::pair<const char*, const char*>> cases = {{"Bombay", "Mumbai/IN"}, {"Madras", "Chennai/IN"},
        {"Calcutta", "Kolkata/IN"}, {"Bangalore", "Bengaluru/IN"}, {"Benares", "Varanasi/IN"},
        {"Pondicherry", "Puducherry/IN"}, {"Trivandrum", "Trivandrum/IN"}, {"Thiruvananthapuram", "Trivandrum/IN"},
        {"Poona", "Pune/IN"}, {"Baroda", "Vadodara/IN"}, {"Cawnpore", "Kanpur/IN"}, {"Simla", "Shimla/IN"},
        {"Colombo, Ceylon", "Colombo/LK"}, {"Rangoon", "Yangon/MM"}, {"Rangoon, Burma", "Yangon/MM"},
        {"Peking", "Beijing/CN"}, {"Saigon", "Ho Chi Minh City/VN"}, {"Leningrad", "Saint Petersburg/RU"},
        {"bombay, maharashtra", "Mumbai/IN"}};
    for (const auto& [text, expected] : cases) {
        const Resolution found = system.Loaded->Resolve(text);
        ASSERT_TRUE(found.Found) << text << ": " << found.Error;
        EXPECT_EQ(found.Found->Name + "/" + found.Found->CountryCode, expected) << text;
    }
    // Found as typed, and listed once when both names begin so.
    const std::vector<Place> typed = system.Loaded->Find("Bomb", 5);
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed[0].Name, "Mumbai");
    const std::vector<Place> both = system.Loaded->Find("B", 50);
    EXPECT_EQ(std::count_if(both.begin(), both.end(), [](const Place& p) { return p.Name == "Bengaluru"; }), 1);
}

// The names a reading file cannot hold, as the place dialog is to write them.
TEST(PlainLatinNames, TransliteratedToAscii)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {{"Tromsø", "Tromso"},
        {"São Paulo", "Sao Paulo"}, {"Zürich", "Zurich"}, {"Pune", "Pune"}, {"Bad\xff", std::nullopt}};
    for (const auto& [text, plain] : cases) {
        EXPECT_EQ(PlainLatin(text), plain) << text;
    }
}

} // namespace
