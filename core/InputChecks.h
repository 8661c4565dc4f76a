#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvaro {

// What the input screen holds, as the user left it. Day, month, year, hour
// and minute are the values the lists show (Month 1 = January); ZonePosition
// is the zone list position (the time-zone table index).
struct BirthEntries {
    std::string Name;
    std::string LatDeg, LatMin, LonDeg, LonMin;
    std::string City, State, Country;
    bool North = true, South = false; // optLat(0), optLat(1)
    bool East = true, West = false;   // optLong(0), optLong(1)
    bool DaylightSaving = false;
    int Day = 1, Month = 1, Year = 1901, Hour = 0, Minute = 0;
    int ZonePosition = 0;
};

enum class MessageIcon { Error, Information };

// The control a failed check points the user to.
enum class InputControl { txtName, txtLatDeg, txtLatMin, txtLonDeg, txtLonMin, txtCity, txtState, txtCountry, optLat, optLong, None };

struct InputCheckFailure {
    std::string_view Message;
    MessageIcon Icon;
    // Takes the focus, or for optLat/optLong, gets its first option selected.
    InputControl Control;
};

// The checks of the calculate button, in their order; the first that fails.
// A degree or minute box that is not a whole number of one to three digits
// is refused right after its own emptiness check.
std::optional<InputCheckFailure> ValidateInput(const BirthEntries& entries);

// Key filters: true when the character code may enter the box.
bool LetterBoxAccepts(int code);
bool NumberBoxAccepts(int code);
inline constexpr std::string_view OnlyLettersMessage = "Please enter only letters";
inline constexpr std::string_view OnlyNumbersMessage = "Please enter only numbers";

// The number in a degree or minute box: one to three ASCII digits, nothing
// else; any other text gives no number.
std::optional<std::int16_t> BoxNumber(std::string_view text);

// A whole number of one to maxDigits ASCII digits (at most nine), nothing
// else: no sign, blank or point.
std::optional<int> DigitsNumber(std::string_view text, std::size_t maxDigits);

// Leading and trailing blanks removed (blanks only, as the boxes hold them).
std::string TrimBlanks(std::string_view text);

} // namespace halvaro
