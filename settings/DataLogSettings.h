#pragma once
// What the data log writes: the master switch and file options, and per log
// channel the measurements, interval, threshold and frequency span.
// Belongs with the data-log code of the application layer; lives here until
// that layer exists, since the settings files must read and write it first.
// The open log files are not part of the record: whoever writes the log
// owns them.

#include <cstddef>
#include <cstdint>

struct LoggingOpts {
    static constexpr std::size_t kDataItemCount = 55;
    static constexpr std::size_t kFileNameSize = 260;

    std::uint8_t Enable = 0;
    // One flag per measurement id 0 … 54.
    std::uint8_t DataItem[kDataItemCount] = {};
    std::uint8_t IntervalFlag = 1;
    // Seconds.
    float IntervalSecs = 1.0f;
    // Hz
    float StartFreq = 0.0f;
    float StopFreq = 0.0f;
    std::uint8_t bResetAverage = 1;
    std::uint8_t bResetPeakHold = 1;
    std::uint8_t bApplyThreshold = 1;
    // The measurement id tested against ThresholdLevel.
    std::uint32_t ThresholdType = 0;
    float ThresholdLevel = 0.0f;
    // Run state: time of day in seconds of the last record and of the next
    // one due (−1 = not yet set).
    double LastRecordTime = 0.0;
    double NextDueTime = 0.0;
    // File-name stem.
    char LogFileName[kFileNameSize] = {};
    std::uint8_t HeaderPending = 0;

    // The main frame's starting values for log channel 0 or 1.
    static LoggingOpts FrameDefaults(int channel);

    bool operator==(const LoggingOpts&) const = default;
};

struct DataLogSettings {
    static constexpr std::size_t kViewerProgramSize = 260;

    // Logging runs in the current run; never persisted, off after a load.
    std::uint8_t Active = 0;
    std::uint32_t FilenameFormat = 0;
    std::uint8_t OverwriteFlag = 0;
    std::uint8_t IncludeHeaderFlag = 0;
    std::uint8_t IncludeTimeStampFlag = 0;
    // Kept for the settings file only.
    char LogViewerProgram[kViewerProgramSize] = {};
    // When the current files were opened, seconds since 1970.
    std::int64_t LogStartTime = 0;
    LoggingOpts Channel[2] = {LoggingOpts::FrameDefaults(0), LoggingOpts::FrameDefaults(1)};

    bool operator==(const DataLogSettings&) const = default;
};
