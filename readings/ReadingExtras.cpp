#include "readings/ReadingExtras.h"

#include "core/Text.h"
#include "core/TimeZones.h"

#include <charconv>
#include <chrono>
#include <cstdlib>

namespace halvaro::readings {

namespace {

constexpr std::string_view OffsetKey = "utc-offset";
constexpr std::string_view MeanTimeKey = "local-mean-time";
constexpr std::string_view ZoneKey = "time-zone";
constexpr std::string_view SkyKey = "sky";
constexpr std::string_view AyanamsaKey = "ayanamsa";
constexpr std::string_view UserAyanamsaKey = "ayanamsa-value";
constexpr std::string_view NodeKey = "node";
constexpr std::string_view DashaYearKey = "dasha-year";
constexpr std::string_view SunriseKey = "sunrise";

// No offset in use lies farther than this from Universal Time (Kiribati's
// +14:00, a mean time at 180°: 12 hours).
constexpr int LargestOffsetSeconds = 15 * 3600;
constexpr std::size_t LongestZoneName = 64;

std::string Two(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

// "+05:45:00": always to the second, so that the reader has one form.
std::string OffsetText(int seconds)
{
    const int size = std::abs(seconds);
    return std::string(seconds < 0 ? "-" : "+") + Two(size / 3600) + ":" + Two(size / 60 % 60) + ":" + Two(size % 60);
}

std::optional<int> ParseOffset(std::string_view text)
{
    if (text.size() != 9 || (text[0] != '+' && text[0] != '-') || text[3] != ':' || text[6] != ':') {
        return std::nullopt;
    }
    const auto h = DigitsNumber(text.substr(1, 2), 2);
    const auto m = DigitsNumber(text.substr(4, 2), 2);
    const auto s = DigitsNumber(text.substr(7, 2), 2);
    if (!h || !m || !s || *m > 59 || *s > 59) {
        return std::nullopt;
    }
    const int size = *h * 3600 + *m * 60 + *s;
    if (size > LargestOffsetSeconds) {
        return std::nullopt;
    }
    return text[0] == '-' ? -size : size;
}

// The letters of IANA names: "America/Argentina/Buenos_Aires", "Etc/GMT+5".
bool IsZoneName(std::string_view text)
{
    if (text.empty() || text.size() > LongestZoneName) {
        return false;
    }
    for (const char c : text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letter && c != '/' && c != '_' && c != '-' && c != '+') {
            return false;
        }
    }
    return true;
}

std::string UserAyanamsaText(const UserAyanamsa& user)
{
    return ShortestDecimalText(user.Degrees) + "@" + DecimalText(user.Year) + "-" + Two(user.Month) + "-" + Two(user.Day);
}

// DEG@YYYY-MM-DD, degrees from 0 to below 360 at a Gregorian date.
std::optional<UserAyanamsa> ParseUserAyanamsa(std::string_view text)
{
    const std::size_t at = text.find('@');
    const std::string_view date = at == std::string_view::npos ? std::string_view {} : text.substr(at + 1);
    if (at == 0 || date.size() != 10 || date[4] != '-' || date[7] != '-') {
        return std::nullopt;
    }
    UserAyanamsa user;
    const std::string_view degrees = text.substr(0, at);
    const auto parsed = std::from_chars(degrees.data(), degrees.data() + at, user.Degrees, std::chars_format::general);
    const auto year = DigitsNumber(date.substr(0, 4), 4);
    const auto month = DigitsNumber(date.substr(5, 2), 2);
    const auto day = DigitsNumber(date.substr(8, 2), 2);
    if (parsed.ec != std::errc() || parsed.ptr != degrees.data() + at || !(user.Degrees >= 0 && user.Degrees < 360)
        || !year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day epoch {std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
        std::chrono::day(static_cast<unsigned>(*day))};
    if (!epoch.ok()) {
        return std::nullopt;
    }
    user.Year = *year, user.Month = *month, user.Day = *day;
    return user;
}

bool NeedsExtraLines(const Birth& birth, const Conventions& conventions)
{
    return !birth.Zone || !birth.TimeZone.empty() || birth.LocalMeanTime || birth.UtcOffsetExtraSeconds != 0
        || conventions != Conventions {};
}

std::string Line(std::string_view key, std::string_view value)
{
    return std::string(key) + "=" + std::string(value);
}

ExtrasRead Refused(std::optional<std::size_t> index, std::string reason)
{
    ExtrasRead refused;
    if (index) {
        refused.BadLine = static_cast<int>(*index);
    }
    refused.Reason = std::move(reason);
    return refused;
}

} // namespace

int ListEntryOffsetSeconds(const ZoneChoice& entry)
{
    const TimeZone& zone = TimeZoneTable[static_cast<std::size_t>(entry.Position)];
    return -(zone.HourCorrection * 3600 + zone.MinuteCorrection * 60) + (entry.DaylightSaving ? 3600 : 0);
}

int NearestListEntry(int utcOffsetSeconds)
{
    int nearest = 0;
    for (int position = 1; position < TimeZoneCount; ++position) {
        const int distance = std::abs(ListEntryOffsetSeconds({position, false}) - utcOffsetSeconds);
        if (distance < std::abs(ListEntryOffsetSeconds({nearest, false}) - utcOffsetSeconds)) {
            nearest = position;
        }
    }
    return nearest;
}

std::vector<std::string> ExtraLineTexts(const Birth& birth, const Conventions& conventions)
{
    if (!NeedsExtraLines(birth, conventions)) {
        return {};
    }
    std::vector<std::string> lines {Line(OffsetKey, OffsetText(UtcOffsetSecondsOf(birth)))};
    if (birth.LocalMeanTime) {
        lines.push_back(Line(MeanTimeKey, "true"));
    }
    if (!birth.TimeZone.empty()) {
        lines.push_back(Line(ZoneKey, birth.TimeZone));
    }
    lines.push_back(Line(SkyKey, SkyModelName(conventions.Sky)));
    if (conventions.Sky == SkyModel::Precise) {
        lines.push_back(Line(AyanamsaKey, NamesOf(conventions.Ayanamsa).Option));
        if (conventions.Ayanamsa == AyanamsaSystem::User) {
            lines.push_back(Line(UserAyanamsaKey, UserAyanamsaText(conventions.User)));
        }
        lines.push_back(Line(NodeKey, NodeOption(conventions.Node)));
        for (std::size_t i = 0; i < DashaYearChoices.size(); ++i) {
            if (DashaYearChoices[i] == conventions.DashaYearDays) {
                lines.push_back(Line(DashaYearKey, DashaYearOptions[i]));
            }
        }
    }
    // The panchanga's sunrise is chosen in either sky.
    if (conventions.Sunrise != SunriseConvention::Hindu) {
        lines.push_back(Line(SunriseKey, NamesOf(conventions.Sunrise).Option));
    }
    return lines;
}

ExtrasRead ReadExtraLines(const std::vector<std::string_view>& texts, const ZoneChoice& entry)
{
    std::optional<int> offset;
    bool meanTime = false;
    std::string zone;
    std::optional<Conventions> chosen;
    bool conventionsGiven = false;
    bool userGiven = false;
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view text = texts[i];
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            return Refused(i, "is not a \"key=value\" line of a reading file");
        }
        const std::string_view key = text.substr(0, equals);
        const std::string_view value = text.substr(equals + 1);
        for (const std::string_view before : seen) {
            if (before == key) {
                return Refused(i, "gives " + std::string(key) + " a second time");
            }
        }
        seen.push_back(key);
        const auto wrong = [&](std::string_view expected) {
            return Refused(i, "holds " + PrintableText(text) + ", but " + std::string(key) + " must be " + std::string(expected));
        };
        if (key == OffsetKey) {
            offset = ParseOffset(value);
            if (!offset) {
                return wrong("an offset from -15:00:00 to +15:00:00, e.g. +05:45:00");
            }
        } else if (key == MeanTimeKey) {
            if (value != "true") {
                return wrong("true");
            }
            meanTime = true;
        } else if (key == ZoneKey) {
            if (!IsZoneName(value)) {
                return wrong("a zone name of the tz database, e.g. Asia/Kathmandu");
            }
            zone = value;
        } else if (key == SkyKey) {
            if (value != SkyModelName(SkyModel::Classic) && value != SkyModelName(SkyModel::Precise)) {
                return wrong("classic or precise");
            }
            Conventions sky = chosen.value_or(Conventions {});
            sky.Sky = value == SkyModelName(SkyModel::Precise) ? SkyModel::Precise : SkyModel::Classic;
            chosen = sky;
        } else if (key == SunriseKey) {
            Conventions c = chosen.value_or(Conventions {});
            bool known = false;
            for (std::size_t r = 0; r < SunriseConventionTable.size(); ++r) {
                if (SunriseConventionTable[r].Option == value) {
                    c.Sunrise = static_cast<SunriseConvention>(r);
                    known = true;
                }
            }
            if (!known) {
                return wrong("hindu, disc-centre or upper-limb");
            }
            chosen = c;
        } else if (key == AyanamsaKey || key == UserAyanamsaKey || key == NodeKey || key == DashaYearKey) {
            conventionsGiven = true;
            Conventions c = chosen.value_or(Conventions {});
            bool known = false;
            if (key == AyanamsaKey) {
                for (std::size_t a = 0; a < AyanamsaTable.size(); ++a) {
                    if (AyanamsaTable[a].Option == value) {
                        c.Ayanamsa = static_cast<AyanamsaSystem>(a);
                        known = true;
                    }
                }
            } else if (key == UserAyanamsaKey) {
                const std::optional<UserAyanamsa> user = ParseUserAyanamsa(value);
                known = user.has_value();
                c.User = user.value_or(UserAyanamsa {});
                userGiven = known;
            } else if (key == NodeKey) {
                known = value == NodeOption(NodeKind::Mean) || value == NodeOption(NodeKind::True);
                c.Node = value == NodeOption(NodeKind::True) ? NodeKind::True : NodeKind::Mean;
            } else {
                for (std::size_t d = 0; d < DashaYearOptions.size(); ++d) {
                    if (DashaYearOptions[d] == value) {
                        c.DashaYearDays = DashaYearChoices[d];
                        known = true;
                    }
                }
            }
            if (!known) {
                return wrong(key == UserAyanamsaKey ? "DEG@YYYY-MM-DD, degrees from 0 to below 360"
                        : key == AyanamsaKey        ? "an ayanamsa of the precise sky, e.g. lahiri"
                        : key == NodeKey            ? "mean or true"
                                                    : "365.25, 365.2564 or 360");
            }
            chosen = c;
        } else {
            return Refused(i, "names " + PrintableText(key) + ", which a reading file does not hold");
        }
    }
    if (conventionsGiven && (!chosen || chosen->Sky != SkyModel::Precise)) {
        return Refused(std::nullopt, "the lines after the 17th give conventions without sky=precise, the only sky that takes them");
    }
    if (chosen && (chosen->Ayanamsa == AyanamsaSystem::User) != userGiven) {
        return Refused(std::nullopt, "the lines after the 17th give ayanamsa=user and ayanamsa-value only together");
    }
    if ((meanTime || !zone.empty()) && !offset) {
        return Refused(std::nullopt, "the lines after the 17th name a zone or local mean time but no utc-offset");
    }
    ExtrasRead read;
    read.Chosen = chosen;
    if (offset) {
        ExactOffset exact;
        exact.UtcOffsetSeconds = *offset;
        exact.TimeZone = zone;
        exact.LocalMeanTime = meanTime;
        if (!meanTime && ListEntryOffsetSeconds(entry) == *offset) {
            exact.Zone = entry;
        }
        read.Offset = std::move(exact);
    }
    return read;
}

} // namespace halvaro::readings
