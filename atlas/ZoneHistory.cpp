#include "atlas/ZoneHistory.h"

#include "atlas/NameDistance.h"
#include "core/Calendar.h"
#include "core/Text.h"

#include <date/tz.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>

static_assert(USE_OS_TZDB == 1 && HAS_REMOTE_API == 0,
    "the zones must come from the system's tz database, never from a download");

namespace halvaro::atlas {

namespace {

constexpr std::size_t ClosestZoneCount = 5;

std::string TwoDigits(long long value)
{
    std::string text = DecimalText(value);
    if (value < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

std::string DateText(const date::year_month_day& day)
{
    if (!day.ok()) {
        return "an impossible date";
    }
    return DecimalText(static_cast<unsigned>(day.day())) + " " + std::string(MonthNames[static_cast<unsigned>(day.month()) - 1])
        + " " + DecimalText(static_cast<int>(day.year()));
}

// The clock time of a local moment, "02:00".
std::string ClockText(date::local_seconds moment)
{
    const auto day = date::floor<date::days>(moment);
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(moment - day).count();
    return TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60);
}

int RoundedMinutes(std::chrono::seconds offset)
{
    const auto seconds = offset.count();
    return static_cast<int>(seconds >= 0 ? (seconds + 30) / 60 : -((-seconds + 30) / 60));
}

std::string Described(const date::sys_info& info)
{
    return "UTC" + UtcOffsetText(RoundedMinutes(info.offset)) + " (" + info.abbrev + ", "
        + (info.save != std::chrono::minutes {0} ? "daylight saving" : "standard time") + ")";
}

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lowered;
}

// The zone names nearest to a name the database lacks, comparing with both
// the whole name and its last part ("Kolkatta" is near "Asia/Kolkata").
std::vector<std::string> ClosestZones(const date::tzdb& database, std::string_view zone)
{
    const std::string wanted = Lowered(zone);
    std::vector<std::pair<std::size_t, std::string_view>> distances;
    for (const date::time_zone& candidate : database.zones) {
        const std::string_view name = candidate.name();
        if (name.starts_with("posix") || name.starts_with("right/") || name.find('/') == std::string_view::npos) {
            continue;
        }
        const std::string lowered = Lowered(name);
        const std::size_t lastPart = EditDistance(wanted, std::string_view(lowered).substr(lowered.rfind('/') + 1));
        distances.emplace_back(std::min(EditDistance(wanted, lowered), lastPart), name);
    }
    const std::size_t shown = std::min(ClosestZoneCount, distances.size());
    std::partial_sort(distances.begin(), distances.begin() + static_cast<std::ptrdiff_t>(shown), distances.end());
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < shown; ++i) {
        closest.emplace_back(distances[i].second);
    }
    return closest;
}

ZoneOffset OffsetOf(const date::time_zone& zone, const date::sys_info& info)
{
    return {zone.name(), RoundedMinutes(info.offset), static_cast<int>(info.offset.count()), info.abbrev,
        info.save != std::chrono::minutes {0}};
}

} // namespace

const date::time_zone* ZoneCache::Locate(std::string_view zone)
{
    if (const auto known = located.find(zone); known != located.end()) {
        return known->second;
    }
    const date::time_zone* found = nullptr;
    const date::tzdb& database = date::get_tzdb();
    const auto exact = std::find_if(database.zones.begin(), database.zones.end(),
        [&](const date::time_zone& candidate) { return candidate.name() == zone; });
    if (exact != database.zones.end()) {
        found = &*exact;
    } else {
        const auto sameButCase = std::find_if(database.zones.begin(), database.zones.end(),
            [&](const date::time_zone& candidate) { return EqualsIgnoringCase(candidate.name(), zone); });
        found = sameButCase != database.zones.end() ? &*sameButCase : nullptr;
    }
    located.emplace(std::string(zone), found);
    return found;
}

ZoneOffsetResult ZoneCache::OffsetAt(std::string_view zone, const CivilDateTime& local, DstChoice choice)
{
    using Fault = ZoneOffsetResult::Fault;
    const date::year_month_day day {date::year {local.Year}, date::month {static_cast<unsigned>(local.Month)},
        date::day {static_cast<unsigned>(local.Day)}};
    if (!day.ok() || local.Hour < 0 || local.Hour > 23 || local.Minute < 0 || local.Minute > 59) {
        return {std::nullopt, Fault::NotADate, {}, "The birth date and time are not a valid date and clock time."};
    }
    try {
        const date::time_zone* found = Locate(zone);
        if (found == nullptr) {
            std::vector<std::string> closest = ClosestZones(date::get_tzdb(), zone);
            std::string error = "No time zone is named \"" + PrintableText(zone) + "\"";
            for (std::size_t i = 0; i < closest.size(); ++i) {
                error += (i == 0 ? ". Closest names: " : ", ") + closest[i];
            }
            return {std::nullopt, Fault::UnknownZone, std::move(closest), error + "."};
        }
        const date::local_seconds moment = date::local_days {day} + std::chrono::hours {local.Hour}
            + std::chrono::minutes {local.Minute};
        const date::local_info info = found->get_info(moment);
        const std::string when = ClockText(moment) + " on " + DateText(day);
        switch (info.result) {
        case date::local_info::unique:
            return {OffsetOf(*found, info.first), Fault::None, {}, {}};
        case date::local_info::nonexistent: {
            const auto change = info.second.begin;
            const date::local_seconds before {(change + info.first.offset).time_since_epoch()};
            const date::local_seconds after {(change + info.second.offset).time_since_epoch()};
            return {std::nullopt, Fault::NoSuchLocalTime, {},
                "There was no " + when + " in " + found->name() + ": the clocks went forward from "
                    + ClockText(before) + " to " + ClockText(after) + ", from " + Described(info.first) + " to "
                    + Described(info.second) + "."};
        }
        case date::local_info::ambiguous:
        default:
            if (choice == DstChoice::Daylight) {
                return {OffsetOf(*found, info.first), Fault::None, {}, {}};
            }
            if (choice == DstChoice::Standard) {
                return {OffsetOf(*found, info.second), Fault::None, {}, {}};
            }
            return {std::nullopt, Fault::TwiceLocalTime, {},
                when + " happened twice in " + found->name() + ": first at " + Described(info.first)
                    + ", then at " + Described(info.second) + ". Say which: daylight or standard."};
        }
    } catch (const std::exception& failure) {
        return {std::nullopt, Fault::NoDatabase, {},
            std::string("The time-zone database (/usr/share/zoneinfo) could not be read: ") + failure.what()};
    }
}

std::string UtcOffsetText(int utcOffsetMinutes)
{
    const int magnitude = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    std::string text(1, utcOffsetMinutes < 0 ? '-' : '+');
    text.append(TwoDigits(magnitude / 60)).append(":").append(TwoDigits(magnitude % 60));
    return text;
}

std::optional<int> ParseUtcOffset(std::string_view text)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t colon = text.find(':');
    if (text.size() < 5 || (text[0] != '+' && text[0] != '-') || colon == std::string_view::npos
        || colon < 2 || colon > 3 || text.size() != colon + 3 || !std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(colon), digit)
        || !digit(text[colon + 1]) || !digit(text[colon + 2])) {
        return std::nullopt;
    }
    int hours = 0;
    for (std::size_t i = 1; i < colon; ++i) {
        hours = hours * 10 + (text[i] - '0');
    }
    const int minutes = (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
    if (hours > 14 || minutes > 59) {
        return std::nullopt;
    }
    const int total = hours * 60 + minutes;
    return text[0] == '-' ? -total : total;
}

std::string FoundOffsetLine(int utcOffsetMinutes, std::string_view zone, const CivilDateTime& local)
{
    const date::year_month_day day {date::year {local.Year}, date::month {static_cast<unsigned>(local.Month)},
        date::day {static_cast<unsigned>(local.Day)}};
    return "UTC" + UtcOffsetText(utcOffsetMinutes) + " (" + std::string(zone) + ") on " + DateText(day);
}

} // namespace halvaro::atlas
