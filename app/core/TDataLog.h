#pragma once
// The data log: per logged channel a CSV file in the "Log" data folder,
// opened at each start of the analyzer and after local midnight, a header
// before the first record, one record per logging interval (optionally only
// while a threshold measurement exceeds its level), the logging spectrum's
// average and peak hold restarted after each interval, and a stop line when
// the files close. The run control drives it through DataLogControl; the
// settings live in the frame's DataLogSettings.
//
// Failures (a folder that cannot be made, a file that cannot be opened or
// written) are reported once, naming the file and the reason; the analyzer
// keeps running and the interval bookkeeping goes on.
//
// Files open on the calling thread; each record is captured there (a copy
// of what it needs) and written by the DataLogWriter's thread. A write
// failure comes back with the next call, and stopping waits for every queued
// line. A writer that falls behind holds the records in buffers sized by
// their memory and, when those are full, makes the caller wait a moment;
// a record that still finds no room is left out and reported at once with
// its time, and when writing catches up (or the file closes) the run of
// records that were left out is named.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/DataLogControl.h"
#include "app/core/DataLogWriter.h"
#include "app/core/LogFile.h"

struct FrameSettings;
class RunClock;
class RunObserver;
class SpectralData;
class TProcessingObjects;

class TDataLog final : public DataLogControl {
public:
    static constexpr std::uint16_t kForeverSpeed = 4;
    static constexpr std::uint32_t kForeverCount = 10000;
    static constexpr std::uint16_t kHoldUntilReset = 4;
    // How long a record waits for the writer to free a buffer before it is
    // left out; the acquisition step must not be held longer.
    static constexpr std::chrono::milliseconds kRecordWait{250};

    using Report = std::function<void(const std::string& text)>;

    TDataLog(FrameSettings& settings, TProcessingObjects& processing, RunClock& clock, RunObserver& observer);
    ~TDataLog() override;

    void StartDataLogging() override;
    void StopDataLogging() override;
    void OpenLogFiles() override;
    void CloseLogFiles() override;
    std::optional<double> WriteLogRecord(int channel, double timeOfDay) override;
    std::optional<RecordSchedule> GetRecordSchedule(int channel) const override;

    // The master switch as a start would set it, without opening files.
    void ApplyEnableFlags();
    // The logging spectrum that serves a log channel in the built channel
    // mode; null when the channel logs nothing.
    SpectralData* GetLogSpectrum(int channel) const;
    bool GetLogColumnName(int channel, int id, std::string& out) const;
    bool GetLogValueText(int channel, int id, float& value, std::string* text) const;
    bool IsThresholdExceeded(int channel, int id, float level) const;

    // The "Log" folder of the data paths in use.
    std::string LogFolder() const;
    // The channel's open file, or empty.
    std::string OpenFilePath(int channel) const;
    // Logging is on and at least one file takes records.
    bool IsWriting() const;

    // Returns once every line handed to the writer is in its file, then
    // reports what failed.
    void Flush();

    // Where failure texts go; a message box by default.
    void SetReport(Report report) { m_Report = std::move(report); }
    // The write call every file opened from now on uses.
    void SetWriteCall(LogFile::WriteCall write) { m_Write = std::move(write); }

private:
    enum class FolderDecision { kUnasked, kUse, kSkip };

    bool PrepareFolder(const std::string& folder, std::string& failure);
    // The channel's file under the stem and stamp, or under the next free
    // name ("_2", "_3" … before ".csv") while another instance holds it.
    std::unique_ptr<LogFile> OpenFreeName(const std::string& folder, const std::string& stem,
                                          const std::string& stamp, std::string& path, std::string& reason);
    bool QueueHeader(int channel);
    void QueueRecord(int channel, float timeOfDay);
    void ReportWriteFailures();
    // A run of left-out records does not wait again until the writer has
    // room: a stalled disk would hold every acquisition step.
    std::chrono::milliseconds RecordWait(int channel) const
    {
        return m_Dropped[channel] == 0 ? kRecordWait : std::chrono::milliseconds{0};
    }
    // A record (or the header before it) that found no room in the writer.
    void LeaveOut(int channel, float timeOfDay);
    void ReportDropped(int channel);
    void ResetInterval(int channel);
    void ComputeColumns(int channel);

    FrameSettings& m_Settings;
    TProcessingObjects& m_Processing;
    RunClock& m_Clock;
    RunObserver& m_Observer;
    Report m_Report;
    LogFile::WriteCall m_Write;

    // The channel's file as this side knows it: open (handed to the
    // writer), its path and the serial it was handed over with.
    bool m_Open[2] = {};
    std::string m_Path[2];
    std::uint64_t m_FileSerial[2] = {};
    std::uint64_t m_NextSerial = 1;
    // Records left out while the writer was behind, per open file: how
    // many, and the times of the first and last of the current run.
    std::uint64_t m_Dropped[2] = {};
    float m_FirstDropped[2] = {};
    float m_LastDropped[2] = {};
    // The ids that have a column in the current file's header, in order.
    std::vector<int> m_Columns[2];
    bool m_ColumnsKnown[2] = {};
    FolderDecision m_Folder = FolderDecision::kUnasked;
    DataLogWriter m_Writer;
};
