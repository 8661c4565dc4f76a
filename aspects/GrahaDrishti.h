#pragma once

#include "core/FixedText.h"

#include <array>
#include <string_view>

namespace halvaro::modVedicGrahaDrishti {

inline constexpr int SignCount = 12;
inline constexpr int RowCount = 8;

extern const std::array<std::string_view, SignCount> EnglishSignNames;
extern const std::array<std::string_view, SignCount> VedicSignNames;

// The ordered signs a graha aspects: the seventh alone, or for Mars, Jupiter
// and Saturn first further sign, seventh, second further sign.
struct AspectList {
    std::array<int, 3> Signs {};
    int Count = 0;
};
AspectList GrahaAspectList(int graha, int sign);

// The sign index whose match key stands at characters 4 to 6 of a short
// position text, or -1 when none does.
int SignOfPosition(std::string_view shortText);

// The 32 result texts, one row per graha in Graha order.
struct ResultTexts {
    std::array<LabelText, RowCount> lblPlanets;
    std::array<LabelText, RowCount> lblPlanets_Position;
    std::array<LabelText, RowCount> lblAspects_Sign;
    std::array<LabelText, RowCount> lblAspects_Planets;
};

// The result screen's texts of the last calculation.
extern ResultTexts Results;

// Reads the Graha tables; writes Results.
void ComputeGrahaDrishti();

// The fixed parts of the 32 texts for one set of graha names: everything
// but the position texts and the lists of aspected grahas, which depend on
// the reading.
struct DrishtiLabels {
    std::array<std::string_view, RowCount> Names;
    std::array<LabelText, RowCount> Planets;                        // "Sun / Surya"
    std::array<std::array<LabelText, SignCount>, RowCount> Signs;   // by graha and the sign it stands in
    std::array<LabelText, RowCount> NoSign;                         // "Sign aspected by Sun is ."
    std::array<LabelText, RowCount> PlanetsHead;                    // "Planet(s) aspected by Sun is "
    std::array<LabelText, RowCount> NoDrishti;                      // "Planet Sun has no Graha Drishti."
};
DrishtiLabels MakeDrishtiLabels(
    const std::array<std::string_view, RowCount>& names, const std::array<std::string_view, RowCount>& vedicNames);

// The labels of the grahas' own names, made once.
const DrishtiLabels& GrahaDrishtiLabels();

// The 32 texts of grahas standing in these signs (-1: no known sign) with
// these short position texts.
void WriteGrahaDrishti(const DrishtiLabels& labels, const std::array<int, RowCount>& signs,
    const std::array<ShortText, RowCount>& positionTexts, ResultTexts& results);

} // namespace halvaro::modVedicGrahaDrishti
