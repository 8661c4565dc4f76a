#include "atlas/Atlas.h"

#include "atlas/FormerNames.h"
#include "atlas/NameDistance.h"
#include "atlas/PlainLatin.h"
#include "core/Text.h"

#include <geonames.h>

#include <algorithm>
#include <locale.h>
#include <tuple>

namespace halvaro::atlas {

namespace {

// The form in which names are compared: plain Latin, lower case, every run
// of other characters one blank, no blank at either end.
std::string Fold(std::string_view utf8, PlainLatinConverter* converter)
{
    const std::optional<std::string> latin = converter != nullptr ? converter->Convert(utf8) : PlainLatin(utf8);
    const std::string_view text = latin ? std::string_view(*latin) : utf8;
    std::string folded;
    folded.reserve(text.size());
    bool gap = false;
    for (const char c : text) {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) {
            gap = true;
            continue;
        }
        if (gap && !folded.empty()) {
            folded.push_back(' ');
        }
        gap = false;
        folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return folded;
}

std::vector<std::string> CommaParts(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.emplace_back(TrimmedBlanks(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

// True when `words` occur in `folded` as a run of whole words; with
// `prefixOnly`, the last word need only begin a word.
bool HasWordRun(std::string_view folded, std::string_view words, bool prefixOnly)
{
    if (words.empty()) {
        return false;
    }
    for (std::size_t pos = folded.find(words); pos != std::string_view::npos; pos = folded.find(words, pos + 1)) {
        const bool startsWord = pos == 0 || folded[pos - 1] == ' ';
        const std::size_t end = pos + words.size();
        const bool endsWord = end == folded.size() || folded[end] == ' ';
        if (startsWord && (prefixOnly || endsWord)) {
            return true;
        }
    }
    return false;
}

std::string Described(const Place& place)
{
    std::string text = place.Name + " (";
    if (!place.State.empty() && place.State != place.Name) {
        text += place.State + ", ";
    }
    return text + place.Country + ")";
}

std::string DescribedList(const std::vector<Place>& places)
{
    std::string text;
    for (const Place& place : places) {
        text += (text.empty() ? "" : "; ") + Described(place);
    }
    return text;
}

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '"');
    quoted.append(PrintableText(text)).push_back('"');
    return quoted;
}

constexpr std::size_t ClosestNameCount = 5;
constexpr std::size_t MostCandidatesListed = 20;

// Reads every city of libgeonames. Its names pass through gettext; under
// the C locale for messages they stay the data's English names, so that a
// place text resolves the same in the window (which follows the user's
// locale) and on the command line.
std::vector<Place> GeonamesCities()
{
    std::vector<Place> places;
    const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t {});
    const locale_t previous = cLocale != locale_t {} ? uselocale(cLocale) : locale_t {};
    const int count = geonames_get_n_cities();
    places.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    const auto text = [](const gchar* value) { return value != nullptr ? std::string(value) : std::string(); };
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        if (city == nullptr) {
            continue;
        }
        Place place {text(geonames_city_get_name(city)), text(geonames_city_get_state(city)),
            text(geonames_city_get_country(city)), text(geonames_city_get_country_code(city)),
            text(geonames_city_get_timezone(city)), geonames_city_get_latitude(city),
            geonames_city_get_longitude(city), geonames_city_get_population(city)};
        geonames_city_free(city);
        if (!place.Name.empty()) {
            places.push_back(std::move(place));
        }
    }
    if (cLocale != locale_t {}) {
        uselocale(previous);
        freelocale(cLocale);
    }
    return places;
}

} // namespace

AtlasLoad MakeAtlas(std::vector<Place> places)
{
    if (places.empty()) {
        return {std::nullopt,
            "No city data was found: the geonames library holds no cities, so places cannot be looked up. "
            "Enter the latitude, longitude and time zone by hand."};
    }
    Atlas atlas;
    atlas.places = std::move(places);
    PlainLatinConverter converter;
    atlas.byName.reserve(atlas.places.size());
    atlas.foldedStates.reserve(atlas.places.size());
    atlas.foldedCountries.reserve(atlas.places.size());
    for (std::size_t i = 0; i < atlas.places.size(); ++i) {
        const Place& place = atlas.places[i];
        atlas.byName.push_back({Fold(place.Name, &converter), static_cast<std::uint32_t>(i)});
        atlas.foldedStates.push_back(Fold(place.State, &converter));
        atlas.foldedCountries.push_back(Fold(place.Country, &converter));
    }
    const auto byNameOrder = [&](const Atlas::Key& a, const Atlas::Key& b) {
        return std::tie(a.Folded, atlas.places[b.Index].Population, a.Index)
            < std::tie(b.Folded, atlas.places[a.Index].Population, b.Index);
    };
    std::sort(atlas.byName.begin(), atlas.byName.end(), byNameOrder);
    // A former name finds the most populous city of its current name in
    // its country, as that name does.
    std::vector<Atlas::Key> former;
    for (const FormerName& name : FormerCityNames) {
        const auto [first, last] = atlas.Starting(Fold(name.Current, nullptr));
        const auto city = std::find_if(first, last, [&](const Atlas::Key& key) {
            return key.Folded == Fold(name.Current, nullptr) && atlas.places[key.Index].CountryCode == name.CountryCode;
        });
        if (city != last) {
            former.push_back({Fold(name.Former, nullptr), city->Index});
        }
    }
    atlas.byName.insert(atlas.byName.end(), former.begin(), former.end());
    std::sort(atlas.byName.begin(), atlas.byName.end(), byNameOrder);
    return {std::move(atlas), {}};
}

AtlasLoad LoadAtlas()
{
    return MakeAtlas(GeonamesCities());
}

bool Atlas::Qualifies(std::uint32_t index, std::string_view qualifier, Within within, bool prefixOnly) const
{
    const Place& place = places[index];
    if (within != Within::State && qualifier.size() == 2 && place.CountryCode.size() == 2
        && Fold(place.CountryCode, nullptr) == qualifier) {
        return true;
    }
    const auto formerCountry = [&](const FormerName& country) {
        return country.CountryCode == place.CountryCode && HasWordRun(country.Former, qualifier, prefixOnly);
    };
    return (within != Within::Country && HasWordRun(foldedStates[index], qualifier, prefixOnly))
        || (within != Within::State
            && (HasWordRun(foldedCountries[index], qualifier, prefixOnly)
                || std::any_of(FormerCountryNames.begin(), FormerCountryNames.end(), formerCountry)));
}

std::pair<std::vector<Atlas::Key>::const_iterator, std::vector<Atlas::Key>::const_iterator> Atlas::Starting(
    std::string_view prefix) const
{
    const auto first = std::lower_bound(byName.begin(), byName.end(), prefix,
        [](const Key& key, std::string_view value) { return key.Folded < value; });
    const auto last = std::find_if(first, byName.end(), [&](const Key& key) { return !key.Folded.starts_with(prefix); });
    return {first, last};
}

std::vector<Place> Atlas::Find(std::string_view text, std::size_t limit) const
{
    const std::vector<std::string> parts = CommaParts(text);
    std::string prefix = Fold(parts[0], nullptr);
    if (prefix.empty() || limit == 0) {
        return {};
    }
    // A blank typed after a word ends that word: "new " finds New York, not Newark.
    if (parts.size() == 1 && !text.empty() && text.back() == ' ') {
        prefix.push_back(' ');
    }
    std::vector<std::string> qualifiers;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (std::string folded = Fold(parts[i], nullptr); !folded.empty()) {
            qualifiers.push_back(std::move(folded));
        }
    }
    std::vector<std::uint32_t> found;
    const auto [first, last] = Starting(prefix);
    for (auto key = first; key != last; ++key) {
        const bool kept = std::all_of(qualifiers.begin(), qualifiers.end(),
            [&](const std::string& q) { return Qualifies(key->Index, q, Within::Either, true); });
        if (kept) {
            found.push_back(key->Index);
        }
    }
    // A city found by its current and its former name ("b": Bengaluru, Bangalore) is listed once.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    const auto morePeople = [&](std::uint32_t a, std::uint32_t b) {
        return std::tie(places[b].Population, a) < std::tie(places[a].Population, b);
    };
    const std::size_t kept = std::min(limit, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), morePeople);
    std::vector<Place> result;
    result.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        result.push_back(places[found[i]]);
    }
    return result;
}

std::vector<Place> Atlas::ClosestNames(std::string_view name, const std::vector<std::string>& qualifiers, bool prefixOnly,
    std::size_t count) const
{
    const auto qualified = [&](std::uint32_t index) {
        return std::all_of(qualifiers.begin(), qualifiers.end(),
            [&](const std::string& q) { return Qualifies(index, q, Within::Either, prefixOnly); });
    };
    std::vector<std::uint32_t> chosen;
    // The places the qualifiers keep first (the same country, the same
    // state), then any; without qualifiers the one pass takes any.
    for (const bool restricted : {true, false}) {
        if (restricted && qualifiers.empty()) {
            continue;
        }
        // The closest names, each by its most populous place (the first of
        // its run in the index that is kept). The difference of two lengths
        // is the least their distance can be, so names are measured nearest
        // length first, and once enough are found, the lengths that could
        // not do better are left out: a long text costs a few names, not
        // the whole atlas.
        std::vector<std::vector<const Key*>> byLength;
        const Key* runFirst = nullptr;
        for (auto key = byName.begin(); key != byName.end(); ++key) {
            if (key == byName.begin() || std::prev(key)->Folded != key->Folded) {
                runFirst = nullptr;
            }
            if (runFirst == nullptr && (!restricted || qualified(key->Index))) {
                runFirst = &*key;
                byLength.resize(std::max(byLength.size(), key->Folded.size() + 1));
                byLength[key->Folded.size()].push_back(runFirst);
            }
        }
        std::vector<std::pair<std::size_t, std::uint32_t>> distances;
        std::vector<std::size_t> nearest; // the `count` smallest distances so far, in order
        const auto measure = [&](std::size_t length) {
            if (length >= byLength.size()) {
                return;
            }
            for (const Key* key : byLength[length]) {
                const std::size_t distance = EditDistance(name, key->Folded);
                distances.emplace_back(distance, key->Index);
                nearest.insert(std::upper_bound(nearest.begin(), nearest.end(), distance), distance);
                nearest.resize(std::min(nearest.size(), count));
            }
        };
        for (std::size_t gap = 0; gap < name.size() + byLength.size(); ++gap) {
            if (nearest.size() == count && gap > nearest.back()) {
                break;
            }
            if (gap <= name.size()) {
                measure(name.size() - gap);
            }
            if (gap != 0) {
                measure(name.size() + gap);
            }
        }
        std::sort(distances.begin(), distances.end(), [&](const auto& a, const auto& b) {
            return std::tie(a.first, places[b.second].Population, a.second)
                < std::tie(b.first, places[a.second].Population, b.second);
        });
        // A city near by its current and its former name is named once.
        for (const auto& [distance, index] : distances) {
            if (chosen.size() < count && std::find(chosen.begin(), chosen.end(), index) == chosen.end()) {
                chosen.push_back(index);
            }
        }
    }
    std::vector<Place> closest;
    for (const std::uint32_t index : chosen) {
        closest.push_back(places[index]);
    }
    return closest;
}

std::vector<Place> Atlas::Closest(std::string_view text, std::size_t count) const
{
    const std::vector<std::string> parts = CommaParts(text);
    const std::string name = Fold(parts[0], nullptr);
    std::vector<std::string> qualifiers;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (std::string folded = Fold(parts[i], nullptr); !folded.empty()) {
            qualifiers.push_back(std::move(folded));
        }
    }
    return name.empty() || count == 0 ? std::vector<Place> {} : ClosestNames(name, qualifiers, true, count);
}

Resolution Atlas::Resolve(std::string_view text) const
{
    std::vector<std::string> parts = CommaParts(text);
    const std::string name = Fold(parts[0], nullptr);
    std::vector<std::string> qualifiers;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (std::string folded = Fold(parts[i], nullptr); !folded.empty()) {
            qualifiers.push_back(std::move(folded));
        }
    }
    if (name.empty() || qualifiers.size() > 2) {
        return {std::nullopt, Resolution::Fault::Unknown, {},
            "A place is written \"City\", \"City, State\", \"City, Country\" or \"City, State, Country\"; "
                + Quoted(text) + " is none of these."};
    }
    auto [first, last] = Starting(name);
    last = std::find_if(first, last, [&](const Key& key) { return key.Folded != name; });
    std::vector<Place> named; // most populous first, as the index keeps them
    for (auto key = first; key != last; ++key) {
        const bool kept = qualifiers.size() == 2
            ? Qualifies(key->Index, qualifiers[0], Within::State, false)
                && Qualifies(key->Index, qualifiers[1], Within::Country, false)
            : qualifiers.empty() || Qualifies(key->Index, qualifiers[0], Within::Either, false);
        if (kept) {
            named.push_back(places[key->Index]);
        }
    }

    if (named.size() == 1
        || (named.size() > 1 && named[0].Population > 0
            && std::uint64_t {named[0].Population} >= 10 * std::uint64_t {named[1].Population})) {
        return {named[0], Resolution::Fault::None, {}, {}};
    }
    if (!named.empty()) {
        const std::size_t count = named.size();
        named.resize(std::min(count, MostCandidatesListed));
        std::string error = Quoted(text) + " names " + DecimalText(static_cast<long long>(count))
            + " places, none with ten times the people of the next; add the state or the country: "
            + DescribedList(named);
        return {std::nullopt, Resolution::Fault::Ambiguous, std::move(named), std::move(error)};
    }
    if (first != last) {
        std::vector<Place> sameName;
        for (auto key = first; key != last && sameName.size() < MostCandidatesListed; ++key) {
            sameName.push_back(places[key->Index]);
        }
        std::string error = "No place named " + Quoted(parts[0]) + " lies in " + Quoted(TrimmedBlanks(text.substr(text.find(',') + 1)))
            + "; places of that name: " + DescribedList(sameName);
        return {std::nullopt, Resolution::Fault::Unknown, std::move(sameName), std::move(error)};
    }
    const std::vector<Place> closest = ClosestNames(name, qualifiers, false, ClosestNameCount);
    std::string error = "No place is named " + Quoted(parts[0]) + ". Closest names: " + DescribedList(closest);
    return {std::nullopt, Resolution::Fault::Unknown, std::move(closest), std::move(error)};
}

} // namespace halvaro::atlas
