#include "atlas/ZoneHistory.h"

#include "atlas/NameDistance.h"
#include "core/Calendar.h"
#include "core/Text.h"

#include <absl/time/civil_time.h>
#include <absl/time/time.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <stdexcept>

namespace halvaro::atlas {

// Abseil's time-zone library reads the binary zone files whole, the rule in
// each file's footer included, so that daylight saving goes on past 2037.
struct ZoneCache::LoadedZone {
    std::string Name;
    absl::TimeZone Zone;
};

namespace {

constexpr std::size_t ClosestZoneCount = 5;

// Where the library looks for the zone files: TZDIR, as it reads it, or
// Debian's tzdata folder.
std::string ZoneFolder()
{
    const char* folder = std::getenv("TZDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/usr/share/zoneinfo";
}

std::string TwoDigits(long long value)
{
    std::string text = DecimalText(value);
    if (value < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

std::string DateText(absl::CivilDay day)
{
    return DecimalText(day.day()) + " " + std::string(MonthNames[static_cast<std::size_t>(day.month() - 1)]) + " "
        + DecimalText(day.year());
}

// The clock time of a local moment, "02:00", with its seconds when it has
// any ("23:53:20", where a local mean time ended).
std::string ClockText(absl::CivilSecond moment)
{
    std::string text = TwoDigits(moment.hour()) + ":" + TwoDigits(moment.minute());
    return moment.second() == 0 ? text : text + ":" + TwoDigits(moment.second());
}

int RoundedMinutes(int seconds)
{
    return seconds >= 0 ? (seconds + 30) / 60 : -((-seconds + 30) / 60);
}

std::string Described(const absl::TimeZone::CivilInfo& info)
{
    return "UTC" + UtcOffsetSecondsText(info.offset) + " (" + info.zone_abbr + ", "
        + (info.is_dst ? "daylight saving" : "standard time") + ")";
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

// The zone and link names of the database's text form, tzdata.zi beside the
// binary files: "Z Asia/Kolkata ..." names a zone, "L Asia/Kolkata
// Asia/Calcutta" a link. Only these names are loaded, so that a name can
// never reach a file outside the database.
std::vector<std::string> ReadZoneNames(const std::string& folder)
{
    std::ifstream file(folder + "/tzdata.zi");
    std::vector<std::string> names;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("Z ")) {
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        } else if (line.starts_with("L ")) {
            const std::size_t name = line.find(' ', 2);
            if (name != std::string::npos) {
                names.push_back(line.substr(name + 1));
            }
        }
    }
    if (names.empty()) {
        throw std::runtime_error(folder + "/tzdata.zi names no zones");
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The zone names nearest to a name the database lacks, comparing with both
// the whole name and its last part ("Kolkatta" is near "Asia/Kolkata").
std::vector<std::string> ClosestZones(const std::vector<std::string>& names, std::string_view zone)
{
    const std::string wanted = Lowered(zone);
    std::vector<std::pair<std::size_t, std::string_view>> distances;
    for (const std::string& name : names) {
        if (name.find('/') == std::string::npos) {
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

ZoneOffset OffsetOf(const std::string& zone, const absl::TimeZone::CivilInfo& info)
{
    return {zone, RoundedMinutes(info.offset), info.offset, info.zone_abbr, info.is_dst};
}

// The local clock times either side of a change: "02:00 to 03:00", or with
// their dates when the change crosses midnight or skips whole days ("00:00
// on 30 December 2011 to 00:00 on 31 December 2011").
std::string ChangeText(absl::CivilSecond from, absl::CivilSecond to)
{
    const absl::CivilDay fromDay(from);
    const absl::CivilDay toDay(to);
    if (fromDay == toDay) {
        return ClockText(from) + " to " + ClockText(to);
    }
    return ClockText(from) + " on " + DateText(fromDay) + " to " + ClockText(to) + " on " + DateText(toDay);
}

} // namespace

const std::vector<std::string>& ZoneCache::ZoneNames()
{
    if (!names) {
        names = ReadZoneNames(ZoneFolder());
    }
    return *names;
}

const ZoneCache::LoadedZone* ZoneCache::Locate(std::string_view zone)
{
    if (const auto known = located.find(zone); known != located.end()) {
        return known->second.get();
    }
    const std::vector<std::string>& all = ZoneNames();
    auto name = std::lower_bound(all.begin(), all.end(), zone);
    if (name == all.end() || *name != zone) {
        name = std::find_if(all.begin(), all.end(), [&](const std::string& candidate) {
            return EqualsIgnoringCase(candidate, zone);
        });
    }
    std::shared_ptr<const LoadedZone> found;
    if (name != all.end()) {
        absl::TimeZone loaded;
        if (!absl::LoadTimeZone(*name, &loaded)) {
            throw std::runtime_error("the zone file of " + *name + " is missing or unreadable");
        }
        found = std::make_shared<const LoadedZone>(LoadedZone {*name, loaded});
    }
    return located.emplace(std::string(zone), std::move(found)).first->second.get();
}

ZoneOffsetResult ZoneCache::OffsetAt(std::string_view zone, const CivilDateTime& local, DstChoice choice)
{
    using Fault = ZoneOffsetResult::Fault;
    const absl::CivilSecond moment(local.Year, local.Month, local.Day, local.Hour, local.Minute, 0);
    // The civil type carries an impossible field into the next one: 30
    // February comes back as a day of March.
    if (moment.year() != local.Year || moment.month() != local.Month || moment.day() != local.Day
        || moment.hour() != local.Hour || moment.minute() != local.Minute) {
        return {std::nullopt, Fault::NotADate, {}, "The birth date and time are not a valid date and clock time."};
    }
    try {
        const LoadedZone* found = Locate(zone);
        if (found == nullptr) {
            std::vector<std::string> closest = ClosestZones(ZoneNames(), zone);
            std::string error = "No time zone is named \"" + PrintableText(zone) + "\"";
            for (std::size_t i = 0; i < closest.size(); ++i) {
                error += (i == 0 ? ". Closest names: " : ", ") + closest[i];
            }
            return {std::nullopt, Fault::UnknownZone, std::move(closest), error + "."};
        }
        const absl::TimeZone& tz = found->Zone;
        const absl::TimeZone::TimeInfo info = tz.At(moment);
        const auto when = [&] { return ClockText(moment) + " on " + DateText(absl::CivilDay(moment)); };
        switch (info.kind) {
        case absl::TimeZone::TimeInfo::UNIQUE: return {OffsetOf(found->Name, tz.At(info.pre)), Fault::None, {}, {}};
        case absl::TimeZone::TimeInfo::SKIPPED: {
            const absl::TimeZone::CivilInfo before = tz.At(info.trans - absl::Seconds(1));
            const absl::TimeZone::CivilInfo after = tz.At(info.trans);
            return {std::nullopt, Fault::NoSuchLocalTime, {},
                "There was no " + when() + " in " + found->Name + ": the clocks went forward from "
                    + ChangeText(before.cs + 1, after.cs) + ", from " + Described(before) + " to " + Described(after)
                    + "."};
        }
        case absl::TimeZone::TimeInfo::REPEATED:
        default: {
            const absl::TimeZone::CivilInfo earlier = tz.At(info.pre);
            const absl::TimeZone::CivilInfo later = tz.At(info.post);
            if (choice == DstChoice::Daylight) {
                return {OffsetOf(found->Name, earlier), Fault::None, {}, {}};
            }
            if (choice == DstChoice::Standard) {
                return {OffsetOf(found->Name, later), Fault::None, {}, {}};
            }
            // Daylight or standard only where the clocks went back from one to
            // the other; else (Paris in 1911, from its mean time to WET) by order.
            const std::string ask = earlier.is_dst && !later.is_dst ? "daylight or standard"
                                                                    : "the earlier or the later";
            return {std::nullopt, Fault::TwiceLocalTime, {},
                when() + " happened twice in " + found->Name + ": first at " + Described(earlier) + ", then at "
                    + Described(later) + ". Say which: " + ask + "."};
        }
        }
    } catch (const std::exception& failure) {
        return {std::nullopt, Fault::NoDatabase, {},
            "The time-zone database (" + ZoneFolder() + ") could not be read: " + failure.what()};
    }
}

std::string UtcOffsetText(int utcOffsetMinutes)
{
    const int magnitude = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    std::string text(1, utcOffsetMinutes < 0 ? '-' : '+');
    text.append(TwoDigits(magnitude / 60)).append(":").append(TwoDigits(magnitude % 60));
    return text;
}

std::string UtcOffsetSecondsText(int seconds)
{
    if (seconds % 60 == 0) {
        return UtcOffsetText(seconds / 60);
    }
    const int magnitude = seconds < 0 ? -seconds : seconds;
    return std::string(1, seconds < 0 ? '-' : '+') + TwoDigits(magnitude / 3600) + ":"
        + TwoDigits(magnitude / 60 % 60) + ":" + TwoDigits(magnitude % 60);
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
    const absl::CivilDay day(local.Year, local.Month, local.Day);
    const bool real = day.year() == local.Year && day.month() == local.Month && day.day() == local.Day;
    return "UTC" + UtcOffsetText(utcOffsetMinutes) + " (" + std::string(zone) + ") on "
        + (real ? DateText(day) : "an impossible date");
}

} // namespace halvaro::atlas
