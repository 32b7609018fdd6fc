#include "settings/CalibrationMethods.h"

#include "settings/Calibration.h"

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

float ValueFieldOf(const TChannelCalibration& record, Method method)
{
    switch (method) {
    case Method::kCalibrator: return record.RefLevel;
    case Method::kHydrophone: return record.TransducerSensitivityVolts;
    case Method::kMicrophone:
    case Method::kAccelerometer: return record.TransducerSensitivityVolts * 1000.0f;
    default: return 0.0f;
    }
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
    TChannelCalibration::SetText(record.ChannelName, title.c_str());
    if (method == Method::kNone)
        return {};
    const MethodEntry& item = EntryOf(method);
    if (method == Method::kCalibrator)
        record.RefLevel = value;
    record.CalCreateMode = item.createMode;
    record.RefUnits = item.refUnits;
    if (record.ChannelName[0] == '\0')
        TChannelCalibration::SetText(record.ChannelName, item.defaultName);
    TChannelCalibration::SetText(record.LabelLinear, item.labelLinear);
    TChannelCalibration::SetText(record.LabelLog, item.labelLog);

    const char* failure = kMessages[static_cast<int>(method)][side];
    switch (method) {
    case Method::kCalibrator:
        if (!(record.RefLevel > 0.0f))
            return failure;
        break;
    case Method::kHydrophone:
        if (!(value < 0.0f))
            return failure;
        record.TransducerSensitivityVolts = value;
        break;
    default:
        if (!(value / 1000.0f > 0.0f))
            return failure;
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
