#include "driver/table.h"

#include <cstdio>

namespace brivana::bench {

namespace {

std::string Number(double value)
{
    char text[32];
    const char* format = value >= 100 ? "%.0f" : value >= 10 ? "%.1f" : value >= 1 ? "%.2f" : "%.3f";
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Cell(const Summary& summary, const std::string& unit)
{
    return Number(summary.median) + " " + unit + " (" + Number(summary.min) + "–" + Number(summary.max) + ")";
}

double Ratio(const Row& row) { return row.game.median / row.baseline->median; }

// Three decimals, so that a ratio just over its limit does not print as the limit itself.
std::string RatioText(double ratio)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ratio);
    return text;
}

std::string Target(const Row& row)
{
    switch (row.target) {
    case TargetKind::ratio:
        return "≤ " + Number(row.limit) + " × baseline";
    case TargetKind::absolute:
        return "≤ " + Number(row.limit) + " " + row.unit;
    case TargetKind::none:
        break;
    }
    return "(information)";
}

// printf pads by bytes; the table holds a few multi-byte characters, so pad by characters.
std::string Pad(const std::string& text, std::size_t width)
{
    std::size_t characters = 0;
    for (const unsigned char byte : text) characters += (byte & 0xC0) != 0x80;
    return characters >= width ? text + " " : text + std::string(width - characters, ' ');
}

}  // namespace

bool Met(const Row& row)
{
    switch (row.target) {
    case TargetKind::ratio:
        return row.baseline && Ratio(row) <= row.limit;
    case TargetKind::absolute:
        return row.game.median <= row.limit;
    case TargetKind::none:
        break;
    }
    return true;
}

int PrintTable(const std::vector<Row>& rows)
{
    int missed = 0;
    std::printf("%s%s%s%s%s%s\n", Pad("figure", 48).c_str(), Pad("game: median (min–max)", 30).c_str(),
                Pad("baseline: median (min–max)", 30).c_str(), Pad("ratio", 7).c_str(),
                Pad("target", 20).c_str(), "result");
    for (const Row& row : rows) {
        const bool met = Met(row);
        if (!met) ++missed;
        std::printf("%s%s%s%s%s%s\n", Pad(row.figure, 48).c_str(), Pad(Cell(row.game, row.unit), 30).c_str(),
                    Pad(row.baseline ? Cell(*row.baseline, row.unit) : "—", 30).c_str(),
                    Pad(row.baseline ? RatioText(Ratio(row)) : "—", 7).c_str(), Pad(Target(row), 20).c_str(),
                    row.target == TargetKind::none ? "—" : met ? "met" : "MISSED");
    }
    return missed;
}

}  // namespace brivana::bench
