#include "positions/GrahaPositions.h"

#include "core/Angles.h"
#include "core/BirthRecord.h"
#include "core/SignPosition.h"
#include "core/Text.h"
#include "ephemeris/MoonEngine.h"
#include "positions/BirthMoment.h"
#include "positions/OrbitalElements.h"

#include <cmath>

namespace halvaro::modVedicPlanetPosition {

std::array<PositionText, BodyCount> BodyPositionTexts;
PositionText RahuPositionText;
std::array<std::string_view, GrahaCount> GrahaNames;
std::array<std::string_view, GrahaCount> GrahaVedicNames;
std::array<ShortText, GrahaCount> GrahaPositionTexts;
double GrahaDayNumber = 0;

namespace {

// The node's table turns radians back into degrees with 3.1416, not π.
constexpr double NodeRadToDeg = 180 / 3.1416;

// Body index of each graha but the Moon and the node, in Graha order.
constexpr std::array<int, GrahaCount> BodyOfGraha = {Earth, -1, Mercury, Venus, Mars, Jupiter, Saturn, -1};
constexpr std::size_t MoonGraha = 1;
constexpr std::size_t NodeGraha = 7;

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
    }
    return count;
}

std::string_view LastCharacters(std::string_view text, std::size_t count)
{
    std::size_t start = text.size();
    while (count > 0 && start > 0) {
        --start;
        if (!IsContinuationByte(text[start])) {
            --count;
        }
    }
    return text.substr(start);
}

void AppendTwoDigits(ShortText& out, std::string_view number)
{
    if (CharacterCount(number) <= 1) {
        out.append('0');
    }
    out.append(number);
}

// The text of a tropical longitude with the last ayanamsa taken off; empty
// when it has no text.
PositionText SiderealText(double tropicalDeg)
{
    return FormatSignPosition(SiderealLongitude(tropicalDeg, Ayanamsa));
}

} // namespace

double SiderealLongitude(double tropicalDeg, double ayanamsa)
{
    return AddTurnsWhileNegative(tropicalDeg - std::fabs(ayanamsa));
}

// The mean node's longitude in degrees from the day number: Paul Schlyter,
// "How to compute planetary positions" (N = 125.1228 - 0.0529538083 d).
double NodeLongitude(double dayNumber)
{
    return NormalizeRadians((125.1228 - 0.0529538083 * dayNumber) * DegToRad) * NodeRadToDeg - 1;
}

bool SiderealGrahaLongitudes(double dayNumber, double ayanamsa, double moonSiderealDeg,
    std::array<double, GrahaCount>& longitudes)
{
    std::array<double, BodyCount> tropical {};
    if (!GeocentricLongitudes(dayNumber, tropical)) {
        return false;
    }
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const int body = BodyOfGraha[graha];
        if (body >= 0) {
            longitudes[graha] = SiderealLongitude(tropical[static_cast<std::size_t>(body)], ayanamsa);
        }
    }
    longitudes[MoonGraha] = moonSiderealDeg;
    longitudes[NodeGraha] = SiderealLongitude(NodeLongitude(dayNumber), ayanamsa);
    for (const double longitude : longitudes) {
        if (!std::isfinite(longitude)) {
            return false;
        }
    }
    return true;
}

namespace {

// "05 Tau 07": degrees and minutes below 100, so two digits each.
ShortText ShortTextOf(const SignParts& parts)
{
    const auto digit = [](unsigned value) { return static_cast<char>('0' + value); };
    ShortText text;
    text.append(digit(parts.Degrees / 10)).append(digit(parts.Degrees % 10)).append(' ');
    text.append(SignAbbreviation(parts.Sign)).append(' ');
    text.append(digit(parts.Minutes / 10)).append(digit(parts.Minutes % 10));
    return text;
}

} // namespace

ShortText ShortSignPosition(double longitudeDeg)
{
    const auto parts = SignPartsOf(longitudeDeg);
    return parts ? ShortTextOf(*parts) : ShortText {};
}

bool GrahaPositionTextsOf(const std::array<double, GrahaCount>& longitudes, std::array<ShortText, GrahaCount>& texts,
    std::array<int, GrahaCount>& signs)
{
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const auto parts = SignPartsOf(longitudes[graha]);
        if (!parts) {
            return false;
        }
        texts[graha] = ShortTextOf(*parts);
        signs[graha] = parts->Sign;
    }
    return true;
}

ShortText ShortPositionText(std::string_view longText)
{
    const std::string_view u = TrimmedBlanks(longText);
    const std::size_t degreeAt = u.find(DegreeSign);
    const std::size_t minuteAt = u.find('\'');
    if (degreeAt == std::string_view::npos || minuteAt == std::string_view::npos
        || minuteAt < degreeAt + DegreeSign.size()) {
        return {};
    }
    const std::size_t minuteStart = degreeAt + DegreeSign.size();
    const std::string_view degText = TrimmedBlanks(u.substr(0, degreeAt));
    const std::string_view minText = TrimmedBlanks(u.substr(minuteStart, minuteAt - minuteStart));
    const std::string_view signText = TrimmedBlanks(LastCharacters(longText, 3));

    ShortText text;
    AppendTwoDigits(text, degText);
    text.append(' ').append(signText).append(' ');
    AppendTwoDigits(text, minText);
    return text;
}

void ComputeGrahaPositions()
{
    GrahaNames = EnglishGrahaNames;
    GrahaVedicNames = VedicGrahaNames;

    const BirthRecordType& birth = BirthRecord;
    if (!IsValidBirthTime(birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute)) {
        return; // no such local date and time: there is no moment to compute
    }
    const CivilDateTime ut = UniversalBirthTime(birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute,
        birth.ZoneHourCorrection, birth.ZoneMinuteCorrection, birth.DaylightSaving != False16);
    const double d = DayNumber(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);
    GrahaDayNumber = d;

    for (int index = 0; index < BodyCount; ++index) {
        if (!TryGeocentricLongitude(index, d)) {
            return;
        }
        const PositionText text = SiderealText(TropicalLongitude);
        if (text.empty()) {
            return;
        }
        BodyPositionTexts[static_cast<std::size_t>(index)] = text;
    }

    const PositionText nodeText = SiderealText(NodeLongitude(d));
    if (nodeText.empty()) {
        return;
    }
    RahuPositionText = nodeText;

    const std::array<std::string_view, GrahaCount> longTexts = {BodyPositionTexts[Earth],
        modVedicEphemeris::MoonPositionText, BodyPositionTexts[Mercury], BodyPositionTexts[Venus],
        BodyPositionTexts[Mars], BodyPositionTexts[Jupiter], BodyPositionTexts[Saturn], RahuPositionText};
    for (std::size_t graha = 0; graha < GrahaCount; ++graha) {
        const ShortText text = ShortPositionText(longTexts[graha]);
        if (text.empty()) {
            return;
        }
        GrahaPositionTexts[graha] = text;
    }
}

} // namespace halvaro::modVedicPlanetPosition
