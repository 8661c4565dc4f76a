#include "chart/ChartData.h"

#include "core/Angles.h"
#include "core/SignPosition.h"
#include "core/Text.h"
#include "core/TimeZones.h"

#include <cmath>

namespace halvaro::chart {

namespace {

namespace mpp = modVedicPlanetPosition;

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

std::string DateText(int year, int month, int day)
{
    const bool known = month >= 1 && month <= 12;
    return DecimalText(day) + " " + std::string(known ? MonthNames[static_cast<std::size_t>(month - 1)] : "?") + " "
        + DecimalText(year);
}

// Degrees and whole minutes of a signed angle, and its direction.
std::string AngleText(double degrees, std::string_view positive, std::string_view negative)
{
    const long long total = WholeArcMinutes(degrees);
    return DecimalText(total / 60) + std::string(DegreeSign) + TwoDigits(static_cast<int>(total % 60)) + "' "
        + std::string(std::signbit(degrees) ? negative : positive);
}

std::string WhenTextOf(const Birth& birth, const BirthMoment& moment)
{
    const CivilDateTime& local = birth.Local;
    std::string text = DateText(local.Year, local.Month, local.Day) + ", " + TwoDigits(local.Hour) + ":"
        + TwoDigits(local.Minute);
    if (birth.Zone && ZoneRange.Contains(birth.Zone->Position)) {
        text += " " + std::string(TimeZoneTable[static_cast<std::size_t>(birth.Zone->Position)].Name);
    }
    if (birth.Zone && birth.Zone->DaylightSaving) {
        text += ", daylight saving";
    }
    const CivilDateTime& ut = moment.Universal;
    text += " (";
    if (ut.Year != local.Year || ut.Month != local.Month || ut.Day != local.Day) {
        text += DateText(ut.Year, ut.Month, ut.Day) + ", ";
    }
    text += TwoDigits(ut.Hour) + ":" + TwoDigits(ut.Minute) + " UT)";
    return text;
}

std::string WhereTextOf(const Birth& birth)
{
    std::string text;
    for (const std::string* part : {&birth.City, &birth.State, &birth.Country}) {
        if (!part->empty()) {
            text += *part + ", ";
        }
    }
    return text + AngleText(birth.LatitudeDeg, "N", "S") + " " + AngleText(birth.LongitudeDeg, "E", "W");
}

std::string SkyTextOf(const Reading& reading, const std::optional<SignPlace>& lagna)
{
    std::string text = "Sky model: " + std::string(SkyModelName(reading.Sky));
    const double ayanamsa = std::fabs(reading.Ayanamsa);
    if (std::isfinite(ayanamsa)) {
        const int minutes = static_cast<int>(std::floor(ayanamsa * 60));
        text += ", ayanamsa " + DecimalText(minutes / 60) + std::string(DegreeSign) + TwoDigits(minutes % 60) + "'";
    }
    if (lagna) {
        text += ", Lagna " + ShortPlaceText(*lagna);
    }
    return text;
}

} // namespace

std::string ShortPlaceText(const SignPlace& place)
{
    return std::string(mpp::ShortPositionText(place).view());
}

ChartResult MakeChart(const Birth& birth, const Reading& reading, int varga)
{
    ChartResult result;
    const std::optional<vedic::VargaRule> rule = vedic::VargaRuleOf(varga);
    if (!rule) {
        result.Refusal = NoVargaRefusal;
        return result;
    }
    if (!(std::fabs(reading.Place.LatitudeDeg) <= 90)) {
        result.Refusal = LatitudeRefusal;
        return result;
    }
    if (!(std::fabs(reading.Place.LongitudeDeg) <= 180)) {
        result.Refusal = LongitudeRefusal;
        return result;
    }
    // The Rasi takes the places as the texts cut them (Ketu's is Rahu's, six
    // signs on); every other varga its signs from the longitudes, as the
    // positions table does.
    const auto placeIn = [&rule](SignPlace place, double longitude) -> std::optional<SignPlace> {
        if (rule->N != vedic::RasiVarga) {
            const std::optional<int> sign = vedic::SignInVarga(*rule, longitude);
            if (!sign) {
                return std::nullopt;
            }
            place.Sign = *sign;
        }
        return place;
    };
    ChartData& chart = result.Data;
    chart.Varga = rule->N;
    for (std::size_t graha = 0; graha < ChartGrahaCount; ++graha) {
        const std::optional<SignPlace> place = placeIn(reading.Places[graha], reading.Longitudes[graha]);
        if (!place) {
            result.Refusal = NoPositionsFailure.Message;
            return result;
        }
        chart.Grahas[graha] = *place;
        chart.GrahasInSign[static_cast<std::size_t>(place->Sign)].push_back(static_cast<int>(graha));
    }

    const std::optional<SignPlace> rasiLagna = reading.Lagna.Status == mpp::LagnaStatus::Computed
        ? SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    switch (reading.Lagna.Status) {
    case mpp::LagnaStatus::Computed:
        chart.Lagna = rasiLagna ? placeIn(*rasiLagna, reading.Lagna.Longitude) : std::nullopt;
        break;
    case mpp::LagnaStatus::PolarLatitude: chart.Note = PolarNote; break;
    case mpp::LagnaStatus::NoSuchLatitude: // refused above
    case mpp::LagnaStatus::NotComputed: break;
    }
    if (!chart.Lagna && chart.Note.empty()) {
        chart.Note = NoLagnaNote;
    }
    chart.Name = birth.Name;
    chart.WhenText = WhenTextOf(birth, reading.Moment);
    chart.WhereText = WhereTextOf(birth);
    chart.SkyText = SkyTextOf(reading, rasiLagna);
    return result;
}

ChartResult MakeBhavaChart(const ChartData& rasi, const houses::Houses& houses)
{
    ChartResult result {{}, rasi};
    if (!houses.Cusp || !rasi.Lagna) {
        result.Refusal = houses.Note.empty() ? std::string(NoLagnaNote) : houses.Note;
        return result;
    }
    ChartData& chart = result.Data;
    chart.Title = "Bhava Chalit";
    // "Sripati houses: 1 20 Can 34, ..., 12 21 Gem 02." and where the cusps came from.
    chart.HousesText = std::string(houses::NamesOf(houses.System).Shown) + " houses:";
    for (std::size_t house = 0; house < houses.Cusp->size(); ++house) {
        const std::optional<SignPlace> cusp = SignPlaceOf((*houses.Cusp)[house]);
        chart.HousesText += (house == 0 ? " " : ", ") + DecimalText(static_cast<long long>(house + 1)) + " "
            + (cusp ? ShortPlaceText(*cusp) : std::string("?"));
    }
    chart.HousesText += ".";
    if (!houses.Note.empty()) {
        chart.HousesText += " The " + houses.Note + ".";
    }
    for (std::vector<int>& inSign : chart.GrahasInSign) {
        inSign.clear();
    }
    for (std::size_t graha = 0; graha < ChartGrahaCount; ++graha) {
        const int sign = (rasi.Lagna->Sign + houses.Grahas[graha] - 1 + SignCount) % SignCount;
        chart.Grahas[graha].Sign = sign;
        chart.GrahasInSign[static_cast<std::size_t>(sign)].push_back(static_cast<int>(graha));
    }
    return result;
}

} // namespace halvaro::chart
