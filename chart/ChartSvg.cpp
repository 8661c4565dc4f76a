#include "chart/ChartSvg.h"

#include "aspects/GrahaDrishti.h"
#include "chart/XmlText.h"
#include "core/Text.h"
#include "vedic/Varga.h"

#include <array>

namespace halvaro::chart {

namespace {

// The picture's user units: a square chart of 600 with a margin of 20, and
// the caption below it.
constexpr int Margin = 20;
constexpr int Side = 600;
constexpr int Cell = Side / 4;
constexpr int Width = Side + 2 * Margin;
constexpr int CaptionTop = Margin + Side + 30;
constexpr int CaptionStep = 22;
constexpr int CaptionBottom = 20;
// About as many characters as a caption line fits into the width, at the
// title's 17 units and the other lines' 13.
constexpr std::size_t TitleCharacters = 60;
constexpr std::size_t CaptionCharacters = 78;

constexpr char LineColour[] = "#7a4a12";
constexpr char TextColour[] = "#1b1b1b";
constexpr char MutedColour[] = "#777777";
constexpr char LagnaColour[] = "#b3261e";

// South Indian cells (column, row) of the signs, Aries first: Pisces holds
// the top left corner and the signs run clockwise round the border.
constexpr std::array<std::array<int, 2>, SignCount> SouthCells {{
    {1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}, {0, 0},
}};

// North Indian houses 1..12: where a house's lines are centred and where its
// sign number stands (near the inner corner), in chart units from the top
// left corner of the square. Houses 1, 4, 7 and 10 are the inner diamonds.
struct HouseSpot {
    int TextX, TextY, NumberX, NumberY;
    bool Diamond;
};
constexpr std::array<HouseSpot, SignCount> NorthHouses {{
    {300, 150, 300, 280, true}, {150, 55, 150, 128, false}, {58, 150, 128, 155, false},
    {150, 300, 280, 305, true}, {58, 450, 128, 455, false}, {150, 548, 150, 485, false},
    {300, 450, 300, 335, true}, {450, 548, 450, 485, false}, {542, 450, 472, 455, false},
    {450, 300, 320, 305, true}, {542, 150, 472, 155, false}, {450, 55, 450, 128, false},
}};

std::string Number(int value)
{
    return DecimalText(value);
}

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + DecimalText(value);
}

// Su 00°19' in the Rasi, Me (R) 05°07' when retrograde; the name alone in
// the other vargas, whose degrees are not the Rasi's.
std::string GrahaLine(std::string_view name, const SignPlace& place, int varga, bool retrograde = false)
{
    std::string line(name);
    if (retrograde) {
        line += " (R)";
    }
    if (varga == vedic::RasiVarga) {
        line += " " + TwoDigits(place.Degrees) + std::string(DegreeSign) + TwoDigits(place.Minutes) + "'";
    }
    return line;
}

std::string_view VargaName(int varga)
{
    const std::optional<vedic::VargaRule> rule = vedic::VargaRuleOf(varga);
    return rule ? rule->Name : "";
}

std::string_view ChartTitle(const ChartData& chart)
{
    return chart.Title.empty() ? VargaName(chart.Varga) : std::string_view(chart.Title);
}

class SvgWriter {
public:
    explicit SvgWriter(int height)
    {
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
            + Number(Width) + "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " + Number(Width) + " "
            + Number(height) + "\" font-family=\"DejaVu Sans, Verdana, sans-serif\">\n";
    }

    void Raw(std::string_view element) { out_.append(element).append("\n"); }

    void Line(int x1, int y1, int x2, int y2, std::string_view colour, int width = 2)
    {
        out_ += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) + "\" y2=\""
            + Number(y2) + "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"" + Number(width) + "\"/>\n";
    }

    void Rect(int x, int y, int w, int h)
    {
        out_ += "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(w) + "\" height=\""
            + Number(h) + "\" fill=\"none\" stroke=\"" + std::string(LineColour) + "\" stroke-width=\"2\"/>\n";
    }

    // `text` is escaped here; anchor is start, middle or end.
    void Text(int x, int y, std::string_view text, int size, std::string_view colour,
        std::string_view anchor = "start", bool bold = false, std::size_t maxCharacters = std::string_view::npos)
    {
        out_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" font-size=\"" + Number(size) + "\" fill=\""
            + std::string(colour) + "\"";
        if (anchor != "start") {
            out_ += " text-anchor=\"" + std::string(anchor) + "\"";
        }
        if (bold) {
            out_ += " font-weight=\"bold\"";
        }
        out_ += ">" + XmlEscaped(text, maxCharacters) + "</text>\n";
    }

    std::string Finish()
    {
        out_ += "</svg>\n";
        return std::move(out_);
    }

private:
    std::string out_;
};

struct CellLine {
    std::string Text;
    bool Lagna;
};

// The lines of one sign: the Lagna first when it rises there, then the grahas;
// none in a chart of bindus.
std::vector<CellLine> LinesOfSign(const ChartData& chart, int sign)
{
    std::vector<CellLine> lines;
    if (chart.Bindus) {
        return lines;
    }
    if (chart.Lagna && chart.Lagna->Sign == sign) {
        lines.push_back({GrahaLine("Lagna", *chart.Lagna, chart.Varga), true});
    }
    for (const int graha : chart.GrahasInSign[static_cast<std::size_t>(sign)]) {
        const auto index = static_cast<std::size_t>(graha);
        lines.push_back(
            {GrahaLine(GrahaNameTable[index].Short, chart.Grahas[index], chart.Varga, chart.Retrograde[index]), false});
    }
    return lines;
}

// A crowded sign gets a smaller type and closer lines.
struct TypeSize {
    int Size, Step;
};
TypeSize TypeFor(std::size_t lineCount)
{
    return lineCount <= 5 ? TypeSize {14, 17} : TypeSize {12, 13};
}

void DrawSouth(SvgWriter& svg, const ChartData& chart)
{
    for (int sign = 0; sign < SignCount; ++sign) {
        const auto& cell = SouthCells[static_cast<std::size_t>(sign)];
        const int x = Margin + cell[0] * Cell;
        const int y = Margin + cell[1] * Cell;
        svg.Rect(x, y, Cell, Cell);
        svg.Text(x + Cell - 6, y + 16, modVedicGrahaDrishti::VedicSignNames[static_cast<std::size_t>(sign)], 11,
            MutedColour, "end");
        const bool rising = chart.Lagna && chart.Lagna->Sign == sign;
        if (rising) {
            // The Lagna's customary mark: a stroke across the cell's corner.
            svg.Line(x, y + 30, x + 30, y, LagnaColour, 2);
        }
        if (chart.Bindus) {
            svg.Text(x + Cell / 2, y + Cell / 2 + 12, Number((*chart.Bindus)[static_cast<std::size_t>(sign)]), 32,
                TextColour, "middle", true);
        }
        const std::vector<CellLine> lines = LinesOfSign(chart, sign);
        const TypeSize type = TypeFor(lines.size());
        int lineY = y + 40;
        for (const CellLine& line : lines) {
            svg.Text(x + 12, lineY, line.Text, type.Size, line.Lagna ? LagnaColour : TextColour, "start", line.Lagna);
            lineY += type.Step;
        }
    }
    const int middle = Margin + Side / 2;
    svg.Text(middle, middle - 18, ChartTitle(chart), 24, LineColour, "middle", true);
    svg.Text(middle, middle + 12, chart.Name, 15, TextColour, "middle", false, 30);
    svg.Text(middle, middle + 36, "South Indian", 12, MutedColour, "middle");
}

void DrawNorth(SvgWriter& svg, const ChartData& chart)
{
    const int left = Margin;
    const int top = Margin;
    const int right = Margin + Side;
    const int bottom = Margin + Side;
    const int midX = Margin + Side / 2;
    const int midY = Margin + Side / 2;
    svg.Rect(left, top, Side, Side);
    svg.Line(left, top, right, bottom, LineColour);
    svg.Line(right, top, left, bottom, LineColour);
    svg.Line(midX, top, right, midY, LineColour);
    svg.Line(right, midY, midX, bottom, LineColour);
    svg.Line(midX, bottom, left, midY, LineColour);
    svg.Line(left, midY, midX, top, LineColour);

    // Without a Lagna the houses are counted from the Moon's sign, as the
    // caption says.
    const int firstSign = chart.Lagna ? chart.Lagna->Sign : chart.Grahas[IndexOf(Graha::Moon)].Sign;
    for (int house = 0; house < SignCount; ++house) {
        const HouseSpot& spot = NorthHouses[static_cast<std::size_t>(house)];
        const int sign = (firstSign + house) % SignCount;
        svg.Text(Margin + spot.NumberX, Margin + spot.NumberY + 5, Number(sign + 1), 13, MutedColour, "middle", true);
        if (chart.Bindus) {
            svg.Text(Margin + spot.TextX, Margin + spot.TextY + 10, Number((*chart.Bindus)[static_cast<std::size_t>(sign)]),
                spot.Diamond ? 30 : 24, TextColour, "middle", true);
        }
        const std::vector<CellLine> lines = LinesOfSign(chart, sign);
        const TypeSize type = TypeFor(lines.size() + (spot.Diamond ? 0 : 2));
        const int blockHeight = static_cast<int>(lines.size()) * type.Step;
        int lineY = Margin + spot.TextY - blockHeight / 2 + type.Size - 2;
        for (const CellLine& line : lines) {
            svg.Text(Margin + spot.TextX, lineY, line.Text, type.Size, line.Lagna ? LagnaColour : TextColour, "middle",
                line.Lagna);
            lineY += type.Step;
        }
    }
}

struct CaptionLine {
    std::string Text;
    int Size;
    std::string_view Colour;
    bool Bold;
};

// The caption's lines, each text wrapped to the picture's width, never cut.
std::vector<CaptionLine> CaptionLines(const ChartData& chart, ChartStyle style)
{
    std::vector<CaptionLine> lines;
    const auto add = [&lines](std::string_view text, std::size_t width, int size, std::string_view colour, bool bold) {
        for (std::string& line : WrappedLines(text, width)) {
            lines.push_back({std::move(line), size, colour, bold});
        }
    };
    add(std::string(ChartTitle(chart)) + (style == ChartStyle::South ? " chart (South Indian) of " : " chart (North Indian) of ")
            + chart.Name,
        TitleCharacters, 17, TextColour, true);
    for (const std::string* text : {&chart.WhenText, &chart.WhereText, &chart.SkyText, &chart.HousesText, &chart.SkyDifferences}) {
        if (!text->empty()) {
            add(*text, CaptionCharacters, 13, TextColour, false);
        }
    }
    if (!chart.Note.empty()) {
        add(chart.Note, CaptionCharacters, 13, LagnaColour, false);
    }
    if (!chart.Lagna && style == ChartStyle::North) {
        add(MoonHousesNote, CaptionCharacters, 13, LagnaColour, false);
    }
    return lines;
}

} // namespace

std::optional<ChartStyle> ChartStyleNamed(std::string_view name)
{
    if (name == "south") {
        return ChartStyle::South;
    }
    if (name == "north") {
        return ChartStyle::North;
    }
    return std::nullopt;
}

std::string ChartSvg(const ChartData& chart, ChartStyle style)
{
    const std::vector<CaptionLine> caption = CaptionLines(chart, style);
    // The picture grows with its caption, which is never cut.
    const int height = CaptionTop + static_cast<int>(caption.size() - 1) * CaptionStep + CaptionBottom;
    SvgWriter svg(height);
    svg.Raw("<title>" + XmlEscaped(ChartTitle(chart)) + " chart of " + XmlEscaped(chart.Name) + "</title>");
    svg.Raw("<rect width=\"" + Number(Width) + "\" height=\"" + Number(height) + "\" fill=\"#fffdf7\"/>");
    if (style == ChartStyle::South) {
        DrawSouth(svg, chart);
    } else {
        DrawNorth(svg, chart);
    }
    int y = CaptionTop;
    for (const CaptionLine& line : caption) {
        svg.Text(Margin, y, line.Text, line.Size, line.Colour, "start", line.Bold);
        y += CaptionStep;
    }
    return svg.Finish();
}

} // namespace halvaro::chart
