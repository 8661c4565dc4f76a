#include "aspects/GrahaDrishti.h"

#include <algorithm>
#include <bit>

namespace halvaro::modVedicGrahaDrishti {

namespace {

// The fixed parts of the 32 texts: everything but the position texts and
// the lists of aspected grahas, which depend on the reading.
struct DrishtiLabels {
    std::array<LabelText, RowCount> Planets;                      // "Sun / Surya"
    std::array<std::array<LabelText, SignCount>, RowCount> Signs; // by graha and the sign it stands in
    std::array<LabelText, RowCount> PlanetsHead;                  // "Planet(s) aspected by Sun is "
    std::array<LabelText, RowCount> NoDrishti;                    // "Planet Sun has no Graha Drishti."
};

constexpr DrishtiLabels MakeDrishtiLabels()
{
    DrishtiLabels labels;
    for (int p = 0; p < RowCount; ++p) {
        const auto row = static_cast<std::size_t>(p);
        const std::string_view name = GrahaNameTable[row].English;
        labels.Planets[row].append(name).append(" / ").append(GrahaNameTable[row].Vedic);
        for (int sign = 0; sign < SignCount; ++sign) {
            LabelText& signLine = labels.Signs[row][static_cast<std::size_t>(sign)];
            signLine.append("Sign aspected by ").append(name).append(" is ");
            const AspectList list = GrahaAspectList(static_cast<Graha>(p), sign);
            for (int i = 0; i < list.Count; ++i) {
                if (i > 0) {
                    signLine.append(", ");
                }
                signLine.append(VedicSignNames[static_cast<std::size_t>(list.Signs[static_cast<std::size_t>(i)])]);
            }
            signLine.append('.');
        }
        labels.PlanetsHead[row].append("Planet(s) aspected by ").append(name).append(" is ");
        labels.NoDrishti[row].append("Planet ").append(name).append(" has no Graha Drishti.");
    }
    return labels;
}

// Made once, by the compiler.
constexpr DrishtiLabels Labels = MakeDrishtiLabels();

// Each graha's aspected signs from each sign it can stand in.
constexpr std::array<std::array<AspectList, SignCount>, RowCount> AspectLists = [] {
    std::array<std::array<AspectList, SignCount>, RowCount> lists {};
    for (int p = 0; p < RowCount; ++p) {
        for (int sign = 0; sign < SignCount; ++sign) {
            lists[static_cast<std::size_t>(p)][static_cast<std::size_t>(sign)] = GrahaAspectList(static_cast<Graha>(p), sign);
        }
    }
    return lists;
}();

// The longest line a reading can hold: a graha that aspects three signs with
// all seven others standing in them. A label is cut at its capacity, so this
// and every fixed part must fit whole.
constexpr std::size_t LongestLabel()
{
    std::size_t longest = 0;
    for (std::size_t row = 0; row < RowCount; ++row) {
        std::size_t planets = Labels.PlanetsHead[row].size() + 1; // the full stop
        for (std::size_t other = 0; other < RowCount; ++other) {
            planets += other == row ? 0 : GrahaNameTable[other].English.size() + 2; // with ", "
        }
        longest = std::max({longest, planets - 2, Labels.NoDrishti[row].size(), Labels.Planets[row].size()});
        for (const LabelText& sign : Labels.Signs[row]) {
            longest = std::max(longest, sign.size());
        }
    }
    return longest;
}
static_assert(LongestLabel() < sizeof(LabelText) - 1, "a result label would be cut");

} // namespace

ResultTexts ComputeGrahaDrishti(const modVedicPlanetPosition::GrahaPositions& positions)
{
    // The grahas standing in each sign, one bit each in Graha order.
    std::array<unsigned, SignCount> standing {};
    for (std::size_t q = 0; q < RowCount; ++q) {
        standing[static_cast<std::size_t>(positions.Places[q].Sign)] |= 1U << q;
    }
    ResultTexts results;
    results.lblPlanets = Labels.Planets;
    for (int p = 0; p < RowCount; ++p) {
        const auto row = static_cast<std::size_t>(p);
        results.lblPlanets_Position[row] = LabelText(positions.GrahaPositionTexts[row]);
        const int own = positions.Places[row].Sign;
        results.lblAspects_Sign[row] = Labels.Signs[row][static_cast<std::size_t>(own)];

        // The aspected grahas, grouped by aspected sign in list order and,
        // within one sign, in Graha order.
        const AspectList& list = AspectLists[row][static_cast<std::size_t>(own)];
        unsigned aspected = 0;
        for (int i = 0; i < list.Count; ++i) {
            aspected |= standing[static_cast<std::size_t>(list.Signs[static_cast<std::size_t>(i)])];
        }
        LabelText& planetsLine = results.lblAspects_Planets[row];
        if (aspected == 0) {
            planetsLine = Labels.NoDrishti[row];
            continue;
        }
        planetsLine = Labels.PlanetsHead[row];
        const std::size_t headSize = planetsLine.size();
        for (int i = 0; i < list.Count; ++i) {
            for (unsigned bits = standing[static_cast<std::size_t>(list.Signs[static_cast<std::size_t>(i)])]; bits != 0;
                 bits &= bits - 1) {
                if (planetsLine.size() > headSize) {
                    planetsLine.append(", ");
                }
                planetsLine.append(GrahaNameTable[static_cast<std::size_t>(std::countr_zero(bits))].English);
            }
        }
        planetsLine.append('.');
    }
    return results;
}

} // namespace halvaro::modVedicGrahaDrishti
