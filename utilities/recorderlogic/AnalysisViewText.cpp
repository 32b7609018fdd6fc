#include "utilities/recorderlogic/AnalysisViewText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/ScalingOpts.h"
#include "format/TChannelCalibration.h"
#include "engine/SpectralData.h"
#include "platform/NumberText.h"
#include "settings/SpectrumOpts.h"

namespace analysis_view {

namespace {

// printf's "%6.<decimals>f" with '.' as the decimal point.
std::string Fixed6(double value, int decimals)
{
    std::string text = platform::FormatFixed(value, decimals);
    if (text.size() < 6)
        text.insert(0, 6 - text.size(), ' ');
    return text;
}

// Decimals for a linear value: at least `least`, and enough for four
// significant digits of a small one, up to twelve.
int LinearDecimals(double value, int least)
{
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || !std::isfinite(magnitude))
        return least;
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    return std::clamp(3 - exponent, least, 12);
}

const char* CaptionPrefix(int kind)
{
    switch (kind) {
    case kPeakFrequency: return "Peak Freq";
    case kPeakAmplitude: return "Peak Amplitude";
    case kTotalPower: return "Total Power";
    default: return nullptr;
    }
}

} // namespace

const char* Name(int kind)
{
    switch (kind) {
    case kPeakFrequency: return "Peak Frequency";
    case kPeakAmplitude: return "Peak Amplitude";
    case kTotalPower: return "Total Power";
    default: return nullptr;
    }
}

std::string PeakFrequencyText(float frequency)
{
    return Fixed6(frequency, 1) + " Hz";
}

std::string LevelText(float level, const char* unit, bool logarithmic)
{
    if (level < kNoValueBelow)
        level = kNoValue;
    const int decimals = logarithmic || level == kNoValue ? 2 : LinearDecimals(level, 2);
    return Fixed6(level, decimals) + " " + (unit != nullptr ? unit : "");
}

std::string PowerText(float power, std::uint16_t ampScale, std::uint16_t weighting, const char* unit)
{
    static constexpr const char* kLetters[] = {"", " A", " B", " C"};
    if (weighting > 3)
        return {};
    if (power < kNoValueBelow)
        power = kNoValue;
    const int decimals = ampScale == ScalingOpts::kLogarithmic || power == kNoValue ? 2 : LinearDecimals(power, 6);
    return Fixed6(power, decimals) + " " + (unit != nullptr ? unit : "") + kLetters[weighting];
}

std::string WidestText(int kind, const char* unit, std::uint16_t weighting)
{
    std::string widest;
    switch (kind) {
    case kPeakFrequency: widest = PeakFrequencyText(99999.9f); break;
    case kPeakAmplitude: widest = LevelText(kNoValue, unit); break;
    // Six decimals of a linear power below 100 run longest.
    case kTotalPower: widest = PowerText(-99.5f, ScalingOpts::kLinear, weighting, unit); break;
    default: break;
    }
    return widest;
}

std::string SpanText(int index, float start, float stop)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%s: %dHz to %dHz)", index == 0 ? "L" : "R", static_cast<int>(start),
                  static_cast<int>(stop));
    return text;
}

std::string Caption(int kind, const std::string& leftSpan, const std::string& rightSpan)
{
    const char* prefix = CaptionPrefix(kind);
    return prefix == nullptr ? std::string() : std::string(prefix) + " " + leftSpan + " " + rightSpan;
}

int CountChannels(const Sources& sources)
{
    return (sources.processors[0] != nullptr ? 1 : 0) + (sources.processors[1] != nullptr ? 1 : 0);
}

std::optional<std::string> UpdateResults(int kind, const Sources& sources, DataGridCells& grid)
{
    std::string spans[2];
    std::optional<std::string> caption;
    int row = 0;
    for (int i = 0; i < 2; ++i) {
        SpectralData* data = sources.processors[static_cast<std::size_t>(i)];
        const ScalingOpts* scaling = sources.scaling[i];
        if (data == nullptr || scaling == nullptr)
            continue;
        std::string cell;
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        float spanStart = 0.0f;
        float spanStop = 0.0f;
        bool known = true;
        switch (scaling->UtilityFreqSpanType) {
        case 0:
            first = data->GetStartBin();
            last = data->GetEndBin();
            spanStart = data->GetStartFrequency();
            spanStop = data->GetEndFrequency();
            break;
        case 1:
            if (sources.spectrum[i] == nullptr) {
                known = false;
                break;
            }
            spanStart = sources.spectrum[i]->StartFreq;
            spanStop = sources.spectrum[i]->StopFreq;
            first = data->GetBinIndex(spanStart);
            last = data->GetBinIndex(spanStop);
            break;
        case 2:
            spanStart = scaling->UtilityFreqCustomStart;
            spanStop = scaling->UtilityFreqCustomStop;
            first = data->GetBinIndex(spanStart);
            last = data->GetBinIndex(spanStop);
            break;
        default: known = false; break;
        }
        if (known && data->GetBlocksAveraged() <= 0) {
            // Nothing analysed yet: no readout may look like a measured 0.
            spans[i] = SpanText(i, spanStart, spanStop);
            caption = Caption(kind, spans[0], spans[1]);
            cell = kNoDataText;
        } else if (known) {
            spans[i] = SpanText(i, spanStart, spanStop);
            caption = Caption(kind, spans[0], spans[1]);
            if (kind == kPeakFrequency || kind == kPeakAmplitude) {
                float frequency = 0.0f;
                float level = 0.0f;
                data->FindPeak(first, last, &frequency, &level, 0);
                cell = kind == kPeakFrequency
                           ? PeakFrequencyText(frequency)
                           : LevelText(level, ShownUnitLabel(data->GetUnitLabel(true)).c_str(),
                                       data->GetAmpScaleType() == ScalingOpts::kLogarithmic);
            } else if (kind == kTotalPower) {
                const bool own = scaling->UtilityFreqSpanType == 0;
                const int scale = own ? data->GetAmpScaleType() : scaling->AmpScaleType;
                const int weighting = own ? data->GetTotalPowerWeighting() : -1;
                const float power = data->GetBandPower(first, last, scale, weighting, false);
                cell = PowerText(power, scaling->AmpScaleType, scaling->TotalPowerWeighting,
                                 ShownUnitLabel(data->GetUnitLabel(true)).c_str());
            }
        }
        grid.SetCellText(row, 0, cell);
        ++row;
    }
    return caption;
}

std::string ClipboardText(const DataGridCells& grid, int lines)
{
    std::string text;
    for (int k = 0; k < lines; ++k) {
        text += grid.CellText(k, 0);
        text += "\r\n";
    }
    return text;
}

} // namespace analysis_view
