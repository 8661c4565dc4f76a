// halvaro-cli --match and a batch of pairs, end to end.
#include "CliTestSupport.h"

#include <rapidjson/document.h>

#include <fstream>

namespace {

using namespace clitest;

const std::vector<std::string> NewYorkArgs {"--name", "Ravi Hale", "--date", "1990-07-04", "--time", "09:00", "--zone",
    "27", "--dst", "--lat", "40:43N", "--lon", "74:00W", "--city", "New York", "--state", "New York", "--country", "USA"};

// The boy's Moon 09 Sco 25 (Anuradha pada 2), Mars 00 Ari 53, Venus in
// Vrishabha, Lagna in Kataka; the girl's Moon 11 Leo 08 (Magha pada 4),
// Mars in Meena, Venus in Kataka, Lagna in Simha: the positions of the
// golden newyork-1990.json and delhi-1975.json. The kutas worked by hand
// from the rules: Varna Brahmin over Kshatriya 1; Vashya Keeta and Vanachara
// 0; Tara 8 (Mitra) from the girl, 3 (Vipat) from the boy, 1.5; Yoni Deer and
// Rat neutral 2; Mars and the Sun friends 5; Gana Deva boy, Rakshasa girl 1;
// Bhakoot 4/10 7; Nadi Madhya and Antya 8: 25.5. Mars from the boy's Venus
// 12th, from the girl's Lagna and Moon 8th: both Manglik.
constexpr double RaviAshaPoints[] = {1, 0, 1.5, 2, 5, 1, 7, 8};

TEST_F(Cli, MatchOfTwoReadingFilesAsJsonAndText)
{
    ASSERT_EQ(Start(With(NewYorkArgs, {"--save", "ravi.aha"})).Status, 0);
    ASSERT_EQ(Start(With(DelhiArgs, {"--save", "asha.aha"})).Status, 0);
    const Ran json = Start({"--match", "ravi.aha", "asha.aha", "--json", "--fields", "MoonPositionText"});
    ASSERT_EQ(json.Status, 0) << json.Err;
    rapidjson::Document document;
    document.Parse(json.Out.c_str());
    ASSERT_TRUE(document.IsObject()) << json.Out;
    EXPECT_STREQ(document["Girl"]["MoonPositionText"].GetString(), "11\xC2\xB0 8' 0\" Leo");
    const auto& match = document["Match"];
    const auto& kutas = match["Kutas"];
    ASSERT_EQ(kutas.Size(), 8U);
    const char* names[] = {"Varna", "Vashya", "Tara", "Yoni", "Graha Maitri", "Gana", "Bhakoot", "Nadi"};
    for (rapidjson::SizeType i = 0; i < 8; ++i) {
        EXPECT_STREQ(kutas[i]["Name"].GetString(), names[i]);
        EXPECT_EQ(kutas[i]["Points"].GetDouble(), RaviAshaPoints[i]) << names[i];
        EXPECT_EQ(kutas[i]["Max"].GetInt(), static_cast<int>(i) + 1);
        EXPECT_GT(kutas[i]["Reason"].GetStringLength(), 0U);
    }
    EXPECT_EQ(match["Total"].GetDouble(), 25.5);
    EXPECT_EQ(match["Max"].GetInt(), 36);
    EXPECT_STREQ(match["Verdict"].GetString(), "very good");
    EXPECT_EQ(match["Doshas"].Size(), 0U);
    const auto& boy = match["Manglik"]["Boy"];
    const auto& girl = match["Manglik"]["Girl"];
    EXPECT_EQ(boy["FromLagna"].GetBool() || boy["FromMoon"].GetBool(), false);
    EXPECT_TRUE(boy["FromVenus"].GetBool());
    EXPECT_TRUE(girl["FromLagna"].GetBool() && girl["FromMoon"].GetBool() && !girl["FromVenus"].GetBool());
    EXPECT_TRUE(match["Manglik"]["Cancelled"].GetBool());

    // The sides are named: the girl's reading first is another match (Varna
    // Kshatriya under Brahmin 0, the rest symmetric here).
    const Ran text = Start({"--match", "asha.aha", "ravi.aha"});
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_EQ(text.Out.rfind("Boy:  Asha Rao, Moon 11\xC2\xB0 8' Simha, Magha pada 4\nGirl: Ravi Hale, Moon 9\xC2\xB0 25' Vrischika", 0), 0U)
        << text.Out;
    EXPECT_NE(text.Out.find("\nTotal         24.5    36   very good\n"), std::string::npos) << text.Out;
    EXPECT_NE(text.Out.find("\nBoth are Manglik: the two doshas cancel.\n"), std::string::npos);
}

TEST_F(Cli, MatchRefusesWhatItCannotRead)
{
    const Ran missing = Start({"--match", "nobody.aha", "{}"});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Err.rfind("Please Check The File.\n", 0), 0U) << missing.Err;
    const Ran unnamed = Start({"--match", R"({"name": "Ravi", "date": "1990-07-04", "time": "09:00", "zone": 27, "lat": "40:43N",
        "lon": "74:00W", "city": "a", "state": "b", "country": "c"})", R"({"name": "x"})"});
    EXPECT_EQ(unnamed.Status, 1);
    EXPECT_EQ(unnamed.Err, "halvaro-cli: --match: the girl's birth: the key \"date\" is missing\n");
    EXPECT_EQ(Start({"--match", "a.aha"}).Status, 2);
    EXPECT_EQ(Start(With(DelhiArgs, {"--match", "a.aha", "b.aha"})).Status, 2);
}

// Two pairs side by side in CSV, one whose girl has no name: a match line
// (the same pair as above, as JSON Lines and as CSV) and an error line.
TEST_F(Cli, BatchOfPairs)
{
    std::ofstream(folder_ / "pairs.csv")
        << "id,boy_name,boy_date,boy_time,boy_zone,boy_dst,boy_lat,boy_lon,boy_city,boy_state,boy_country,"
           "girl_name,girl_date,girl_time,girl_zone,girl_lat,girl_lon,girl_city,girl_state,girl_country\n"
           "p1,Ravi Hale,1990-07-04,09:00,27,true,40:43N,74:00W,New York,New York,USA,"
           "Asha Rao,1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India\n"
           "p2,Ravi Hale,1990-07-04,09:00,27,true,40:43N,74:00W,New York,New York,USA,"
           ",1975-06-15,10:30,34,28:39N,77:13E,New Delhi,Delhi,India\n";
    const Ran lines = Start({"--batch", "pairs.csv", "--pairs", "--fields", "Lagna", "--jobs", "2"});
    EXPECT_EQ(lines.Status, 1) << lines.Err;
    const auto end = lines.Out.find('\n');
    rapidjson::Document first;
    std::string line = lines.Out.substr(0, end);
    line.append(16, '\0'); // RapidJSON's SSE2 scans read past a text's end
    first.Parse(line.c_str());
    ASSERT_TRUE(first.IsObject()) << lines.Out;
    EXPECT_STREQ(first["id"].GetString(), "p1");
    EXPECT_STREQ(first["Boy"]["Lagna"].GetString(), "29 Can 25");
    EXPECT_EQ(first["Match"]["Total"].GetDouble(), 25.5);
    EXPECT_EQ(lines.Out.substr(end + 1), "{\"line\":3,\"id\":\"p2\",\"error\":\"the girl's birth: Please Enter Your Name\"}\n");

    const Ran csv = Start({"--batch", "pairs.csv", "--pairs", "--output-format", "csv"});
    EXPECT_EQ(csv.Out,
        "line,id,error,Varna,Vashya,Tara,Yoni,GrahaMaitri,Gana,Bhakoot,Nadi,Total,Verdict,Doshas,BoyFromLagna,"
        "BoyFromMoon,BoyFromVenus,GirlFromLagna,GirlFromMoon,GirlFromVenus,ManglikCancelled\r\n"
        "2,p1,,1,0,1.5,2,5,1,7,8,25.5,very good,,false,false,true,true,true,false,true\r\n"
        "3,p2,the girl's birth: Please Enter Your Name" + std::string(18, ',') + "\r\n");
    std::ofstream(folder_ / "half.jsonl") << R"({"id": 1, "boy_name": "A", "name": "B"})" << "\n";
    EXPECT_NE(Start({"--batch", "half.jsonl", "--pairs"}).Out.find("\"error\":\"the key \\\"boy_date\\\" is missing\""),
        std::string::npos);
}

} // namespace
