#include "birth/BirthRoad.h"

#include "atlas/PlaceEntries.h"
#include "atlas/ZoneListMatch.h"

#include <chrono>
#include <cmath>

namespace halvaro::birth {

namespace {

// The civil date and clock time, to the minute, of a Julian day on a clock
// `offsetSeconds` ahead of UT.
CivilDateTime ClockTimeAt(double julianDayUniversal, int offsetSeconds)
{
    using namespace std::chrono;
    const auto minutes = static_cast<long long>(std::floor((julianDayUniversal - 2440587.5) * 1440 + offsetSeconds / 60.0));
    const sys_time<std::chrono::minutes> moment {std::chrono::minutes(minutes)};
    const sys_days day = floor<days>(moment);
    const year_month_day date {day};
    const hh_mm_ss<std::chrono::minutes> clock {moment - day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count())};
}

} // namespace

std::function<int(double)> BirthClock(const Birth& birth, atlas::ZoneCache& zones)
{
    const int own = UtcOffsetSecondsOf(birth);
    if (birth.TimeZone.empty() || birth.LocalMeanTime) {
        return [own](double) { return own; };
    }
    return [own, zone = birth.TimeZone, &zones](double julianDay) {
        // The offset of the local time the moment shows on a guessed offset,
        // until the two agree; a time in an overlap takes whichever reading
        // gives the moment back, a time in a gap the offset after it.
        int guess = own;
        for (int round = 0; round < 3; ++round) {
            const CivilDateTime local = ClockTimeAt(julianDay, guess);
            atlas::ZoneOffsetResult found = zones.OffsetAt(zone, local);
            if (found.Problem == atlas::ZoneOffsetResult::Fault::TwiceLocalTime) {
                for (const atlas::DstChoice choice : {atlas::DstChoice::Daylight, atlas::DstChoice::Standard}) {
                    found = zones.OffsetAt(zone, local, choice);
                    if (found.Offset && found.Offset->UtcOffsetSeconds == guess) {
                        return guess;
                    }
                }
            } else if (found.Problem == atlas::ZoneOffsetResult::Fault::NoSuchLocalTime) {
                // The guess was the wrong side of the gap: of the offsets
                // before and after it, the one whose local time exists.
                for (const double hours : {-3.0, 3.0}) {
                    const atlas::ZoneOffsetResult side = zones.OffsetAt(zone, ClockTimeAt(julianDay + hours / 24, guess));
                    if (!side.Offset) {
                        continue;
                    }
                    const int candidate = side.Offset->UtcOffsetSeconds;
                    const atlas::ZoneOffsetResult check = zones.OffsetAt(zone, ClockTimeAt(julianDay, candidate));
                    if (check.Offset && check.Offset->UtcOffsetSeconds == candidate) {
                        return candidate;
                    }
                }
                return own;
            }
            if (!found.Offset) {
                return own;
            }
            if (found.Offset->UtcOffsetSeconds == guess) {
                return guess;
            }
            guess = found.Offset->UtcOffsetSeconds;
        }
        return guess;
    };
}

ZoneAnswer OffsetInZone(atlas::ZoneCache& zones, std::string_view zone, const CivilDateTime& local,
    std::optional<bool> dst)
{
    const auto choice = !dst ? atlas::DstChoice::Unspecified
        : *dst               ? atlas::DstChoice::Daylight
                             : atlas::DstChoice::Standard;
    ZoneAnswer answer {std::nullopt, zones.OffsetAt(zone, local, choice)};
    if (const auto& found = answer.Found.Offset) {
        answer.Offset = ExactOffset {found->UtcOffsetSeconds, atlas::ZoneListEntryFor(*found), found->Zone};
        answer.Offset->LocalMeanTime = found->UtcOffsetSeconds % 60 != 0;
    }
    return answer;
}

ExactOffset GivenOffset(int utcOffsetSeconds)
{
    const bool wholeMinutes = utcOffsetSeconds % 60 == 0;
    return {utcOffsetSeconds, wholeMinutes ? atlas::ZoneListEntryFor(utcOffsetSeconds / 60, "", false) : std::nullopt,
        {}};
}

BirthResult ResolveBirth(const BirthRequest& request, atlas::ZoneCache& zones, const Conventions& conventions)
{
    BirthData entries = request.Entries;
    std::string zone = request.TimeZone;
    if (request.Place) {
        atlas::PutPlace(*request.Place, entries);
        if (zone.empty() && !request.UtcOffsetSeconds && !request.ListEntryChosen) {
            zone = request.Place->TimeZone;
        }
    }
    // The zone is asked at the local time as given; a date the check refuses
    // gets the check's message, not the zone's.
    std::optional<ExactOffset> offset;
    std::optional<atlas::ZoneOffsetResult> refusal;
    if (request.Offset) {
        offset = request.Offset;
    } else if (request.LocalMeanTime) {
        offset = ExactOffset {};
        offset->LocalMeanTime = true;
    } else if (request.UtcOffsetSeconds) {
        offset = GivenOffset(*request.UtcOffsetSeconds);
    } else if (!zone.empty()) {
        ZoneAnswer answer = OffsetInZone(zones,
            zone, {entries.Year, entries.Month, entries.Day, entries.Hour, entries.Minute}, request.Dst);
        offset = std::move(answer.Offset);
        if (!offset) {
            refusal = std::move(answer.Found);
        }
    }
    BirthCheck checked = ValidateInput(entries, conventions, offset ? &*offset : nullptr);
    if (checked.Failure) {
        return {checked.Failure, std::nullopt, {}};
    }
    if (refusal) {
        return {std::nullopt, std::move(refusal), {}};
    }
    return {std::nullopt, std::nullopt, std::move(checked.Value)};
}

} // namespace halvaro::birth
