#pragma once

#include "core/Birth.h"
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

// The checked birth, or the first check that failed.
struct BirthCheck {
    std::optional<InputCheckFailure> Failure;
    Birth Value; // meaningful only without a failure
};

// The checks of the calculate button, in their order; the first that fails.
// A degree or minute box that is not a whole number of one to three digits
// is refused right after its own emptiness check. What passes becomes the
// typed birth every later step takes: the only place the boxes are parsed.
BirthCheck ValidateInput(const BirthData& entries);

inline constexpr std::string_view OnlyLettersMessage = "Please enter only letters";
inline constexpr std::string_view OnlyNumbersMessage = "Please enter only numbers";

// A whole number of one to maxDigits ASCII digits (at most nine), nothing
// else: no sign, blank or point.
std::optional<int> DigitsNumber(std::string_view text, std::size_t maxDigits);

} // namespace halvaro
