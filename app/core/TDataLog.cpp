#include "app/core/TDataLog.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/core/DataLogMeasurements.h"
#include "app/core/DataLogRecord.h"
#include "app/core/DataLogText.h"
#include "app/core/RunClock.h"
#include "app/core/RunObserver.h"
#include "app/core/TProcessingObjects.h"
#include "engine/SpectralData.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "settings/TextField.h"

namespace {

namespace measurements = data_log_measurements;

constexpr const char* kFolderQuestion =
    "The data logging folder does not exist:\n\n     %s\n\nDo you want to create this folder for you?";

std::string FolderQuestion(const std::string& folder)
{
    std::string text = kFolderQuestion;
    text.replace(text.find("%s"), 2, folder);
    return text;
}

} // namespace

TDataLog::TDataLog(FrameSettings& settings, TProcessingObjects& processing, RunClock& clock, RunObserver& observer)
    : m_Settings(settings), m_Processing(processing), m_Clock(clock), m_Observer(observer),
      m_Report([](const std::string& text) { platform::ShowMessageBox(text, platform::MessageIcon::Error); })
{
}

// The writer, the last member, goes first: whatever is queued is written.
TDataLog::~TDataLog() = default;

void TDataLog::ApplyEnableFlags()
{
    DataLogSettings& log = m_Settings.DataLog;
    const bool stereo = m_Settings.Processing.Format.NumChannels == 2;
    log.Active = (log.Channel[0].Enable != 0 || (stereo && log.Channel[1].Enable != 0)) ? 1 : 0;
}

void TDataLog::StartDataLogging()
{
    ApplyEnableFlags();
    DataLogSettings& log = m_Settings.DataLog;
    if (!log.Active)
        return;
    log.FilenameFormat = 1;
    log.OverwriteFlag = 0;
    log.IncludeHeaderFlag = 1;
    log.IncludeTimeStampFlag = 1;
    for (LoggingOpts& opts : log.Channel) {
        opts.IntervalFlag = 1;
        opts.bResetAverage = 1;
        opts.bResetPeakHold = 1;
    }
    for (int c = 0; c < 2; ++c) {
        if (SpectralData* data = m_Processing.GetLoggingData(c)) {
            data->SetAveraging(kForeverSpeed, kForeverCount);
            data->SetPeakHoldMode(kHoldUntilReset);
        }
    }
    // The folder question belongs to this start only.
    m_Folder = FolderDecision::kUnasked;
    OpenLogFiles();
    m_Observer.UpdateRunState();
}

void TDataLog::StopDataLogging()
{
    m_Settings.DataLog.Active = 0;
    CloseLogFiles();
    Flush();
    m_Observer.UpdateRunState();
}

void TDataLog::Flush()
{
    m_Writer.Drain();
    ReportWriteFailures();
}

std::string TDataLog::LogFolder() const
{
    return std::string(m_Settings.m_DataPathsInUse.Get(DataPaths::kLog));
}

// Asks once per start; later opens of the same run (after midnight) follow
// that answer without asking again.
bool TDataLog::PrepareFolder(const std::string& folder, std::string& failure)
{
    std::error_code error;
    if (std::filesystem::exists(folder, error))
        return true;
    if (m_Folder == FolderDecision::kUnasked) {
        const bool yes = platform::ShowMessageBox(FolderQuestion(folder), platform::MessageIcon::Question,
                                                  platform::MessageButtons::YesNo) == platform::MessageResult::Yes;
        m_Folder = yes ? FolderDecision::kUse : FolderDecision::kSkip;
    }
    if (m_Folder == FolderDecision::kSkip)
        return false;
    if (folder.empty() || !std::filesystem::create_directories(folder, error) || error) {
        failure = "Data logging - the folder " + folder + " could not be created: " +
                  (error ? error.message() : std::string("no folder is set"));
        return false;
    }
    return true;
}

void TDataLog::OpenLogFiles()
{
    DataLogSettings& log = m_Settings.DataLog;
    if (!log.Active)
        return;
    ReportWriteFailures();
    if (m_Open[0] || m_Open[1])
        CloseLogFiles();
    // Stamped whether or not a file opens: the run control compares this
    // day with today's, and an old stamp would reopen on every block.
    const std::time_t now = std::chrono::system_clock::to_time_t(m_Clock.Now());
    log.LogStartTime = static_cast<std::int64_t>(now);
    for (LoggingOpts& opts : log.Channel) {
        opts.LastRecordTime = 0.0;
        opts.NextDueTime = -1.0;
    }

    const std::string folder = LogFolder();
    std::string failure;
    const bool ready = PrepareFolder(folder, failure);
    if (m_Folder == FolderDecision::kUnasked)
        m_Folder = ready ? FolderDecision::kUse : FolderDecision::kSkip;
    if (ready) {
        const auto stems = data_log_text::FileStems(TextFieldView(log.Channel[0].LogFileName),
                                                    TextFieldView(log.Channel[1].LogFileName));
        const std::string stamp = data_log_text::FormatFileStamp(now);
        // The two channels by name: a bound one too far would only read
        // past the settings' channels, which no run could notice.
        for (int c : {0, 1}) {
            LoggingOpts& opts = log.Channel[c];
            if (!opts.Enable || GetLogSpectrum(c) == nullptr)
                continue;
            opts.HeaderPending = log.IncludeHeaderFlag;
            m_ColumnsKnown[c] = false;
            std::string path;
            std::string reason;
            std::unique_ptr<LogFile> file =
                OpenFreeName(folder, c == 0 ? stems.first : stems.second, stamp, path, reason);
            if (!file) {
                failure += (failure.empty() ? "" : "\n") + ("Data logging - the file " + path +
                                                            " could not be opened: " + reason);
                continue;
            }
            m_Open[c] = true;
            m_Path[c] = path;
            m_FileSerial[c] = m_NextSerial++;
            m_Dropped[c] = 0;
            m_Writer.SubmitOpen(c, std::move(file), m_FileSerial[c]);
        }
    }
    if (!failure.empty())
        m_Report(failure + "\n\nThe analyzer keeps running without writing this log.");
}

std::unique_ptr<LogFile> TDataLog::OpenFreeName(const std::string& folder, const std::string& stem,
                                                const std::string& stamp, std::string& path, std::string& reason)
{
    constexpr int kMostNames = 100;
    for (int n = 1; n <= kMostNames; ++n) {
        path = data_log_text::FilePath(folder, stem, n == 1 ? stamp : stamp + "_" + std::to_string(n));
        bool inUse = false;
        std::unique_ptr<LogFile> file = LogFile::OpenForAppend(path, reason, m_Write, &inUse);
        if (!inUse)
            return file;
    }
    path = data_log_text::FilePath(folder, stem, stamp);
    reason = "it and the next " + std::to_string(kMostNames - 1) + " names are in use";
    return nullptr;
}

// The stop line follows every record already queued; the file closes once
// the writer has written it.
void TDataLog::CloseLogFiles()
{
    DataLogSettings& log = m_Settings.DataLog;
    ReportWriteFailures();
    for (int c = 0; c < 2; ++c) {
        if (!m_Open[c])
            continue;
        std::string stop;
        if (log.IncludeTimeStampFlag)
            stop = "Logging Stop Time: " +
                   data_log_text::FormatDate(std::chrono::system_clock::to_time_t(m_Clock.Now()));
        m_Writer.SubmitClose(c, std::move(stop));
        m_Open[c] = false;
        ReportDropped(c);
        log.Channel[c].LastRecordTime = 0.0;
        log.Channel[c].NextDueTime = -1.0;
    }
}

SpectralData* TDataLog::GetLogSpectrum(int channel) const
{
    if (channel != 0 && channel != 1)
        return nullptr;
    switch (m_Processing.GetBuiltMode()) {
    case 0: return channel == 0 ? m_Processing.GetLoggingData(0) : nullptr;
    case 1: return channel == 0 && m_Processing.IsTwoChannel() ? m_Processing.GetLoggingData(1) : nullptr;
    case 2: return channel == 0 || m_Processing.IsTwoChannel() ? m_Processing.GetLoggingData(channel) : nullptr;
    default: return nullptr;
    }
}

namespace {

measurements::Source SourceFor(const FrameSettings& s, SpectralData* data, int channel)
{
    const LoggingOpts& opts = s.DataLog.Channel[channel];
    const int markers = s.Processing.IndependentScalingAndCalibration ? channel : 0;
    return measurements::Source{data, opts.StartFreq, opts.StopFreq, s.Markers[markers].MarkerFreq};
}

} // namespace

bool TDataLog::GetLogColumnName(int channel, int id, std::string& out) const
{
    SpectralData* data = GetLogSpectrum(channel);
    return data != nullptr && measurements::AppendColumnName(SourceFor(m_Settings, data, channel), id, out);
}

bool TDataLog::GetLogValueText(int channel, int id, float& value, std::string* text) const
{
    SpectralData* data = GetLogSpectrum(channel);
    return data != nullptr && measurements::GetValue(SourceFor(m_Settings, data, channel), id, value, text);
}

bool TDataLog::IsThresholdExceeded(int channel, int id, float level) const
{
    float value = measurements::kNoThresholdValue;
    if (!GetLogValueText(channel, id, value, nullptr))
        return false;
    return value > level;
}

std::string TDataLog::OpenFilePath(int channel) const
{
    return (channel == 0 || channel == 1) && m_Open[channel] ? m_Path[channel] : std::string();
}

bool TDataLog::IsWriting() const
{
    return m_Settings.DataLog.Active != 0 && (m_Open[0] || m_Open[1]);
}

std::optional<double> TDataLog::WriteLogRecord(int channel, double timeOfDay)
{
    ReportWriteFailures();
    DataLogSettings& log = m_Settings.DataLog;
    if (!log.Active || (channel != 0 && channel != 1) || !log.Channel[channel].Enable)
        return std::nullopt;
    LoggingOpts& opts = log.Channel[channel];
    double due = timeOfDay;
    if (opts.IntervalFlag) {
        if (opts.NextDueTime < 0.0)
            opts.NextDueTime = timeOfDay + opts.IntervalSecs;
        if (opts.NextDueTime <= timeOfDay) {
            // The latest due time the step passed, where a stall passed several.
            due = opts.NextDueTime;
            if (opts.IntervalSecs > 0.0f)
                due += std::floor((timeOfDay - due) / opts.IntervalSecs) * opts.IntervalSecs;
            // From the previous due time, so records keep a steady pace.
            opts.NextDueTime += opts.IntervalSecs;
            // After a stall the due times it passed had no sound: the pace
            // starts again from this record rather than write a burst now.
            if (opts.NextDueTime <= timeOfDay)
                opts.NextDueTime = timeOfDay + opts.IntervalSecs;
            opts.LastRecordTime = timeOfDay;
        } else {
            if (timeOfDay < 1.0) {
                // Past midnight the time of day starts again from zero.
                opts.LastRecordTime = 0.0;
                opts.NextDueTime = 1.0;
            }
            return std::nullopt;
        }
    }
    const bool exceeded =
        !opts.bApplyThreshold || IsThresholdExceeded(channel, static_cast<int>(opts.ThresholdType), opts.ThresholdLevel);
    if (exceeded && m_Open[channel]) {
        // Stamped to the second.
        const auto stamp = static_cast<float>(timeOfDay);
        if (opts.HeaderPending && QueueHeader(channel))
            opts.HeaderPending = 0;
        if (!opts.HeaderPending)
            QueueRecord(channel, stamp);
        else
            LeaveOut(channel, stamp);
    }
    ResetInterval(channel);
    return due;
}

std::optional<DataLogControl::RecordSchedule> TDataLog::GetRecordSchedule(int channel) const
{
    const DataLogSettings& log = m_Settings.DataLog;
    if (!log.Active || (channel != 0 && channel != 1))
        return std::nullopt;
    const LoggingOpts& opts = log.Channel[channel];
    if (!opts.Enable || !opts.IntervalFlag || opts.NextDueTime < 0.0)
        return std::nullopt;
    return RecordSchedule{opts.NextDueTime, opts.IntervalSecs};
}

void TDataLog::ComputeColumns(int channel)
{
    const LoggingOpts& opts = m_Settings.DataLog.Channel[channel];
    std::vector<int>& columns = m_Columns[channel];
    columns.clear();
    if (SpectralData* data = GetLogSpectrum(channel)) {
        const measurements::Source source = SourceFor(m_Settings, data, channel);
        for (int id = 0; id < measurements::kCount; ++id) {
            if (opts.DataItem[id] && measurements::HasColumn(source, id))
                columns.push_back(id);
        }
    }
    m_ColumnsKnown[channel] = true;
}

// The start and span lines and the names line; false (nothing queued) when
// the writer has no buffer free for the names.
bool TDataLog::QueueHeader(int channel)
{
    SpectralData* data = GetLogSpectrum(channel);
    data_log_record::Snapshot* names = data != nullptr ? m_Writer.AcquireRecord(RecordWait(channel)) : nullptr;
    if (names == nullptr)
        return false;
    const LoggingOpts& opts = m_Settings.DataLog.Channel[channel];
    ComputeColumns(channel);
    const std::time_t now = std::chrono::system_clock::to_time_t(m_Clock.Now());
    m_Writer.SubmitLine(channel, "Logging Start Time: " + data_log_text::FormatDate(now));
    m_Writer.SubmitLine(channel, data_log_text::FormatSpanLine(opts.StartFreq, opts.StopFreq));
    names->names = true;
    if (data_log_record::Capture(SourceFor(m_Settings, data, channel), m_Columns[channel], *names))
        m_Writer.SubmitRecord(channel, names);
    else
        m_Writer.ReleaseRecord(names);
    return true;
}

// One field per header column: a measurement without a value leaves its
// field empty, so every later value stays under its own name. A record that
// finds no buffer is left out and reported.
void TDataLog::QueueRecord(int channel, float timeOfDay)
{
    SpectralData* data = GetLogSpectrum(channel);
    if (data == nullptr)
        return;
    if (!m_ColumnsKnown[channel])
        ComputeColumns(channel);
    data_log_record::Snapshot* record = m_Writer.AcquireRecord(RecordWait(channel));
    if (record == nullptr) {
        LeaveOut(channel, timeOfDay);
        return;
    }
    // Writing has caught up: the records left out before are named now.
    ReportDropped(channel);
    record->names = false;
    record->timeOfDay = timeOfDay;
    if (data_log_record::Capture(SourceFor(m_Settings, data, channel), m_Columns[channel], *record)) {
        m_Writer.SubmitRecord(channel, record);
    } else {
        m_Writer.ReleaseRecord(record);
    }
}

// A file that failed a write is reported once and written no more.
void TDataLog::ReportWriteFailures()
{
    for (const DataLogWriter::Failure& failure : m_Writer.TakeFailures()) {
        const int c = failure.channel;
        if (m_Open[c] && m_FileSerial[c] == failure.serial)
            m_Open[c] = false;
        m_Report("Data logging - failure writing the file " + failure.path + ": " + failure.reason +
                 "\n\nLogging to this file has stopped; the analyzer keeps running.");
    }
}

// Said at once, so the operator knows the file has a gap while the run
// goes on; the rest of the run is named by ReportDropped.
void TDataLog::LeaveOut(int channel, float timeOfDay)
{
    m_LastDropped[channel] = timeOfDay;
    if (m_Dropped[channel]++ != 0)
        return;
    m_FirstDropped[channel] = timeOfDay;
    m_Report("Data logging - writing the file " + m_Path[channel] + " has fallen behind: the record of " +
             data_log_text::FormatTimeOfDay(timeOfDay) +
             " was left out. Records that follow are left out too until writing catches up, and are "
             "named then.");
}

// The run of left-out records beyond the first, which was reported alone.
void TDataLog::ReportDropped(int channel)
{
    const std::uint64_t dropped = std::exchange(m_Dropped[channel], 0);
    if (dropped < 2)
        return;
    m_Report("Data logging - " + std::to_string(dropped) + " records, from " +
             data_log_text::FormatTimeOfDay(m_FirstDropped[channel]) + " to " +
             data_log_text::FormatTimeOfDay(m_LastDropped[channel]) + ", were left out of the file " +
             m_Path[channel] + ": writing fell behind the logging interval.");
}

void TDataLog::ResetInterval(int channel)
{
    const LoggingOpts& opts = m_Settings.DataLog.Channel[channel];
    SpectralData* data = GetLogSpectrum(channel);
    if (!opts.IntervalFlag || data == nullptr)
        return;
    if (opts.bResetAverage)
        data->ClearSpectrum();
    if (opts.bResetPeakHold)
        data->ClearHold();
}
