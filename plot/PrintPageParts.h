#pragma once
// Where the parts of a printed plot page stand, in the page's pixels: the
// header at the top right ("Printed By:" and the time), the two centred
// title lines, and the boxed block of ten comment lines above the bottom
// margin. Text is 9 points high; lines are 1.1 text heights apart.

#include "plot/PlotRect.h"

struct PrintOpts;

struct PrintPageParts {
    int MarginLeft = 0;
    int MarginRight = 0;
    int MarginTop = 0;
    int MarginBottom = 0;
    int FontHeight = 0;   // pixels
    int LineSpacing = 0;  // pixels
    int HeaderRight = 0;  // right edge of the header lines
    int HeaderLine1Y = 0;
    int HeaderLine2Y = 0;
    int TitleCenterX = 0;
    int Title1Y = 0;
    int Title2Y = 0;
    // The comment block's box and its first line; empty when not printed.
    PlotRect CommentBox;
    int CommentX = 0;
    int CommentFirstY = 0;
    // The bottom margin, in inches, that lays the plot out above the block
    // (the user's margin when there is no block).
    float PlotMarginBottom = 0.0f;
};

PrintPageParts LayoutPrintPage(int pageWidth, int pageHeight, int dpiX, int dpiY, const PrintOpts& options);
