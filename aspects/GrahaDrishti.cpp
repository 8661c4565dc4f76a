#include "aspects/GrahaDrishti.h"

#include "positions/GrahaPositions.h"

namespace halvaro::modVedicGrahaDrishti {

const std::array<std::string_view, SignCount> EnglishSignNames {
    "Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces",
};

const std::array<std::string_view, SignCount> VedicSignNames {
    "Mesha", "Vrishabha", "Mithuna", "Kataka", "Simha", "Kanya",
    "Thula", "Vrischika", "Dhanus", "Makara", "Kumbha", "Meena",
};

ResultTexts Results;

namespace {

// Graha indices of the three grahas with further aspects.
constexpr int Mars = 4;
constexpr int Jupiter = 5;
constexpr int Saturn = 6;

// Where the sign abbreviation stands in a short position text such as
// "05 Tau 07": characters 4 to 6, counting from 1.
constexpr std::size_t KeyOffset = 3;
constexpr std::size_t KeyLength = 3;

constexpr int SignAfter(int sign, int steps)
{
    return ((sign + steps) % SignCount + SignCount) % SignCount;
}

} // namespace

AspectList GrahaAspectList(int graha, int sign)
{
    // Steps counted from the graha's own sign: the 4th sign is 3 steps on.
    // Mars also aspects the 4th and 8th, Jupiter the 5th and 9th, Saturn
    // the 3rd and 10th; everyone aspects the 7th.
    constexpr int Seventh = 6;
    switch (graha) {
    case Mars:
        return {{SignAfter(sign, 3), SignAfter(sign, Seventh), SignAfter(sign, 7)}, 3};
    case Jupiter:
        return {{SignAfter(sign, 4), SignAfter(sign, Seventh), SignAfter(sign, 8)}, 3};
    case Saturn:
        return {{SignAfter(sign, 2), SignAfter(sign, Seventh), SignAfter(sign, 9)}, 3};
    default:
        return {{SignAfter(sign, Seventh), 0, 0}, 1};
    }
}

int SignOfPosition(std::string_view shortText)
{
    if (shortText.size() < KeyOffset + KeyLength) {
        return -1;
    }
    const std::string_view key = shortText.substr(KeyOffset, KeyLength);
    for (int sign = 0; sign < SignCount; ++sign) {
        // The match key is the first three letters of the English name,
        // exactly the abbreviation the position texts carry.
        if (EnglishSignNames[sign].substr(0, KeyLength) == key) {
            return sign;
        }
    }
    return -1;
}

void ComputeGrahaDrishti()
{
    using namespace modVedicPlanetPosition;
    std::array<int, RowCount> signs {};
    for (int p = 0; p < RowCount; ++p) {
        signs[p] = SignOfPosition(GrahaPositionTexts[p]);
    }
    WriteGrahaDrishti(MakeDrishtiLabels(GrahaNames, GrahaVedicNames), signs, GrahaPositionTexts, Results);
}

DrishtiLabels MakeDrishtiLabels(
    const std::array<std::string_view, RowCount>& names, const std::array<std::string_view, RowCount>& vedicNames)
{
    DrishtiLabels labels;
    labels.Names = names;
    for (int p = 0; p < RowCount; ++p) {
        const std::string_view name = names[p];
        labels.Planets[p].append(name).append(" / ").append(vedicNames[p]);
        labels.NoSign[p].append("Sign aspected by ").append(name).append(" is .");
        for (int sign = 0; sign < SignCount; ++sign) {
            LabelText& signLine = labels.Signs[p][sign];
            signLine.append("Sign aspected by ").append(name).append(" is ");
            const AspectList list = GrahaAspectList(p, sign);
            for (int i = 0; i < list.Count; ++i) {
                if (i > 0) {
                    signLine.append(", ");
                }
                signLine.append(VedicSignNames[list.Signs[i]]);
            }
            signLine.append('.');
        }
        labels.PlanetsHead[p].append("Planet(s) aspected by ").append(name).append(" is ");
        labels.NoDrishti[p].append("Planet ").append(name).append(" has no Graha Drishti.");
    }
    return labels;
}

const DrishtiLabels& GrahaDrishtiLabels()
{
    static const DrishtiLabels labels
        = MakeDrishtiLabels(modVedicPlanetPosition::EnglishGrahaNames, modVedicPlanetPosition::VedicGrahaNames);
    return labels;
}

void WriteGrahaDrishti(const DrishtiLabels& labels, const std::array<int, RowCount>& signs,
    const std::array<ShortText, RowCount>& positionTexts, ResultTexts& results)
{
    for (int p = 0; p < RowCount; ++p) {
        results.lblPlanets[p] = labels.Planets[p];
        results.lblPlanets_Position[p] = LabelText(positionTexts[p].view());
        const int own = signs[p];
        LabelText& planetsLine = results.lblAspects_Planets[p];
        if (own < 0) {
            // Without a sign there is nothing to aspect, nor anyone aspected.
            results.lblAspects_Sign[p] = labels.NoSign[p];
            planetsLine = labels.NoDrishti[p];
            continue;
        }
        results.lblAspects_Sign[p] = labels.Signs[p][own];

        // The aspected grahas, grouped by aspected sign in list order and,
        // within one sign, in Graha order.
        planetsLine = labels.PlanetsHead[p];
        const std::size_t headSize = planetsLine.size();
        const AspectList list = GrahaAspectList(p, own);
        for (int i = 0; i < list.Count; ++i) {
            for (int q = 0; q < RowCount; ++q) {
                if (signs[q] == list.Signs[i]) {
                    if (planetsLine.size() > headSize) {
                        planetsLine.append(", ");
                    }
                    planetsLine.append(labels.Names[q]);
                }
            }
        }
        if (planetsLine.size() == headSize) {
            planetsLine = labels.NoDrishti[p];
        } else {
            planetsLine.append('.');
        }
    }
}

} // namespace halvaro::modVedicGrahaDrishti
