// How far the classic model stands from the precise sky: over random birth
// moments from 1901 to 2050, per graha the mean and the largest difference of
// the sidereal longitudes (classic minus precise, wrapped into (-180, 180]),
// the share of readings that put the graha in another sign, and the share
// with any graha in another sign. Seeded, so the same command prints the
// same table on any machine with the same libraries.
//
//   halvaro-accuracy [COUNT [SEED]]     (defaults: 2000 moments, seed 1)
#include "core/InputChecks.h"
#include "fullreading/FullReading.h"
#include "sky/PreciseSky.h"
#include "tests/common/ReferenceBirths.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
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

} // namespace

int main(int argc, char** argv)
{
    const auto count = argc > 1 ? Number(argv[1]) : std::optional<std::uint32_t>(2000);
    const auto seed = argc > 2 ? Number(argv[2]) : std::optional<std::uint32_t>(1);
    if (argc > 3 || !count || *count == 0 || !seed) {
        std::fprintf(stderr, "usage: halvaro-accuracy [COUNT [SEED]]  (COUNT at least 1)\n");
        return 2;
    }

    std::mt19937 random(*seed);
    std::array<double, GrahaCount> sum {}, largest {};
    std::array<std::uint32_t, GrahaCount> otherSign {};
    std::uint32_t anyOtherSign = 0;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const Birth birth = RandomBirth(random);
        const auto classic = fullreading::CalculateFullReading(birth, DefaultConventions(SkyModel::Classic), {false, false, false});
        const auto precise = fullreading::CalculateFullReading(birth, DefaultConventions(SkyModel::Precise), {false, false, false});
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

    const double n = *count;
    std::printf("Classic model minus precise sky (Swiss Ephemeris %s, Moshier, Lahiri): %u random moments "
                "1901-2050, seed %u\n\n",
        sky::SwissEphemerisVersion().c_str(), *count, *seed);
    std::printf("| graha | mean error | largest error | sign differs |\n|---|---|---|---|\n");
    for (std::size_t g = 0; g < GrahaCount; ++g) {
        const std::string_view name = GrahaNameTable[g].English;
        std::printf("| %.*s | %+.2f° | %.2f° | %.1f %% |\n", static_cast<int>(name.size()), name.data(), sum[g] / n,
            largest[g], 100.0 * otherSign[g] / n);
    }
    std::printf("\nReadings with any graha in another sign: %.1f %%\n", 100.0 * anyOtherSign / n);
    return 0;
}
