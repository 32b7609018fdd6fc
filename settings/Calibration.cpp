#include "settings/Calibration.h"

#include <cmath>

namespace calibration {

float PeakFactor(std::uint32_t refType)
{
    switch (refType) {
    case 1: return 1.414213562373f;
    case 2: return 0.5f;
    default: return 1.0f;
    }
}

float DbToPascals(int selector, float dB)
{
    const float ratio = std::pow(10.0f, dB / 20.0f) / 1e6f;
    if (selector == 0)
        return ratio * 20.0f;
    if (selector == 1)
        return ratio;
    return 0.0f;
}

float PascalsToDb(int selector, float pascals)
{
    const float x = selector == 0 ? pascals * 1e6f / 20.0f : pascals * 1e6f;
    return x > 0.0f ? 20.0f * std::log10(x) : kNoValue;
}

float DbuToVolts(float dBu)
{
    return 0.775f * std::pow(10.0f, dBu / 20.0f);
}

float VoltsToDbu(float volts)
{
    const float x = volts / 0.775f;
    return x > 0.0f ? 20.0f * std::log10(x) : kNoValue;
}

float ReferenceLevelInUnits(const TChannelCalibration& record)
{
    const float level = record.RefLevel;
    switch (record.RefUnits) {
    case kUnitPascals: return DbToPascals(0, level);
    case 5:
    case 6: return std::pow(10.0f, level / 20.0f);
    case kUnitDbu: return DbuToVolts(level);
    case kUnitHydrophonePascals: return DbToPascals(1, level);
    default: return level;
    }
}

float UnitFactor(std::uint32_t refUnits)
{
    switch (refUnits) {
    case kUnitPascals:
    case 8: return std::pow(10.0f, PascalsToDb(0, 1.0f) / 20.0f);
    case kUnitDbu: return std::pow(10.0f, VoltsToDbu(1.0f) / 20.0f);
    case 9: return std::pow(10.0f, 20.0f * std::log10(1e9f / 2.9f) / 20.0f);
    case kUnitHydrophonePascals:
    case 11: return std::pow(10.0f, PascalsToDb(1, 1.0f) / 20.0f);
    default: return 1.0f;
    }
}

void RecomputeCalibration(TChannelCalibration& record, std::optional<float> daqRange)
{
    const float factor = PeakFactor(record.RefType);
    switch (record.CalCreateMode) {
    case kModeCalibrator: {
        if (daqRange && *daqRange > 0.0f && record.DAQVoltageRange > 0.0f && record.DAQVoltageRange != *daqRange) {
            record.PctFullScale = record.PctFullScale * record.DAQVoltageRange / *daqRange;
            record.DAQVoltageRange = *daqRange;
        }
        const float level = ReferenceLevelInUnits(record);
        record.CalRatio = 1.0f;
        if (record.PctFullScale > 0.0f && level > 0.0f)
            record.CalRatio = factor * level / record.PctFullScale;
        return;
    }
    case kModeVolts: {
        record.PctFullScale = 1.0f;
        float v = record.DAQVoltageRange;
        if (record.RefUnits == kUnitVolts)
            v *= 1000.0f;
        record.CalRatio = v;
        record.RefType = 1;
        record.RefLevel = v * kRmsOfPeak;
        return;
    }
    case kModeSensitivity: {
        record.RefType = 1;
        const float s = record.TransducerSensitivityVolts;
        if (record.RefUnits == kUnitHydrophonePascals)
            record.CalRatio = record.DAQVoltageRange / std::pow(10.0f, (s + 120.0f) / 20.0f);
        else
            record.CalRatio = record.DAQVoltageRange / (s > 0.0f ? s : 1.0f);
        return;
    }
    default: return;
    }
}

float LevelToFullScaleFraction(const TChannelCalibration& record, float level, std::uint16_t ampScale,
                               float* offsetDb)
{
    float offset = 0.0f;
    float fraction = 0.0f;
    const bool dB = ampScale == 1;
    if (record.IsEnabled == 0) {
        if (dB) {
            offset = -level;
            fraction = std::pow(10.0f, level / 20.0f);
        } else {
            offset = -20.0f * std::log10(level / 100.0f);
            fraction = level / 100.0f;
        }
    } else {
        if (dB) {
            offset = -level;
            fraction = std::pow(10.0f, level / 20.0f);
        } else {
            offset = -20.0f * std::log10(level);
            fraction = level;
        }
        if (record.CalRatio != 0.0f)
            fraction = fraction / (kRmsOfPeak * UnitFactor(record.RefUnits) * record.CalRatio);
    }
    if (offsetDb != nullptr)
        *offsetDb = offset;
    return fraction;
}

} // namespace calibration
