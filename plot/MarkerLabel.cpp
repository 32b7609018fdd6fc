#include "plot/MarkerLabel.h"

#include "platform/NumberText.h"

#include <algorithm>

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

PlotRect MarkerLabelBoxInPane(PlotPoint tip, int fontHeight, int textWidth, int textHeight, const PlotRect& pane)
{
    const PlotRect box = MarkerLabelBox(tip, fontHeight, textWidth, textHeight);
    if (tip.x < pane.left || tip.x >= pane.right)
        return box;
    const int width = box.Width();
    const int height = box.Height();
    // The right edge first, so that a label wider than the pane starts at
    // its left edge.
    int left = std::min(box.left, pane.right - 1 - width);
    left = std::max(left, pane.left);
    int top = box.top;
    if (top < pane.top) {
        const int aboveTriangle = tip.y - marker_shape::kTriangleHeight - 1 - height;
        top = aboveTriangle >= pane.top ? pane.top : tip.y + 2;
    }
    top = std::max(pane.top, std::min(top, pane.bottom - 1 - height));
    return {left, top, left + width, top + height};
}
