#include "matching/Matching.h"

#include "vedic/Signs.h"
#include "vedic/Zodiac.h"

#include <cstddef>

namespace halvaro::matching {

namespace {

std::string_view SignName(int sign)
{
    return vedic::VedicSignNames[static_cast<std::size_t>(sign)];
}

std::string_view StarName(int nakshatra)
{
    return vedic::NakshatraNames[static_cast<std::size_t>(nakshatra)];
}

std::string Ordinal(int n)
{
    const int lastTwo = n % 100;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
        : n % 10 == 1                                    ? "st"
        : n % 10 == 2                                    ? "nd"
        : n % 10 == 3                                    ? "rd"
                                                         : "th";
    return std::to_string(n) + suffix;
}

std::string VarnaReason(const MoonStar& boy, const MoonStar& girl, double points)
{
    return "boy " + std::string(NameOf(VarnaOf(boy.Sign), VarnaNames)) + ", girl "
        + std::string(NameOf(VarnaOf(girl.Sign), VarnaNames))
        + (points > 0 ? ": the boy's varna is the girl's or higher" : ": the girl's varna is higher");
}

std::string VashyaReason(Vashya boy, Vashya girl, double points)
{
    const char* why = points == 2 ? "the same group"
        : points == 1             ? "one is vashya to the other"
        : points > 0              ? "one is the other's food"
                                  : "neither is vashya to the other";
    return "boy " + std::string(NameOf(boy, VashyaNames)) + ", girl " + std::string(NameOf(girl, VashyaNames)) + ": "
        + why;
}

std::string TaraReason(int boyStar, int girlStar)
{
    if (boyStar == girlStar)
        return "the same star: Janma both ways, 1.5 each";
    const int fromGirl = TaraCount(girlStar, boyStar);
    const int fromBoy = TaraCount(boyStar, girlStar);
    const auto way = [](int count) {
        return std::to_string(count) + " (" + std::string(TaraNames[static_cast<std::size_t>(count - 1)]) + ", "
            + PointsText(TaraPointsOneWay(count)) + ")";
    };
    return "from the girl's star " + way(fromGirl) + ", from the boy's " + way(fromBoy);
}

std::string YoniReason(Yoni boy, Yoni girl)
{
    constexpr std::array<std::string_view, 5> relations {
        "the same animal", "friendly", "neutral", "inimical", "sworn enemies"};
    return "boy " + std::string(NameOf(boy, YoniNames)) + ", girl " + std::string(NameOf(girl, YoniNames)) + ": "
        + std::string(relations[static_cast<std::size_t>(YoniRelationOf(boy, girl))]);
}

std::string GrahaMaitriReason(Graha boyLord, Graha girlLord)
{
    const std::string boy(NamesOf(boyLord).English);
    const std::string girl(NamesOf(girlLord).English);
    if (boyLord == girlLord)
        return "both signs' lord is " + boy;
    constexpr std::array<std::string_view, 3> views {"a friend", "neutral", "an enemy"};
    const auto view = [&](Graha of, Graha other) {
        return std::string(views[static_cast<std::size_t>(NaturalFriendship(of, other))]);
    };
    return "boy's lord " + boy + ", girl's lord " + girl + ": " + boy + " holds " + girl + " " + view(boyLord, girlLord)
        + ", " + girl + " holds " + boy + " " + view(girlLord, boyLord);
}

std::string GanaReason(Gana boy, Gana girl)
{
    return "boy " + std::string(NameOf(boy, GanaNames)) + ", girl " + std::string(NameOf(girl, GanaNames));
}

std::string BhakootReason(int boySign, int girlSign, double points)
{
    const int fromGirl = SignCount(girlSign, boySign);
    const int fromBoy = SignCount(boySign, girlSign);
    return "boy " + std::string(SignName(boySign)) + ", girl " + std::string(SignName(girlSign)) + ": the boy's sign "
        + Ordinal(fromGirl) + " from the girl's, hers " + Ordinal(fromBoy) + " from his"
        + (points > 0 ? "" : ", Bhakoot dosha");
}

std::string NadiReason(Nadi boy, Nadi girl)
{
    if (boy == girl)
        return "both " + std::string(NameOf(boy, NadiNames)) + ": Nadi dosha";
    return "boy " + std::string(NameOf(boy, NadiNames)) + ", girl " + std::string(NameOf(girl, NadiNames));
}

KutaScore Score(KutaKind kind, double points, std::string reason)
{
    const KutaRow& row = KutaTable[static_cast<std::size_t>(kind)];
    return {row.Name, points, row.Max, std::move(reason)};
}

} // namespace

std::optional<MoonStar> MoonStarOf(double moonLongitudeDeg)
{
    const auto place = vedic::ZodiacPlaceOf(moonLongitudeDeg);
    if (!place)
        return std::nullopt;
    MoonStar star;
    star.Longitude = place->Longitude;
    star.Sign = place->Rasi.Sign;
    star.DegreesInSign = place->Longitude - 30.0 * place->Rasi.Sign;
    star.Nakshatra = place->Nakshatra - 1;
    star.Pada = place->Pada;
    return star;
}

std::string_view VerdictOf(double total)
{
    if (total >= 31)
        return "excellent";
    if (total >= 21)
        return "very good";
    if (total >= 17)
        return "middling";
    return "not advised";
}

Ashtakoota MatchMoons(const MoonStar& boy, const MoonStar& girl)
{
    Ashtakoota match;
    match.Boy = boy;
    match.Girl = girl;

    const double varna = VarnaPoints(VarnaOf(boy.Sign), VarnaOf(girl.Sign));
    const Vashya boyVashya = VashyaOf(boy.Sign, boy.DegreesInSign);
    const Vashya girlVashya = VashyaOf(girl.Sign, girl.DegreesInSign);
    const double vashya = VashyaPoints(boyVashya, girlVashya);
    const Graha boyLord = SignLord(boy.Sign);
    const Graha girlLord = SignLord(girl.Sign);
    const double bhakoot = BhakootPoints(boy.Sign, girl.Sign);
    const Nadi boyNadi = NadiOf(boy.Nakshatra);
    const Nadi girlNadi = NadiOf(girl.Nakshatra);
    const double nadi = NadiPoints(boyNadi, girlNadi);

    match.Kutas = {
        Score(KutaKind::Varna, varna, VarnaReason(boy, girl, varna)),
        Score(KutaKind::Vashya, vashya, VashyaReason(boyVashya, girlVashya, vashya)),
        Score(KutaKind::Tara, TaraPoints(boy.Nakshatra, girl.Nakshatra), TaraReason(boy.Nakshatra, girl.Nakshatra)),
        Score(KutaKind::Yoni, YoniPoints(YoniOf(boy.Nakshatra), YoniOf(girl.Nakshatra)),
            YoniReason(YoniOf(boy.Nakshatra), YoniOf(girl.Nakshatra))),
        Score(KutaKind::GrahaMaitri, GrahaMaitriPoints(boyLord, girlLord), GrahaMaitriReason(boyLord, girlLord)),
        Score(KutaKind::Gana, GanaPoints(GanaOf(boy.Nakshatra), GanaOf(girl.Nakshatra)),
            GanaReason(GanaOf(boy.Nakshatra), GanaOf(girl.Nakshatra))),
        Score(KutaKind::Bhakoot, bhakoot, BhakootReason(boy.Sign, girl.Sign, bhakoot)),
        Score(KutaKind::Nadi, nadi, NadiReason(boyNadi, girlNadi)),
    };
    for (const KutaScore& kuta : match.Kutas)
        match.Total += kuta.Points;
    match.Verdict = VerdictOf(match.Total);
    if (nadi == 0)
        match.Doshas.push_back("Nadi");
    if (bhakoot == 0)
        match.Doshas.push_back("Bhakoot");
    return match;
}

std::optional<Match> MatchReadings(const Reading& boy, const Reading& girl)
{
    const auto boyMoon = MoonStarOf(boy.Longitudes[IndexOf(Graha::Moon)]);
    const auto girlMoon = MoonStarOf(girl.Longitudes[IndexOf(Graha::Moon)]);
    if (!boyMoon || !girlMoon)
        return std::nullopt;
    return Match {MatchMoons(*boyMoon, *girlMoon), ManglikOf(boy), ManglikOf(girl)};
}

std::string MoonStarText(const MoonStar& moon)
{
    const int degrees = static_cast<int>(moon.DegreesInSign);
    const int minutes = static_cast<int>((moon.DegreesInSign - degrees) * 60);
    return "Moon " + std::to_string(degrees) + "° " + std::to_string(minutes) + "' " + std::string(SignName(moon.Sign))
        + ", " + std::string(StarName(moon.Nakshatra)) + " pada " + std::to_string(moon.Pada);
}

std::string HouseText(int house)
{
    return Ordinal(house) + " house";
}

} // namespace halvaro::matching
