#pragma once
// The data log's writer thread: it turns captured records into text and
// appends them to the log files, in the order they were handed over, so the
// acquisition thread pays only for the capture.
//
// The acquisition thread opens a file and hands it over, queues lines,
// records and closes, and reads back what failed; nothing is ever reported
// from the writer thread. At most kRecordBuffers records wait at a time: a
// record that finds none free is the caller's to drop (and count), so a
// stalled disk costs no memory beyond them. Lines, opens and closes are
// never dropped.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/core/DataLogRecord.h"
#include "app/core/LogFile.h"

class DataLogWriter {
public:
    static constexpr int kRecordBuffers = 4;

    // A write that failed: the file (by the serial it was handed over with)
    // is closed and takes nothing more.
    struct Failure {
        int channel = 0;
        std::uint64_t serial = 0;
        std::string path;
        std::string reason;
    };

    DataLogWriter();
    // Writes what is queued, then ends the thread.
    ~DataLogWriter();
    DataLogWriter(const DataLogWriter&) = delete;
    DataLogWriter& operator=(const DataLogWriter&) = delete;

    // A record buffer to capture into, or null when every one waits.
    data_log_record::Snapshot* AcquireRecord();
    // Queues a captured buffer (record or names line) for the channel's file.
    void SubmitRecord(int channel, data_log_record::Snapshot* record);
    // Gives a buffer back unwritten.
    void ReleaseRecord(data_log_record::Snapshot* record);
    // The channel's file from here on.
    void SubmitOpen(int channel, std::unique_ptr<LogFile> file, std::uint64_t serial);
    // A line of text (without its CRLF) for the channel's file.
    void SubmitLine(int channel, std::string line);
    // Writes last (when not empty) and closes the channel's file.
    void SubmitClose(int channel, std::string last);
    // Returns once everything handed over is written.
    void Drain();
    // The failures since the last call, oldest first.
    std::vector<Failure> TakeFailures();

private:
    enum class Kind : std::uint8_t { kOpen, kLine, kRecord, kClose };
    struct Job {
        Kind kind = Kind::kLine;
        int channel = 0;
        std::uint64_t serial = 0;
        data_log_record::Snapshot* record = nullptr;
        std::string text;
        std::unique_ptr<LogFile> file;
    };
    // Records use at most kRecordBuffers entries; the rest is room for
    // lines, opens and closes, which wait for room when even that is full.
    static constexpr std::size_t kQueueSize = 4 * kRecordBuffers;

    void Push(Job job);
    void Run();
    void Do(Job& job);
    // One line with its CR LF, built in the reused text buffer.
    void WriteLine(int channel, const std::string& line);
    void Write(int channel, std::string_view text);

    std::mutex m_Mutex;
    std::condition_variable m_Wake;     // to the writer: work or the end
    std::condition_variable m_Progress; // from the writer: room or done
    Job m_Queue[kQueueSize];
    std::size_t m_Head = 0;
    std::size_t m_Count = 0;
    bool m_Busy = false;
    bool m_Quit = false;
    data_log_record::Snapshot m_Records[kRecordBuffers];
    std::vector<data_log_record::Snapshot*> m_FreeRecords;
    std::vector<Failure> m_Failures;
    // Spares the acquisition thread the lock while nothing failed.
    std::atomic<bool> m_Failed{false};

    // The writer thread's own.
    std::unique_ptr<LogFile> m_File[2];
    std::uint64_t m_Serial[2] = {};
    std::string m_Text;

    std::thread m_Thread;
};
