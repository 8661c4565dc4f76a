#pragma once

#include "core/Ranges.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The choices a reading is computed under, one value passed into the
// calculation, so that no layer holds them as constants of its own.
namespace halvaro {

// Which sky a reading's longitudes come from: the classic model, which the
// program has always computed and is the default everywhere, or the precise
// positions of a full ephemeris.
enum class SkyModel { Classic, Precise };

// "classic" or "precise", as the command line and the outputs name them.
constexpr std::string_view SkyModelName(SkyModel sky)
{
    return sky == SkyModel::Precise ? "precise" : "classic";
}

// The ayanamsa the sidereal longitudes are measured with; User is a value
// the user gives at an epoch, carried by precession like the others.
enum class AyanamsaSystem {
    Lahiri, Raman, Krishnamurti, Yukteshwar, JnBhasin, TrueChitraPaksha, TruePushya, TrueRevati, SuryaSiddhanta,
    FaganBradley, User, Count
};
inline constexpr auto AyanamsaSystemCount = static_cast<std::size_t>(AyanamsaSystem::Count);

struct AyanamsaNames {
    std::string_view Option; // as --ayanamsa takes it
    std::string_view Shown;  // as the outputs name it
};
inline constexpr std::array<AyanamsaNames, AyanamsaSystemCount> AyanamsaTable {{
    {"lahiri", "Lahiri"},
    {"raman", "Raman"},
    {"kp", "Krishnamurti (KP)"},
    {"yukteshwar", "Yukteshwar"},
    {"jn-bhasin", "J. N. Bhasin"},
    {"true-chitra", "True Chitra Paksha"},
    {"true-pushya", "True Pushya"},
    {"true-revati", "True Revati"},
    {"surya-siddhanta", "Surya Siddhanta"},
    {"fagan-bradley", "Fagan-Bradley"},
    {"user", "user value"},
}};

constexpr const AyanamsaNames& NamesOf(AyanamsaSystem ayanamsa)
{
    return AyanamsaTable[static_cast<std::size_t>(ayanamsa)];
}

// A user's ayanamsa: its value in degrees at 0h Universal Time of a date.
struct UserAyanamsa {
    double Degrees = 0;
    int Year = 2000, Month = 1, Day = 1;
    friend bool operator==(const UserAyanamsa&, const UserAyanamsa&) = default;
};

// Rahu as the Moon's mean node, or as its true (osculating) node, which
// moves back and forth about the mean one.
enum class NodeKind { Mean, True };

constexpr std::string_view NodeOption(NodeKind node)
{
    return node == NodeKind::True ? "true" : "mean";
}

// The days of a Vimshottari year the schools count in.
inline constexpr std::array<double, 3> DashaYearChoices {365.25, 365.2564, 360};
inline constexpr std::array<std::string_view, 3> DashaYearOptions {"365.25", "365.2564", "360"};

// When the day begins: the Sun's rising as the panchanga counts it. Hindu:
// the disc's centre on the geometric horizon, without refraction; disc
// centre: the centre, with refraction; upper limb: the almanacs' sunrise,
// the disc's top edge with refraction.
enum class SunriseConvention { Hindu, DiscCentre, UpperLimb, Count };
inline constexpr auto SunriseConventionCount = static_cast<std::size_t>(SunriseConvention::Count);

struct SunriseConventionNames {
    std::string_view Option; // as --sunrise takes it
    std::string_view Shown;  // as the outputs name it
};
inline constexpr std::array<SunriseConventionNames, SunriseConventionCount> SunriseConventionTable {{
    {"hindu", "Hindu (disc centre, no refraction)"},
    {"disc-centre", "disc centre with refraction"},
    {"upper-limb", "upper limb with refraction"},
}};

constexpr const SunriseConventionNames& NamesOf(SunriseConvention sunrise)
{
    return SunriseConventionTable[static_cast<std::size_t>(sunrise)];
}

struct Conventions {
    SkyModel Sky = SkyModel::Classic;
    AyanamsaSystem Ayanamsa = AyanamsaSystem::Lahiri;
    UserAyanamsa User; // for AyanamsaSystem::User only
    NodeKind Node = NodeKind::Mean;
    // Days of a Vimshottari year.
    double DashaYearDays = DashaYearChoices[0];
    // When the panchanga's day begins.
    SunriseConvention Sunrise = SunriseConvention::Hindu;

    // The years of birth the sky covers.
    [[nodiscard]] constexpr ListRange Years() const
    {
        return Sky == SkyModel::Precise ? PreciseYearRange : ClassicYearRange;
    }
    // The classic model has its own ayanamsa and node: only the defaults.
    [[nodiscard]] bool AreDefault() const
    {
        return Ayanamsa == AyanamsaSystem::Lahiri && Node == NodeKind::Mean && DashaYearDays == DashaYearChoices[0];
    }
    friend bool operator==(const Conventions&, const Conventions&) = default;
};

// The default conventions of a sky.
constexpr Conventions DefaultConventions(SkyModel sky)
{
    Conventions conventions;
    conventions.Sky = sky;
    return conventions;
}

// "Lahiri", or "user value 23.5° at 2000-01-01".
std::string AyanamsaText(const Conventions& conventions);

// How every output names the conventions in force: "Lahiri, mean node,
// 365.25-day year"; the classic model's own are named as such.
std::string ConventionsText(const Conventions& conventions);

} // namespace halvaro
