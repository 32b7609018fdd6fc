#pragma once
// Measuring a calibration recording, judging the result, and the history
// line a successful calibration leaves in the data folder.

#include <chrono>
#include <string>

#include "format/TChannelCalibration.h"

class TWaveData;

namespace calibration {

// How the strongest line between 800 and 1200 Hz of a measured channel
// stands out: its level and the floor around it (the median line of that
// band, widened to at least 16 lines, without the line's main lobe), both
// in percent of full scale. A calibrator's tone stands far above the floor;
// a room or a dead input has no line that does.
struct CalibrationTone {
    float level = 0.0f;
    float floor = 0.0f;

    // How far the line stands above the floor, in dB (1000 over a silent floor).
    float AboveFloorDb() const;
    // Whether it stands at least kToneAboveFloorDb above it.
    bool Found() const;
};
inline constexpr float kToneAboveFloorDb = 15.0f;

// Sets PctFullScale of each given record from the recording: the highest
// spectral peak between 800 and 1200 Hz, as a fraction of full scale (peak),
// of a linear average of 8192-point Flattop blocks at 50 % overlap over the
// recording without its first four seconds and its last second; 1.0 when a
// block reached full scale. A one-channel recording gives the right record
// the left one's level. tones, when given, receives each channel's line and
// floor (two entries). False when the recording is too short to measure.
bool MeasureCalibrationFile(const TWaveData& wave, TChannelCalibration* left, TChannelCalibration* right,
                            CalibrationTone* tones = nullptr);

struct CalibrationVerdict {
    float millivolts = 0.0f;  // rms of a sine whose peak is the measured fraction
    bool accepted = false;
    bool isError = false;
    std::string message;
};

// The checks after a measurement at `rangeVolts` full scale; with a tone,
// also that it stands clearly above the floor.
CalibrationVerdict JudgeCalibration(float pctFullScale, float rangeVolts,
                                    const CalibrationTone* tone = nullptr);

inline constexpr const char* kHistoryFileName = "MicCalibrationHistory.txt";

// One line of the history, ending with '\n'.
std::string HistoryLine(std::chrono::system_clock::time_point when, float rangeVolts, float refLevel,
                        float millivolts);
// Appends the line to dataRoot's history file; false when it cannot be
// written, with `failure` (when given) saying so, naming the file and why.
bool AppendHistory(const std::string& dataRoot, const std::string& line, std::string* failure = nullptr);

} // namespace calibration
