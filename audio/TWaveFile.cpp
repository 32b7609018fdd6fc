#include "audio/TWaveFile.h"

#include <cctype>

#include "platform/MessageBox.h"
#include "platform/TempFiles.h"

namespace {

constexpr const char* kTempPrefix = "wav";

}  // namespace

TWaveFile::TWaveFile(const std::string& fileName, std::uint16_t mode, bool useWorkingCopy,
                     const std::string& tempFolder, bool showFailures)
{
    InitialiseFile(tempFolder);
    ShowFailures = showFailures;
    FileName = fileName;
    Mode = mode;
    UseWorkingCopy = useWorkingCopy ? 1 : 0;

    if (Mode == kMemoryMode) {
        if (!ReadFile())
            Failed = 1;
    } else if (Mode == kStreamMode) {
        if (UseWorkingCopy) {
            WorkingFileName = platform::CreateTempFile(TempFolder, kTempPrefix);
            if (WorkingFileName.empty() || !platform::CopyFileOver(FileName, WorkingFileName)) {
                Fail({}, "No working copy of it could be made in the folder " + TempFolder + ".");
                Failed = 1;
            }
        } else {
            WorkingFileName = FileName;
        }
        if (!Failed && !OpenStream())
            Failed = 1;
    } else {
        Failed = 1;
    }
    DataFrames = NumFrames.load();
}

TWaveFile::TWaveFile(std::uint64_t frames, const TWaveFormat& format, const std::string& tempFolder)
    : TWaveData(frames, format)
{
    InitialiseFile(tempFolder);
    Mode = kMemoryMode;
    Untitled = 1;
    NewFile = 1;
}

TWaveFile::TWaveFile(const TWaveFormat& format, bool useWorkingCopy, const std::string& tempFolder)
{
    InitialiseFile(tempFolder);
    SetFormat(format);
    Mode = kStreamMode;
    UseWorkingCopy = useWorkingCopy ? 1 : 0;
    Untitled = 1;
    NewFile = 1;
    WorkingFileName = platform::CreateTempFile(TempFolder, kTempPrefix);
    if (WorkingFileName.empty() || !CreateStream()) {
        Fail({}, "No temporary file could be made in the folder " + TempFolder + ".");
        Failed = 1;
    }
}

TWaveFile::~TWaveFile()
{
    if (Mode != kStreamMode)
        return;
    if (RiffFile.IsOpen() && !CloseStream())
        return;  // what is left on the disk may be all there is of the data
    // The working file is ours when it is a copy, or a new file that never
    // reached its name (also when its save failed).
    const bool temporary = UseWorkingCopy || NewFile;
    if (temporary && !WorkingFileName.empty() && !platform::SameFile(WorkingFileName, FileName)
        && !platform::DeleteFile(WorkingFileName))
        platform::ShowMessageBox("TWaveFile - failure deleting temporary file", platform::MessageIcon::Error);
}

void TWaveFile::InitialiseFile(const std::string& tempFolder)
{
    TempFolder = tempFolder.empty() ? platform::SystemTempFolder() : tempFolder;
    FileName.clear();
    WorkingFileName.clear();
    Calibration = TWaveCalibration{};
    HasCalibration = 0;
    CalibrationChanged = 0;
    DataOffset = TWaveHeader::kDataOffset;
}

void TWaveFile::SetFileName(const std::string& name)
{
    FileName = name;
    Untitled = 0;
}

bool TWaveFile::Save()
{
    FailureReason.clear();
    if (Mode == kMemoryMode)
        return WriteFile();
    if (Mode == kStreamMode)
        return SaveStream();
    return false;
}

void TWaveFile::Fail(const std::string& text, const std::string& reason)
{
    if (!reason.empty())
        FailureReason += (FailureReason.empty() ? "" : " ") + reason;
    if (ShowFailures && !text.empty())
        platform::ShowMessageBox(text, platform::MessageIcon::Error);
}

std::string TWaveFile::HeaderFailure(const TWaveHeader& header)
{
    return "It cannot be read: " + header.Reason() + ".";
}

void TWaveFile::ReportUnreadable(const TWaveHeader& header)
{
    Fail("TWaveFile - cannot read \"" + FileName + "\": " + header.Reason() + ".", HeaderFailure(header));
}

void TWaveFile::ReportSaveFailure(const std::string& reason)
{
    std::string sentence = reason;
    if (!sentence.empty())
        sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    Fail("TWaveFile - failure saving \"" + FileName + "\": " + reason + ". The file on the disk is unchanged.",
         sentence + ". The file on the disk is unchanged.");
}

void TWaveFile::PlaceCursor(std::uint64_t frame)
{
    if (Mode == kStreamMode && RiffFile.IsOpen()
        && !RiffFile.Seek(static_cast<std::int64_t>(DataOffset + FramesToBytes(frame))))
        Failed = 1;
    TWaveData::PlaceCursor(frame);
}
