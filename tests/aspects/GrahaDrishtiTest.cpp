#include "aspects/GrahaDrishti.h"

#include "positions/GrahaPositions.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace gd = halvaro::modVedicGrahaDrishti;
namespace pp = halvaro::modVedicPlanetPosition;

using Positions = std::array<std::string_view, 8>;

// The positions step's result for grahas at these short texts: each text
// and the sign whose three letters it carries.
pp::GrahaPositions PositionsAt(const Positions& texts)
{
    constexpr std::string_view Keys = "AriTauGemCanLeoVirLibScoSagCapAquPis";
    pp::GrahaPositions positions;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        positions.GrahaPositionTexts[i] = halvaro::ShortText(texts[i]);
        positions.Places[i].Sign = static_cast<int>(Keys.find(texts[i].substr(3, 3)) / 3);
    }
    return positions;
}

struct ExpectedRow {
    int Row;
    std::string_view SignText;
    std::string_view PlanetsText;
};

struct DrishtiCase {
    std::string_view Name;
    Positions Grahas; // Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, North Node
    std::vector<ExpectedRow> Rows;
};

void PrintTo(const DrishtiCase& row, std::ostream* os)
{
    *os << row.Name;
}

class GrahaDrishtiRows : public testing::TestWithParam<DrishtiCase> {};

TEST_P(GrahaDrishtiRows, AspectTextsOfTheRows)
{
    const DrishtiCase& c = GetParam();
    const gd::ResultTexts results = gd::ComputeGrahaDrishti(PositionsAt(c.Grahas));
    for (const ExpectedRow& row : c.Rows) {
        EXPECT_EQ(results.lblAspects_Sign[row.Row].view(), row.SignText) << "row " << row.Row;
        EXPECT_EQ(results.lblAspects_Planets[row.Row].view(), row.PlanetsText) << "row " << row.Row;
    }
}

// Expected texts worked out by hand from the aspect rules: everyone aspects
// the 7th sign from its own; Mars also the 4th and 8th, Jupiter the 5th and
// 9th, Saturn the 3rd and 10th. The first case is the classic model's worked
// example (Sun 05 Tau 07, Moon 17 Sco 44, Venus 02 Sco 10, nobody else in
// Taurus or Scorpio).
const DrishtiCase DrishtiCases[] {
    {"WorkedExample",
        {"05 Tau 07", "17 Sco 44", "10 Ari 00", "02 Sco 10", "12 Gem 00", "20 Leo 00", "03 Cap 00", "14 Pis 00"},
        {{0, "Sign aspected by Sun is Vrischika.", "Planet(s) aspected by Sun is Moon, Venus."},
            {1, "Sign aspected by Moon is Vrishabha.", "Planet(s) aspected by Moon is Sun."},
            {3, "Sign aspected by Venus is Vrishabha.", "Planet(s) aspected by Venus is Sun."}}},
    {"OppositeSignsListEachOther",
        {"10 Ari 00", "10 Lib 00", "01 Gem 00", "01 Can 00", "01 Leo 00", "01 Vir 00", "01 Sag 00", "01 Cap 00"},
        {{0, "Sign aspected by Sun is Thula.", "Planet(s) aspected by Sun is Moon."},
            {1, "Sign aspected by Moon is Mesha.", "Planet(s) aspected by Moon is Sun."}}},
    {"SameSignDoesNotAspect",
        {"03 Can 00", "20 Cap 00", "25 Can 59", "01 Ari 00", "01 Tau 00", "01 Gem 00", "01 Vir 00", "01 Sco 00"},
        {{0, "Sign aspected by Sun is Makara.", "Planet(s) aspected by Sun is Moon."},
            {2, "Sign aspected by Mercury is Makara.", "Planet(s) aspected by Mercury is Moon."},
            {1, "Sign aspected by Moon is Kataka.", "Planet(s) aspected by Moon is Sun, Mercury."}}},
    {"SeveralGrahasInGrahaOrder",
        {"01 Lib 00", "05 Ari 00", "12 Lib 00", "29 Lib 59", "01 Gem 00", "01 Leo 00", "01 Cap 00", "15 Lib 30"},
        {{1, "Sign aspected by Moon is Thula.", "Planet(s) aspected by Moon is Sun, Mercury, Venus, North Node."},
            {0, "Sign aspected by Sun is Mesha.", "Planet(s) aspected by Sun is Moon."},
            {7, "Sign aspected by North Node is Mesha.", "Planet(s) aspected by North Node is Moon."},
            {4, "Sign aspected by Mars is Kanya, Dhanus, Makara.", "Planet(s) aspected by Mars is Saturn."},
            {5, "Sign aspected by Jupiter is Dhanus, Kumbha, Mesha.", "Planet(s) aspected by Jupiter is Moon."},
            {6, "Sign aspected by Saturn is Meena, Kataka, Thula.",
                "Planet(s) aspected by Saturn is Sun, Mercury, Venus, North Node."}}},
    {"EmptySeventhSignHasNoGrahaDrishti",
        {"00 Ari 00", "01 Tau 00", "01 Ari 30", "01 Pis 00", "01 Cap 00", "01 Sco 00", "01 Aqu 00", "01 Gem 00"},
        {{0, "Sign aspected by Sun is Thula.", "Planet Sun has no Graha Drishti."},
            {2, "Sign aspected by Mercury is Thula.", "Planet Mercury has no Graha Drishti."},
            {7, "Sign aspected by North Node is Dhanus.", "Planet North Node has no Graha Drishti."}}},
    {"SeventhSignWrapsAround",
        {"15 Lib 00", "14 Pis 00", "15 Ari 00", "09 Vir 00", "01 Tau 00", "01 Gem 00", "01 Can 00", "01 Leo 00"},
        {{1, "Sign aspected by Moon is Kanya.", "Planet(s) aspected by Moon is Venus."},
            {3, "Sign aspected by Venus is Meena.", "Planet(s) aspected by Venus is Moon."},
            {0, "Sign aspected by Sun is Mesha.", "Planet(s) aspected by Sun is Mercury."},
            {2, "Sign aspected by Mercury is Thula.", "Planet(s) aspected by Mercury is Sun."}}},
    {"MarsAspectsFourthSeventhEighth",
        {"01 Can 00", "01 Sco 00", "01 Tau 00", "01 Lib 00", "10 Ari 00", "01 Gem 00", "01 Leo 00", "01 Pis 00"},
        {{4, "Sign aspected by Mars is Kataka, Thula, Vrischika.", "Planet(s) aspected by Mars is Sun, Venus, Moon."}}},
    {"MarsFurtherAspectsWrapFromMakara",
        {"01 Tau 00", "01 Leo 00", "01 Gem 00", "01 Vir 00", "20 Cap 00", "01 Can 00", "01 Sag 00", "01 Ari 00"},
        {{4, "Sign aspected by Mars is Mesha, Kataka, Simha.",
             "Planet(s) aspected by Mars is North Node, Jupiter, Moon."},
            {5, "Sign aspected by Jupiter is Vrischika, Makara, Meena.", "Planet(s) aspected by Jupiter is Mars."},
            {6, "Sign aspected by Saturn is Kumbha, Mithuna, Kanya.",
                "Planet(s) aspected by Saturn is Mercury, Venus."}}},
    {"JupiterAspectsFifthSeventhNinth",
        {"01 Leo 00", "01 Tau 00", "01 Gem 00", "01 Can 00", "01 Vir 00", "05 Ari 00", "01 Sag 00", "01 Cap 00"},
        {{5, "Sign aspected by Jupiter is Simha, Thula, Dhanus.", "Planet(s) aspected by Jupiter is Sun, Saturn."}}},
    {"JupiterFurtherAspectsWrapFromDhanus",
        {"01 Tau 00", "01 Gem 00", "01 Can 00", "01 Ari 00", "01 Vir 00", "05 Sag 00", "01 Lib 00", "01 Cap 00"},
        {{5, "Sign aspected by Jupiter is Mesha, Mithuna, Simha.", "Planet(s) aspected by Jupiter is Venus, Moon."}}},
    {"SaturnAspectsThirdSeventhTenth",
        {"01 Gem 00", "01 Tau 00", "01 Gem 10", "01 Can 00", "01 Cap 00", "01 Leo 00", "05 Ari 00", "01 Vir 00"},
        {{6, "Sign aspected by Saturn is Mithuna, Thula, Makara.",
            "Planet(s) aspected by Saturn is Sun, Mercury, Mars."}}},
    {"SaturnFurtherAspectsWrapFromKumbha",
        {"01 Ari 00", "01 Tau 00", "01 Gem 00", "01 Can 00", "01 Vir 00", "01 Lib 00", "05 Aqu 00", "01 Sco 00"},
        {{6, "Sign aspected by Saturn is Mesha, Simha, Vrischika.", "Planet(s) aspected by Saturn is Sun, North Node."}}},
};

INSTANTIATE_TEST_SUITE_P(HandMadeTables, GrahaDrishtiRows, testing::ValuesIn(DrishtiCases),
    [](const testing::TestParamInfo<DrishtiCase>& row) { return std::string(row.param.Name); });

struct AspectListCase {
    std::string_view Name;
    int Graha;
    int Sign;
    std::vector<int> Signs;
};

void PrintTo(const AspectListCase& row, std::ostream* os)
{
    *os << row.Name;
}

class AspectLists : public testing::TestWithParam<AspectListCase> {};

TEST_P(AspectLists, SignsInListOrder)
{
    const AspectListCase& c = GetParam();
    const gd::AspectList list = gd::GrahaAspectList(static_cast<halvaro::Graha>(c.Graha), c.Sign);
    ASSERT_EQ(list.Count, static_cast<int>(c.Signs.size()));
    for (int i = 0; i < list.Count; ++i) {
        EXPECT_EQ(list.Signs[i], c.Signs[i]) << "entry " << i;
    }
}

// Sign indices counted by hand: the nth sign from s is s + n - 1, mod 12.
const AspectListCase AspectListCases[] {
    {"SunInMesha", 0, 0, {6}},
    {"MoonInMeena", 1, 11, {5}},
    {"MercuryInKanya", 2, 5, {11}},
    {"VenusInVrishabha", 3, 1, {7}},
    {"NorthNodeInThula", 7, 6, {0}},
    {"MarsInMesha", 4, 0, {3, 6, 7}},
    {"MarsInMeena", 4, 11, {2, 5, 6}},
    {"JupiterInMesha", 5, 0, {4, 6, 8}},
    {"JupiterInKumbha", 5, 10, {2, 4, 6}},
    {"SaturnInMesha", 6, 0, {2, 6, 9}},
    {"SaturnInDhanus", 6, 8, {10, 2, 5}},
};

INSTANTIATE_TEST_SUITE_P(ByGrahaAndSign, AspectLists, testing::ValuesIn(AspectListCases),
    [](const testing::TestParamInfo<AspectListCase>& row) { return std::string(row.param.Name); });

} // namespace
