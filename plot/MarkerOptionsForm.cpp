#include "plot/MarkerOptionsForm.h"

#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"
#include "settings/TextField.h"

#include <algorithm>
#include <string_view>

namespace marker_options {

namespace {

constexpr std::size_t kFrequencyBuffer = 41;
constexpr std::uint32_t kLastLabelType = MarkerOpts::kCustom;

float ReadFrequency(const std::string& text)
{
    return ToFloatField(
        platform::ParseFloatPrefix(std::string_view(text).substr(0, std::min(text.size(), kFrequencyBuffer - 1))));
}

// The first kCustomLabelLength bytes, never ending inside a UTF-8 character.
std::string_view CutLabel(std::string_view text)
{
    std::size_t size = std::min<std::size_t>(text.size(), kCustomLabelLength);
    if (size < text.size())
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            --size;
    return text.substr(0, size);
}

} // namespace

MarkerOptionsForm Fill(const MarkerOpts& m)
{
    MarkerOptionsForm form;
    for (std::size_t i = 0; i < MarkerOpts::kMarkerCount; ++i) {
        MarkerRowForm& row = form.Rows[i];
        row.Enabled = m.MarkerEnable[i] != 0;
        // Two decimals, unless that would round the frequency an OK stores.
        const std::string text = FloatFieldText(m.MarkerFreq[i], 2);
        row.Frequency = text.size() < 6 ? std::string(6 - text.size(), ' ') + text : text;
        row.LabelType = std::min(m.LabelType[i], kLastLabelType);
        row.CustomLabel = std::string(TextFieldView(m.CustomLabel[i]));
    }
    form.PeakHold = m.PeakHoldFlag != 0;
    return form;
}

bool CustomLabelEnabled(bool enabled, std::uint32_t labelType)
{
    return enabled && labelType == MarkerOpts::kCustom;
}

std::string Validate(const MarkerOptionsForm& form, MarkerOpts& m)
{
    float frequency[MarkerOpts::kMarkerCount] = {};
    for (std::size_t i = 0; i < MarkerOpts::kMarkerCount; ++i) {
        if (!form.Rows[i].Enabled)
            continue;
        frequency[i] = ReadFrequency(form.Rows[i].Frequency);
        if (!(frequency[i] > 0.0f))
            return kFrequencyMessage;
        if (!field_ranges::kFrequencyHz.Contains(frequency[i]))
            return "Marker " + std::to_string(i + 1) + " Frequency must be at most "
                   + std::to_string(static_cast<long>(field_ranges::kHighestFrequencyHz)) + " Hz";
    }
    for (std::size_t i = 0; i < MarkerOpts::kMarkerCount; ++i) {
        const MarkerRowForm& row = form.Rows[i];
        m.MarkerEnable[i] = row.Enabled ? 1 : 0;
        if (!row.Enabled)
            continue;
        m.MarkerFreq[i] = frequency[i];
        m.LabelType[i] = std::min(row.LabelType, kLastLabelType);
        SetTextField(m.CustomLabel[i], CutLabel(row.CustomLabel));
    }
    m.PeakHoldFlag = form.PeakHold ? 1 : 0;
    return {};
}

} // namespace marker_options
