// atlas/ holds places and their historical time zones: the cities of libgeonames found by name and resolved
// from a place text, UTC offsets from the system's tz database through Abseil's time-zone library, the zone
// list entry of an offset, plain Latin names, the place boxes a found place fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvaro::atlas {

// A city of the world atlas (GeoNames, through libgeonames): names in UTF-8
// as the data has them, English where the data has an English name.
struct Place {
    std::string Name;
    std::string State;       // the first-level division, e.g. "State of West Bengal"
    std::string Country;     // e.g. "India"
    std::string CountryCode; // ISO 3166 two letters, e.g. "IN"
    std::string TimeZone;    // IANA name, e.g. "Asia/Kolkata"
    double LatitudeDeg = 0;  // north positive
    double LongitudeDeg = 0; // east positive
    std::uint32_t Population = 0;
};

// What a place text names: one place, or why not.
struct Resolution {
    enum class Fault { None, Unknown, Ambiguous };
    std::optional<Place> Found;
    Fault Problem = Fault::None;
    // Ambiguous: the places of that exact name, most populous first.
    // Unknown: the places of that name elsewhere when the state or country
    // ruled them all out, else the places whose names come closest.
    std::vector<Place> Candidates;
    std::string Error; // in words for the user, naming the candidates
};

struct AtlasLoad;

// The cities with an index of their names, built once and then only read:
// searches are const, so any number of threads may share one atlas.
class Atlas {
public:
    // Searches by name: the text up to the first comma is the start of the
    // name, case and accents ignored ("sao p" finds São Paulo), a former or
    // common name too ("Bomb" finds Mumbai, see FormerNames.h); each further
    // comma-separated part must start a word of the state or the country,
    // or be the country's code ("London, ca" keeps London in Ontario).
    // Most populous first, at most `limit`. An empty name finds nothing.
    [[nodiscard]] std::vector<Place> Find(std::string_view text, std::size_t limit = 50) const;

    // "City", "City, State", "City, Country", "City, State, Country", the
    // city also by a former name, the country by name, former name ("Ceylon")
    // or two-letter code; names compared ignoring case and
    // accents, a state or country also by a run of its words ("West Bengal"
    // for "State of West Bengal"). Of the places so named, the most populous
    // is taken when it has at least ten times the people of the next;
    // otherwise the text is ambiguous.
    [[nodiscard]] Resolution Resolve(std::string_view text) const;

    // The places whose names come closest to a text's name (written as Find
    // takes it) when none starts with it, each name by its most populous
    // place: first those the text's state or country keeps, then any.
    [[nodiscard]] std::vector<Place> Closest(std::string_view text, std::size_t count = 5) const;

    [[nodiscard]] std::size_t Size() const { return places.size(); }

private:
    friend AtlasLoad MakeAtlas(std::vector<Place> places);
    Atlas() = default;

    struct Key {
        std::string Folded; // the name as searches compare it
        std::uint32_t Index;
    };
    enum class Within { State, Country, Either };
    // Whether a folded qualifier names the place's state or country (by a
    // run of whole words, or of words the last of which is begun), or, for
    // a country, is its code.
    [[nodiscard]] bool Qualifies(std::uint32_t index, std::string_view qualifier, Within within,
        bool prefixOnly) const;
    [[nodiscard]] std::vector<Place> ClosestNames(std::string_view name, const std::vector<std::string>& qualifiers,
        bool prefixOnly, std::size_t count) const;
    // The index entries whose folded name starts with `prefix`.
    [[nodiscard]] std::pair<std::vector<Key>::const_iterator, std::vector<Key>::const_iterator> Starting(
        std::string_view prefix) const;

    std::vector<Place> places;
    std::vector<Key> byName;           // sorted by Folded, then by population, most first
    std::vector<std::string> foldedStates;
    std::vector<std::string> foldedCountries;
};

struct AtlasLoad {
    std::optional<Atlas> Loaded;
    std::string Error; // why there is no atlas, in words for the user
};

// An atlas of the given places; an error when there are none.
AtlasLoad MakeAtlas(std::vector<Place> places);

// The atlas of libgeonames' cities (about 24,000; the data is compiled into
// the library), loaded once by the caller (about 0.1 s) and held. An error
// value, never a crash, when the library yields no cities.
AtlasLoad LoadAtlas();

} // namespace halvaro::atlas
