#pragma once
// The four ways the calibration page calibrates a channel (a calibrator, or
// the sensitivity of a microphone, hydrophone or accelerometer): what each
// writes into the channel's record, how its value field reads, and the
// checks on that value.

#include <optional>
#include <string>

#include "format/TChannelCalibration.h"

namespace calibration {

enum class Method { kCalibrator = 0, kMicrophone = 1, kHydrophone = 2, kAccelerometer = 3, kNone = -1 };

struct MethodEntry {
    const char* radioText;
    const char* valueCaption;
    std::uint16_t createMode;
    std::uint32_t refUnits;
    const char* defaultName;
    const char* labelLinear;
    const char* labelLog;
    bool canPerform;  // only a calibrator is measured
};

const MethodEntry& EntryOf(Method method);
// The method a record is set to; kNone when its mode and unit match none.
Method MethodOf(const TChannelCalibration& record);
// The value the record holds for a method, in the field's unit; nothing when
// what it holds cannot be that method's (a microphone's volts per pascal are
// no hydrophone's dB).
std::optional<float> StoredValueOf(const TChannelCalibration& record, Method method);
// The value field's text: "%6.1f" (trimmed) when that reads back as the
// value, else as many digits as it takes, so an OK never rounds it.
std::string ValueFieldText(float value);
// Mode, unit and peak type of the method, at once (a radio click).
void SelectMethod(TChannelCalibration& record, Method method);

// The page's apply for one channel (0 left, 1 right): writes the method's
// fields, the title and the value into the record. Returns the message of
// the failing check, or empty; fields before the check stay written. A
// value outside the method's physical range (an infinity, a typo of 940 dB)
// fails with a message naming the field.
std::string ApplyChannel(TChannelCalibration& record, Method method, float value, const std::string& title,
                         int channel);

// The page's Defaults for both channels.
void ResetCalibrationDefaults(TChannelCalibration (&records)[2]);

} // namespace calibration
