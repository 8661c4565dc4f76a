#include "matching/Matching.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace halvaro::matching {
namespace {

// A Moon in the middle of a nakshatra's pada.
MoonStar MoonIn(int nakshatra, int pada)
{
    const double longitude = nakshatra * (40.0 / 3.0) + (pada - 1) * (10.0 / 3.0) + 1.0;
    return *MoonStarOf(longitude);
}

double PointsOf(const Ashtakoota& match, KutaKind kind)
{
    return match.Kutas[static_cast<std::size_t>(kind)].Points;
}

// The worked example of telugusourabham.blogspot.com (2012/12, "అష్ట కూటములు
// చూచు విధానం"): girl Ardra pada 2 (Mithuna), boy Purva Ashadha pada 3
// (Dhanus); it gives Varna 1, Vashya 2, Tara 3, Yoni 2, Graha Maitri ½,
// Gana 6, Bhakoot 7, Nadi 8, 29½ in all. It takes all of Dhanus as Manava
// and counts Tara from the girl's star only; by the half-sign rule the boy's
// Moon at 21° Dhanus is Chatushpada (vashya to Manava: 1), and counted both
// ways Tara is 6 (Sadhana) and 5 (Pratyak): 1½. The other six are the
// example's own.
TEST(Ashtakoota, PublishedExampleWithItsTwoRuleDifferences)
{
    const Ashtakoota match = MatchMoons(MoonIn(19, 3), MoonIn(5, 2));
    ASSERT_EQ(match.Boy.Sign, 8);
    ASSERT_EQ(match.Girl.Sign, 2);
    EXPECT_EQ(PointsOf(match, KutaKind::Varna), 1);
    EXPECT_EQ(PointsOf(match, KutaKind::Vashya), 1);
    EXPECT_EQ(PointsOf(match, KutaKind::Tara), 1.5);
    EXPECT_EQ(PointsOf(match, KutaKind::Yoni), 2);
    EXPECT_EQ(PointsOf(match, KutaKind::GrahaMaitri), 0.5);
    EXPECT_EQ(PointsOf(match, KutaKind::Gana), 6);
    EXPECT_EQ(PointsOf(match, KutaKind::Bhakoot), 7);
    EXPECT_EQ(PointsOf(match, KutaKind::Nadi), 8);
    EXPECT_EQ(match.Total, 27);
    EXPECT_EQ(match.Verdict, "very good");
    EXPECT_TRUE(match.Doshas.empty());
    EXPECT_EQ(match.Kutas[2].Reason, "from the girl's star 6 (Sadhana, 1.5), from the boy's 5 (Pratyak, 0)");
}

// Bhakoot and Nadi do not depend on who is the boy, and Tara, counted both
// ways, neither.
TEST(Ashtakoota, BhakootNadiAndTaraAreSymmetric)
{
    for (int a = 0; a < 27; ++a)
        for (int b = 0; b < 27; ++b) {
            ASSERT_EQ(TaraPoints(a, b), TaraPoints(b, a)) << "stars " << a << " and " << b;
            ASSERT_EQ(NadiPoints(NadiOf(a), NadiOf(b)), NadiPoints(NadiOf(b), NadiOf(a))) << "stars " << a << " and " << b;
            ASSERT_EQ(BhakootPoints(a % 12, b % 12), BhakootPoints(b % 12, a % 12)) << "signs " << a % 12 << " and " << b % 12;
        }
}

struct SignRow {
    const char* Name;
    int BoySign, GirlSign;
    double Bhakoot;
};
// The counts of the rule, each from the girl's sign to the boy's and back.
TEST(Ashtakoota, BhakootByTheSignCounts)
{
    const SignRow rows[] = {
        {"1/1", 4, 4, 7}, {"3/11", 2, 0, 7}, {"11/3", 0, 2, 7}, {"4/10", 3, 0, 7}, {"7/7", 6, 0, 7},
        {"2/12", 1, 0, 0}, {"12/2", 11, 0, 0}, {"5/9", 4, 0, 0}, {"9/5", 8, 0, 0}, {"6/8", 5, 0, 0}, {"8/6", 7, 0, 0},
    };
    for (const SignRow& row : rows)
        EXPECT_EQ(BhakootPoints(row.BoySign, row.GirlSign), row.Bhakoot) << row.Name;
}

// The classes as published: Varna and Vashya by sign (kundalimilan.in,
// "Predictions made by Gunas"), Gana by nakshatra (planets4u.com, "Gana
// Koota"), the Adi nadi (Ashwini, Ardra, Punarvasu, Uttara Phalguni, Hasta,
// Jyeshtha, Mula, Shatabhisha, Purva Bhadrapada) and the Yoni pairs
// (freehoroscopesonline.in, "The Yoni Koota").
TEST(Ashtakoota, ClassesOfSignsAndStars)
{
    EXPECT_EQ(VarnaOf(3), Varna::Brahmin);   // Kataka
    EXPECT_EQ(VarnaOf(7), Varna::Brahmin);   // Vrischika
    EXPECT_EQ(VarnaOf(8), Varna::Kshatriya); // Dhanus
    EXPECT_EQ(VarnaOf(5), Varna::Vaishya);   // Kanya
    EXPECT_EQ(VarnaOf(10), Varna::Shudra);   // Kumbha
    EXPECT_EQ(VashyaOf(8, 14.9), Vashya::Manava);
    EXPECT_EQ(VashyaOf(8, 15.0), Vashya::Chatushpada);
    EXPECT_EQ(VashyaOf(9, 14.9), Vashya::Chatushpada);
    EXPECT_EQ(VashyaOf(9, 15.0), Vashya::Jalachara);
    EXPECT_EQ(VashyaOf(4, 3), Vashya::Vanachara);
    EXPECT_EQ(VashyaOf(7, 3), Vashya::Keeta);
    EXPECT_EQ(VashyaOf(10, 20), Vashya::Manava);
    const std::set<int> deva {0, 4, 6, 7, 12, 14, 16, 21, 26};
    const std::set<int> rakshasa {2, 8, 9, 13, 15, 17, 18, 22, 23};
    const std::set<int> adi {0, 5, 6, 11, 12, 17, 18, 23, 24};
    for (int star = 0; star < 27; ++star) {
        const Gana gana = deva.count(star) ? Gana::Deva : rakshasa.count(star) ? Gana::Rakshasa : Gana::Manushya;
        EXPECT_EQ(GanaOf(star), gana) << "star " << star;
        EXPECT_EQ(NadiOf(star) == Nadi::Adi, adi.count(star) == 1) << "star " << star;
    }
    const int sworn[][2] = {{0, 12}, {1, 22}, {2, 19}, {3, 20}, {5, 16}, {6, 9}, {11, 13}};
    for (const auto& pair : sworn) {
        EXPECT_EQ(YoniPoints(YoniOf(pair[0]), YoniOf(pair[1])), 0) << pair[0] << " " << pair[1];
        EXPECT_EQ(YoniPoints(YoniOf(pair[1]), YoniOf(pair[0])), 0) << pair[1] << " " << pair[0];
    }
    EXPECT_EQ(YoniPoints(YoniOf(0), YoniOf(23)), 4); // Ashwini, Shatabhisha: both Horse
}

struct PointsRow {
    const char* Name;
    double Points, Expected;
};
// The scoring tables by their rules: Gana as Future Point's table prints it
// (boy's side first), Vashya by the groups' control and food, Graha Maitri
// by the two views of Brihat Parashara Hora Shastra's natural friendship
// worked by hand (Sun and Moon friends both ways; Moon holds Mercury a
// friend, Mercury the Moon an enemy; Jupiter holds Mercury an enemy,
// Mercury Jupiter neutral; Venus and Mars neutral both ways; Saturn and the
// Sun enemies both ways), Tara's same-star rule and Varna by rank.
TEST(Ashtakoota, ScoringTablesByTheirRules)
{
    const PointsRow rows[] = {
        {"Gana Deva boy, Deva girl", GanaPoints(Gana::Deva, Gana::Deva), 6},
        {"Gana Deva boy, Manushya girl", GanaPoints(Gana::Deva, Gana::Manushya), 6},
        {"Gana Manushya boy, Deva girl", GanaPoints(Gana::Manushya, Gana::Deva), 5},
        {"Gana Deva boy, Rakshasa girl", GanaPoints(Gana::Deva, Gana::Rakshasa), 1},
        {"Gana Rakshasa boy, Deva girl", GanaPoints(Gana::Rakshasa, Gana::Deva), 1},
        {"Gana Manushya boy, Rakshasa girl", GanaPoints(Gana::Manushya, Gana::Rakshasa), 0},
        {"Gana Rakshasa boy, Manushya girl", GanaPoints(Gana::Rakshasa, Gana::Manushya), 0},
        {"Gana Rakshasa both", GanaPoints(Gana::Rakshasa, Gana::Rakshasa), 6},
        {"Vashya Manava boy, Chatushpada girl", VashyaPoints(Vashya::Manava, Vashya::Chatushpada), 1},
        {"Vashya Manava boy, Jalachara girl", VashyaPoints(Vashya::Manava, Vashya::Jalachara), 0.5},
        {"Vashya Vanachara boy, Chatushpada girl", VashyaPoints(Vashya::Vanachara, Vashya::Chatushpada), 0.5},
        {"Vashya Keeta boy, Vanachara girl", VashyaPoints(Vashya::Keeta, Vashya::Vanachara), 0},
        {"Vashya Keeta both", VashyaPoints(Vashya::Keeta, Vashya::Keeta), 2},
        {"Maitri Sun, Moon", GrahaMaitriPoints(Graha::Sun, Graha::Moon), 5},
        {"Maitri Moon, Mercury", GrahaMaitriPoints(Graha::Moon, Graha::Mercury), 1},
        {"Maitri Jupiter, Mercury", GrahaMaitriPoints(Graha::Jupiter, Graha::Mercury), 0.5},
        {"Maitri Venus, Mars", GrahaMaitriPoints(Graha::Venus, Graha::Mars), 3},
        {"Maitri Sun, Mercury", GrahaMaitriPoints(Graha::Sun, Graha::Mercury), 4},
        {"Maitri Saturn, Sun", GrahaMaitriPoints(Graha::Saturn, Graha::Sun), 0},
        {"Maitri one lord", GrahaMaitriPoints(Graha::Venus, Graha::Venus), 5},
        {"Tara same star", TaraPoints(13, 13), 3},
        {"Tara 3 and 8", TaraPoints(2, 0), 1.5},
        {"Varna Shudra boy, Brahmin girl", VarnaPoints(Varna::Shudra, Varna::Brahmin), 0},
        {"Varna Brahmin boy, Shudra girl", VarnaPoints(Varna::Brahmin, Varna::Shudra), 1},
    };
    for (const PointsRow& row : rows)
        EXPECT_EQ(row.Points, row.Expected) << row.Name;
}

TEST(Ashtakoota, VerdictBandsAndDoshas)
{
    EXPECT_EQ(VerdictOf(31), "excellent");
    EXPECT_EQ(VerdictOf(30.5), "very good");
    EXPECT_EQ(VerdictOf(21), "very good");
    EXPECT_EQ(VerdictOf(20.5), "middling");
    EXPECT_EQ(VerdictOf(17), "middling");
    EXPECT_EQ(VerdictOf(16.5), "not advised");
    // Both in Magha, the same sign: Nadi dosha, no Bhakoot dosha.
    const Ashtakoota same = MatchMoons(MoonIn(9, 1), MoonIn(9, 2));
    EXPECT_EQ(same.Doshas, (std::vector<std::string_view> {"Nadi"}));
    EXPECT_EQ(same.Total, 28); // 36 less Nadi
    // Mesha and Kanya, 6/8; Ashwini (Adi) and Hasta (Adi).
    const Ashtakoota both = MatchMoons(MoonIn(0, 1), MoonIn(12, 1));
    EXPECT_EQ(both.Doshas, (std::vector<std::string_view> {"Nadi", "Bhakoot"}));
}

// Mars's houses counted by whole signs from the Lagna, the Moon and Venus.
TEST(Manglik, HousesFromTheThreeAndTheCancellation)
{
    Reading boy;
    boy.Places[IndexOf(Graha::Mars)].Sign = 6;  // Thula
    boy.Places[IndexOf(Graha::Moon)].Sign = 0;  // 7th from Mesha
    boy.Places[IndexOf(Graha::Venus)].Sign = 4; // 3rd from Simha
    boy.Lagna = {modVedicPlanetPosition::LagnaStatus::Computed, 200.0}; // Thula: 1st
    const ManglikFinding found = ManglikOf(boy);
    EXPECT_EQ(found.MarsFromLagna, 1);
    EXPECT_EQ(found.MarsFromMoon, 7);
    EXPECT_EQ(found.MarsFromVenus, 3);
    EXPECT_EQ(found.FromLagna(), true);
    EXPECT_FALSE(found.FromVenus());

    Reading girl = boy;
    girl.Lagna = {};
    girl.Places[IndexOf(Graha::Moon)].Sign = 5;  // Mars 2nd from Kanya
    girl.Places[IndexOf(Graha::Venus)].Sign = 6; // 1st
    const ManglikFinding her = ManglikOf(girl);
    EXPECT_FALSE(her.FromLagna().has_value());
    EXPECT_TRUE(her.IsManglik());
    Match match {MatchMoons(MoonIn(0, 1), MoonIn(1, 1)), found, her};
    EXPECT_TRUE(match.ManglikCancelled());
    girl.Places[IndexOf(Graha::Moon)].Sign = 4;  // 3rd
    girl.Places[IndexOf(Graha::Venus)].Sign = 1; // 6th
    match.GirlManglik = ManglikOf(girl);
    EXPECT_FALSE(match.ManglikCancelled());
    EXPECT_EQ(ManglikConclusion(match), "Only the boy is Manglik: the dosha stands.");
}

} // namespace
} // namespace halvaro::matching
