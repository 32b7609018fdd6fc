#pragma once
// File I/O options of the recorder and the wave-file code, kept in the .ini
// file. This build runs with fixed values whatever the file says; the
// fields stay so that the file keeps its keys and the File I/O dialog has
// something to edit for the rest of the session.

#include <cstdint>

struct FileIOOpts {
    // 0 keep a recording in memory, 1 on disk
    std::uint32_t WaveFileMode = 0;
    std::uint32_t MaxRamRecordingTimeSecs = 3600;
    std::uint8_t MakeBackup = 1;
    std::uint8_t IncludeCalibrationData = 1;
    std::uint32_t RecordIOBufferSizeSecs = 1;
    std::uint32_t RealTimeIOBufferSizeSecs = 1;
    std::uint8_t RealTimeWaveBufferEnableFlag = 1;
    std::uint32_t RealTimeWaveBufferLengthSecs = 60;
    std::uint32_t MaxDiskRecordingSizeBytes = 2000000000;
    std::uint8_t AutoReopenOnLaunch = 1;

    static constexpr std::uint32_t kMinDiskRecordingSizeBytes = 1000000;
    static constexpr std::uint32_t kMaxDiskRecordingSizeBytes = 2000000000;

    // Memory recordings without a working copy, no reopening at launch; the
    // rest as constructed.
    void ApplyFixedValues();

    bool operator==(const FileIOOpts&) const = default;
};
