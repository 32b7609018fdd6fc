#pragma once
// What the processing-settings sheet's pages need from the program: the DAQ
// module (found among the input devices, its serial number, a fresh USB
// session), a recorder for calibration recordings, the data folder for the
// calibration history, and the help.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "audio/DaqOpts.h"
#include "audio/format/TWaveFormat.h"

class TWaveData;

// Records one stretch of input into memory for a calibration.
class CalibrationRecorder {
public:
    virtual ~CalibrationRecorder() = default;
    // Opens the input in the format, writes the module's options when it is
    // the DAQ module, and starts recording `frames` frames. False when any
    // step fails; the recorder is then idle.
    virtual bool Start(const TWaveFormat& format, const DaqOpts& options, std::uint64_t frames) = 0;
    virtual double RecordedSeconds() const = 0;
    // Stops and closes the input; the recording stays.
    virtual void Stop() = 0;
    virtual const TWaveData* Recording() const = 0;
};

class ProcessingSheetServices {
public:
    virtual ~ProcessingSheetServices() = default;
    // The input device that is the DAQ module, when there is one.
    virtual std::optional<int> FindDaqInputDevice() = 0;
    virtual bool IsDaqDevice(int device) = 0;
    virtual std::uint32_t ReadDaqSerialNumber() = 0;
    virtual void ReopenDaq() = 0;
    virtual std::unique_ptr<CalibrationRecorder> CreateCalibrationRecorder(int device) = 0;
    // Ends with '/'.
    virtual std::string DataRoot() const = 0;
    virtual void ShowHelp(int contextId) = 0;
};
