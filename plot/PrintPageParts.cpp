#include "plot/PrintPageParts.h"

#include "settings/PrintOpts.h"

#include <cmath>

namespace {

// A margin in pixels; margins that are no number count as none.
int MarginPixels(float inches, int dpi)
{
    return std::isfinite(inches) ? static_cast<int>(static_cast<double>(inches) * dpi) : 0;
}

} // namespace

PrintPageParts LayoutPrintPage(int pageWidth, int pageHeight, int dpiX, int dpiY, const PrintOpts& options)
{
    PrintPageParts parts;
    parts.MarginLeft = MarginPixels(options.MarginLeft, dpiX);
    parts.MarginRight = MarginPixels(options.MarginRight, dpiX);
    parts.MarginTop = MarginPixels(options.MarginTop, dpiY);
    parts.MarginBottom = MarginPixels(options.MarginBottom, dpiY);
    parts.FontHeight = dpiY * 9 / 72;
    parts.LineSpacing = static_cast<int>(parts.FontHeight * 1.1);

    parts.HeaderRight = pageWidth - parts.MarginRight - 10;
    parts.HeaderLine1Y = parts.MarginTop + 6;
    parts.HeaderLine2Y = parts.MarginTop + 2 * parts.LineSpacing + 6;
    parts.TitleCenterX = (pageWidth - parts.MarginLeft - parts.MarginRight) / 2 + parts.MarginLeft;
    parts.Title1Y = parts.MarginTop + 6;
    parts.Title2Y = parts.MarginTop + parts.LineSpacing + 6;

    parts.PlotMarginBottom = options.MarginBottom;
    if (options.EnableCommentBlock != 0 && dpiY > 0) {
        // Ten lines of 0.14 inch above the bottom margin.
        const int blockHeight = static_cast<int>(dpiY * 1.4) + parts.MarginBottom;
        parts.CommentBox = {parts.MarginLeft, pageHeight - blockHeight, pageWidth - parts.MarginRight,
                            pageHeight - parts.MarginBottom};
        parts.CommentX = parts.MarginLeft + 10;
        parts.CommentFirstY = pageHeight - blockHeight + 10;
        // In inches with their fraction: whole inches would put the plot's
        // bottom into the block.
        parts.PlotMarginBottom = static_cast<float>(blockHeight) / static_cast<float>(dpiY);
    }
    return parts;
}
