#pragma once
// The recorder's file and everything it does with it that needs no window:
// preparing a recording (in memory, taking memory as the recording grows),
// opening a file and taking back its calibration, saving with the
// channels' calibration, the questions before a changed file is closed, and
// deleting files from the disk. The recorder window stops the transport
// before it calls any of this, and answers the questions through Prompts.
//
// A failed save never loses the recording: the file stays open and marked
// changed, and a close that needed the save is cancelled. Each failure is
// one message: what failed, then why (the file's own reasons are kept, not
// shown, by the files this document holds).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio/TWaveFile.h"

struct FrameSettings;

class TRecorderDocument {
public:
    static constexpr const char* kTitle = "Recorder";
    static constexpr const char* kUntitledTitle = "Recorder - [Untitled]";

    static constexpr const char* kCreateFailedMessage =
        "Failure creating temporary wave file.  Please check that the wave file path is valid and is not write "
        "protected";
    static constexpr const char* kSaveFailedFormat =
        "Failure saving wave file %s.  Please check that the wave file path is valid and is not write protected";
    static constexpr const char* kAskSaveUntitled =
        "The wave file has changed.\n\nDo you want to save the file before closing?";
    static constexpr const char* kAskSaveNamedFormat =
        "The wave file (%s) has changed.\n\nDo you want to save the file before closing?";
    static constexpr const char* kCannotReadFormat = "Failure opening file: %s";
    static constexpr const char* kNoRoomFormat = "Room for a recording of %u seconds could not be reserved.";
    static constexpr const char* kOpenFailedFormat =
        "Failure opening wave file:\n\n %s. \n\n1) Please check that the file is valid and not write protected.  "
        "\n\n2) Check that the wave folder (where the recorder's Open and Save As dialogs start) is valid and not write "
        "proteced.";
    // Followed by which field of which channel, and its value.
    static constexpr const char* kCalibrationRefusedFormat =
        "The calibration data in the wave file %s is not used: ";
    static constexpr const char* kInUseFormat =
        "The selected file: %s is currently in use.  Please close the file before deleting it";
    static constexpr const char* kAskDeleteFormat = "Are you sure you want to delete: %s";
    static constexpr const char* kDeleteFailedFormat = "Failure deleting wave file: %s";
    static constexpr const char* kOutOfMemoryFormat =
        "The recording has stopped: no more memory could be had for it. The %.1f seconds recorded are kept.";
    static constexpr const char* kLongestFormat =
        "The recording has stopped at its longest length of %u seconds. What was recorded is kept.";
    static constexpr const char* kOtherFormatMessage =
        "The open wave file has another format than the analysis. Choose New to record into a new file.";
    static constexpr const char* kWriteFailedFormat =
        "The recording has stopped: the wave file could not be written (is the disk full?). The %.1f seconds "
        "recorded are kept.";

    // A memory recording starts with this much room and grows by it
    // whenever less than half of it is left ahead of the write cursor.
    static constexpr double kRoomStepSeconds = 30.0;

    // The window's answers to what the document must ask.
    struct Prompts {
        // The name to save an untitled file under; empty: cancelled.
        std::function<std::string()> chooseSaveAsPath;
        // The file has no calibration while calibration is on: true to
        // disable calibration, false to keep the current one.
        std::function<bool()> askDisableCalibration;
        // The full-scale volts of the DAQ module's current input range;
        // nothing (or no function) when the input is another device.
        std::function<std::optional<float>()> currentInputRange;
    };

    // What happened to the room of a running recording.
    enum class Room { Enough, OutOfMemory, Longest, WriteFailed };

    explicit TRecorderDocument(FrameSettings& settings);
    ~TRecorderDocument();
    TRecorderDocument(const TRecorderDocument&) = delete;
    TRecorderDocument& operator=(const TRecorderDocument&) = delete;

    TWaveFile* File() const { return m_File.get(); }
    bool HasFile() const { return m_File != nullptr; }
    bool IsChanged() const { return m_File != nullptr && m_File->Modified != 0; }
    const std::string& Title() const { return m_Title; }
    void SetTitle(std::string title) { m_Title = std::move(title); }

    // Makes a new recording file when none is open, or room in the open one
    // from its position on; false (reported, no file) when none can be made.
    bool PrepareRecording();
    // Called while recording: grows a memory recording ahead of the driver's
    // writes. Anything but Enough means the recording must stop; the
    // caller stops it and then calls ReportRoom.
    Room KeepRecordingRoom();
    void ReportRoom(Room room) const;

    // True when the caller may go on: no file, or it was saved or dropped.
    bool CloseFile(const Prompts& prompts);
    // Save (Save As for an untitled file); false when nothing was saved.
    bool Save(const Prompts& prompts);
    bool SaveAs(const std::string& path);
    // Opens a named file into the frame's analysis format, calibration and
    // channel mode; false when no file was opened (the current one may
    // still be open when its close was refused).
    bool Open(const std::string& path, const Prompts& prompts);
    // Asks, then deletes a file from the disk; refuses the open file.
    bool Delete(const std::string& path);

    // The folder of the file dialogs, and storing a chosen file's folder.
    std::string DialogFolder() const;
    void RememberDialogFolder(const std::string& path);

private:
    // The file's two calibration records into the frame's; false, with
    // refusal saying why, when a value is out of range.
    bool TakeCalibration(const TWaveFile& file, const Prompts& prompts, std::string& refusal);
    // The frame's two calibration records and their ratios into the file.
    void CopyCalibrationToFile();
    bool SaveWithReport();
    void DropFile();
    std::string WaveFolder() const;

    FrameSettings& m_Settings;
    std::unique_ptr<TWaveFile> m_File;
    std::string m_Title = kUntitledTitle;
};
