#pragma once
// The data log's writer thread: it turns captured records into text and
// appends them to the log files, in the order they were handed over, so the
// acquisition thread pays only for the capture.
//
// The acquisition thread opens a file and hands it over, queues lines,
// records and closes, and reads back what failed; nothing is ever reported
// from the writer thread. Record buffers are made as records wait, up to
// kMaxRecords and only while the waiting ones hold less than
// kRecordBudgetBytes, so a slow disk is ridden out for minutes of small
// records and a stalled one costs a bounded amount of memory. When no
// buffer can be had, the caller waits a moment for one; a record that still
// finds none is the caller's to leave out (and report). Lines, opens and
// closes are never dropped.

#include <atomic>
#include <chrono>
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
    static constexpr std::size_t kMaxRecords = 64;
    static constexpr std::size_t kRecordBudgetBytes = std::size_t{64} << 20;
    // What a copied spectrum holds per line (its result arrays), for the budget.
    static constexpr std::size_t kCopyBytesPerLine = 64;

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

    // A record buffer to capture into: a free one, a new one while the
    // budget allows, or one the writer frees within `wait`; null when none.
    data_log_record::Snapshot* AcquireRecord(std::chrono::milliseconds wait = std::chrono::milliseconds{0});
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
        std::size_t bytes = 0;
        std::string text;
        std::unique_ptr<LogFile> file;
    };
    // Records use at most kMaxRecords entries; the rest is room for lines,
    // opens and closes, which wait for room when even that is full.
    static constexpr std::size_t kQueueSize = 2 * kMaxRecords + 8;

    void Push(Job job);
    static std::size_t Footprint(const data_log_record::Snapshot& record);
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
    std::vector<std::unique_ptr<data_log_record::Snapshot>> m_Records;
    std::vector<data_log_record::Snapshot*> m_FreeRecords;
    // What the records handed over and not yet written hold.
    std::size_t m_QueuedBytes = 0;
    std::vector<Failure> m_Failures;
    // Spares the acquisition thread the lock while nothing failed.
    std::atomic<bool> m_Failed{false};

    // The writer thread's own.
    std::unique_ptr<LogFile> m_File[2];
    std::uint64_t m_Serial[2] = {};
    std::string m_Text;

    std::thread m_Thread;
};
