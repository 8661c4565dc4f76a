#include "panchanga/Panchanga.h"

#include "core/Calendar.h"
#include "sky/PreciseSky.h"

#include <cmath>

namespace halvaro::panchanga {

namespace {

constexpr double SecondDays = 1.0 / 86400;
// Fine enough that a time rounded to the second is the crossing's.
constexpr double CrossingToleranceDays = 1e-7;
// A step of the search for a bracket: the fastest element moves less than
// 5 degrees in it, so an angle's difference from its target never jumps
// across the half turn where it wraps, and each step either stays short of
// the crossing or brackets it.
constexpr double SearchStepDays = 0.25;
// No element lasts two days; the search gives up after ten.
constexpr int SearchSteps = 40;

// (-180, 180]
double Wrapped(double degrees)
{
    double wrapped = std::remainder(degrees, 360.0);
    return wrapped <= -180 ? wrapped + 360 : wrapped;
}

double Turn(double degrees)
{
    const double turn = std::fmod(degrees, 360.0);
    return turn < 0 ? turn + 360 : turn;
}

struct Sky {
    const Conventions& Used;
    const UtcOffsetAt& Clock;

    [[nodiscard]] std::optional<double> Angle(Element element, double julianDay) const
    {
        const std::optional<sky::SunAndMoon> bodies = sky::PreciseSunAndMoon(julianDay, Used);
        return bodies ? std::optional(ElementAngle(element, bodies->Sun, bodies->Moon)) : std::nullopt;
    }
    [[nodiscard]] LocalMoment At(double julianDay) const { return {julianDay, Clock(julianDay)}; }

    // When the element's angle reaches `boundaryDeg`, searched forward or
    // backward from `from`. The angle only grows (the Moon and the Sun never
    // move back in these sums), so it crosses each boundary once: a bracket
    // of a sign change, then halving it, finds the one crossing, however
    // short the elements on either side.
    [[nodiscard]] std::optional<double> Crossing(Element element, double from, double boundaryDeg, bool forward) const
    {
        const auto offset = [&](double t) -> std::optional<double> {
            const std::optional<double> angle = Angle(element, t);
            return angle ? std::optional(Wrapped(*angle - boundaryDeg)) : std::nullopt;
        };
        double before = from;
        double after = from;
        bool bracketed = false;
        for (int i = 0; i < SearchSteps && !bracketed; ++i) {
            const std::optional<double> here = offset(forward ? after : before);
            if (!here) {
                return std::nullopt;
            }
            bracketed = forward ? *here >= 0 : *here < 0;
            if (!bracketed && forward) {
                before = after;
                after += SearchStepDays;
            } else if (!bracketed) {
                after = before;
                before -= SearchStepDays;
            }
        }
        if (!bracketed) {
            return std::nullopt;
        }
        // Now the angle is short of the boundary at `before` and at or past
        // it at `after`: regula falsi with the Illinois step (the angle is
        // nearly linear over hours), keeping the bracket, so it converges
        // in a few steps and never leaves the one crossing.
        std::optional<double> low = offset(before);
        std::optional<double> high = offset(after);
        if (!low || !high) {
            return std::nullopt;
        }
        int side = 0;
        while (after - before > CrossingToleranceDays && *high > 0) {
            double next = before + (after - before) * (-*low) / (*high - *low);
            if (!(next > before && next < after)) {
                next = before + (after - before) / 2;
            }
            const std::optional<double> here = offset(next);
            if (!here) {
                return std::nullopt;
            }
            if (*here >= 0) {
                after = next;
                high = here;
                if (side == 1) {
                    *low /= 2;
                }
                side = 1;
            } else {
                before = next;
                low = here;
                if (side == -1) {
                    *high /= 2;
                }
                side = -1;
            }
            // Close enough in angle: the Moon moves a second of time's worth
            // in about 0.5 arc-seconds.
            if (std::fabs(*here) < 1e-6) {
                return *here >= 0 ? next : next + CrossingToleranceDays;
            }
        }
        return after;
    }

    // The element running at a moment, with its start and end.
    [[nodiscard]] std::optional<ElementSpan> SpanAt(Element element, double julianDay) const
    {
        const std::optional<double> angle = Angle(element, julianDay);
        if (!angle) {
            return std::nullopt;
        }
        const int index = static_cast<int>(std::floor(*angle / PartDegrees(element))) % PartsOf(element);
        const std::optional<double> start = Crossing(element, julianDay, index * PartDegrees(element), false);
        const std::optional<double> end = Crossing(element, julianDay, Turn((index + 1) * PartDegrees(element)), true);
        if (!start || !end) {
            return std::nullopt;
        }
        return ElementSpan {element, index + 1, At(*start), At(*end)};
    }

    // The element after one.
    [[nodiscard]] std::optional<ElementSpan> NextSpan(const ElementSpan& span) const
    {
        const int next = span.Number % PartsOf(span.Which); // 0-based index of the next
        const double start = span.End.JulianDay;
        const std::optional<double> end = Crossing(span.Which, start + SecondDays,
            Turn((next + 1) * PartDegrees(span.Which)), true);
        if (!end) {
            return std::nullopt;
        }
        return ElementSpan {span.Which, next + 1, span.End, At(*end)};
    }

    // The next rise or set after a moment, when it comes before `limit`.
    [[nodiscard]] std::optional<double> Next(Graha body, sky::HorizonEvent event, double from, double limit,
        const BirthPlace& place) const
    {
        const sky::HorizonCrossing found = sky::NextHorizonCrossing(from, body, event, place, Used.Sunrise);
        if (found.Outcome != sky::HorizonCrossing::Kind::Found || found.JulianDayUniversal >= limit) {
            return std::nullopt;
        }
        return found.JulianDayUniversal;
    }

    // UT of local midnight starting the local date `dayNumber` (a Julian day
    // number at noon): the offset is the one in force then.
    [[nodiscard]] double LocalMidnight(double dayNumber) const
    {
        const double clockMidnight = dayNumber - 0.5;
        double midnight = clockMidnight - Clock(clockMidnight) * SecondDays;
        midnight = clockMidnight - Clock(midnight) * SecondDays;
        return midnight;
    }
};

std::optional<LocalMoment> Local(const Sky& sky, std::optional<double> julianDay)
{
    return julianDay ? std::optional(sky.At(*julianDay)) : std::nullopt;
}

// The local date's day number (at noon) of a moment.
double LocalDayNumber(double julianDayUniversal, int utcOffsetSeconds)
{
    return std::floor(julianDayUniversal + utcOffsetSeconds * SecondDays + 0.5);
}

} // namespace

int PartsOf(Element element)
{
    constexpr std::array<int, ElementCount> Parts {30, 27, 27, 60};
    return Parts[static_cast<std::size_t>(element)];
}

double PartDegrees(Element element)
{
    return 360.0 / PartsOf(element);
}

double ElementAngle(Element element, double sunDeg, double moonDeg)
{
    switch (element) {
    case Element::Nakshatra:
        return Turn(moonDeg);
    case Element::Yoga:
        return Turn(sunDeg + moonDeg);
    default:
        return Turn(moonDeg - sunDeg);
    }
}

int ElementNumber(Element element, double sunDeg, double moonDeg)
{
    const int index = static_cast<int>(std::floor(ElementAngle(element, sunDeg, moonDeg) / PartDegrees(element)));
    return index % PartsOf(element) + 1;
}

int CivilWeekday(double julianDayUniversal, int utcOffsetSeconds)
{
    // Julian day number 0 was a Monday.
    return static_cast<int>(std::fmod(LocalDayNumber(julianDayUniversal, utcOffsetSeconds) + 1, 7.0));
}

Graha VaraLord(int weekday)
{
    constexpr std::array<Graha, 7> Lords {Graha::Sun, Graha::Moon, Graha::Mars, Graha::Mercury, Graha::Jupiter,
        Graha::Venus, Graha::Saturn};
    return Lords[static_cast<std::size_t>(((weekday % 7) + 7) % 7)];
}

Graha HoraLord(int weekday, int index)
{
    // The Chaldean order, slowest first; each hora's lord is the next one,
    // so the 25th hora is the next weekday's lord.
    constexpr std::array<Graha, 7> Chaldean {Graha::Saturn, Graha::Jupiter, Graha::Mars, Graha::Sun, Graha::Venus,
        Graha::Mercury, Graha::Moon};
    std::size_t first = 0;
    while (Chaldean[first] != VaraLord(weekday)) {
        ++first;
    }
    return Chaldean[(first + static_cast<std::size_t>(((index % 7) + 7) % 7)) % 7];
}

DayPartNumbers DayPartsOf(int weekday)
{
    // The eighths of the day from sunrise, Sunday first, as the almanacs keep them.
    constexpr std::array<DayPartNumbers, 7> Parts {{
        {8, 5, 7}, {2, 4, 6}, {7, 3, 5}, {5, 2, 4}, {6, 1, 3}, {4, 7, 2}, {3, 6, 1},
    }};
    return Parts[static_cast<std::size_t>(((weekday % 7) + 7) % 7)];
}

std::optional<MomentPanchanga> PanchangaAt(double julianDayUniversal, const BirthPlace& place,
    const Conventions& conventions, const UtcOffsetAt& clock)
{
    if (!std::isfinite(julianDayUniversal)) {
        return std::nullopt;
    }
    const Sky sky {conventions, clock};
    MomentPanchanga result;
    result.Convention = conventions.Sunrise;
    std::array<ElementSpan*, ElementCount> spans {&result.Tithi, &result.Nakshatra, &result.Yoga, &result.Karana};
    for (std::size_t i = 0; i < ElementCount; ++i) {
        const std::optional<ElementSpan> span = sky.SpanAt(static_cast<Element>(i), julianDayUniversal);
        if (!span) {
            return std::nullopt;
        }
        *spans[i] = *span;
    }
    const std::optional<sky::SunAndMoon> bodies = sky::PreciseSunAndMoon(julianDayUniversal, conventions);
    if (!bodies) {
        return std::nullopt;
    }
    result.Pada = static_cast<int>(std::floor(Turn(bodies->Moon) / (PartDegrees(Element::Nakshatra) / 4))) % 4 + 1;

    const int offset = clock(julianDayUniversal);
    result.Moment = {julianDayUniversal, offset};
    result.CivilWeekday = CivilWeekday(julianDayUniversal, offset);
    const double dayNumber = LocalDayNumber(julianDayUniversal, offset);
    const double midnight = sky.LocalMidnight(dayNumber);
    const double nextMidnight = sky.LocalMidnight(dayNumber + 1);
    using sky::HorizonEvent;
    result.CivilSunrise = Local(sky, sky.Next(Graha::Sun, HorizonEvent::Rise, midnight, nextMidnight, place));
    result.CivilSunset = Local(sky, sky.Next(Graha::Sun, HorizonEvent::Set, midnight, nextMidnight, place));
    result.Moonrise = Local(sky, sky.Next(Graha::Moon, HorizonEvent::Rise, midnight, nextMidnight, place));
    result.Moonset = Local(sky, sky.Next(Graha::Moon, HorizonEvent::Set, midnight, nextMidnight, place));

    // The last sunrise at or before the moment, within two days.
    std::optional<double> sunrise;
    for (double from = julianDayUniversal - 1.1; !sunrise && from > julianDayUniversal - 2.3; from -= 1.1) {
        sunrise = sky.Next(Graha::Sun, HorizonEvent::Rise, from, julianDayUniversal + SecondDays, place);
    }
    while (sunrise) {
        const std::optional<double> later =
            sky.Next(Graha::Sun, HorizonEvent::Rise, *sunrise + SecondDays, julianDayUniversal + SecondDays, place);
        if (!later) {
            break;
        }
        sunrise = later;
    }
    result.Vara = result.CivilWeekday;
    if (sunrise) {
        result.Vara = CivilWeekday(*sunrise, clock(*sunrise));
        const std::optional<double> sunset = sky.Next(Graha::Sun, HorizonEvent::Set, *sunrise, *sunrise + 2, place);
        const std::optional<double> nextSunrise =
            sunset ? sky.Next(Graha::Sun, HorizonEvent::Rise, *sunset, *sunset + 2, place) : std::nullopt;
        result.Sunrise = Local(sky, sunrise);
        result.Sunset = Local(sky, sunset);
        result.NextSunrise = Local(sky, nextSunrise);
        if (sunset && nextSunrise && julianDayUniversal < *nextSunrise) {
            const bool byDay = julianDayUniversal < *sunset;
            const double start = byDay ? *sunrise : *sunset;
            const double length = (byDay ? *sunset - *sunrise : *nextSunrise - *sunset) / 12;
            const int part = std::min(11, static_cast<int>(std::floor((julianDayUniversal - start) / length)));
            result.HoraLord = HoraLord(result.Vara, (byDay ? 0 : 12) + part);
        }
    }
    return result;
}

std::optional<DayPanchanga> PanchangaOfDay(int year, int month, int day, const BirthPlace& place,
    const Conventions& conventions, const UtcOffsetAt& clock)
{
    const Sky sky {conventions, clock};
    DayPanchanga result;
    result.Year = year;
    result.Month = month;
    result.Day = day;
    result.Convention = conventions.Sunrise;
    const double dayNumber = JulianDayNumber(month, day, year);
    const double midnight = sky.LocalMidnight(dayNumber);
    const double nextMidnight = sky.LocalMidnight(dayNumber + 1);
    result.Weekday = CivilWeekday(midnight + 0.5, clock(midnight + 0.5));
    using sky::HorizonEvent;
    const std::optional<double> sunrise = sky.Next(Graha::Sun, HorizonEvent::Rise, midnight, nextMidnight, place);
    const std::optional<double> sunset =
        sunrise ? sky.Next(Graha::Sun, HorizonEvent::Set, *sunrise, *sunrise + 2, place) : std::nullopt;
    const std::optional<double> nextSunrise =
        sunset ? sky.Next(Graha::Sun, HorizonEvent::Rise, *sunset, *sunset + 2, place) : std::nullopt;
    result.Sunrise = Local(sky, sunrise);
    result.Sunset = Local(sky, sunset);
    result.NextSunrise = Local(sky, nextSunrise);
    result.Moonrise = Local(sky, sky.Next(Graha::Moon, HorizonEvent::Rise, midnight, nextMidnight, place));
    result.Moonset = Local(sky, sky.Next(Graha::Moon, HorizonEvent::Set, midnight, nextMidnight, place));

    const double from = sunrise && nextSunrise ? *sunrise : midnight;
    const double to = sunrise && nextSunrise ? *nextSunrise : nextMidnight;
    result.From = sky.At(from);
    result.To = sky.At(to);
    for (std::size_t i = 0; i < ElementCount; ++i) {
        std::optional<ElementSpan> span = sky.SpanAt(static_cast<Element>(i), from);
        while (span && span->Start.JulianDay < to) {
            result.Elements[i].push_back(*span);
            span = sky.NextSpan(*span);
        }
        if (!span) {
            return std::nullopt;
        }
    }
    if (sunrise && sunset) {
        const auto part = [&](double first, double count, double length) {
            return DayPart {sky.At(*sunrise + first * length), sky.At(*sunrise + (first + count) * length)};
        };
        const double eighth = (*sunset - *sunrise) / 8;
        const DayPartNumbers parts = DayPartsOf(result.Weekday);
        result.RahuKala = part(parts.RahuKala - 1, 1, eighth);
        result.Yamaganda = part(parts.Yamaganda - 1, 1, eighth);
        result.GulikaKala = part(parts.GulikaKala - 1, 1, eighth);
        // The eighth of the day's fifteen muhurtas, about noon.
        result.AbhijitMuhurta = part(7, 1, (*sunset - *sunrise) / 15);
    }
    return result;
}

} // namespace halvaro::panchanga
