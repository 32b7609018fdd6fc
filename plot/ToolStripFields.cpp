#include "plot/ToolStripFields.h"

#include "platform/NumberText.h"

ToolStripFields FieldsForAmpScale(std::uint16_t ampScale, float plotTop, float plotRange, bool atCreation)
{
    ToolStripFields fields;
    fields.RangeCaption = ampScale == 2 ? "Plot Bottom:" : "Plot Range:";
    switch (ampScale) {
    case 1:
        fields.TopText = platform::FormatFixed(plotTop, 2);
        fields.TopSpin = {300.0f, -400.0f, 5.0f, false, 2};
        fields.RangeText = platform::FormatFixed(plotRange, 1);
        fields.RangeEnabled = true;
        fields.RangeSpinChanged = true;
        fields.RangeSpin = {400.0f, -400.0f, 5.0f, false, 2};
        break;
    case 2:
        fields.TopText = platform::FormatFixed(plotTop, atCreation ? 3 : 4);
        fields.TopSpin = {10000.0f, 1e-6f, 2.0f, true, 4};
        fields.RangeText = platform::FormatFixed(plotRange, 6);
        fields.RangeEnabled = true;
        fields.RangeSpinChanged = true;
        fields.RangeSpin = {100.0f, 1e-6f, 2.0f, true, 6};
        break;
    default:
        fields.TopText = platform::FormatFixed(plotTop, 3);
        fields.TopSpin = {1e7f, 1e-9f, 1.0f, false, 3};
        fields.RangeText = "N/A";
        break;
    }
    return fields;
}
