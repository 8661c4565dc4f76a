#include "fullreading/FullReading.h"

#include "aspects/GrahaDrishti.h"
#include "sky/PreciseSky.h"

#include <algorithm>
#include <cmath>

namespace halvaro::fullreading {

namespace {

vedic::GrahaLongitudes WithKetu(const std::array<double, GrahaCount>& eight, double ketu)
{
    vedic::GrahaLongitudes nine {};
    std::copy(eight.begin(), eight.end(), nine.begin());
    nine[IndexOf(Graha::Ketu)] = ketu;
    return nine;
}

// Degrees a day of the nine grahas (Ketu moves with Rahu); nothing when the
// sky gives no motion for the moment.
std::optional<vedic::GrahaLongitudes> GrahaSpeedsOf(const Reading& reading, const Conventions& conventions)
{
    const BirthMoment& moment = reading.Moment;
    if (reading.Sky == SkyModel::Classic) {
        // The classic model gives no speeds: its longitudes either side of
        // the moment, by central difference (vedic::DailyMotions).
        const int hours = static_cast<int>(std::lround(vedic::MotionHalfStepDays * 24));
        const auto before = ClassicLongitudesAt(moment, -hours);
        const auto after = ClassicLongitudesAt(moment, hours);
        return before && after ? vedic::DailyMotions(*before, *after) : std::nullopt;
    }
    const std::optional<std::array<double, GrahaCount>> speeds = sky::PreciseSpeeds(moment.JulianDay, conventions);
    if (!speeds) {
        return std::nullopt;
    }
    return WithKetu(*speeds, (*speeds)[IndexOf(Graha::Rahu)]);
}

std::vector<SkyDifference> SkyDifferencesOf(const Reading& reading, const Conventions& conventions)
{
    std::vector<SkyDifference> differences;
    if (reading.Sky != SkyModel::Classic) {
        return differences;
    }
    Conventions precise = conventions;
    precise.Sky = SkyModel::Precise;
    const std::optional<sky::SkyPositions> positions = sky::PrecisePositions(reading.Moment.JulianDay, precise);
    if (!positions) {
        return differences;
    }
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const int preciseSign = static_cast<int>(std::floor(positions->Longitudes[graha] / 30)) % 12;
        if (preciseSign != reading.Places[graha].Sign) {
            differences.push_back({static_cast<Graha>(graha), preciseSign});
        }
    }
    return differences;
}

std::optional<double> LagnaOf(const Reading& reading)
{
    return reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? std::optional<double>(reading.Lagna.Longitude)
        : std::nullopt;
}

} // namespace

std::optional<panchanga::MomentPanchanga> BirthPanchanga(const Birth& birth, double julianDayUniversal,
    const Conventions& conventions, const panchanga::UtcOffsetAt& clock)
{
    Conventions precise = conventions;
    precise.Sky = SkyModel::Precise;
    const int offset = UtcOffsetSecondsOf(birth);
    return panchanga::PanchangaAt(julianDayUniversal, {birth.LatitudeDeg, birth.LongitudeDeg}, precise,
        clock ? clock : panchanga::UtcOffsetAt([offset](double) { return offset; }));
}

FullReadingResult CalculateFullReading(const Birth& birth, const Conventions& conventions, const ReadingParts& parts,
    const panchanga::UtcOffsetAt& clock)
{
    // A birth checked under one sky may be asked again in the other.
    if (!conventions.Years().Contains(birth.Local.Year)) {
        return {YearFailure(conventions), {}};
    }
    ReadingResult computed = conventions.Sky == SkyModel::Precise ? sky::CalculatePreciseReading(birth, conventions)
                                                                  : CalculateReading(birth);
    FullReadingResult result {computed.Failure, {}};
    if (computed.Failure) {
        return result;
    }
    FullReading& reading = result.Value;
    static_cast<Reading&>(reading) = computed.Value;
    reading.Used = conventions;
    if (parts.Details) {
        reading.Details = vedic::ReadingDetailsOf(reading.Longitudes, LagnaOf(reading), GrahaSpeedsOf(reading, conventions));
    }
    if (parts.Dasha) {
        reading.Dasha = vedic::VimshottariDashaOf(
            reading.Longitudes[IndexOf(Graha::Moon)], reading.Moment.JulianDay, conventions.DashaYearDays);
    }
    if (parts.Dasha) {
        reading.Yogini = vedic::YoginiDashaOf(
            reading.Longitudes[IndexOf(Graha::Moon)], reading.Moment.JulianDay, conventions.DashaYearDays);
    }
    if (parts.Ashtakavarga) {
        reading.Ashtakavarga = AshtakavargaOf(reading, parts.AshtakavargaTable);
    }
    if (parts.SkyDifferences) {
        reading.SkyDiffers = SkyDifferencesOf(reading, conventions);
    }
    if (parts.Panchanga) {
        reading.Panchanga = BirthPanchanga(birth, reading.Moment.JulianDay, conventions, clock);
    }
    if (parts.Vargas) {
        reading.Vargas = vargas::VargaSignsOf(reading.Longitudes, LagnaOf(reading));
        reading.Vimshopaka = vargas::VimshopakaOf(*reading.Vargas);
    }
    if (parts.Houses) {
        reading.Houses = HousesOf(reading, parts.HouseSystem);
    }
    return result;
}

std::optional<ashtakavarga::ContributorSigns> AshtakavargaSignsOf(const Reading& reading)
{
    if (reading.Lagna.Status != modVedicPlanetPosition::LagnaStatus::Computed) {
        return std::nullopt;
    }
    const std::optional<SignPlace> lagna = SignPlaceOf(reading.Lagna.Longitude);
    if (!lagna) {
        return std::nullopt;
    }
    ashtakavarga::ContributorSigns signs {};
    for (std::size_t i = 0; i < ashtakavarga::AshtakavargaGrahaCount; ++i) {
        signs[i] = reading.Places[IndexOf(ashtakavarga::AshtakavargaGrahas[i])].Sign;
    }
    signs[ashtakavarga::ContributorCount - 1] = lagna->Sign;
    return signs;
}

std::optional<ashtakavarga::Ashtakavarga> AshtakavargaOf(const Reading& reading, ashtakavarga::BeneficTable table)
{
    const std::optional<ashtakavarga::ContributorSigns> signs = AshtakavargaSignsOf(reading);
    return signs ? ashtakavarga::AshtakavargaOf(*signs, table) : std::nullopt;
}

std::optional<chart::ChartData> SarvaChartOf(const Birth& birth, const FullReading& reading, const ashtakavarga::Ashtakavarga& av)
{
    chart::ChartResult chart = ChartOf(birth, reading, vedic::RasiVarga);
    if (!chart.Refusal.empty()) {
        return std::nullopt;
    }
    chart.Data.Bindus = av.Sarva;
    chart.Data.Title = "Sarvashtakavarga";
    chart.Data.SkyText += " \u2014 bindus of the " + std::string(ashtakavarga::NamesOf(av.Table).Shown) + " table ("
        + std::string(ashtakavarga::NamesOf(av.Table).Source) + ")";
    return chart.Data;
}

std::array<bool, GrahaCountWithKetu> RetrogradeMarks(const FullReading& reading)
{
    std::array<bool, GrahaCountWithKetu> marks {};
    if (reading.Details) {
        for (std::size_t graha = 0; graha < marks.size(); ++graha) {
            marks[graha] = reading.Details->Grahas[graha].Retrograde;
        }
    }
    return marks;
}

std::string SkyCaption(const Conventions& conventions)
{
    return conventions.Sky == SkyModel::Precise ? "Sky: precise (" + sky::PreciseSkyName(conventions) + ")"
                                                : "Sky: classic model";
}

std::string PreciseSkyPlaces(const std::vector<SkyDifference>& differences)
{
    std::string places;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const Graha graha = differences[i].Which;
        places += i == 0 ? "in the precise sky " : i + 1 == differences.size() ? " and " : ", ";
        if (graha == Graha::Sun || graha == Graha::Moon) {
            places += "the ";
        }
        places += NamesOf(graha).Plain;
        places += i == 0 ? " stands in " : " in ";
        places += modVedicGrahaDrishti::VedicSignNames[static_cast<std::size_t>(differences[i].PreciseSign)];
    }
    return places;
}

std::string SkyDifferencesSentence(const FullReading& reading)
{
    std::string sentence = reading.SkyDiffers ? PreciseSkyPlaces(*reading.SkyDiffers) : std::string();
    if (!sentence.empty()) {
        sentence[0] = 'I';
        sentence += '.';
    }
    return sentence;
}

std::string SkyCaptionWithDifferences(const FullReading& reading)
{
    std::string caption = SkyCaption(reading.Used);
    if (reading.SkyDiffers && !reading.SkyDiffers->empty()) {
        caption += " \u2014 " + PreciseSkyPlaces(*reading.SkyDiffers);
    }
    return caption;
}

chart::ChartResult ChartOf(const Birth& birth, const FullReading& reading, int varga)
{
    chart::ChartResult chart = chart::MakeChart(birth, reading, varga);
    chart.Data.Retrograde = RetrogradeMarks(reading);
    chart.Data.SkyDifferences = SkyDifferencesSentence(reading);
    if (reading.Sky == SkyModel::Precise) {
        // "Sky model: precise (Lahiri, mean node, 365.25-day year), ayanamsa 23°31'"
        const std::string_view model = "Sky model: precise";
        std::string& text = chart.Data.SkyText;
        if (std::string_view(text).starts_with(model)) {
            text.insert(model.size(), " (" + ConventionsText(reading.Used) + ")");
        }
    }
    return chart;
}

houses::Houses HousesOf(const FullReading& reading, houses::HouseSystem system)
{
    using houses::HouseSystem;
    houses::Houses none;
    none.System = system;
    const std::optional<double> lagna = LagnaOf(reading);
    if (!lagna) {
        none.Note = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::PolarLatitude
            ? "No houses: at a pole no point of the horizon lies east."
            : "No houses: this sky model gave no Lagna.";
        return none;
    }
    if (system == HouseSystem::WholeSign) {
        return houses::HousesBetween(system, houses::WholeSignCusps(*lagna), reading.Longitudes);
    }
    Conventions precise = reading.Used;
    precise.Sky = SkyModel::Precise;
    const std::optional<sky::SkyHouses> angles = sky::PreciseHouses(reading.Moment.JulianDay, reading.Place, precise);
    if (!angles) {
        none.Note = "No houses: the precise sky gave no angles for this moment and place.";
        return none;
    }
    if (system == HouseSystem::Placidus && !angles->Placidus) {
        none.Note = houses::NoCuspsNote(system, reading.Place.LatitudeDeg);
        return none;
    }
    houses::Houses found = houses::HousesBetween(system,
        system == HouseSystem::Placidus ? *angles->Placidus : houses::SripatiCusps(angles->Ascendant, angles->Midheaven),
        reading.Longitudes);
    if (reading.Sky == SkyModel::Classic) {
        found.Note = "cusps of the precise sky (" + sky::PreciseSkyName(precise)
            + ") at the same moment: the classic model has no houses of its own";
    }
    return found;
}

chart::ChartResult BhavaChartOf(const Birth& birth, const FullReading& reading, const houses::Houses& houses)
{
    const chart::ChartResult rasi = ChartOf(birth, reading, vedic::RasiVarga);
    return rasi.Refusal.empty() ? chart::MakeBhavaChart(rasi.Data, houses) : rasi;
}

} // namespace halvaro::fullreading
