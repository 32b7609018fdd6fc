#pragma once
// A calibration recording through the audio layer's input port into a
// memory wave file.

#include <memory>

#include "settings/ProcessingSheetServices.h"

class DaqDevice;
class TSoundInput;
class TWaveFile;

class SoundCalibrationRecorder final : public CalibrationRecorder {
public:
    // daq: configured when the port is the module; may be null.
    SoundCalibrationRecorder(int device, int driverMode, DaqDevice* daq);
    ~SoundCalibrationRecorder() override;

    bool Start(const TWaveFormat& format, const DaqOpts& options, std::uint64_t frames) override;
    double RecordedSeconds() const override;
    void Stop() override;
    const TWaveData* Recording() const override;

private:
    int m_Device;
    int m_DriverMode;
    DaqDevice* m_Daq;
    std::unique_ptr<TSoundInput> m_Port;
    std::unique_ptr<TWaveFile> m_Wave;
};
