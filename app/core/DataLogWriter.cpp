#include "app/core/DataLogWriter.h"

#include "engine/SpectralData.h"

DataLogWriter::DataLogWriter()
{
    m_Records.reserve(kMaxRecords);
    m_FreeRecords.reserve(kMaxRecords);
    m_Thread = std::thread([this] { Run(); });
}

DataLogWriter::~DataLogWriter()
{
    {
        std::lock_guard lock(m_Mutex);
        m_Quit = true;
    }
    m_Wake.notify_one();
    m_Thread.join();
}

data_log_record::Snapshot* DataLogWriter::AcquireRecord(std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_Mutex);
    // Every buffer made is waiting when none is free, so the budget bounds
    // all of them, not just the queued ones.
    if (m_FreeRecords.empty() && m_Records.size() < kMaxRecords && m_QueuedBytes < kRecordBudgetBytes) {
        m_Records.push_back(std::make_unique<data_log_record::Snapshot>());
        return m_Records.back().get();
    }
    if (m_FreeRecords.empty() && wait.count() > 0)
        m_Progress.wait_for(lock, wait, [this] { return !m_FreeRecords.empty(); });
    if (m_FreeRecords.empty())
        return nullptr;
    data_log_record::Snapshot* record = m_FreeRecords.back();
    m_FreeRecords.pop_back();
    return record;
}

void DataLogWriter::ReleaseRecord(data_log_record::Snapshot* record)
{
    std::lock_guard lock(m_Mutex);
    m_FreeRecords.push_back(record);
}

std::size_t DataLogWriter::Footprint(const data_log_record::Snapshot& record)
{
    std::size_t bytes = sizeof record + record.text.capacity() + record.columns.capacity() * sizeof(int);
    if (!record.finished && record.spectrum)
        bytes += std::size_t{record.spectrum->GetLines()} * kCopyBytesPerLine;
    return bytes;
}

void DataLogWriter::SubmitRecord(int channel, data_log_record::Snapshot* record)
{
    const std::size_t bytes = Footprint(*record);
    {
        std::lock_guard lock(m_Mutex);
        m_QueuedBytes += bytes;
    }
    Push(Job{Kind::kRecord, channel, 0, record, bytes, {}, nullptr});
}

void DataLogWriter::SubmitOpen(int channel, std::unique_ptr<LogFile> file, std::uint64_t serial)
{
    Push(Job{Kind::kOpen, channel, serial, nullptr, 0, {}, std::move(file)});
}

void DataLogWriter::SubmitLine(int channel, std::string line)
{
    Push(Job{Kind::kLine, channel, 0, nullptr, 0, std::move(line), nullptr});
}

void DataLogWriter::SubmitClose(int channel, std::string last)
{
    Push(Job{Kind::kClose, channel, 0, nullptr, 0, std::move(last), nullptr});
}

void DataLogWriter::Push(Job job)
{
    {
        std::unique_lock lock(m_Mutex);
        m_Progress.wait(lock, [this] { return m_Count < kQueueSize; });
        m_Queue[(m_Head + m_Count) % kQueueSize] = std::move(job);
        ++m_Count;
    }
    m_Wake.notify_one();
}

void DataLogWriter::Drain()
{
    std::unique_lock lock(m_Mutex);
    m_Progress.wait(lock, [this] { return m_Count == 0 && !m_Busy; });
}

std::vector<DataLogWriter::Failure> DataLogWriter::TakeFailures()
{
    std::vector<Failure> failures;
    if (!m_Failed.load(std::memory_order_acquire))
        return failures;
    std::lock_guard lock(m_Mutex);
    failures.swap(m_Failures);
    m_Failed.store(false, std::memory_order_relaxed);
    return failures;
}

void DataLogWriter::Run()
{
    std::unique_lock lock(m_Mutex);
    for (;;) {
        m_Wake.wait(lock, [this] { return m_Count > 0 || m_Quit; });
        if (m_Count == 0)
            break;  // quitting with nothing left
        Job job = std::move(m_Queue[m_Head]);
        m_Head = (m_Head + 1) % kQueueSize;
        --m_Count;
        m_Busy = true;
        lock.unlock();
        Do(job);
        lock.lock();
        if (job.record != nullptr) {
            m_FreeRecords.push_back(job.record);
            m_QueuedBytes -= job.bytes;
        }
        m_Busy = false;
        m_Progress.notify_all();
    }
    lock.unlock();
    for (std::unique_ptr<LogFile>& file : m_File)
        file.reset();
}

void DataLogWriter::Do(Job& job)
{
    const int c = job.channel;
    switch (job.kind) {
    case Kind::kOpen:
        m_File[c] = std::move(job.file);
        m_Serial[c] = job.serial;
        break;
    case Kind::kLine:
        WriteLine(c, job.text);
        break;
    case Kind::kRecord:
        m_Text.clear();
        if (m_File[c] && data_log_record::AppendLine(*job.record, m_Text)) {
            m_Text += "\r\n";
            Write(c, m_Text);
        }
        break;
    case Kind::kClose:
        if (!job.text.empty())
            WriteLine(c, job.text);
        m_File[c].reset();
        break;
    }
}

void DataLogWriter::WriteLine(int channel, const std::string& line)
{
    m_Text.assign(line);
    m_Text += "\r\n";
    Write(channel, m_Text);
}

// A file that fails a write takes nothing more; the failure waits for the
// acquisition thread to collect it.
void DataLogWriter::Write(int channel, std::string_view text)
{
    if (!m_File[channel])
        return;
    std::string reason;
    if (m_File[channel]->WriteText(text, reason))
        return;
    Failure failure{channel, m_Serial[channel], m_File[channel]->Path(), reason};
    m_File[channel].reset();
    std::lock_guard lock(m_Mutex);
    m_Failures.push_back(std::move(failure));
    m_Failed.store(true, std::memory_order_release);
}
