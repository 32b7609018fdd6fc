#include "plot/MarkerLabel.h"

#include "platform/NumberText.h"

std::string MarkerLabelText(std::uint32_t labelType, float frequency, float value, bool dBScale,
                            std::string_view customLabel)
{
    const std::string hz = platform::FormatFixed(frequency, 2) + " Hz";
    const std::string level = platform::FormatFixed(value, 2) + (dBScale ? " dB" : "");
    std::string text;
    switch (labelType) {
    case 1:
        text = hz;
        break;
    case 2:
        text = level;
        break;
    case 3:
        text = hz + "/" + level;
        break;
    case 4:
        text = std::string(customLabel.substr(0, customLabel.find('\0')));
        break;
    default:
        break;
    }
    return text.empty() ? std::string(" ") : text;
}

std::array<PlotPoint, 4> MarkerTriangle(PlotPoint tip)
{
    using namespace marker_shape;
    return {tip, PlotPoint{tip.x - kTriangleHalfWidth, tip.y - kTriangleHeight},
            PlotPoint{tip.x + kTriangleHalfWidth, tip.y - kTriangleHeight}, tip};
}

PlotPoint MarkerLabelOrigin(PlotPoint tip, int fontHeight, int textWidth)
{
    return {tip.x - textWidth / 2, tip.y - fontHeight - marker_shape::kLabelRise};
}

PlotRect MarkerLabelBox(PlotPoint tip, int fontHeight, int textWidth, int textHeight)
{
    const PlotPoint origin = MarkerLabelOrigin(tip, fontHeight, textWidth);
    return {origin.x - 2, origin.y, origin.x + textWidth + 2, origin.y + textHeight - 1};
}
