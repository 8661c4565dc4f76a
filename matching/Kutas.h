#pragma once

#include "core/Graha.h"

#include <array>
#include <string_view>

// The eight kutas of the Ashtakoota, each a small pure rule on the two Moons'
// sign, half of sign and nakshatra. The boy's side comes first wherever a
// rule is not symmetric.
namespace halvaro::matching {

// Signs 0 Mesha .. 11 Meena, nakshatras 0 Ashwini .. 26 Revati.

enum class Varna { Shudra, Vaishya, Kshatriya, Brahmin }; // lowest first
Varna VarnaOf(int sign);
double VarnaPoints(Varna boy, Varna girl);

enum class Vashya { Chatushpada, Manava, Jalachara, Vanachara, Keeta };
// The half of a dual sign (Dhanus, Makara) changes at 15° of it.
Vashya VashyaOf(int sign, double degreesInSign);
double VashyaPoints(Vashya boy, Vashya girl);

// The count from one star to another, the first counted as 1, taken modulo
// 9 with 0 as 9: 1 Janma .. 9 Parama Mitra.
int TaraCount(int fromNakshatra, int toNakshatra);
double TaraPointsOneWay(int count); // 0 for Vipat (3), Pratyak (5), Naidhana (7), else 1.5
double TaraPoints(int boyNakshatra, int girlNakshatra);

enum class Yoni { Horse, Elephant, Sheep, Serpent, Dog, Cat, Rat, Cow, Buffalo, Tiger, Deer, Monkey, Mongoose, Lion };
inline constexpr int YoniCount = 14;
Yoni YoniOf(int nakshatra);
enum class YoniRelation { Same, Friendly, Neutral, Inimical, SwornEnemies };
YoniRelation YoniRelationOf(Yoni a, Yoni b);
double YoniPoints(Yoni boy, Yoni girl);

// The lord of a sign.
Graha SignLord(int sign);
enum class Friendship { Friend, Neutral, Enemy };
// How `of` regards `other`, by the natural friendship of the seven grahas.
Friendship NaturalFriendship(Graha of, Graha other);
double GrahaMaitriPoints(Graha boyLord, Graha girlLord);

enum class Gana { Deva, Manushya, Rakshasa };
Gana GanaOf(int nakshatra);
double GanaPoints(Gana boy, Gana girl);

// The count from one sign to another, the first counted as 1 (1..12).
int SignCount(int fromSign, int toSign);
double BhakootPoints(int boySign, int girlSign);

enum class Nadi { Adi, Madhya, Antya };
Nadi NadiOf(int nakshatra);
double NadiPoints(Nadi boy, Nadi girl);

inline constexpr std::array<std::string_view, 4> VarnaNames {"Shudra", "Vaishya", "Kshatriya", "Brahmin"};
inline constexpr std::array<std::string_view, 5> VashyaNames {"Chatushpada", "Manava", "Jalachara", "Vanachara", "Keeta"};
inline constexpr std::array<std::string_view, 9> TaraNames {
    "Janma", "Sampat", "Vipat", "Kshema", "Pratyak", "Sadhana", "Naidhana", "Mitra", "Parama Mitra"};
inline constexpr std::array<std::string_view, YoniCount> YoniNames {"Horse", "Elephant", "Sheep", "Serpent",
    "Dog", "Cat", "Rat", "Cow", "Buffalo", "Tiger", "Deer", "Monkey", "Mongoose", "Lion"};
inline constexpr std::array<std::string_view, 3> GanaNames {"Deva", "Manushya", "Rakshasa"};
inline constexpr std::array<std::string_view, 3> NadiNames {"Adi", "Madhya", "Antya"};

template <class E, std::size_t N>
constexpr std::string_view NameOf(E value, const std::array<std::string_view, N>& names)
{
    return names[static_cast<std::size_t>(value)];
}

} // namespace halvaro::matching
