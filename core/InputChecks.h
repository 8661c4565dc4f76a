#pragma once

#include "core/Birth.h"
#include "core/BirthData.h"
#include "core/Conventions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro {

enum class MessageIcon { Error, Information };

// The control a failed check points the user to.
enum class InputControl { txtName, txtLatDeg, txtLatMin, txtLonDeg, txtLonMin, txtCity, txtState, txtCountry, optLat, optLong, None };

struct InputCheckFailure {
    std::string_view Message;
    MessageIcon Icon;
    // Takes the focus, or for optLat/optLong, gets its first option selected.
    InputControl Control;
};

// The checked birth, or the first check that failed.
struct BirthCheck {
    std::optional<InputCheckFailure> Failure;
    Birth Value; // meaningful only without a failure
};

// An offset that stands for the boxes' zone list entry: found in a zone's
// history at the local time of birth, or given as it is.
struct ExactOffset {
    int UtcOffsetSeconds = 0;       // local clock time minus UT
    std::optional<ZoneChoice> Zone; // the list entry that gives it exactly, when one does
    std::string TimeZone;           // the IANA zone it was found in; empty for none
    // Instead of the seconds above: the place's local mean time, from the
    // checked longitude.
    bool LocalMeanTime = false;
};

// The checks of the calculate button, in their order; the first that fails.
// A degree or minute box that is not a whole number of one to three digits
// is refused right after its own emptiness check; the year must lie in the
// years the conventions' sky covers. What passes becomes the typed birth
// every later step takes, whole: the only place the boxes are parsed. Its
// offset is `offset` when given, else the zone list entry's.
BirthCheck ValidateInput(const BirthData& entries, const Conventions& conventions = {},
    const ExactOffset* offset = nullptr);

// A place's local mean time, local clock time minus UT in seconds: its
// longitude at four minutes a degree, to the nearest second (77°13' E:
// +5:08:52).
int LocalMeanTimeSeconds(double longitudeDeg);

// A year the conventions' sky does not cover.
inline constexpr std::string_view ClassicYearMessage =
    "Please Enter A Year From 1901 To 2050, Or Choose The Precise Sky For 1600 To 2399";
inline constexpr std::string_view PreciseYearMessage = "Please Enter A Year From 1600 To 2399";
InputCheckFailure YearFailure(const Conventions& conventions);

inline constexpr std::string_view OnlyLettersMessage = "Please enter only letters";

// The characters a name or place may hold, in the window's boxes and on the
// command line alike: the ASCII letters, the blank and the marks names are
// written with (O'Brien, Winston-Salem, St. Louis), which a reading file holds.
bool NameCharacterAllowed(char32_t code);
// The first character of a UTF-8 text that a name or place may not hold.
std::optional<char32_t> FirstNameCharacterRefused(std::string_view utf8);
inline constexpr std::string_view OnlyNumbersMessage = "Please enter only numbers";

// A whole number of one to maxDigits ASCII digits (at most nine), nothing
// else: no sign, blank or point.
std::optional<int> DigitsNumber(std::string_view text, std::size_t maxDigits);

} // namespace halvaro
