#include "utilities/recorderlogic/TRecorderDocument.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/MessageBox.h"
#include "platform/TempFiles.h"
#include "settings/Calibration.h"
#include "settings/FloatFieldBounds.h"
#include "settings/FrameSettings.h"

namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

std::string WithText(const char* format, const std::string& text)
{
    const int size = std::snprintf(nullptr, 0, format, text.c_str());
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    std::snprintf(out.data(), out.size() + 1, format, text.c_str());
    return out;
}

template <typename Number>
std::string WithNumber(const char* format, Number value)
{
    char out[512];
    std::snprintf(out, sizeof out, format, value);
    return out;
}

std::string NameOf(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The reason, when there is one, under the message that says what failed.
std::string WithReason(const std::string& message, const std::string& reason)
{
    return reason.empty() ? message : message + "\n\n" + reason;
}

// Names are compared as the file system does: byte for byte (FOO.wav and
// foo.wav are two files here), or the same file reached another way.
bool IsSameFile(const std::string& open, const std::string& chosen)
{
    if (open == chosen)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(open, chosen, error) && !error;
}

bool IsAbsolute(const std::string& path)
{
    // Old Windows forms ("C:..." and "\\server...") count as given, too.
    return (!path.empty() && path[0] == '/') || (path.size() > 1 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
}

} // namespace

TRecorderDocument::TRecorderDocument(FrameSettings& settings) : m_Settings(settings) {}

TRecorderDocument::~TRecorderDocument() = default;

std::string TRecorderDocument::WaveFolder() const
{
    return std::string(m_Settings.m_DataPaths.Get(DataPaths::kWave));
}

std::string TRecorderDocument::DialogFolder() const
{
    return std::string(m_Settings.m_DataPathsInUse.Get(DataPaths::kWave));
}

void TRecorderDocument::RememberDialogFolder(const std::string& path)
{
    m_Settings.m_DataPathsInUse.Set(DataPaths::kWave, platform::FolderOfPath(path));
}

void TRecorderDocument::DropFile()
{
    m_File.reset();
    m_Title = kTitle;
}

// ---- Recording ----------------------------------------------------------------

bool TRecorderDocument::PrepareRecording()
{
    const FileIOOpts& io = m_Settings.FileIO;
    const TWaveFormat& format = m_Settings.Processing.Format;
    if (m_File == nullptr) {
        std::unique_ptr<TWaveFile> file;
        std::string reason;
        if (io.WaveFileMode == TWaveFile::kMemoryMode) {
            file = std::make_unique<TWaveFile>(0, format, WaveFolder());
            const std::uint64_t longest = std::uint64_t{io.MaxRamRecordingTimeSecs} * format.SamplingRate;
            // Only the room is taken now; the memory follows the recording.
            if (longest == 0 || !file->ReserveFrames(longest)) {
                file->Failed = 1;
                reason = WithNumber(kNoRoomFormat, io.MaxRamRecordingTimeSecs);
            }
        } else {
            file = std::make_unique<TWaveFile>(format, io.MakeBackup != 0, WaveFolder());
            reason = file->GetFailureReason();
        }
        if (file->Failed != 0) {
            platform::ShowMessageBox(WithReason(kCreateFailedMessage, reason), MessageIcon::Error);
            DropFile();
            return false;
        }
        // Its failures are reported here, once, with what the user was doing.
        file->SetShowFailures(false);
        file->SetFormat(format);
        // Nothing recorded yet: a start that fails leaves nothing to save.
        file->Modified = 0;
        m_File = std::move(file);
        if (io.IncludeCalibrationData != 0)
            CopyCalibrationToFile();
        m_Title = kUntitledTitle;
    } else if (!(m_File->GetFormat() == format)) {
        // The input's frames would be stored as if they were the file's.
        platform::ShowMessageBox(kOtherFormatMessage, MessageIcon::Warning);
        return false;
    } else if (m_File->Failed == 0 && m_File->GetMode() == TWaveFile::kMemoryMode) {
        // Recording goes on at the cursor of a file that was opened or
        // recorded before: room up to the longest recording from there.
        const std::uint64_t longest =
            std::uint64_t{io.MaxRamRecordingTimeSecs} * m_File->GetSampleRate();
        m_File->ReserveFrames(std::max(longest, m_File->GetNumFrames()));
    }
    const Room room = KeepRecordingRoom();
    if (room != Room::Enough) {
        ReportRoom(room);
        return false;
    }
    return true;
}

TRecorderDocument::Room TRecorderDocument::KeepRecordingRoom()
{
    if (m_File == nullptr)
        return Room::Enough;
    TWaveFile& file = *m_File;
    if (file.GetMode() != TWaveFile::kMemoryMode)
        return file.Failed != 0 ? Room::WriteFailed : Room::Enough;

    const auto step = static_cast<std::uint64_t>(kRoomStepSeconds * file.GetSampleRate());
    const std::uint64_t reserved = file.GetReservedFrames();
    const std::uint64_t frames = file.GetNumFrames();
    const std::uint64_t position = file.GetPosition();
    if (frames - std::min(position, frames) >= step / 2)
        return Room::Enough;
    if (frames < reserved) {
        if (file.Resize(std::min(reserved, std::max(frames, position) + step)))
            return Room::Enough;
        return Room::OutOfMemory;
    }
    return position >= frames ? Room::Longest : Room::Enough;
}

void TRecorderDocument::ReportRoom(Room room) const
{
    const double seconds = m_File != nullptr ? m_File->GetDataSeconds() : 0.0;
    switch (room) {
    case Room::Enough: break;
    case Room::OutOfMemory:
        platform::ShowMessageBox(WithNumber(kOutOfMemoryFormat, seconds), MessageIcon::Error);
        break;
    case Room::Longest:
        platform::ShowMessageBox(WithNumber(kLongestFormat, m_Settings.FileIO.MaxRamRecordingTimeSecs),
                                 MessageIcon::Information);
        break;
    case Room::WriteFailed:
        platform::ShowMessageBox(WithNumber(kWriteFailedFormat, seconds), MessageIcon::Error);
        break;
    }
}

// ---- Saving and closing ---------------------------------------------------------

void TRecorderDocument::CopyCalibrationToFile()
{
    const TChannelCalibration& left = m_Settings.Calibration[0];
    const TChannelCalibration& right = m_Settings.Calibration[1];
    m_File->SetScale(left.CalRatio, right.CalRatio);
    m_File->SetCalibration(left, right);
}

bool TRecorderDocument::SaveWithReport()
{
    if (m_File->Save())
        return true;
    platform::ShowMessageBox(WithReason(WithText(kSaveFailedFormat, m_File->GetFileName()),
                                        m_File->GetFailureReason()),
                             MessageIcon::Error);
    return false;
}

bool TRecorderDocument::SaveAs(const std::string& path)
{
    if (m_File == nullptr || path.empty())
        return false;
    RememberDialogFolder(path);
    const std::string oldName = m_File->GetFileName();
    const std::uint8_t wasUntitled = m_File->Untitled;
    m_File->SetFileName(path);
    if (m_Settings.FileIO.IncludeCalibrationData != 0)
        CopyCalibrationToFile();
    if (!SaveWithReport()) {
        // Still the file it was: a later Save asks for a name again.
        m_File->SetFileName(oldName);
        m_File->Untitled = wasUntitled;
        m_File->Modified = 1;
        return false;
    }
    m_Title = NameOf(path);
    return true;
}

bool TRecorderDocument::Save(const Prompts& prompts)
{
    if (m_File == nullptr)
        return false;
    if (m_File->Untitled != 0) {
        const std::string path = prompts.chooseSaveAsPath ? prompts.chooseSaveAsPath() : std::string();
        return !path.empty() && SaveAs(path);
    }
    // The calibration block goes out as it is: Save keeps what the file had.
    if (!SaveWithReport()) {
        m_File->Modified = 1;
        return false;
    }
    return true;
}

bool TRecorderDocument::CloseFile(const Prompts& prompts)
{
    if (m_File == nullptr)
        return true;
    if (m_File->Modified == 0) {
        DropFile();
        return true;
    }
    const bool untitled = m_File->Untitled != 0;
    const std::string question =
        untitled ? std::string(kAskSaveUntitled) : WithText(kAskSaveNamedFormat, m_File->GetFileName());
    switch (platform::ShowMessageBox(question, MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case MessageResult::Cancel: return false;
    case MessageResult::No: DropFile(); return true;
    default: break;
    }
    bool saved = false;
    if (untitled) {
        const std::string path = prompts.chooseSaveAsPath ? prompts.chooseSaveAsPath() : std::string();
        saved = !path.empty() && SaveAs(path);
    } else {
        if (m_Settings.FileIO.IncludeCalibrationData != 0)
            CopyCalibrationToFile();
        saved = SaveWithReport();
    }
    // Unsaved, the recording stays open and changed: closing now would lose it.
    if (!saved) {
        m_File->Modified = 1;
        return false;
    }
    DropFile();
    return true;
}

// ---- Opening and deleting ----------------------------------------------------------

bool TRecorderDocument::Open(const std::string& given, const Prompts& prompts)
{
    if (given.size() <= 2)
        return false;
    if (!CloseFile(prompts))
        return false;
    RememberDialogFolder(given);
    std::string path = given;
    if (!IsAbsolute(path))
        path = WaveFolder() + "/" + path;
    // Only a regular file: reading a pipe or a device would never end.
    struct stat info {};
    std::string unreadable;
    if (::stat(path.c_str(), &info) != 0 || ::access(path.c_str(), R_OK) != 0)
        unreadable = std::string(std::strerror(errno)) + ".";
    else if (!S_ISREG(info.st_mode))
        unreadable = S_ISDIR(info.st_mode) ? "It is a folder." : "It is not a regular file.";
    if (!unreadable.empty()) {
        platform::ShowMessageBox(WithReason(WithText(kCannotReadFormat, path), unreadable), MessageIcon::Warning);
        DropFile();
        return false;
    }
    const FileIOOpts& io = m_Settings.FileIO;
    auto file = std::make_unique<TWaveFile>(path, static_cast<std::uint16_t>(io.WaveFileMode), io.MakeBackup != 0,
                                            WaveFolder(), false);
    if (file->Failed != 0) {
        platform::ShowMessageBox(WithReason(WithText(kOpenFailedFormat, path), file->GetFailureReason()),
                                 MessageIcon::Error);
        DropFile();
        return false;
    }

    m_Settings.Processing.Format = file->GetFormat();
    TChannelCalibration& left = m_Settings.Calibration[0];
    TChannelCalibration& right = m_Settings.Calibration[1];
    std::string refusal;
    const bool taken = file->HasCalibration != 0 && TakeCalibration(*file, prompts, refusal);
    if (!refusal.empty()) {
        platform::ShowMessageBox(WithText(kCalibrationRefusedFormat, path) + refusal, MessageIcon::Warning);
        left.IsEnabled = 0;
        right.IsEnabled = 0;
    } else if (!taken && left.IsEnabled != 0 && prompts.askDisableCalibration && prompts.askDisableCalibration()) {
        left.IsEnabled = 0;
        right.IsEnabled = 0;
    }
    if (left.IsEnabled == 0)
        file->SetScale(1.0f, 1.0f);
    else
        file->SetScale(left.CalRatio, right.CalRatio);
    m_Settings.Processing.ChannelProcessing = file->GetChannels() == 1 ? 0 : 2;
    file->Rewind();
    // Opening is not a change.
    file->Modified = 0;
    m_File = std::move(file);
    m_Title = NameOf(path);
    return true;
}

// The records come with the ratio of the range the recording was made at:
// derived again for the range the input has now, so the live channels (and
// the settings saved at exit) fit it. Records with a value outside what the
// settings file and the calibration page accept are not taken: refusal then
// says which.
bool TRecorderDocument::TakeCalibration(const TWaveFile& file, const Prompts& prompts, std::string& refusal)
{
    const std::optional<float> range = prompts.currentInputRange ? prompts.currentInputRange() : std::nullopt;
    TChannelCalibration taken[2];
    for (int c = 0; c < 2; ++c) {
        const char* side = c == 0 ? "left" : "right";
        file.GetCalibration(taken[c], c);
        float value = 0.0f;
        std::string field = CalibrationFieldOutOfRange(taken[c], &value);
        std::string derived;
        if (field.empty()) {
            calibration::RecomputeCalibration(taken[c], range);
            field = CalibrationFieldOutOfRange(taken[c], &value, CalibrationStage::Derived);
            derived = " as derived from the file's values";
        }
        if (!field.empty()) {
            char number[32];
            const auto end = std::to_chars(number, number + sizeof number, value).ptr;
            refusal = std::string("the ") + side + " channel's " + field + derived + " is " + std::string(number, end) +
                      ", outside the range this program accepts.\n\nThe file opens uncalibrated: calibration is "
                      "switched off.";
            return false;
        }
    }
    m_Settings.Calibration[0] = taken[0];
    m_Settings.Calibration[1] = taken[1];
    return true;
}

bool TRecorderDocument::Delete(const std::string& path)
{
    RememberDialogFolder(path);
    if (m_File != nullptr && IsSameFile(m_File->GetFileName(), path)) {
        platform::ShowMessageBox(WithText(kInUseFormat, path), MessageIcon::Warning);
        return false;
    }
    if (platform::ShowMessageBox(WithText(kAskDeleteFormat, path), MessageIcon::Question, MessageButtons::YesNo)
        != MessageResult::Yes)
        return false;
    if (!platform::DeleteFile(path)) {
        platform::ShowMessageBox(WithText(kDeleteFailedFormat, path), MessageIcon::Warning);
        return false;
    }
    return true;
}
