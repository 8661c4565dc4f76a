// The batch line's short cuts past RapidJSON's escaping and past to_chars'
// general algorithm must give their bytes exactly: each is checked against
// the library it stands in for, on the hard cases and a seeded sweep.
#include "cli/ReadingOutput.h"
#include "tests/common/ReferenceBirths.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <charconv>
#include <cmath>
#include <random>

namespace {

using halvaro::cli::JsonWriter;
using halvaro::cli::OutputBuffer;

// Half a millionth either way, exact ties (k / 2^n), signed zero, the edges
// of the quick path.
TEST(SixDecimals, GivesToCharsFixedDigits)
{
    std::vector<double> values {0.0, -0.0, -1e-9, 1.0 / 128, 3.0 / 128, -5.0 / 128, 0.0000005, 2.5e-6, 359.9999995,
        359.99999949999997, 999999999.9999995, 999999999.99999946, 1e9, -1e9, 1e20, 5e-324};
    std::mt19937_64 random(2026);
    std::uniform_real_distribution<double> degrees(-400, 400);
    for (int i = 0; i < 200'000; ++i) {
        const double halfway = std::round(degrees(random) * 1e6) / 1e6 + 5e-7;
        values.insert(values.end(), {degrees(random), halfway, std::nextafter(halfway, 1e9), std::nextafter(halfway, -1e9),
                                        std::ldexp(static_cast<double>(random() % 2'000'000'000) - 1e9, -1 - i % 24)});
    }
    for (const double value : values) {
        std::array<char, 32> expected {};
        const char* end = std::to_chars(expected.data(), expected.data() + 32, value, std::chars_format::fixed, 6).ptr;
        std::array<char, 32> digits {};
        ASSERT_EQ(halvaro::cli::SixDecimals(value, digits), std::string_view(expected.data(), end))
            << std::hexfloat << value;
    }
}

// Every byte String escapes, at each place of an eight-byte word and in the
// short tail, and what it leaves alone (DEL, UTF-8, '/').
TEST(JsonWriterText, WritesWhatStringWrites)
{
    std::vector<std::string> texts {"", "Sun", "10° 46' 19\" Gem", "a/b\x7f", "Sign aspected by Sun is Vrischika."};
    for (int byte = 0; byte < 0x20; ++byte) {
        for (const std::size_t at : std::array<std::size_t, 6> {0, 3, 7, 8, 15, 16}) {
            std::string text(17, 'x');
            text[at] = static_cast<char>(byte);
            texts.push_back(text);
        }
    }
    for (const char special : {'"', '\\'}) {
        for (std::size_t size = 1; size <= 17; ++size) {
            texts.push_back(std::string(size - 1, 'y') + special);
        }
    }
    for (const std::string& text : texts) {
        OutputBuffer fast;
        OutputBuffer library;
        JsonWriter fastWriter(fast);
        rapidjson::Writer<OutputBuffer> libraryWriter(library);
        fastWriter.StartObject();
        libraryWriter.StartObject();
        fastWriter.Text(text);
        libraryWriter.Key(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        fastWriter.Text(text);
        libraryWriter.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        fastWriter.EndObject();
        libraryWriter.EndObject();
        EXPECT_EQ(std::string_view(fast.GetString(), fast.GetSize()), std::string_view(library.GetString(), library.GetSize()))
            << "text of " << text.size() << " bytes";
    }
}

// The reading's texts never need escaping, so they are laid out whole; one
// that did would go through String, and the object must still read back.
TEST(ReadingJson, TextsThatNeedEscapingReadBack)
{
    const halvaro::Birth birth = halvaro::ValidateInput(halvaro::testing::Delhi1975()).Value;
    halvaro::Reading reading = halvaro::readingsky::CalculateReading(birth, halvaro::SkyModel::Classic).Value;
    reading.GrahaPositionTexts[7] = std::string_view("01 \"Leo\"");
    reading.Results.lblAspects_Planets[3] = std::string_view("tab\there\\");
    rapidjson::Document json;
    json.Parse(halvaro::cli::ReadingJson(reading, {birth, {}, nullptr}).c_str());
    ASSERT_FALSE(json.HasParseError());
    ASSERT_EQ(json["GrahaPositionTexts"].Size(), 8U);
    EXPECT_STREQ(json["GrahaPositionTexts"][7].GetString(), "01 \"Leo\"");
    ASSERT_EQ(json["rows"].Size(), 8U);
    ASSERT_EQ(json["rows"][3].Size(), 4U);
    EXPECT_STREQ(json["rows"][3][3].GetString(), "tab\there\\");
    EXPECT_STREQ(json["rows"][7][0].GetString(), std::string(reading.Results.lblPlanets[7]).c_str());
}

} // namespace
