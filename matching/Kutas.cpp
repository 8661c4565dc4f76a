#include "matching/Kutas.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace halvaro::matching {

namespace {

std::size_t At(int index)
{
    return static_cast<std::size_t>(index);
}

// The nakshatras' animals and their sworn enemies as freehoroscopesonline.in
// ("The Yoni Koota") lists them, Abhijit left out.
constexpr std::array<Yoni, 27> NakshatraYoni {
    Yoni::Horse, Yoni::Elephant, Yoni::Sheep, Yoni::Serpent, Yoni::Serpent, Yoni::Dog, Yoni::Cat, Yoni::Sheep,
    Yoni::Cat, Yoni::Rat, Yoni::Rat, Yoni::Cow, Yoni::Buffalo, Yoni::Tiger, Yoni::Buffalo, Yoni::Tiger, Yoni::Deer,
    Yoni::Deer, Yoni::Dog, Yoni::Monkey, Yoni::Mongoose, Yoni::Monkey, Yoni::Lion, Yoni::Horse, Yoni::Lion,
    Yoni::Cow, Yoni::Elephant,
};
using YoniPair = std::pair<Yoni, Yoni>;
constexpr std::array<YoniPair, 7> SwornYoni {{
    {Yoni::Horse, Yoni::Buffalo}, {Yoni::Elephant, Yoni::Lion}, {Yoni::Sheep, Yoni::Monkey},
    {Yoni::Serpent, Yoni::Mongoose}, {Yoni::Dog, Yoni::Deer}, {Yoni::Cat, Yoni::Rat}, {Yoni::Cow, Yoni::Tiger},
}};
// The friendly and the inimical pairs of the usual fourteen-animal Yoni
// table (3 and 1 points); every other pair of different animals is neutral.
constexpr std::array<YoniPair, 15> FriendlyYoni {{
    {Yoni::Horse, Yoni::Serpent}, {Yoni::Horse, Yoni::Deer}, {Yoni::Horse, Yoni::Monkey},
    {Yoni::Elephant, Yoni::Sheep}, {Yoni::Elephant, Yoni::Serpent}, {Yoni::Elephant, Yoni::Buffalo},
    {Yoni::Elephant, Yoni::Monkey}, {Yoni::Sheep, Yoni::Cow}, {Yoni::Sheep, Yoni::Buffalo},
    {Yoni::Sheep, Yoni::Mongoose}, {Yoni::Cat, Yoni::Deer}, {Yoni::Cat, Yoni::Monkey}, {Yoni::Cow, Yoni::Buffalo},
    {Yoni::Cow, Yoni::Deer}, {Yoni::Monkey, Yoni::Mongoose},
}};
constexpr std::array<YoniPair, 26> InimicalYoni {{
    {Yoni::Horse, Yoni::Cow}, {Yoni::Horse, Yoni::Tiger}, {Yoni::Horse, Yoni::Lion}, {Yoni::Elephant, Yoni::Tiger},
    {Yoni::Sheep, Yoni::Dog}, {Yoni::Sheep, Yoni::Rat}, {Yoni::Sheep, Yoni::Tiger}, {Yoni::Sheep, Yoni::Lion},
    {Yoni::Serpent, Yoni::Cat}, {Yoni::Serpent, Yoni::Rat}, {Yoni::Serpent, Yoni::Cow},
    {Yoni::Serpent, Yoni::Buffalo}, {Yoni::Dog, Yoni::Rat}, {Yoni::Dog, Yoni::Tiger}, {Yoni::Dog, Yoni::Mongoose},
    {Yoni::Dog, Yoni::Lion}, {Yoni::Cat, Yoni::Tiger}, {Yoni::Cat, Yoni::Lion}, {Yoni::Rat, Yoni::Mongoose},
    {Yoni::Cow, Yoni::Lion}, {Yoni::Buffalo, Yoni::Tiger}, {Yoni::Buffalo, Yoni::Lion}, {Yoni::Tiger, Yoni::Deer},
    {Yoni::Tiger, Yoni::Monkey}, {Yoni::Tiger, Yoni::Lion}, {Yoni::Deer, Yoni::Lion},
}};

template <std::size_t N>
bool HasPair(const std::array<YoniPair, N>& pairs, Yoni a, Yoni b)
{
    return std::any_of(pairs.begin(), pairs.end(), [&](const YoniPair& p) {
        return (p.first == a && p.second == b) || (p.first == b && p.second == a);
    });
}

// The natural friendship of Brihat Parashara Hora Shastra, ch. 3, each row
// how one graha regards the others, in the order Sun, Moon, Mercury, Venus,
// Mars, Jupiter, Saturn: F friend, N neutral, E enemy.
constexpr std::array<std::string_view, 7> NaturalFriendshipRows {
    "-FNEFFE", // Sun
    "F-FNNNN", // Moon
    "FE-FNNN", // Mercury
    "EEF-NNF", // Venus
    "FFEN-FN", // Mars
    "FFEEF-N", // Jupiter
    "EEFFEN-", // Saturn
};

// Deva, Manushya and Rakshasa in turn from Ashwini.
constexpr std::string_view NakshatraGana = "DMRMDMDDRRMMDRDRDRRMMDRRMMD";

} // namespace

Varna VarnaOf(int sign)
{
    // Fire, earth, air and water signs follow each other from Mesha.
    constexpr std::array<Varna, 4> byElement {Varna::Kshatriya, Varna::Vaishya, Varna::Shudra, Varna::Brahmin};
    return byElement[At(sign % 4)];
}

double VarnaPoints(Varna boy, Varna girl)
{
    return boy >= girl ? 1 : 0;
}

Vashya VashyaOf(int sign, double degreesInSign)
{
    const bool firstHalf = degreesInSign < 15;
    constexpr std::array<Vashya, 12> bySign {Vashya::Chatushpada, Vashya::Chatushpada, Vashya::Manava,
        Vashya::Jalachara, Vashya::Vanachara, Vashya::Manava, Vashya::Manava, Vashya::Keeta, Vashya::Manava,
        Vashya::Chatushpada, Vashya::Manava, Vashya::Jalachara};
    if (sign == 8)
        return firstHalf ? Vashya::Manava : Vashya::Chatushpada;
    if (sign == 9)
        return firstHalf ? Vashya::Chatushpada : Vashya::Jalachara;
    return bySign[At(sign)];
}

// The groups' control and food as Ranjana Dikshit's "Kundali Milan" page
// gives them: Chatushpada, Manava and Jalachara are vashya to Vanachara;
// Chatushpada, Jalachara and Keeta to Manava; Jalachara are Manava's food,
// Chatushpada Vanachara's. The same group 2, food ½ (food is also vashya,
// and the lesser score holds), vashya 1, neither 0; the same either way.
double VashyaPoints(Vashya boy, Vashya girl)
{
    const auto isFood = [](Vashya food, Vashya eater) {
        return (food == Vashya::Jalachara && eater == Vashya::Manava)
            || (food == Vashya::Chatushpada && eater == Vashya::Vanachara);
    };
    const auto isVashyaTo = [](Vashya ruled, Vashya ruler) {
        if (ruler == Vashya::Vanachara)
            return ruled == Vashya::Chatushpada || ruled == Vashya::Manava || ruled == Vashya::Jalachara;
        if (ruler == Vashya::Manava)
            return ruled == Vashya::Chatushpada || ruled == Vashya::Jalachara || ruled == Vashya::Keeta;
        return false;
    };
    if (boy == girl)
        return 2;
    if (isFood(boy, girl) || isFood(girl, boy))
        return 0.5;
    if (isVashyaTo(boy, girl) || isVashyaTo(girl, boy))
        return 1;
    return 0;
}

int TaraCount(int fromNakshatra, int toNakshatra)
{
    const int count = (toNakshatra - fromNakshatra + 27) % 27 + 1;
    const int tara = count % 9;
    return tara == 0 ? 9 : tara;
}

double TaraPointsOneWay(int count)
{
    return (count == 3 || count == 5 || count == 7) ? 0 : 1.5;
}

double TaraPoints(int boyNakshatra, int girlNakshatra)
{
    return TaraPointsOneWay(TaraCount(girlNakshatra, boyNakshatra))
        + TaraPointsOneWay(TaraCount(boyNakshatra, girlNakshatra));
}

Yoni YoniOf(int nakshatra)
{
    return NakshatraYoni[At(nakshatra)];
}

YoniRelation YoniRelationOf(Yoni a, Yoni b)
{
    if (a == b)
        return YoniRelation::Same;
    if (HasPair(SwornYoni, a, b))
        return YoniRelation::SwornEnemies;
    if (HasPair(FriendlyYoni, a, b))
        return YoniRelation::Friendly;
    if (HasPair(InimicalYoni, a, b))
        return YoniRelation::Inimical;
    return YoniRelation::Neutral;
}

double YoniPoints(Yoni boy, Yoni girl)
{
    constexpr std::array<double, 5> byRelation {4, 3, 2, 1, 0};
    return byRelation[static_cast<std::size_t>(YoniRelationOf(boy, girl))];
}

Graha SignLord(int sign)
{
    constexpr std::array<Graha, 12> lords {Graha::Mars, Graha::Venus, Graha::Mercury, Graha::Moon, Graha::Sun,
        Graha::Mercury, Graha::Venus, Graha::Mars, Graha::Jupiter, Graha::Saturn, Graha::Saturn, Graha::Jupiter};
    return lords[At(sign)];
}

Friendship NaturalFriendship(Graha of, Graha other)
{
    if (of == other)
        return Friendship::Friend;
    const char mark = NaturalFriendshipRows[IndexOf(of)][IndexOf(other)];
    return mark == 'F' ? Friendship::Friend : mark == 'E' ? Friendship::Enemy : Friendship::Neutral;
}

// Scored by the two views together: both friends 5, friend and neutral 4,
// both neutral 3, friend and enemy 1, neutral and enemy ½, both enemies 0;
// one lord for both signs counts as friends.
double GrahaMaitriPoints(Graha boyLord, Graha girlLord)
{
    const Friendship a = NaturalFriendship(boyLord, girlLord);
    const Friendship b = NaturalFriendship(girlLord, boyLord);
    const int friends = (a == Friendship::Friend) + (b == Friendship::Friend);
    const int enemies = (a == Friendship::Enemy) + (b == Friendship::Enemy);
    if (enemies == 0)
        return friends == 2 ? 5 : friends == 1 ? 4 : 3;
    if (enemies == 1)
        return friends == 1 ? 1 : 0.5;
    return 0;
}

Gana GanaOf(int nakshatra)
{
    const char mark = NakshatraGana[At(nakshatra)];
    return mark == 'D' ? Gana::Deva : mark == 'M' ? Gana::Manushya : Gana::Rakshasa;
}

// The Gana table of Future Point's "Horoscope Matching" (as printed at
// futuresamachar.com): the same gana 6; a Deva boy with a Manushya girl 6,
// a Manushya boy with a Deva girl 5; Deva with Rakshasa 1 and Manushya with
// Rakshasa 0, whichever is the boy. (The same book's text gives 5 to the
// Deva boy; its table is followed.)
double GanaPoints(Gana boy, Gana girl)
{
    if (boy == girl)
        return 6;
    if (boy == Gana::Deva && girl == Gana::Manushya)
        return 6;
    if (boy == Gana::Manushya && girl == Gana::Deva)
        return 5;
    if (boy == Gana::Rakshasa || girl == Gana::Rakshasa)
        return (boy == Gana::Deva || girl == Gana::Deva) ? 1 : 0;
    return 0;
}

int SignCount(int fromSign, int toSign)
{
    return (toSign - fromSign + 12) % 12 + 1;
}

double BhakootPoints(int boySign, int girlSign)
{
    // 1/1, 3/11, 4/10 and 7/7 score; 2/12, 5/9 and 6/8 do not. The count
    // one way fixes the other, so one of them decides.
    switch (SignCount(girlSign, boySign)) {
    case 1: case 3: case 4: case 7: case 10: case 11:
        return 7;
    default:
        return 0;
    }
}

Nadi NadiOf(int nakshatra)
{
    // Adi, Madhya, Antya, then back Antya, Madhya, Adi, over the 27 stars.
    const int step = nakshatra % 6;
    return static_cast<Nadi>(step < 3 ? step : 5 - step);
}

double NadiPoints(Nadi boy, Nadi girl)
{
    return boy != girl ? 8 : 0;
}

} // namespace halvaro::matching
