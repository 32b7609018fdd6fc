// Streamed mode of TWaveFile: samples stay in the open working file and are
// read and written at the cursor.

#include "audio/TWaveFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/MessageBox.h"
#include "platform/TempFiles.h"

namespace {

constexpr std::uint64_t kCopyFrames = 4096;

}  // namespace

bool TWaveFile::OpenStream(bool reopening)
{
    if (Mode != kStreamMode)
        return false;
    // A file the user may not change can still be read and played.
    if (!RiffFile.Open(WorkingFileName, platform::RiffFile::OpenMode::ReadWrite)
        && !RiffFile.Open(WorkingFileName, platform::RiffFile::OpenMode::Read)) {
        Fail({}, std::string("It could not be opened: ") + std::strerror(errno) + ".");
        Failed = 1;
        return false;
    }
    // A file reopened after a save holds what this object wrote: its
    // calibration is already here, and it may hold no frames yet.
    if (!reopening)
        ReadCalibrationChunk(RiffFile);

    TWaveHeader header;
    const TWaveHeader::Status status = header.Read(RiffFile);
    const bool usable = status == TWaveHeader::Status::Ok || (reopening && status == TWaveHeader::Status::DataEmpty);
    if (!usable) {
        if (status == TWaveHeader::Status::DataMissing)
            Fail("TWaveFile - invalid wave file data found (DATA section)", HeaderFailure(header));
        else if (status != TWaveHeader::Status::DataEmpty)
            ReportUnreadable(header);
        else
            Fail({}, HeaderFailure(header));
        RiffFile.Close();
        Failed = 1;
        return false;
    }
    SetFormat(header.Format());
    RiffChunk = header.Form();
    DataChunk = header.Data();
    DataOffset = static_cast<std::uint64_t>(DataChunk.DataOffset);
    NumFrames = BytesToFrames(DataChunk.Size);
    SizeBytes = FramesToBytes(NumFrames);
    Position = 0;
    Modified = 0;
    return true;
}

bool TWaveFile::CreateStream()
{
    if (!RiffFile.Open(WorkingFileName, platform::RiffFile::OpenMode::Create)
        || !TWaveHeader::Write(RiffFile, Format, 0, RiffChunk, DataChunk)) {
        RiffFile.Close();
        Failed = 1;
        return false;
    }
    DataOffset = TWaveHeader::kDataOffset;
    NumFrames = 0;
    SizeBytes = 0;
    Position = 0;
    return true;
}

bool TWaveFile::CloseStream()
{
    if (RiffFile.Close())
        return true;
    Fail("TWaveFile - failure on mmioClose()", "Its last writes could not be completed (is the disk full?).");
    return false;
}

bool TWaveFile::ReadSamples(void* dest, std::uint64_t first, std::uint64_t count, int channel)
{
    if (Mode == kMemoryMode)
        return GetFrames(dest, first, count, channel);
    const std::uint64_t frames = NumFrames;
    if (!RiffFile.IsOpen() || dest == nullptr || first > frames || count > frames - first)
        return false;
    if (count == 0)
        return true;

    const std::uint64_t bytes = FramesToBytes(count);
    platform::ZeroFilledArray<std::uint8_t> block;
    if (!block.Allocate(bytes))
        return false;
    const std::uint64_t saved = Position;
    const bool read = RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(first)))
                   && RiffFile.ReadExactly(block.data(), static_cast<std::int64_t>(bytes));
    PlaceCursor(saved);
    if (!read)
        return false;

    auto* out = static_cast<std::uint8_t*>(dest);
    if (Format.NumChannels == 1 || (channel != 0 && channel != 1)) {
        std::memcpy(out, block.data(), bytes);
        return true;
    }
    const std::uint16_t width = Format.BytesPerSample;
    for (std::uint64_t f = 0; f < count; ++f)
        std::memcpy(out + f * width, block.data() + (f * 2 + static_cast<std::uint64_t>(channel)) * width, width);
    return true;
}

bool TWaveFile::ReadData(void* dest, std::uint64_t bytes)
{
    if (Mode == kMemoryMode)
        return TWaveData::ReadData(dest, bytes);
    const std::uint64_t position = Position;
    if (!RiffFile.IsOpen() || dest == nullptr || position >= NumFrames)
        return false;

    // Only the data chunk: whatever follows it (the calibration chunk) is
    // not sound.
    const std::uint64_t wanted = std::min(bytes, FramesToBytes(NumFrames - position));
    auto* out = static_cast<std::uint8_t*>(dest);
    std::int64_t got = -1;
    if (RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(position))))
        got = RiffFile.Read(out, static_cast<std::int64_t>(wanted));
    const std::uint64_t copied = got > 0 ? static_cast<std::uint64_t>(got) : 0;
    std::memset(out + copied, 0, bytes - copied);
    PlaceCursor(position + BytesToFrames(copied));
    return copied > 0;
}

bool TWaveFile::WriteData(const void* src, std::uint64_t bytes)
{
    if (Mode == kMemoryMode)
        return TWaveData::WriteData(src, bytes);
    if (!RiffFile.IsOpen() || src == nullptr || bytes == 0 || WriteGate != 0)
        return false;

    // Whole frames only, so the cursor stays on a frame boundary.
    const std::uint64_t start = Position;
    const std::uint64_t end = start + BytesToFrames(bytes);
    const std::uint64_t endBytes = FramesToBytes(end);
    const bool grows = end > NumFrames;
    if (grows) {
        // The data may only grow where nothing else of the form would be
        // overwritten, and only as far as a RIFF size can count.
        const bool dataEndsForm = DataChunk.SizePending || DataChunk.End() >= RiffChunk.End();
        if (!dataEndsForm || endBytes > TWaveHeader::kMaxDataBytes)
            return false;
    }
    if (!RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(start)))
        || !RiffFile.WriteExactly(src, static_cast<std::int64_t>(endBytes - FramesToBytes(start)))) {
        Failed = 1;
        return false;
    }
    if (grows) {
        // Both sizes follow every write, so a recording cut short by a crash
        // still reads back up to its last block.
        const auto dataBytes = static_cast<std::uint32_t>(endBytes);
        const auto formBytes = static_cast<std::uint32_t>(DataOffset + endBytes + (endBytes & 1) - 8);
        if (!RiffFile.Seek(DataChunk.DataOffset - 4) || !RiffFile.WriteU32(dataBytes)
            || !RiffFile.Seek(RiffChunk.DataOffset - 4) || !RiffFile.WriteU32(formBytes)) {
            Failed = 1;
            return false;
        }
        DataChunk.Size = dataBytes;
        RiffChunk.Size = formBytes;
        DataChunk.SizePending = true;
        RiffChunk.SizePending = true;
        NumFrames = end;
        SizeBytes = endBytes;
    }
    PlaceCursor(end);
    Modified = 1;
    if (DataFrames < end)
        DataFrames = end;
    return true;
}

double TWaveFile::GetSample(std::uint64_t frame, int channel, bool scaled) const
{
    if (Mode == kMemoryMode)
        return TWaveData::GetSample(frame, channel, scaled);
    if (!RiffFile.IsOpen() || frame >= NumFrames)
        return Format.ZeroOffset;
    std::uint8_t bytes[8] = {};
    const bool read = RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(frame)))
                   && RiffFile.ReadExactly(bytes, static_cast<std::int64_t>(FramesToBytes(1)));
    RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(Position)));
    if (!read)
        return Format.ZeroOffset;
    return SampleValue(bytes + StoredChannel(channel) * Format.BytesPerSample, channel, scaled);
}

bool TWaveFile::CompleteChunks()
{
    // Only a data chunk that grew here has sizes to complete; an untouched
    // file is left exactly as it was.
    if (!DataChunk.SizePending)
        return true;
    PlaceCursor(DataFrames);
    return !Failed && RiffFile.Ascend(DataChunk) && RiffFile.Ascend(RiffChunk);
}

bool TWaveFile::SaveStream()
{
    if (Mode == kMemoryMode)
        return WriteFile();
    if (Mode != kStreamMode)
        return false;
    if (!RiffFile.IsOpen())
        return true;
    if (Untitled)
        return false;

    const bool grew = DataChunk.SizePending;
    const std::uint64_t saved = Position;
    if (!CompleteChunks()) {
        Failed = 1;
        ReportSaveFailure("the sizes of its chunks could not be written");
        return false;
    }
    if (platform::SameFile(WorkingFileName, FileName))
        return SaveStreamInPlace(grew);

    // The tail after the form is rewritten in our own temporary files, and
    // in the named file only where growing data has already overwritten it.
    const bool temporary = UseWorkingCopy || NewFile;
    const bool tailWritten = !(temporary || grew) || RewriteCalibrationTail();
    if (!CloseStream())
        return false;

    bool ok = tailWritten;
    if (ok && (UseWorkingCopy || !NewFile)) {
        ok = CopyToTarget(WorkingFileName, FileName, DataFrames);
        if (ok && !UseWorkingCopy)
            WorkingFileName = FileName;
        if (!ok)
            ReportSaveFailure("the file could not be written completely (is the disk full?)");
    } else if (ok) {
        ok = platform::MoveFileOver(WorkingFileName, FileName);
        if (ok)
            WorkingFileName = FileName;
        else
            Fail("TWaveFile - failure copying temporary backup file.",
                 "The new file could not be moved onto its name.");
    }

    // Whatever happened, the object goes on working on its working file.
    if (!OpenStream(true)) {
        Failed = 1;
        return false;
    }
    PlaceCursor(saved);
    if (!ok)
        return false;
    Modified = 0;
    NewFile = 0;
    CalibrationChanged = 0;
    return true;
}

bool TWaveFile::SaveStreamInPlace(bool grew)
{
    const std::uint64_t saved = Position;
    // Growing data overwrote whatever followed the form, and a changed
    // calibration has no other way into a file saved in place.
    bool ok = true;
    if (grew || CalibrationChanged)
        ok = RewriteCalibrationTail();
    PlaceCursor(saved);
    if (!ok)
        return false;
    Modified = 0;
    CalibrationChanged = 0;
    return true;
}

bool TWaveFile::CopyToTarget(const std::string& source, const std::string& target, std::uint64_t frames)
{
    if (!CalibrationChanged)
        return platform::CopyFileOver(source, target);

    // The new calibration block has to reach the target: rewrite the file.
    // The helpers' failures are this file's, shown or kept as it does.
    TWaveFile reader(source, kStreamMode, false, TempFolder, ShowFailures);
    if (reader.Failed) {
        Fail({}, reader.GetFailureReason());
        return false;
    }
    // In this file's temporary folder, which its owner chose (the recorder:
    // its wave folder), so that the final rename stays on one file system.
    TWaveFile writer(reader.GetFormat(), false, TempFolder);
    writer.SetShowFailures(ShowFailures);
    TWaveData buffer(kCopyFrames, reader.GetFormat());
    if (writer.Failed || buffer.Failed)
        return false;
    writer.SetFileName(target);
    if (HasCalibration)
        writer.SetCalibrationBlock(Calibration);

    bool ok = true;
    for (std::uint64_t first = 0; ok && first < frames; first += kCopyFrames) {
        const std::uint64_t bytes = buffer.FramesToBytes(std::min(kCopyFrames, frames - first));
        ok = reader.SetPosition(first) == first && reader.ReadData(buffer.GetBuffer(), bytes)
          && writer.SetPosition(first) == first && writer.WriteData(buffer.GetBuffer(), bytes);
    }
    // Every step counts: a chunk that failed midway fails the copy.
    ok = ok && writer.DataFrames == frames;
    ok = reader.Save() && ok;
    ok = ok && writer.Save();
    if (!ok) {
        Fail({}, reader.GetFailureReason());
        Fail({}, writer.GetFailureReason());
        writer.DiscardWorkingFile();
    }
    return ok;
}

void TWaveFile::DiscardWorkingFile()
{
    RiffFile.Close();
    if ((UseWorkingCopy || NewFile) && !WorkingFileName.empty() && !platform::SameFile(WorkingFileName, FileName))
        platform::DeleteFile(WorkingFileName);
    WorkingFileName.clear();
}
