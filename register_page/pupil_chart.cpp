#include "register_page/pupil_chart.h"

#include <algorithm>
#include <cstdio>

#include "register_page/page_text.h"

namespace brivana::register_page {

namespace {

constexpr double kWidth = 180;
constexpr double kHeight = 48;
constexpr double kLeft = 22;  // room for the scale's top figure
constexpr double kRight = 4;
constexpr double kTop = 5;
constexpr double kBottom = 5;

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

std::string PupilChartSvg(const std::vector<ChartPoint>& points)
{
    if (points.empty()) return {};
    int highest = 1;
    for (const ChartPoint& point : points) highest = std::max(highest, point.right);
    const double plotWidth = kWidth - kLeft - kRight;
    const double plotHeight = kHeight - kTop - kBottom;
    const auto x = [&](std::size_t i) {
        return points.size() == 1 ? kLeft + plotWidth / 2
                                  : kLeft + plotWidth * static_cast<double>(i) / static_cast<double>(points.size() - 1);
    };
    const auto y = [&](int right) {
        return kTop + plotHeight * (1.0 - static_cast<double>(std::max(right, 0)) / highest);
    };

    std::string label = "Risposte esatte per partita, dalla più vecchia alla più recente:";
    std::string line, dots;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ChartPoint& point = points[i];
        label += i ? ", " : " ";
        label += std::to_string(point.right);
        if (i) line += ' ';
        line += Number(x(i));
        line += ',';
        line += Number(y(point.right));
        dots += "<circle cx=\"" + Number(x(i)) + "\" cy=\"" + Number(y(point.right)) + "\" r=\"2.5\" data-esatte=\"" +
                std::to_string(point.right) + "\"><title>" + DateText(point.when) + " " + TimeText(point.when) + ": " +
                std::to_string(point.right) + " esatte</title></circle>";
    }
    const std::string bottom = Number(kHeight - kBottom);
    return "<svg class=\"grafico\" viewBox=\"0 0 " + Number(kWidth) + " " + Number(kHeight) +
           "\" width=\"180\" height=\"48\" role=\"img\" aria-label=\"" + EscapeHtml(label) + "\" data-massimo=\"" +
           std::to_string(highest) + "\">" + "<line class=\"asse\" x1=\"" + Number(kLeft) + "\" y1=\"" + bottom +
           "\" x2=\"" + Number(kWidth - kRight) + "\" y2=\"" + bottom + "\"/>" + "<text x=\"" + Number(kLeft - 3) +
           "\" y=\"" + Number(kTop + 4) + "\" text-anchor=\"end\">" + std::to_string(highest) + "</text>" +
           "<text x=\"" + Number(kLeft - 3) + "\" y=\"" + bottom + "\" text-anchor=\"end\">0</text>" +
           (points.size() > 1 ? "<polyline points=\"" + line + "\"/>" : "") + dots + "</svg>";
}

}  // namespace brivana::register_page
