#include "cli/MatchOutput.h"

#include <string_view>

namespace halvaro::cli {

namespace {

void Text(JsonWriter& json, std::string_view text)
{
    json.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

// Whole points as whole numbers, halves with their decimal.
void Points(JsonWriter& json, double points)
{
    const std::string text = matching::PointsText(points);
    json.RawValue(text.data(), text.size(), rapidjson::kNumberType);
}

void Manglik(JsonWriter& json, const matching::ManglikFinding& finding)
{
    json.StartObject();
    json.Key("FromLagna");
    if (const auto fromLagna = finding.FromLagna()) {
        json.Bool(*fromLagna);
    } else {
        json.Null(); // no Lagna at a pole
    }
    json.Key("FromMoon");
    json.Bool(finding.FromMoon());
    json.Key("FromVenus");
    json.Bool(finding.FromVenus());
    json.EndObject();
}

void MatchObject(JsonWriter& json, const matching::Match& match)
{
    const matching::Ashtakoota& kutas = match.Kutas;
    json.StartObject();
    json.Key("Kutas");
    json.StartArray();
    for (const matching::KutaScore& kuta : kutas.Kutas) {
        json.StartObject();
        json.Key("Name");
        Text(json, kuta.Name);
        json.Key("Points");
        Points(json, kuta.Points);
        json.Key("Max");
        json.Int(kuta.Max);
        json.Key("Reason");
        Text(json, kuta.Reason);
        json.EndObject();
    }
    json.EndArray();
    json.Key("Total");
    Points(json, kutas.Total);
    json.Key("Max");
    json.Int(matching::AshtakootaMax);
    json.Key("Verdict");
    Text(json, kutas.Verdict);
    json.Key("Doshas");
    json.StartArray();
    for (std::string_view dosha : kutas.Doshas) {
        Text(json, dosha);
    }
    json.EndArray();
    if (!kutas.Doshas.empty()) {
        json.Key("DoshaNote");
        Text(json, matching::DoshaCancellationNote);
    }
    json.Key("Manglik");
    json.StartObject();
    json.Key("Boy");
    Manglik(json, match.BoyManglik);
    json.Key("Girl");
    Manglik(json, match.GirlManglik);
    json.Key("Cancelled");
    json.Bool(match.ManglikCancelled());
    json.EndObject();
    json.EndObject();
}

constexpr std::string_view ManglikColumns = "BoyFromLagna,BoyFromMoon,BoyFromVenus,GirlFromLagna,GirlFromMoon,GirlFromVenus,ManglikCancelled";

std::string_view YesNo(bool value)
{
    return value ? "true" : "false";
}

} // namespace

void WriteMatchMembers(JsonWriter& json, const OutputContext& boy, const OutputContext& girl, const OutputGroups& groups,
    const matching::Match& match)
{
    json.Key("Boy");
    json.StartObject();
    WriteReadingMembers(json, boy, groups);
    json.EndObject();
    json.Key("Girl");
    json.StartObject();
    WriteReadingMembers(json, girl, groups);
    json.EndObject();
    json.Key("Match");
    MatchObject(json, match);
}

std::string MatchJson(const OutputContext& boy, const OutputContext& girl, const OutputGroups& groups,
    const matching::Match& match)
{
    OutputBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    WriteMatchMembers(json, boy, girl, groups, match);
    json.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string MatchCsvHeader()
{
    std::string header;
    for (const matching::KutaRow& kuta : matching::KutaTable) {
        for (const char c : kuta.Name) {
            if (c != ' ') {
                header += c; // "GrahaMaitri"
            }
        }
        header += ',';
    }
    return header + "Total,Verdict,Doshas," + std::string(ManglikColumns);
}

std::size_t MatchCsvFieldCount()
{
    return matching::KutaTable.size() + 3 + 7;
}

void AppendMatchCsvFields(OutputBuffer& csv, const matching::Match& match)
{
    CsvFields fields(csv);
    for (const matching::KutaScore& kuta : match.Kutas.Kutas) {
        fields.AddRaw(matching::PointsText(kuta.Points));
    }
    fields.AddRaw(matching::PointsText(match.Kutas.Total));
    fields.Add(match.Kutas.Verdict);
    std::string doshas;
    for (std::string_view dosha : match.Kutas.Doshas) {
        doshas += (doshas.empty() ? "" : " ") + std::string(dosha);
    }
    fields.Add(doshas);
    for (const matching::ManglikFinding* finding : {&match.BoyManglik, &match.GirlManglik}) {
        const auto fromLagna = finding->FromLagna();
        if (fromLagna) {
            fields.AddRaw(YesNo(*fromLagna));
        } else {
            fields.AddEmpty(1);
        }
        fields.AddRaw(YesNo(finding->FromMoon()));
        fields.AddRaw(YesNo(finding->FromVenus()));
    }
    fields.AddRaw(YesNo(match.ManglikCancelled()));
}

} // namespace halvaro::cli
