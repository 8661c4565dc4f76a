// How far the classic model stands from the precise sky: over random birth
// moments from 1901 to 2050, per graha the mean and the largest difference of
// the sidereal longitudes (classic minus precise, wrapped into (-180, 180]),
// the share of readings that put the graha in another sign, and the share
// with any graha in another sign.
//
// With --conventions, how far the precise reading under each ayanamsa and
// node stands from the Swiss Ephemeris's own sidereal computation: random
// births from 1600 to 2399 taken through the reading as a user's goes (local
// time and offset to the moment), against the library called directly for
// the same local time, per graha, Rahu, Ketu, the Lagna and the ayanamsa the
// largest difference.
//
// Seeded, so the same command prints the same table on any machine with the
// same libraries.
//
//   halvaro-accuracy [--conventions] [COUNT [SEED]]     (defaults: 2000 moments, seed 1)
#include "core/InputChecks.h"
#include "fullreading/FullReading.h"
#include "sky/PreciseSky.h"
#include "tests/common/ReferenceBirths.h"

#include <swephexp.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

namespace {

using namespace halvaro;

std::optional<std::uint32_t> Number(std::string_view text)
{
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

double WrappedDeg(double difference)
{
    double d = std::fmod(difference, 360.0);
    if (d <= -180) {
        d += 360;
    } else if (d > 180) {
        d -= 360;
    }
    return d;
}

// A random valid birth at Greenwich, so that the clock time is Universal
// Time. std::mt19937's output is fixed by the standard; the reduction by
// remainder keeps the draws the same with any standard library.
Birth RandomBirth(std::mt19937& random)
{
    const auto draw = [&random](int first, int last) {
        return first + static_cast<int>(random() % static_cast<std::uint32_t>(last - first + 1));
    };
    BirthData birth = testing::Greenwich2000();
    for (;;) {
        birth.Year = draw(1901, 2050);
        birth.Month = draw(1, 12);
        birth.Day = draw(1, 31);
        birth.Hour = draw(0, 23);
        birth.Minute = draw(0, 59);
        const BirthCheck checked = ValidateInput(birth);
        if (!checked.Failure) {
            return checked.Value;
        }
    }
}


int ClassicReport(std::uint32_t count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::array<double, GrahaCount> sum {}, largest {};
    std::array<std::uint32_t, GrahaCount> otherSign {};
    std::uint32_t anyOtherSign = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Birth birth = RandomBirth(random);
        const auto classic = fullreading::CalculateFullReading(birth, DefaultConventions(SkyModel::Classic), {false, false, false, false});
        const auto precise = fullreading::CalculateFullReading(birth, DefaultConventions(SkyModel::Precise), {false, false, false, false});
        if (classic.Failure || precise.Failure) {
            const CivilDateTime& t = birth.Local;
            std::fprintf(stderr, "halvaro-accuracy: no reading for %04d-%02d-%02d %02d:%02d\n", t.Year, t.Month, t.Day,
                t.Hour, t.Minute);
            return 1;
        }
        bool any = false;
        for (std::size_t g = 0; g < GrahaCount; ++g) {
            const double error = WrappedDeg(classic.Value.Longitudes[g] - precise.Value.Longitudes[g]);
            sum[g] += error;
            largest[g] = std::fmax(largest[g], std::fabs(error));
            if (classic.Value.Places[g].Sign != precise.Value.Places[g].Sign) {
                ++otherSign[g];
                any = true;
            }
        }
        anyOtherSign += any ? 1 : 0;
    }

    const double n = count;
    std::printf("Classic model minus precise sky (Swiss Ephemeris %s, Moshier, Lahiri): %u random moments "
                "1901-2050, seed %u\n\n",
        sky::SwissEphemerisVersion().c_str(), count, seed);
    std::printf("| graha | mean error | largest error | sign differs |\n|---|---|---|---|\n");
    for (std::size_t g = 0; g < GrahaCount; ++g) {
        const std::string_view name = GrahaNameTable[g].English;
        std::printf("| %.*s | %+.2f° | %.2f° | %.1f %% |\n", static_cast<int>(name.size()), name.data(), sum[g] / n,
            largest[g], 100.0 * otherSign[g] / n);
    }
    std::printf("\nReadings with any graha in another sign: %.1f %%\n", 100.0 * anyOtherSign / n);
    return 0;
}

// The library's sidereal modes for each ayanamsa the program offers, written
// out here from the library's header, not taken from the program.
struct LibraryAyanamsa {
    AyanamsaSystem System;
    int32 Mode;
};
constexpr std::array<LibraryAyanamsa, AyanamsaSystemCount> LibraryAyanamsas {{
    {AyanamsaSystem::Lahiri, SE_SIDM_LAHIRI},
    {AyanamsaSystem::Raman, SE_SIDM_RAMAN},
    {AyanamsaSystem::Krishnamurti, SE_SIDM_KRISHNAMURTI},
    {AyanamsaSystem::Yukteshwar, SE_SIDM_YUKTESHWAR},
    {AyanamsaSystem::JnBhasin, SE_SIDM_JN_BHASIN},
    {AyanamsaSystem::TrueChitraPaksha, SE_SIDM_TRUE_CITRA},
    {AyanamsaSystem::TruePushya, SE_SIDM_TRUE_PUSHYA},
    {AyanamsaSystem::TrueRevati, SE_SIDM_TRUE_REVATI},
    {AyanamsaSystem::SuryaSiddhanta, SE_SIDM_SURYASIDDHANTA},
    {AyanamsaSystem::FaganBradley, SE_SIDM_FAGAN_BRADLEY},
    {AyanamsaSystem::User, SE_SIDM_USER | SE_SIDBIT_USER_UT},
}};
constexpr UserAyanamsa ReportUser {24.1, 2024, 3, 21};

// The columns: the eight grahas, Ketu, the Lagna and the ayanamsa.
constexpr std::size_t KetuColumn = GrahaCount, LagnaColumn = GrahaCount + 1, AyanamsaColumn = GrahaCount + 2;
using Columns = std::array<double, GrahaCount + 3>;

// A birth as a user may give it: a local date and time from 1600 to 2399, an
// offset to the second (local mean time has any), a place to the minute of
// arc short of the poles.
Birth RandomWideBirth(std::mt19937& random)
{
    namespace chr = std::chrono;
    const auto draw = [&random](int first, int last) {
        return first + static_cast<int>(random() % static_cast<std::uint32_t>(last - first + 1));
    };
    Birth birth;
    CivilDateTime& t = birth.Local;
    do {
        t.Year = draw(1600, 2399);
        t.Month = draw(1, 12);
        t.Day = draw(1, 31);
    } while (!chr::year_month_day {chr::year {t.Year}, chr::month {static_cast<unsigned>(t.Month)},
        chr::day {static_cast<unsigned>(t.Day)}}.ok());
    t.Hour = draw(0, 23);
    t.Minute = draw(0, 59);
    birth.UtcOffsetMinutes = draw(-12 * 60, 14 * 60);
    birth.UtcOffsetExtraSeconds = draw(-30, 29);
    birth.LatitudeDeg = draw(-(89 * 60 + 59), 89 * 60 + 59) / 60.0;
    birth.LongitudeDeg = draw(-180 * 60, 180 * 60) / 60.0;
    return birth;
}

// The library's own reading of the same local time: its conversion to
// Universal Time, then its sidereal positions, nodes, ascendant and ayanamsa.
std::optional<std::array<Columns, 2>> LibraryColumns(const Birth& birth, const LibraryAyanamsa& ayanamsa)
{
    const CivilDateTime& t = birth.Local;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0;
    swe_utc_time_zone(t.Year, t.Month, t.Day, t.Hour, t.Minute, 0, UtcOffsetSecondsOf(birth) / 3600.0, &year, &month, &day,
        &hour, &minute, &second);
    const double jd = swe_julday(year, month, day, hour + minute / 60.0 + second / 3600.0, SE_GREG_CAL);
    const int32 flags = SEFLG_MOSEPH | SEFLG_SIDEREAL;
    swe_set_sid_mode(ayanamsa.Mode, swe_julday(ReportUser.Year, ReportUser.Month, ReportUser.Day, 0, SE_GREG_CAL),
        ReportUser.Degrees);
    std::array<char, AS_MAXCH> error {};
    std::array<double, 6> x {};
    std::array<double, 13> cusps {};
    std::array<double, 10> angles {};
    Columns planets {};
    const std::array<int32, 7> bodies {SE_SUN, SE_MOON, SE_MERCURY, SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN};
    for (std::size_t b = 0; b < bodies.size(); ++b) {
        if (swe_calc_ut(jd, bodies[b], flags, x.data(), error.data()) < 0) {
            return std::nullopt;
        }
        planets[b] = x[0];
    }
    if (swe_houses_ex(jd, flags, birth.LatitudeDeg, birth.LongitudeDeg, 'E', cusps.data(), angles.data()) < 0
        || swe_get_ayanamsa_ex_ut(jd, SEFLG_MOSEPH, &planets[AyanamsaColumn], error.data()) < 0) {
        return std::nullopt;
    }
    planets[LagnaColumn] = angles[SE_ASC];
    std::array<Columns, 2> byNode {planets, planets};
    for (const int32 node : {SE_MEAN_NODE, SE_TRUE_NODE}) {
        if (swe_calc_ut(jd, node, flags, x.data(), error.data()) < 0) {
            return std::nullopt;
        }
        Columns& columns = byNode[node == SE_TRUE_NODE ? 1 : 0];
        columns[GrahaCount - 1] = x[0];
        columns[KetuColumn] = x[0] + 180;
    }
    return byNode;
}

// "0" or "3.7e-10": degrees.
std::string Largest(double degrees)
{
    if (degrees == 0) {
        return "0";
    }
    std::array<char, 32> text {};
    std::snprintf(text.data(), text.size(), "%.1e", degrees);
    return text.data();
}

int ConventionsReport(std::uint32_t count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    // Largest differences per ayanamsa and node (mean, true).
    std::array<std::array<Columns, 2>, AyanamsaSystemCount> largest {};
    for (std::uint32_t i = 0; i < count; ++i) {
        const Birth birth = RandomWideBirth(random);
        for (const LibraryAyanamsa& ayanamsa : LibraryAyanamsas) {
            const auto library = LibraryColumns(birth, ayanamsa);
            for (const NodeKind node : {NodeKind::Mean, NodeKind::True}) {
                const Conventions conventions {SkyModel::Precise, ayanamsa.System, ReportUser, node};
                const auto reading = fullreading::CalculateFullReading(birth, conventions, {false, false, false, false});
                const bool lagna = reading.Value.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed;
                if (!library || reading.Failure || !lagna) {
                    const CivilDateTime& t = birth.Local;
                    std::fprintf(stderr, "halvaro-accuracy: no reading for %04d-%02d-%02d %02d:%02d\n", t.Year,
                        t.Month, t.Day, t.Hour, t.Minute);
                    return 1;
                }
                const std::size_t n = node == NodeKind::True ? 1 : 0;
                const Columns& expected = (*library)[n];
                Columns actual {};
                std::copy(reading.Value.Longitudes.begin(), reading.Value.Longitudes.end(), actual.begin());
                actual[LagnaColumn] = reading.Value.Lagna.Longitude;
                actual[AyanamsaColumn] = -reading.Value.Ayanamsa;
                Columns& worst = largest[static_cast<std::size_t>(ayanamsa.System)][n];
                for (std::size_t c = 0; c < worst.size(); ++c) {
                    worst[c] = std::fmax(worst[c], std::fabs(WrappedDeg(actual[c] - expected[c])));
                }
            }
        }
    }

    std::printf("The precise reading minus the Swiss Ephemeris's own sidereal computation (Swiss Ephemeris %s, "
                "Moshier): %u random births 1600-2399, local time and offset, seed %u; the largest difference in "
                "degrees\n\n",
        sky::SwissEphemerisVersion().c_str(), count, seed);
    std::printf("| ayanamsa | node | Sun | Moon | Mercury | Venus | Mars | Jupiter | Saturn | Rahu | Ketu | Lagna | "
                "ayanamsa |\n|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const LibraryAyanamsa& ayanamsa : LibraryAyanamsas) {
        Conventions conventions {SkyModel::Precise, ayanamsa.System, ReportUser};
        for (const NodeKind node : {NodeKind::Mean, NodeKind::True}) {
            const Columns& worst = largest[static_cast<std::size_t>(ayanamsa.System)][node == NodeKind::True ? 1 : 0];
            std::string row = "| " + AyanamsaText(conventions) + " | " + std::string(NodeOption(node)) + " |";
            for (const double column : worst) {
                row += " " + Largest(column) + " |";
            }
            std::printf("%s\n", row.c_str());
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool conventions = argc > 1 && std::string_view(argv[1]) == "--conventions";
    const int first = conventions ? 2 : 1;
    const auto count = argc > first ? Number(argv[first]) : std::optional<std::uint32_t>(2000);
    const auto seed = argc > first + 1 ? Number(argv[first + 1]) : std::optional<std::uint32_t>(1);
    if (argc > first + 2 || !count || *count == 0 || !seed) {
        std::fprintf(stderr, "usage: halvaro-accuracy [--conventions] [COUNT [SEED]]  (COUNT at least 1)\n");
        return 2;
    }
    return conventions ? ConventionsReport(*count, *seed) : ClassicReport(*count, *seed);
}
