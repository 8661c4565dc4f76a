#pragma once

#include "core/BirthData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
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

// The checks of the calculate button, in their order; the first that fails.
// A degree or minute box that is not a whole number of one to three digits
// is refused right after its own emptiness check.
std::optional<InputCheckFailure> ValidateInput(const BirthData& entries);

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

} // namespace halvaro
