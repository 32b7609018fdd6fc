#include "settings/CalibrationMethods.h"

#include "settings/Calibration.h"
#include "settings/FloatFieldBounds.h"
#include "settings/TextField.h"

namespace calibration {

namespace {

constexpr MethodEntry kEntries[] = {
    {"Using Microphone Calibrator", "Pistonphone Output Level (SPL)", kModeCalibrator, kUnitPascals, "Microphone",
     "Pascals rms", "SPL (dB re 20uPA) rms", true},
    {"Directly to Microphone Sensitivity", "Microphone Sensitivity (mV/Pa)", kModeSensitivity, kUnitPascals,
     "Microphone", "Pascals rms", "SPL (dB re 20uPA) rms", false},
    {"Directly to Hydrophone Sensitivity", "Hydrophone Sensitivity (dB re 1 V/µPa)", kModeSensitivity,
     kUnitHydrophonePascals, "Hydrophone", "Pascals rms", "SPL (dB re 1uPA) rms", false},
    {"Directly to Accelerometer Sensitivity", "Accelerometer Sensitivity (mV/g)", kModeSensitivity, kUnitG,
     "Accelerometer", "Acceleration G rms", "Acceleration (dB re 1G) rms", false},
};

// Left and right channel wordings of each method's check.
constexpr const char* kMessages[4][2] = {
    {"Microphone calibrator level must be greater than zero.",
     "Right channel microphone calibrator level must be greater than zero."},
    {"Microphone Sensitivity must be greater than zero.",
     "Right channel microphone sensitivity must be greater than zero."},
    {"Hydrophone Sensitivity must be less than zero.", "Right channel hydrophone sensitivity must be less than zero."},
    {"Accelerometer Sensitivity must be greater than zero.",
     "Right channel accelerometer sensitivity must be greater than zero."},
};

// The same fields' upper (calibrator, hydrophone: lower) physical bound.
constexpr const char* kRangeMessages[4][2] = {
    {"Microphone calibrator level must be at most 200 dB SPL.",
     "Right channel microphone calibrator level must be at most 200 dB SPL."},
    {"Microphone Sensitivity must be between 0.001 and 10000 mV/Pa.",
     "Right channel microphone sensitivity must be between 0.001 and 10000 mV/Pa."},
    {"Hydrophone Sensitivity must be at least -240 dB re 1 V/µPa.",
     "Right channel hydrophone sensitivity must be at least -240 dB re 1 V/µPa."},
    {"Accelerometer Sensitivity must be between 0.001 and 10000 mV/g.",
     "Right channel accelerometer sensitivity must be between 0.001 and 10000 mV/g."},
};

} // namespace

const MethodEntry& EntryOf(Method method)
{
    const int i = static_cast<int>(method);
    return kEntries[i >= 0 && i < 4 ? i : 0];
}

Method MethodOf(const TChannelCalibration& record)
{
    if (record.CalCreateMode == kModeCalibrator)
        return Method::kCalibrator;
    if (record.CalCreateMode != kModeSensitivity)
        return Method::kNone;
    switch (record.RefUnits) {
    case kUnitPascals: return Method::kMicrophone;
    case kUnitHydrophonePascals: return Method::kHydrophone;
    case kUnitG: return Method::kAccelerometer;
    default: return Method::kNone;
    }
}

std::optional<float> StoredValueOf(const TChannelCalibration& record, Method method)
{
    const float s = record.TransducerSensitivityVolts;
    switch (method) {
    case Method::kCalibrator: return record.RefLevel;
    case Method::kHydrophone:
        if (field_ranges::kHydrophoneDb.Contains(s))
            return s;
        return std::nullopt;
    case Method::kMicrophone:
    case Method::kAccelerometer:
        if (field_ranges::kSensitivityVolts.Contains(s))
            return s * 1000.0f;
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::string ValueFieldText(float value)
{
    return FloatFieldText(value, 1);
}

void SelectMethod(TChannelCalibration& record, Method method)
{
    if (method == Method::kNone)
        return;
    const MethodEntry& item = EntryOf(method);
    record.RefUnits = item.refUnits;
    record.RefType = 1;
    record.CalCreateMode = item.createMode;
}

std::string ApplyChannel(TChannelCalibration& record, Method method, float value, const std::string& title,
                         int channel)
{
    const int side = channel == 0 ? 0 : 1;
    record.IsEnabled = 1;
    record.RefType = 1;
    record.LabelType = 1;
    record.ConversionType = 0;
    record.IntegrationType = 0;
    SetTextField(record.ChannelName, title);
    if (method == Method::kNone)
        return {};
    const MethodEntry& item = EntryOf(method);
    record.CalCreateMode = item.createMode;
    record.RefUnits = item.refUnits;
    if (record.ChannelName[0] == '\0')
        TChannelCalibration::SetText(record.ChannelName, item.defaultName);
    TChannelCalibration::SetText(record.LabelLinear, item.labelLinear);
    TChannelCalibration::SetText(record.LabelLog, item.labelLog);

    const char* failure = kMessages[static_cast<int>(method)][side];
    const char* outOfRange = kRangeMessages[static_cast<int>(method)][side];
    switch (method) {
    case Method::kCalibrator:
        if (!(value > 0.0f))
            return failure;
        if (!field_ranges::kCalibratorLevelDb.Contains(value))
            return outOfRange;
        record.RefLevel = value;
        break;
    case Method::kHydrophone:
        if (!(value < 0.0f))
            return failure;
        if (!field_ranges::kHydrophoneDb.Contains(value))
            return outOfRange;
        record.TransducerSensitivityVolts = value;
        break;
    default:
        if (!(value / 1000.0f > 0.0f))
            return failure;
        if (!field_ranges::kSensitivityVolts.Contains(value / 1000.0f))
            return outOfRange;
        record.TransducerSensitivityVolts = value / 1000.0f;
        break;
    }
    return {};
}

void ResetCalibrationDefaults(TChannelCalibration (&records)[2])
{
    for (int c = 0; c < 2; ++c) {
        TChannelCalibration& r = records[c];
        const bool right = c == 1;
        r.IsEnabled = 1;
        r.RefLevel = 94.0f;
        r.RefType = 1;
        r.RefUnits = right ? kUnitG : kUnitPascals;
        TChannelCalibration::SetText(r.LabelLinear, right ? "Acceleration G rms" : "Pascals rms");
        TChannelCalibration::SetText(r.LabelLog, right ? "Acceleration (dB re 1G) rms" : "SPL (dB re 20uPA) rms");
        r.LabelType = 1;
        r.ConversionType = 0;
        r.IntegrationType = 0;
        r.PctFullScale = 0.05f;
        TChannelCalibration::SetText(r.ChannelName, right ? "Accelerometer" : "Microphone");
        r.CalRatio = 1.0f;
        r.TransducerSensitivityVolts = right ? 0.1f : 0.012f;
        r.CalCreateMode = right ? kModeSensitivity : kModeCalibrator;
    }
}

} // namespace calibration
