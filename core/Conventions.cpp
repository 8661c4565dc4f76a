#include "core/Conventions.h"

#include "core/Text.h"


namespace halvaro {

namespace {

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

} // namespace

std::string AyanamsaText(const Conventions& conventions)
{
    if (conventions.Ayanamsa != AyanamsaSystem::User) {
        return std::string(NamesOf(conventions.Ayanamsa).Shown);
    }
    const UserAyanamsa& user = conventions.User;
    return "user value " + ShortestDecimalText(user.Degrees) + "\u00B0 at " + DecimalText(user.Year) + "-" + TwoDigits(user.Month)
        + "-" + TwoDigits(user.Day);
}

std::string ConventionsText(const Conventions& conventions)
{
    if (conventions.Sky == SkyModel::Classic) {
        return "the classic model's own ayanamsa and node, " + ShortestDecimalText(conventions.DashaYearDays) + "-day year";
    }
    return AyanamsaText(conventions) + ", " + std::string(NodeOption(conventions.Node)) + " node, "
        + ShortestDecimalText(conventions.DashaYearDays) + "-day year";
}

} // namespace halvaro
