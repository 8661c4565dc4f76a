#include "chart/ChartData.h"

#include "core/InputChecks.h"
#include "core/SignPosition.h"
#include "core/Text.h"
#include "core/TimeZones.h"

#include <cmath>

namespace halvaro::chart {

namespace {

namespace mpp = modVedicPlanetPosition;

constexpr std::array<std::string_view, 12> MonthNames = {"January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};

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

// Degrees and minutes of a box pair as typed; minutes past 59 carry.
std::string BoxAngleText(std::string_view degrees, std::string_view minutes, std::string_view direction)
{
    const int total = BoxNumber(degrees).value_or(0) * 60 + BoxNumber(minutes).value_or(0);
    return DecimalText(total / 60) + std::string(DegreeSign) + TwoDigits(total % 60) + "' " + std::string(direction);
}

std::string WhenTextOf(const BirthData& birth, const BirthMoment& moment)
{
    std::string text = DateText(birth.Year, birth.Month, birth.Day) + ", " + TwoDigits(birth.Hour) + ":"
        + TwoDigits(birth.Minute);
    if (birth.ZonePosition >= 0 && birth.ZonePosition < TimeZoneCount) {
        text += " " + std::string(TimeZoneTable[static_cast<std::size_t>(birth.ZonePosition)].Name);
    }
    if (birth.DaylightSaving) {
        text += ", daylight saving";
    }
    const mpp::CivilDateTime& ut = moment.Universal;
    text += " (";
    if (ut.Year != birth.Year || ut.Month != birth.Month || ut.Day != birth.Day) {
        text += DateText(ut.Year, ut.Month, ut.Day) + ", ";
    }
    text += TwoDigits(ut.Hour) + ":" + TwoDigits(ut.Minute) + " UT)";
    return text;
}

std::string WhereTextOf(const BirthData& birth)
{
    std::string text;
    for (const std::string* part : {&birth.City, &birth.State, &birth.Country}) {
        if (!part->empty()) {
            text += *part + ", ";
        }
    }
    return text + BoxAngleText(birth.LatDeg, birth.LatMin, birth.South ? "S" : "N") + " "
        + BoxAngleText(birth.LonDeg, birth.LonMin, birth.East ? "E" : "W");
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

std::optional<SignPlace> SignPlaceOf(double longitudeDeg)
{
    if (!(longitudeDeg >= 0 && longitudeDeg < 360)) {
        return std::nullopt;
    }
    // The same cuts as the position texts, so the chart and the texts agree
    // to the minute.
    const double degrees = std::floor(longitudeDeg);
    const double minutes = std::floor((longitudeDeg - degrees) * 60);
    const int whole = static_cast<int>(degrees);
    return SignPlace {whole / 30, whole % 30, static_cast<int>(minutes)};
}

std::string ShortPlaceText(const SignPlace& place)
{
    const auto sign = static_cast<std::size_t>(place.Sign);
    return TwoDigits(place.Degrees) + " " + std::string(mpp::SignAbbreviations.substr(3 * sign, 3)) + " "
        + TwoDigits(place.Minutes);
}

ChartResult MakeChart(const BirthData& birth, const Reading& reading)
{
    ChartResult result;
    if (!(std::fabs(reading.Place.LatitudeDeg) <= 90)) {
        result.Refusal = LatitudeRefusal;
        return result;
    }
    if (!(std::fabs(reading.Place.LongitudeDeg) <= 180)) {
        result.Refusal = LongitudeRefusal;
        return result;
    }
    ChartData& chart = result.Data;
    for (std::size_t graha = 0; graha < RahuIndex + 1; ++graha) {
        const std::optional<SignPlace> place = SignPlaceOf(reading.Longitudes[graha]);
        if (!place) {
            result.Refusal = NoPositionsFailure.Message;
            return result;
        }
        chart.Grahas[graha] = *place;
    }
    // Ketu stands opposite Rahu: six signs on, at the same degree and minute.
    chart.Grahas[KetuIndex] = chart.Grahas[RahuIndex];
    chart.Grahas[KetuIndex].Sign = (chart.Grahas[RahuIndex].Sign + 6) % SignCount;
    for (std::size_t graha = 0; graha < ChartGrahaCount; ++graha) {
        chart.GrahasInSign[static_cast<std::size_t>(chart.Grahas[graha].Sign)].push_back(static_cast<int>(graha));
    }

    switch (reading.Lagna.Status) {
    case mpp::LagnaStatus::Computed: chart.Lagna = SignPlaceOf(reading.Lagna.Longitude); break;
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
    chart.SkyText = SkyTextOf(reading, chart.Lagna);
    return result;
}

} // namespace halvaro::chart
