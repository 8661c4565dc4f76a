#include "cli/ReadingOutput.h"

#include "atlas/ZoneHistory.h"
#include "chart/ChartData.h"
#include "cli/BirthFields.h"
#include "core/Conventions.h"
#include "core/SignPosition.h"
#include "core/Text.h"
#include "panchanga/PanchangaText.h"
#include "vedic/DetailsText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <span>

namespace halvaro::cli {

namespace mgd = modVedicGrahaDrishti;
constexpr auto RowCount = static_cast<std::size_t>(mgd::RowCount);

namespace {

// The CSV columns of a reading's eight rows take their names from the graha
// and from the result screen's labels; those of the positions table, from
// its rows (the eight, Ketu and the Lagna) and columns.
constexpr std::array<std::string_view, 10> DetailRowNames {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Rahu", "Ketu", "Lagna"};
constexpr std::span<const std::string_view, GrahaCount> GrahaColumnNames(DetailRowNames.data(), GrahaCount);
constexpr std::array<std::string_view, 3> DetailColumnNames {"Nakshatra", "Pada", "Navamsa"};
constexpr std::array<std::string_view, 4> RowColumnNames {
    "Planets", "Planets_Position", "Aspects_Sign", "Aspects_Planets"};

std::array<std::string_view, 4> RowTexts(const mgd::ResultTexts& results, std::size_t row)
{
    return {results.lblPlanets[row], results.lblPlanets_Position[row], results.lblAspects_Sign[row],
        results.lblAspects_Planets[row]};
}

// The ayanamsa with seventeen significant digits, which give the double
// back exactly in any locale (the form the output has always had); null
// when not finite.
std::string_view AyanamsaDigits(double value, std::array<char, 32>& digits)
{
    if (!std::isfinite(value)) {
        return "null";
    }
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general, 17);
    return {digits.data(), static_cast<std::size_t>(result.ptr - digits.data())};
}

// The Lagna's short position; empty when the reading has none.
ShortText LagnaText(const Reading& reading)
{
    const auto lagna = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::Computed
        ? SignPlaceOf(reading.Lagna.Longitude)
        : std::nullopt;
    return lagna ? modVedicPlanetPosition::ShortPositionText(*lagna) : ShortText();
}

ShortText KetuText(const Reading& reading)
{
    return modVedicPlanetPosition::ShortPositionText(reading.Places[IndexOf(Graha::Ketu)]);
}

void String(JsonWriter& json, std::string_view text)
{
    json.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void Key(JsonWriter& json, std::string_view key)
{
    json.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void Member(JsonWriter& json, std::string_view key, std::string_view text)
{
    Key(json, key);
    String(json, text);
}

void Member(JsonWriter& json, std::string_view key, int number)
{
    Key(json, key);
    json.Int(number);
}

// The key, then null when no value is to follow it.
bool KeyOrNull(JsonWriter& json, std::string_view key, bool hasValue)
{
    Key(json, key);
    if (!hasValue) {
        json.Null();
    }
    return hasValue;
}

// Degrees with six decimals (a hundredth of an arc-second); null when unknown.
void Degrees(JsonWriter& json, std::string_view key, std::optional<double> degrees)
{
    if (!KeyOrNull(json, key, degrees && std::isfinite(*degrees))) {
        return;
    }
    std::array<char, 32> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), *degrees, std::chars_format::fixed, 6).ptr;
    json.RawValue(digits.data(), static_cast<std::size_t>(end - digits.data()), rapidjson::kNumberType);
}

void NameOrNull(JsonWriter& json, std::string_view key, std::string_view name)
{
    if (KeyOrNull(json, key, !name.empty())) {
        String(json, name);
    }
}

void WriteGrahas(JsonWriter& json, const OutputContext& context)
{
    const std::optional<vedic::ReadingDetails>& details = context.Reading.Details;
    if (!KeyOrNull(json, "Grahas", details.has_value())) {
        return;
    }
    json.StartArray();
    const auto row = [&](const vedic::GrahaDetails& graha) {
        const vedic::ZodiacPlace& place = graha.Place;
        json.StartObject();
        Member(json, "Graha", graha.Name);
        Degrees(json, "Longitude", place.Longitude);
        // The output numbers the signs 1 to 12.
        Member(json, "Sign", place.Rasi.Sign + 1);
        Member(json, "SignName", place.SignName());
        Member(json, "Nakshatra", place.Nakshatra);
        Member(json, "NakshatraName", place.NakshatraName());
        Member(json, "Pada", place.Pada);
        Member(json, "NakshatraLord", NamesOf(place.NakshatraLord).Plain);
        Member(json, "Navamsa", place.Navamsa + 1);
        NameOrNull(json, "Dignity", vedic::DignityName(graha.Dignity));
        Degrees(json, "Speed", graha.Speed);
        Key(json, "Retrograde");
        json.Bool(graha.Retrograde);
        json.EndObject();
    };
    for (const vedic::GrahaDetails& graha : details->Grahas) {
        row(graha);
    }
    if (details->Lagna) {
        row(*details->Lagna);
    }
    json.EndArray();
}

void WritePeriod(JsonWriter& json, const vedic::DashaPeriod& period)
{
    vedic::DateChars start {}, end {};
    Member(json, "Lord", NamesOf(period.Lord).Plain);
    Member(json, "Start", vedic::DateText(period.Start, start));
    Member(json, "End", vedic::DateText(period.End, end));
}

void WriteDasha(JsonWriter& json, const OutputContext& context)
{
    const std::optional<vedic::VimshottariDasha>& dasha = context.Reading.Dasha;
    if (!KeyOrNull(json, "Dasha", dasha.has_value())) {
        return;
    }
    json.StartObject();
    Member(json, "System", "Vimshottari");
    Key(json, "YearDays");
    const std::string yearDays = vedic::YearDaysText(dasha->YearDays);
    json.RawValue(yearDays.data(), yearDays.size(), rapidjson::kNumberType);
    Key(json, "Balance");
    json.StartObject();
    Member(json, "Lord", NamesOf(dasha->Balance.Lord).Plain);
    Member(json, "Years", dasha->Balance.WholeYears);
    Member(json, "Months", dasha->Balance.Months);
    Member(json, "Days", dasha->Balance.Days);
    json.EndObject();
    Key(json, "Periods");
    json.StartArray();
    for (const vedic::MahaDasha& maha : dasha->Periods) {
        json.StartObject();
        WritePeriod(json, maha.Period);
        Key(json, "Sub");
        json.StartArray();
        for (const vedic::DashaPeriod& antar : maha.Sub) {
            json.StartObject();
            WritePeriod(json, antar);
            if (context.DashaLevels >= 3) {
                Key(json, "Sub");
                json.StartArray();
                for (const vedic::DashaPeriod& pratyantar : vedic::PratyantarDashas(antar)) {
                    json.StartObject();
                    WritePeriod(json, pratyantar);
                    json.EndObject();
                }
                json.EndArray();
            }
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void WriteYoginiPeriod(JsonWriter& json, const vedic::YoginiPeriod& period)
{
    vedic::DateChars start {}, end {};
    const vedic::YoginiRow& yogini = vedic::YoginiTable[period.Yogini];
    Member(json, "Yogini", yogini.Name);
    Member(json, "Lord", NamesOf(yogini.Lord).Plain);
    Member(json, "Start", vedic::DateText(period.Start, start));
    Member(json, "End", vedic::DateText(period.End, end));
}

void WriteYogini(JsonWriter& json, const OutputContext& context)
{
    const std::optional<vedic::YoginiDasha>& dasha = context.Reading.Yogini;
    if (!KeyOrNull(json, "YoginiDasha", dasha.has_value())) {
        return;
    }
    json.StartObject();
    Member(json, "System", "Yogini");
    Key(json, "YearDays");
    const std::string yearDays = vedic::YearDaysText(dasha->YearDays);
    json.RawValue(yearDays.data(), yearDays.size(), rapidjson::kNumberType);
    Key(json, "Periods");
    json.StartArray();
    for (const vedic::YoginiMaha& maha : dasha->Periods) {
        json.StartObject();
        WriteYoginiPeriod(json, maha.Period);
        Key(json, "Sub");
        json.StartArray();
        for (const vedic::YoginiPeriod& antar : maha.Sub) {
            json.StartObject();
            WriteYoginiPeriod(json, antar);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void Counts(JsonWriter& json, const ashtakavarga::Signs12& counts)
{
    json.StartArray();
    for (const int count : counts) {
        json.Int(count);
    }
    json.EndArray();
}

void PerGraha(JsonWriter& json, std::string_view key, const ashtakavarga::PerGraha& rows)
{
    Key(json, key);
    json.StartObject();
    for (std::size_t graha = 0; graha < rows.size(); ++graha) {
        Key(json, NamesOf(ashtakavarga::AshtakavargaGrahas[graha]).Plain);
        Counts(json, rows[graha]);
    }
    json.EndObject();
}

void WriteAshtakavarga(JsonWriter& json, const OutputContext& context)
{
    const std::optional<ashtakavarga::Ashtakavarga>& av = context.Reading.Ashtakavarga;
    if (!KeyOrNull(json, "Ashtakavarga", av.has_value())) {
        return;
    }
    const ashtakavarga::BeneficTableNames& table = ashtakavarga::NamesOf(av->Table);
    json.StartObject();
    Member(json, "Table", table.Shown);
    Member(json, "Source", table.Source);
    PerGraha(json, "Bhinna", av->Bhinna);
    Key(json, "Sarva");
    Counts(json, av->Sarva);
    Key(json, "Shodhana");
    json.StartObject();
    PerGraha(json, "Trikona", av->Trikona);
    PerGraha(json, "Ekadhipatya", av->Ekadhipatya);
    json.EndObject();
    Key(json, "Pindas");
    json.StartObject();
    for (std::size_t graha = 0; graha < av->Pindas.size(); ++graha) {
        const ashtakavarga::Pinda& pinda = av->Pindas[graha];
        Key(json, NamesOf(ashtakavarga::AshtakavargaGrahas[graha]).Plain);
        json.StartObject();
        Member(json, "Rasi", pinda.Rasi);
        Member(json, "Graha", pinda.Graha);
        Member(json, "Shodhya", pinda.Shodhya());
        json.EndObject();
    }
    json.EndObject();
    json.EndObject();
}

void WriteBirth(JsonWriter& json, const OutputContext& context)
{
    const Birth& birth = context.BirthValue;
    const std::string_view timeZone = context.TimeZone;
    Key(json, "Birth");
    json.StartObject();
    const CivilDateTime& local = birth.Local;
    Member(json, "Date", vedic::DateText(std::chrono::year(local.Year) / local.Month / local.Day));
    const std::array<char, 6> time {static_cast<char>('0' + local.Hour / 10), static_cast<char>('0' + local.Hour % 10), ':',
        static_cast<char>('0' + local.Minute / 10), static_cast<char>('0' + local.Minute % 10), '\0'};
    Member(json, "Time", std::string_view(time.data(), 5));
    Member(json, "UtcOffset", atlas::UtcOffsetSecondsText(UtcOffsetSecondsOf(birth)));
    NameOrNull(json, "TimeZone", timeZone);
    Degrees(json, "Latitude", birth.LatitudeDeg);
    Degrees(json, "Longitude", birth.LongitudeDeg);
    Member(json, "City", birth.City);
    Member(json, "State", birth.State);
    Member(json, "Country", birth.Country);
    Key(json, "LocalMeanTime");
    json.Bool(birth.LocalMeanTime);
    json.EndObject();
}

void Time(JsonWriter& json, std::string_view key, const std::optional<panchanga::LocalMoment>& moment)
{
    if (KeyOrNull(json, key, moment.has_value())) {
        String(json, panchanga::IsoLocalTime(*moment));
    }
}

void WriteSpanObject(JsonWriter& json, const panchanga::ElementSpan& span, std::optional<int> pada)
{
    json.StartObject();
    Member(json, "Number", span.Number);
    Member(json, "Name", panchanga::ElementName(span.Which, span.Number));
    if (span.Which == panchanga::Element::Tithi) {
        Member(json, "Paksha", panchanga::PakshaOf(span.Number));
    }
    if (pada) {
        Member(json, "Pada", *pada);
    }
    Time(json, "Start", span.Start);
    Time(json, "End", span.End);
    json.EndObject();
}

void WriteSpan(JsonWriter& json, const panchanga::ElementSpan& span, std::optional<int> pada)
{
    Key(json, panchanga::ElementTitle(span.Which));
    WriteSpanObject(json, span, pada);
}

void WriteVara(JsonWriter& json, int weekday)
{
    Key(json, "Vara");
    json.StartObject();
    Member(json, "Number", weekday);
    Member(json, "Name", panchanga::VaraName(weekday));
    Member(json, "Lord", NamesOf(panchanga::VaraLord(weekday)).Plain);
    json.EndObject();
}

void WriteDayPart(JsonWriter& json, std::string_view key, const std::optional<panchanga::DayPart>& part)
{
    if (!KeyOrNull(json, key, part.has_value())) {
        return;
    }
    json.StartObject();
    Time(json, "Start", part->Start);
    Time(json, "End", part->End);
    json.EndObject();
}

void WritePanchanga(JsonWriter& json, const OutputContext& context)
{
    const std::optional<panchanga::MomentPanchanga>& p = context.Reading.Panchanga;
    if (!KeyOrNull(json, "Panchanga", p.has_value())) {
        return;
    }
    json.StartObject();
    WriteSpan(json, p->Tithi, std::nullopt);
    WriteSpan(json, p->Nakshatra, p->Pada);
    WriteSpan(json, p->Yoga, std::nullopt);
    WriteSpan(json, p->Karana, std::nullopt);
    WriteVara(json, p->Vara);
    Member(json, "CivilWeekday", p->CivilWeekday);
    NameOrNull(json, "HoraLord", p->HoraLord ? NamesOf(*p->HoraLord).Plain : std::string_view());
    Time(json, "Sunrise", p->Sunrise);
    Time(json, "Sunset", p->Sunset);
    Time(json, "NextSunrise", p->NextSunrise);
    Time(json, "Moonrise", p->Moonrise);
    Time(json, "Moonset", p->Moonset);
    Member(json, "SunriseConvention", NamesOf(p->Convention).Option);
    json.EndObject();
}

// The batch's columns: each element's number and end, the vara, the hora
// lord and the Vedic day's sunrise and sunset.
constexpr std::array<std::string_view, 12> PanchangaColumns {"Panchanga.Tithi", "Panchanga.TithiEnd",
    "Panchanga.Nakshatra", "Panchanga.NakshatraEnd", "Panchanga.Yoga", "Panchanga.YogaEnd", "Panchanga.Karana",
    "Panchanga.KaranaEnd", "Panchanga.Vara", "Panchanga.HoraLord", "Panchanga.Sunrise", "Panchanga.Sunset"};

void PanchangaCsv(CsvFields& csv, const OutputContext& context)
{
    const std::optional<panchanga::MomentPanchanga>& p = context.Reading.Panchanga;
    if (!p) {
        csv.AddEmpty(PanchangaColumns.size());
        return;
    }
    for (const panchanga::ElementSpan* span : {&p->Tithi, &p->Nakshatra, &p->Yoga, &p->Karana}) {
        csv.AddRaw(DecimalText(span->Number));
        csv.AddRaw(panchanga::IsoLocalTime(span->End));
    }
    csv.AddRaw(DecimalText(p->Vara));
    csv.AddRaw(p->HoraLord ? NamesOf(*p->HoraLord).Plain : "");
    csv.AddRaw(p->Sunrise ? panchanga::IsoLocalTime(*p->Sunrise) : "");
    csv.AddRaw(p->Sunset ? panchanga::IsoLocalTime(*p->Sunset) : "");
}

} // namespace

void Append(OutputBuffer& out, std::string_view bytes)
{
    std::memcpy(out.Push(bytes.size()), bytes.data(), bytes.size());
}

std::string ReadingText(const fullreading::FullReading& reading)
{
    const mgd::ResultTexts& results = reading.Results;
    std::size_t width = 0;
    for (std::size_t row = 0; row < RowCount; ++row) {
        width = std::max({width, results.lblPlanets[row].size(), results.lblPlanets_Position[row].size()});
    }
    width += 2;
    std::string text;
    for (std::size_t row = 0; row < RowCount; ++row) {
        const auto texts = RowTexts(results, row);
        for (std::size_t line = 0; line < 2; ++line) {
            text += texts[line];
            text.append(width - texts[line].size(), ' ');
            text += texts[line + 2];
            text += '\n';
        }
    }
    if (reading.Sky != SkyModel::Classic) {
        text += fullreading::SkyCaption(reading.Used);
        text += '\n';
    }
    return text;
}

std::string DetailsSection(const fullreading::FullReading& reading, double todayJulianDay, int dashaLevels)
{
    if (!reading.Details || !reading.Dasha) {
        return PanchangaSection(reading);
    }
    std::string text = "\n" + vedic::DetailsText(*reading.Details, *reading.Dasha, todayJulianDay);
    // Where the Lagna's row would stand, why there is none, as the chart says it.
    if (!reading.Details->Lagna) {
        const std::string_view note = reading.Lagna.Status == modVedicPlanetPosition::LagnaStatus::PolarLatitude
            ? chart::PolarNote
            : chart::NoLagnaNote;
        const std::size_t tableEnd = text.find("\n\n", 1);
        text.insert(tableEnd == std::string::npos ? text.size() : tableEnd + 1, std::string(note) + "\n");
    }
    text += vedic::DashaLevelsText(*reading.Dasha, todayJulianDay, dashaLevels);
    if (reading.Yogini) {
        text += vedic::YoginiText(*reading.Yogini, todayJulianDay);
    }
    if (reading.Ashtakavarga) {
        text += ashtakavarga::AshtakavargaText(*reading.Ashtakavarga);
    }
    text += PanchangaSection(reading);
    if (reading.Vargas) {
        text += vargas::VargasText(*reading.Vargas, reading.Vimshopaka);
    }
    if (reading.Houses) {
        text += houses::HousesText(*reading.Houses);
    }
    return text;
}

std::string PanchangaSection(const fullreading::FullReading& reading)
{
    if (!reading.Panchanga) {
        return std::string();
    }
    Conventions precise = reading.Used;
    precise.Sky = SkyModel::Precise;
    return "\n" + panchanga::MomentPanchangaText(*reading.Panchanga, reading.Sky == SkyModel::Classic, AyanamsaText(precise));
}

void CsvFields::Separate()
{
    if (!first_) {
        out_.Put(',');
    }
    first_ = false;
}

void CsvFields::Add(std::string_view text)
{
    Separate();
    AppendCsvField(out_, text);
}

void CsvFields::AddRaw(std::string_view bytes)
{
    Separate();
    Append(out_, bytes);
}

void CsvFields::AddEmpty(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        Separate();
    }
}

namespace {

using fullreading::ReadingParts;
constexpr auto Parashari = ashtakavarga::BeneficTable::Parashari;
constexpr ReadingParts NothingMore {false, false, false, false, false, Parashari, false, false, houses::HouseSystem::WholeSign};
constexpr ReadingParts VargaSigns {false, false, false, false, false, Parashari, true, false, houses::HouseSystem::WholeSign};
constexpr ReadingParts TheHouses {false, false, false, false, false, Parashari, false, true, houses::HouseSystem::WholeSign};

// Vargas: {"D1": {"Sun": 1-12, ..., "Ketu", "Lagna"}, ...}, signs counted from Mesha as 1.
void WriteVargas(JsonWriter& json, const OutputContext& context)
{
    const std::optional<vargas::VargaSigns>& signs = context.Reading.Vargas;
    if (!KeyOrNull(json, "Vargas", signs.has_value())) {
        return;
    }
    json.StartObject();
    for (std::size_t v = 0; v < vargas::VargaCount; ++v) {
        Key(json, "D" + DecimalText(vedic::VargaRules[v].N));
        json.StartObject();
        for (std::size_t graha = 0; graha < GrahaCountWithKetu; ++graha) {
            Member(json, GrahaNameTable[graha].Plain, signs->Grahas[v][graha] + 1);
        }
        if (KeyOrNull(json, "Lagna", signs->Lagna[v].has_value())) {
            json.Int(*signs->Lagna[v] + 1);
        }
        json.EndObject();
    }
    json.EndObject();
}

// Vimshopaka: {"Scheme": ..., "Sun": 0-20, ..., "Saturn"}, two decimals.
void WriteVimshopaka(JsonWriter& json, const OutputContext& context)
{
    const auto& strength = context.Reading.Vimshopaka;
    if (!KeyOrNull(json, "Vimshopaka", strength.has_value())) {
        return;
    }
    json.StartObject();
    Member(json, "Scheme", vargas::VimshopakaScheme);
    for (std::size_t graha = 0; graha < strength->size(); ++graha) {
        Key(json, GrahaNameTable[graha].Plain);
        std::array<char, 32> digits {};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), (*strength)[graha],
            std::chars_format::fixed, 2).ptr;
        json.RawValue(digits.data(), static_cast<std::size_t>(end - digits.data()), rapidjson::kNumberType);
    }
    json.EndObject();
}

// Houses: {"System", "Cusps": [12 sidereal degrees, house 1 first], "Grahas": {"Sun": 1-12, ...}, "Note"}.
void WriteHouses(JsonWriter& json, const OutputContext& context)
{
    const std::optional<houses::Houses>& found = context.Reading.Houses;
    if (!KeyOrNull(json, "Houses", found.has_value())) {
        return;
    }
    json.StartObject();
    Member(json, "System", houses::NamesOf(found->System).Shown);
    if (KeyOrNull(json, "Cusps", found->Cusp.has_value())) {
        json.StartArray();
        for (const double cusp : *found->Cusp) {
            std::array<char, 32> digits {};
            const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), cusp, std::chars_format::fixed, 6).ptr;
            json.RawValue(digits.data(), static_cast<std::size_t>(end - digits.data()), rapidjson::kNumberType);
        }
        json.EndArray();
    }
    if (KeyOrNull(json, "Grahas", found->Cusp.has_value())) {
        json.StartObject();
        for (std::size_t graha = 0; graha < GrahaCountWithKetu; ++graha) {
            Member(json, GrahaNameTable[graha].Plain, found->Grahas[graha]);
        }
        json.EndObject();
    }
    if (KeyOrNull(json, "Note", !found->Note.empty())) {
        String(json, found->Note);
    }
    json.EndObject();
}

std::string DecimalsText(double value, int decimals)
{
    std::array<char, 32> digits {};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, decimals).ptr;
    return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

// The vargas' columns: "D1.Sun" .. "D1.Lagna", .. "D60.Lagna", signs 1-12 as in the JSON.
constexpr std::size_t VargaCsvWidth = vargas::VargaCount * DetailRowNames.size();

void VargasCsvHeader(std::string& header)
{
    for (const vedic::VargaRule& rule : vedic::VargaRules) {
        for (const std::string_view row : DetailRowNames) {
            header.append(",D").append(DecimalText(rule.N)).append(".").append(row);
        }
    }
}

void VargasCsv(CsvFields& csv, const OutputContext& context)
{
    const std::optional<vargas::VargaSigns>& signs = context.Reading.Vargas;
    if (!signs) {
        csv.AddEmpty(VargaCsvWidth);
        return;
    }
    for (std::size_t v = 0; v < vargas::VargaCount; ++v) {
        for (const int sign : signs->Grahas[v]) {
            csv.AddRaw(DecimalText(sign + 1));
        }
        csv.AddRaw(signs->Lagna[v] ? DecimalText(*signs->Lagna[v] + 1) : "");
    }
}

// "Vimshopaka.Sun" .. "Vimshopaka.Saturn", two decimals as in the JSON.
void VimshopakaCsvHeader(std::string& header)
{
    for (std::size_t graha = 0; graha < vargas::VimshopakaGrahaCount; ++graha) {
        header.append(",Vimshopaka.").append(GrahaNameTable[graha].Plain);
    }
}

void VimshopakaCsv(CsvFields& csv, const OutputContext& context)
{
    const auto& strength = context.Reading.Vimshopaka;
    if (!strength) {
        csv.AddEmpty(vargas::VimshopakaGrahaCount);
        return;
    }
    for (const double points : *strength) {
        csv.AddRaw(DecimalsText(points, 2));
    }
}

// "Houses.System", "Houses.Cusp1" .. "Houses.Cusp12" (sidereal degrees),
// "Houses.Sun" .. "Houses.Ketu" (1-12) and "Houses.Note"; the cusps and
// the grahas' houses empty where the system has none.
constexpr std::size_t HousesCsvWidth = 1 + 12 + GrahaCountWithKetu + 1;

void HousesCsvHeader(std::string& header)
{
    header += ",Houses.System";
    for (int house = 1; house <= 12; ++house) {
        header.append(",Houses.Cusp").append(DecimalText(house));
    }
    for (std::size_t graha = 0; graha < GrahaCountWithKetu; ++graha) {
        header.append(",Houses.").append(GrahaNameTable[graha].Plain);
    }
    header += ",Houses.Note";
}

void HousesCsv(CsvFields& csv, const OutputContext& context)
{
    const std::optional<houses::Houses>& found = context.Reading.Houses;
    if (!found) {
        csv.AddEmpty(HousesCsvWidth);
        return;
    }
    csv.Add(houses::NamesOf(found->System).Shown);
    if (!found->Cusp) {
        csv.AddEmpty(12 + GrahaCountWithKetu);
    } else {
        for (const double cusp : *found->Cusp) {
            csv.AddRaw(DecimalsText(cusp, 6));
        }
        for (const int house : found->Grahas) {
            csv.AddRaw(DecimalText(house));
        }
    }
    csv.Add(found->Note);
}

void AppendNames(std::string& header, std::span<const std::string_view> rows, std::span<const std::string_view> columns)
{
    for (const std::string_view row : rows) {
        for (const std::string_view column : columns) {
            header.append(",").append(row).append(".").append(column);
        }
    }
}

} // namespace

const std::array<OutputGroupRow, OutputGroupCount> OutputGroupTable {{
    {"GrahaPositionTexts", NothingMore,
        [](JsonWriter& json, const OutputContext& c) {
            Key(json, "GrahaPositionTexts");
            json.StartArray();
            for (const std::string_view text : c.Reading.GrahaPositionTexts) {
                String(json, text);
            }
            json.EndArray();
        },
        [](std::string& header) {
            for (const std::string_view graha : GrahaColumnNames) {
                header.append(",").append(graha);
            }
        },
        [](CsvFields& csv, const OutputContext& c) {
            for (const std::string_view text : c.Reading.GrahaPositionTexts) {
                csv.Add(text);
            }
        },
        GrahaCount},
    {"MoonPositionText", NothingMore,
        [](JsonWriter& json, const OutputContext& c) { Member(json, "MoonPositionText", c.Reading.MoonPositionText); },
        [](std::string& header) { header += ",MoonPositionText"; },
        [](CsvFields& csv, const OutputContext& c) { csv.Add(c.Reading.MoonPositionText); }, 1},
    {"Ayanamsa", NothingMore,
        [](JsonWriter& json, const OutputContext& c) {
            Key(json, "Ayanamsa");
            std::array<char, 32> digits {};
            const std::string_view ayanamsa = AyanamsaDigits(c.Reading.Ayanamsa, digits);
            json.RawValue(ayanamsa.data(), ayanamsa.size(), rapidjson::kNumberType);
        },
        [](std::string& header) { header += ",Ayanamsa"; },
        [](CsvFields& csv, const OutputContext& c) {
            std::array<char, 32> digits {};
            csv.AddRaw(AyanamsaDigits(c.Reading.Ayanamsa, digits));
        },
        1},
    {"rows", NothingMore,
        [](JsonWriter& json, const OutputContext& c) {
            Key(json, "rows");
            json.StartArray();
            for (std::size_t row = 0; row < RowCount; ++row) {
                json.StartArray();
                for (const std::string_view text : RowTexts(c.Reading.Results, row)) {
                    String(json, text);
                }
                json.EndArray();
            }
            json.EndArray();
        },
        [](std::string& header) { AppendNames(header, GrahaColumnNames, RowColumnNames); },
        [](CsvFields& csv, const OutputContext& c) {
            for (std::size_t row = 0; row < RowCount; ++row) {
                for (const std::string_view text : RowTexts(c.Reading.Results, row)) {
                    csv.Add(text);
                }
            }
        },
        RowCount * RowColumnNames.size()},
    {"Lagna", NothingMore, [](JsonWriter& json, const OutputContext& c) { NameOrNull(json, "Lagna", LagnaText(c.Reading)); },
        [](std::string& header) { header += ",Lagna"; },
        [](CsvFields& csv, const OutputContext& c) { csv.Add(LagnaText(c.Reading)); }, 1},
    {"Ketu", NothingMore, [](JsonWriter& json, const OutputContext& c) { Member(json, "Ketu", KetuText(c.Reading)); },
        [](std::string& header) { header += ",Ketu"; },
        [](CsvFields& csv, const OutputContext& c) { csv.Add(KetuText(c.Reading)); }, 1},
    {"Sky", NothingMore, [](JsonWriter& json, const OutputContext& c) { Member(json, "Sky", SkyModelName(c.Reading.Sky)); },
        [](std::string& header) { header += ",Sky"; },
        [](CsvFields& csv, const OutputContext& c) { csv.Add(SkyModelName(c.Reading.Sky)); }, 1},
    {"SkyDiffers", {false, false, true, false, false, Parashari, false, false, houses::HouseSystem::WholeSign},
        [](JsonWriter& json, const OutputContext& c) {
            if (!c.Reading.SkyDiffers) {
                return;
            }
            Key(json, "SkyDiffers");
            json.StartArray();
            for (const fullreading::SkyDifference& difference : *c.Reading.SkyDiffers) {
                String(json, NamesOf(difference.Which).Plain);
            }
            json.EndArray();
        },
        nullptr, nullptr, 0},
    {"Grahas", {true, false, false, false, false, Parashari, false, false, houses::HouseSystem::WholeSign}, WriteGrahas,
        [](std::string& header) { AppendNames(header, DetailRowNames, DetailColumnNames); },
        [](CsvFields& csv, const OutputContext& c) {
            const std::optional<vedic::ReadingDetails>& details = c.Reading.Details;
            for (std::size_t row = 0; row < DetailRowNames.size(); ++row) {
                const vedic::GrahaDetails* graha = !details ? nullptr
                    : row < details->Grahas.size()       ? &details->Grahas[row]
                    : details->Lagna                     ? &*details->Lagna
                                                         : nullptr;
                if (graha == nullptr) {
                    csv.AddEmpty(DetailColumnNames.size());
                    continue;
                }
                const vedic::ZodiacPlace& place = graha->Place;
                const char pada = static_cast<char>('0' + place.Pada);
                csv.AddRaw(place.NakshatraName());
                csv.AddRaw({&pada, 1});
                csv.AddRaw(place.NavamsaName());
            }
        },
        DetailRowNames.size() * DetailColumnNames.size()},
    {"Dasha", {false, true, false, false, false, Parashari, false, false, houses::HouseSystem::WholeSign}, WriteDasha, nullptr, nullptr, 0},
    {"Birth", NothingMore, WriteBirth, nullptr, nullptr, 0},
    {"Conventions", NothingMore,
        [](JsonWriter& json, const OutputContext& c) {
            const Conventions& used = c.Reading.Used;
            const bool classic = used.Sky == SkyModel::Classic;
            Key(json, "Conventions");
            json.StartObject();
            Member(json, "Ayanamsa", classic ? std::string("classic model") : AyanamsaText(used));
            Member(json, "Node", classic ? std::string_view("classic model") : NodeOption(used.Node));
            Key(json, "DashaYearDays");
            const std::string yearDays = ShortestDecimalText(used.DashaYearDays);
            json.RawValue(yearDays.data(), yearDays.size(), rapidjson::kNumberType);
            Member(json, "Text", ConventionsText(used));
            json.EndObject();
        },
        [](std::string& header) { header += ",Conventions"; },
        [](CsvFields& csv, const OutputContext& c) { csv.Add(ConventionsText(c.Reading.Used)); }, 1},
    {"Panchanga", {false, false, false, true, false, Parashari, false, false, houses::HouseSystem::WholeSign}, WritePanchanga,
        [](std::string& header) {
            for (const std::string_view column : PanchangaColumns) {
                header.append(",").append(column);
            }
        },
        PanchangaCsv, PanchangaColumns.size()},
    {"YoginiDasha", {false, true, false, false, false, Parashari, false, false, houses::HouseSystem::WholeSign}, WriteYogini, nullptr, nullptr, 0},
    // The sarva as twelve columns, the bhinnas being for the JSON.
    {"Ashtakavarga", {false, false, false, false, true, Parashari, false, false, houses::HouseSystem::WholeSign}, WriteAshtakavarga,
        [](std::string& header) {
            header += ",Ashtakavarga.Table";
            for (const std::string_view sign : VedicSignNames) {
                header.append(",Sarva.").append(sign);
            }
        },
        [](CsvFields& csv, const OutputContext& c) {
            const std::optional<ashtakavarga::Ashtakavarga>& av = c.Reading.Ashtakavarga;
            if (!av) {
                csv.AddEmpty(13);
                return;
            }
            csv.Add(ashtakavarga::NamesOf(av->Table).Shown);
            for (const int count : av->Sarva) {
                std::array<char, 8> digits {};
                const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), count).ptr;
                csv.AddRaw({digits.data(), static_cast<std::size_t>(end - digits.data())});
            }
        },
        13},
    {"Vargas", VargaSigns, WriteVargas, VargasCsvHeader, VargasCsv, VargaCsvWidth},
    {"Vimshopaka", VargaSigns, WriteVimshopaka, VimshopakaCsvHeader, VimshopakaCsv, vargas::VimshopakaGrahaCount},
    {"Houses", TheHouses, WriteHouses, HousesCsvHeader, HousesCsv, HousesCsvWidth},
}};

fullreading::ReadingParts PartsFor(const OutputGroups& groups)
{
    ReadingParts parts = NothingMore;
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        if (groups[i]) {
            parts.Details = parts.Details || OutputGroupTable[i].Needs.Details;
            parts.Dasha = parts.Dasha || OutputGroupTable[i].Needs.Dasha;
            parts.SkyDifferences = parts.SkyDifferences || OutputGroupTable[i].Needs.SkyDifferences;
            parts.Panchanga = parts.Panchanga || OutputGroupTable[i].Needs.Panchanga;
            parts.Ashtakavarga = parts.Ashtakavarga || OutputGroupTable[i].Needs.Ashtakavarga;
            parts.Vargas = parts.Vargas || OutputGroupTable[i].Needs.Vargas;
            parts.Houses = parts.Houses || OutputGroupTable[i].Needs.Houses;
        }
    }
    return parts;
}

std::optional<std::string> OutputGroupsNamed(std::string_view list, OutputGroups& groups)
{
    groups.reset();
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string_view name = list.substr(start, end - start);
        const auto row = std::find_if(OutputGroupTable.begin(), OutputGroupTable.end(), [&](const OutputGroupRow& r) { return r.Name == name; });
        if (row == OutputGroupTable.end()) {
            return Shown(name) + " is not a group; the groups are " + OutputGroupNames(AllOutputGroups, ", ");
        }
        groups.set(static_cast<std::size_t>(row - OutputGroupTable.begin()));
        start = end + 1;
    }
    return std::nullopt;
}

std::string OutputGroupNames(const OutputGroups& groups, std::string_view separator)
{
    std::string names;
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        if (groups[i]) {
            names.append(names.empty() ? "" : separator).append(OutputGroupTable[i].Name);
        }
    }
    return names;
}

void WriteReadingMembers(JsonWriter& json, const OutputContext& context, const OutputGroups& groups)
{
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        if (groups[i]) {
            OutputGroupTable[i].Json(json, context);
        }
    }
}

std::string ReadingJson(const OutputContext& context, const OutputGroups& groups)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    WriteReadingMembers(json, context, groups);
    json.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string ReadingCsvHeader(const OutputGroups& groups)
{
    std::string header;
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        if (groups[i] && OutputGroupTable[i].CsvHeader != nullptr) {
            OutputGroupTable[i].CsvHeader(header);
        }
    }
    return header.empty() ? header : header.substr(1);
}

std::size_t ReadingCsvFieldCount(const OutputGroups& groups)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        count += groups[i] ? OutputGroupTable[i].CsvWidth : 0;
    }
    return count;
}

void AppendReadingCsvFields(OutputBuffer& csv, const OutputContext& context, const OutputGroups& groups)
{
    CsvFields fields(csv);
    for (std::size_t i = 0; i < OutputGroupCount; ++i) {
        if (groups[i] && OutputGroupTable[i].Csv != nullptr) {
            OutputGroupTable[i].Csv(fields, context);
        }
    }
}

std::string DayPanchangaJson(const panchanga::DayPanchanga& day, std::string_view placeName, std::string_view ayanamsaName)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    Member(json, "Date", vedic::DateText(std::chrono::year(day.Year) / day.Month / day.Day));
    Member(json, "Place", placeName);
    Member(json, "Ayanamsa", ayanamsaName);
    for (std::size_t element = 0; element < panchanga::ElementCount; ++element) {
        Key(json, panchanga::ElementTitle(static_cast<panchanga::Element>(element)));
        json.StartArray();
        for (const panchanga::ElementSpan& span : day.Elements[element]) {
            WriteSpanObject(json, span, std::nullopt);
        }
        json.EndArray();
    }
    WriteVara(json, day.Weekday);
    Time(json, "Sunrise", day.Sunrise);
    Time(json, "Sunset", day.Sunset);
    Time(json, "NextSunrise", day.NextSunrise);
    Time(json, "Moonrise", day.Moonrise);
    Time(json, "Moonset", day.Moonset);
    WriteDayPart(json, "RahuKala", day.RahuKala);
    WriteDayPart(json, "Yamaganda", day.Yamaganda);
    WriteDayPart(json, "GulikaKala", day.GulikaKala);
    WriteDayPart(json, "AbhijitMuhurta", day.AbhijitMuhurta);
    Member(json, "SunriseConvention", NamesOf(day.Convention).Option);
    json.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string PlacesJson(const std::vector<atlas::Place>& places)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartArray();
    for (const atlas::Place& place : places) {
        json.StartObject();
        Member(json, "Name", place.Name);
        Member(json, "State", place.State);
        Member(json, "Country", place.Country);
        Member(json, "CountryCode", place.CountryCode);
        Degrees(json, "Latitude", place.LatitudeDeg);
        Degrees(json, "Longitude", place.LongitudeDeg);
        Member(json, "TimeZone", place.TimeZone);
        Key(json, "Population");
        json.Uint(place.Population);
        json.EndObject();
    }
    json.EndArray();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

void AppendCsvField(OutputBuffer& csv, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        Append(csv, text);
        return;
    }
    csv.Put('"');
    for (const char c : text) {
        csv.Put(c);
        if (c == '"') {
            csv.Put('"');
        }
    }
    csv.Put('"');
}

} // namespace halvaro::cli
