// Memory mode of TWaveFile: the whole file is read at construction and
// written whole by Save.

#include "audio/TWaveFile.h"

#include <cerrno>
#include <cstring>

#include "platform/MessageBox.h"
#include "platform/TempFiles.h"

bool TWaveFile::ReadFile()
{
    if (Mode != kMemoryMode)
        return false;
    platform::RiffFile file;
    if (!file.Open(FileName, platform::RiffFile::OpenMode::Read)) {
        Fail({}, std::string("It could not be opened: ") + std::strerror(errno) + ".");
        Failed = 1;
        return false;
    }
    ReadCalibrationChunk(file);

    TWaveHeader header;
    switch (header.Read(file)) {
    case TWaveHeader::Status::Ok:
        break;
    case TWaveHeader::Status::DataMissing:
        Fail("TWaveFile - invalid wave file data found (DATA section)", HeaderFailure(header));
        Failed = 1;
        return false;
    case TWaveHeader::Status::DataEmpty:
        // Shown by the owner, which knows whether an empty file is wrong.
        Fail({}, HeaderFailure(header));
        Failed = 1;
        return false;
    default:
        ReportUnreadable(header);
        Failed = 1;
        return false;
    }

    SetFormat(header.Format());
    const std::uint64_t frames = BytesToFrames(header.Data().Size);
    if (!Resize(frames)) {
        Fail("WAVE_DATA_MEMORY", "There is not enough memory for its " + std::to_string(header.Data().Size)
                                     + " bytes of samples.");
        ReleaseSamples();
        Failed = 1;
        return false;
    }
    if (!file.ReadExactly(Samples.data(), static_cast<std::int64_t>(SizeBytes.load()))) {
        Fail({}, "Its samples could not be read from the disk.");
        ReleaseSamples();
        Failed = 1;
        return false;
    }
    Modified = 0;
    return true;
}

bool TWaveFile::WriteFile()
{
    if (Mode != kMemoryMode || Untitled)
        return false;
    if (FramesToBytes(DataFrames) > TWaveHeader::kMaxDataBytes) {
        ReportSaveFailure("a wave file cannot hold more than 4 GB of samples");
        return false;
    }
    // Written beside the target and renamed over it only when complete.
    const std::string staging = platform::CreateTempFile(platform::FolderOfPath(FileName), "wav");
    if (staging.empty()) {
        ReportSaveFailure("no new file can be created in its folder");
        return false;
    }
    if (!WriteWholeFile(staging) || !platform::CommitFile(staging, FileName)) {
        platform::DeleteFile(staging);
        ReportSaveFailure("the file could not be written completely (is the disk full?)");
        return false;
    }
    Modified = 0;
    Untitled = 0;
    return true;
}

bool TWaveFile::WriteWholeFile(const std::string& path)
{
    platform::RiffFile file;
    if (!file.Open(path, platform::RiffFile::OpenMode::Create))
        return false;
    const std::uint64_t bytes = FramesToBytes(DataFrames);
    platform::RiffChunk form;
    platform::RiffChunk data;
    bool ok = TWaveHeader::Write(file, Format, static_cast<std::uint32_t>(bytes), form, data)
           && (bytes == 0 || file.WriteExactly(Samples.data(), static_cast<std::int64_t>(bytes)))
           && file.Ascend(data) && file.Ascend(form);
    // The calibration is part of what the user saved: without it the old
    // file stays (WriteCalibrationChunk has said why).
    ok = ok && WriteCalibrationChunk(file);
    return file.Close() && ok;
}
