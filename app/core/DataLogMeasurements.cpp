#include "app/core/DataLogMeasurements.h"

#include <algorithm>
#include <cmath>

#include "app/core/DataLogText.h"
#include "engine/SpectralData.h"

namespace data_log_measurements {

namespace {

using data_log_text::AppendFixed;
using data_log_text::AppendGeneral;

constexpr const char* kNames[kCount] = {
    "Peak Freq", "Peak Level", "Total Power Flat", "Total Power A", "Total Power B", "Total Power C", "THD",
    "THD+N", "IMD", "SNR", "SINAD", "LeqT\tLeq\tLsel\tLpk\tLmax\tLmin\tL10\tL50\tL90", nullptr, nullptr,
    nullptr, "Marker 1 Level", "Marker 2 Level", "Marker 3 Level", "Marker 4 Level", "Marker 5 Level",
    "Marker 6 Level", "Marker 7 Level", "Marker 8 Level", "Marked Peak Freq", "Marked Peak Level",
    "RMS Total Power Flat", "RMS Total Power A", "RMS Total Power B", "RMS Total Power C", nullptr, nullptr,
    nullptr, "Noise Figure", nullptr, nullptr, "Peak Frequency in Peak Hold Spectrum",
    "Peak Level in Peak Hold Spectrum", "Total Power Flat in Peak Hold Spectrum",
    "Total Power A in Peak Hold Spectrum", "Total Power B in Peak Hold Spectrum",
    "Total Power C in Peak Hold Spectrum", "Marker 1 Level in Peak Hold Spectrum",
    "Marker 2 Level in Peak Hold Spectrum", "Marker 3 Level in Peak Hold Spectrum",
    "Marker 4 Level in Peak Hold Spectrum", "Marker 5 Level in Peak Hold Spectrum",
    "Marker 6 Level in Peak Hold Spectrum", "Marker 7 Level in Peak Hold Spectrum",
    "Marker 8 Level in Peak Hold Spectrum", "Peak Frequency in Spectrum", "Peak Level in Spectrum",
    "Marked Total Power Flat in Peak Hold Spectrum", "Marked Total Power A in Peak Hold Spectrum",
    "Marked Total Power B in Peak Hold Spectrum", "Marked Total Power C in Peak Hold Spectrum",
};

bool IsSpanList(int id)
{
    return id == 29 || id == 30 || id == 31 || id == 34;
}

// Ids whose value is taken over the span (lo … hi) rather than the full range.
bool UsesSpan(int id)
{
    return id == 0 || id == 1 || id == 23 || id == 24 || (id >= 25 && id <= 31) || id == 34 || (id >= 51 && id <= 54);
}

struct Lines {
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool oneLineSpan() const { return lo == hi; }
};

Lines LinesOf(const Source& s)
{
    Lines lines;
    const std::uint32_t a = s.data->GetBinIndex(s.startFreq);
    const std::uint32_t b = s.data->GetBinIndex(s.stopFreq);
    lines.lo = std::min(a, b);
    lines.hi = std::max(a, b);
    lines.first = s.data->GetStartBin();
    lines.last = s.data->GetEndBin();
    return lines;
}

void AppendList(const SpectralData& data, int id, std::uint32_t first, std::uint32_t last, std::string& out)
{
    for (std::uint32_t line = first; line <= last; ++line) {
        if (line != first)
            out += '\t';
        switch (id) {
        case 12:
        case 29: AppendGeneral(out, data.GetValue(line, false)); break;
        case 13:
        case 30: AppendGeneral(out, data.GetHoldValue(line)); break;
        case 14:
        case 31: AppendGeneral(out, data.GetPhase(line)); break;
        default: {
            float re = 0.0f;
            float im = 0.0f;
            data.GetComplexValue(line, &re, &im);
            AppendGeneral(out, re);
            out += '\t';
            AppendGeneral(out, im);
        }
        }
    }
}

float MarkerLevel(const Source& s, int marker, bool held)
{
    const float frequency = s.markerFreq != nullptr ? s.markerFreq[marker] : 0.0f;
    return s.data->GetValue(s.data->GetBinIndex(frequency), held);
}

} // namespace

bool IsList(int id)
{
    return id == 12 || id == 13 || id == 14 || id == 29 || id == 30 || id == 31 || id == 33 || id == 34;
}

bool HasColumn(const Source& s, int id)
{
    if (s.data == nullptr || id < 0 || id >= kCount)
        return false;
    return !IsList(id) || !IsSpanList(id) || !LinesOf(s).oneLineSpan();
}

bool AppendColumnName(const Source& s, int id, std::string& out)
{
    if (s.data == nullptr || id < 0 || id >= kCount)
        return false;
    if (!IsList(id)) {
        out += kNames[id];
        return true;
    }
    const Lines lines = LinesOf(s);
    if (IsSpanList(id) && lines.oneLineSpan())
        return false;
    const std::uint32_t first = IsSpanList(id) ? lines.lo : lines.first;
    const std::uint32_t last = IsSpanList(id) ? lines.hi : lines.last;
    const char* separator = id == 33 || id == 34 ? "\t\t" : "\t";
    for (std::uint32_t line = first; line <= last; ++line) {
        if (line != first)
            out += separator;
        AppendGeneral(out, s.data->GetBinFrequency(line));
    }
    return true;
}

bool GetValue(const Source& s, int id, float& value, std::string* text)
{
    if (s.data == nullptr || id < 0 || id >= kCount || id == 11 || id == 32)
        return false;
    SpectralData& d = *s.data;
    const Lines lines = LinesOf(s);
    if (UsesSpan(id) && lines.oneLineSpan())
        return false;
    if (IsList(id)) {
        if (text != nullptr) {
            if (IsSpanList(id))
                AppendList(d, id, lines.lo, lines.hi, *text);
            else
                AppendList(d, id, lines.first, lines.last, *text);
        }
        return true;
    }

    const int lo = static_cast<int>(lines.lo);
    const int hi = static_cast<int>(lines.hi);
    const int scale = d.GetAmpScaleType();
    bool general = false;
    float v = 0.0f;
    if (id == 0) {
        v = d.GetHoldPeakFrequency(lo, hi);
    } else if (id == 1) {
        v = d.GetHoldMax(lo, hi);
    } else if (id >= 2 && id <= 5) {
        v = d.GetBandPower(lines.first, lines.last, scale, id - 2, false);
    } else if (id == 6) {
        v = d.GetTHD();
    } else if (id == 7) {
        v = d.GetTHDN();
    } else if (id == 8) {
        v = d.GetIMD();
    } else if (id == 9) {
        v = d.GetSNR();
    } else if (id == 10) {
        v = d.GetSINAD();
    } else if (id >= 15 && id <= 22) {
        v = MarkerLevel(s, id - 15, false);
        general = true;
    } else if (id == 23 || id == 24 || id == 49 || id == 50) {
        float frequency = 0.0f;
        float level = SpectralData::kNoValue;
        const bool span = id == 23 || id == 24;
        d.FindPeak(span ? lines.lo : lines.first, span ? lines.hi : lines.last, &frequency, &level, 0);
        v = id == 23 || id == 49 ? frequency : level;
        general = id == 50;
    } else if (id >= 25 && id <= 28) {
        v = d.GetBandPower(lines.lo, lines.hi, scale, id - 25, false);
    } else if (id == 35) {
        v = d.GetHoldPeakFrequency(static_cast<int>(lines.first), static_cast<int>(lines.last));
    } else if (id == 36) {
        v = d.GetHoldMax(static_cast<int>(lines.first), static_cast<int>(lines.last));
        general = true;
    } else if (id >= 37 && id <= 40) {
        v = d.GetBandPower(lines.first, lines.last, scale, id - 37, true);
    } else if (id >= 41 && id <= 48) {
        v = MarkerLevel(s, id - 41, true);
        general = true;
    } else {  // 51 … 54
        v = d.GetBandPower(lines.lo, lines.hi, scale, id - 51, true);
    }
    value = v;
    if (text != nullptr) {
        if (general)
            AppendGeneral(*text, v);
        else
            AppendFixed(*text, v);
    }
    return true;
}

} // namespace data_log_measurements
