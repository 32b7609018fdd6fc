#pragma once
// A wave-data buffer bound to a RIFF WAVE file with the program's
// calibration chunk after the form.
//
// Mode 0 (memory) reads the whole file at construction and writes it whole
// on Save. Mode 1 (streamed) keeps a working file open and reads and writes
// at the cursor; the working file is the named file itself, a temporary
// copy of it, or, for a new file, a temporary file that Save moves onto the
// chosen name.
//
// A save never leaves a user's file half written: the new contents go to a
// temporary file in the target's folder, which replaces the target only
// when every write has succeeded. A failed save leaves the old file as it
// was and returns false.

#include <cstdint>
#include <string>

#include "audio/TWaveCalibration.h"
#include "audio/TWaveData.h"
#include "audio/TWaveHeader.h"
#include "platform/RiffFile.h"

class TWaveFile : public TWaveData {
public:
    static constexpr std::uint16_t kMemoryMode = 0;
    static constexpr std::uint16_t kStreamMode = 1;

    // Opens an existing file. In mode 1, `useWorkingCopy` works on a
    // temporary copy in `tempFolder` (the system's when empty) instead of
    // the file itself. Failed is set when the file cannot be read.
    // With `showFailures` false, an open that fails shows nothing and leaves
    // its reason in GetFailureReason.
    TWaveFile(const std::string& fileName, std::uint16_t mode, bool useWorkingCopy,
              const std::string& tempFolder = {}, bool showFailures = true);
    // A new mode-0 file of `frames` zero-filled frames, still without a name.
    TWaveFile(std::uint64_t frames, const TWaveFormat& format, const std::string& tempFolder = {});
    // A new, empty mode-1 file on a temporary working file.
    TWaveFile(const TWaveFormat& format, bool useWorkingCopy, const std::string& tempFolder = {});
    ~TWaveFile() override;

    // 1 for a new file without a name yet; such a file cannot be written.
    std::uint8_t Untitled = 0;
    // 1 when Calibration holds a block, read from the file or set.
    std::uint8_t HasCalibration = 0;
    // 1 when SetCalibration changed the block of a file that has frames.
    std::uint8_t CalibrationChanged = 0;

    void SetFileName(const std::string& name);
    const std::string& GetFileName() const { return FileName; }
    const std::string& GetWorkingFileName() const { return WorkingFileName; }
    std::uint16_t GetMode() const { return Mode; }
    std::uint64_t GetDataOffset() const { return DataOffset; }

    bool Save();

    // A failure is shown in a message box as it happens (the default), or
    // only kept, for an owner that reports it once in its own words.
    void SetShowFailures(bool show) { ShowFailures = show; }
    // Why the last open or save failed, as sentences; empty when it did not
    // fail or no reason is known.
    const std::string& GetFailureReason() const { return FailureReason; }

    bool ReadSamples(void* dest, std::uint64_t first, std::uint64_t count, int channel) override;
    bool ReadData(void* dest, std::uint64_t bytes) override;
    bool WriteData(const void* src, std::uint64_t bytes) override;
    double GetSample(std::uint64_t frame, int channel, bool scaled) const override;

    void SetCalibration(TChannelCalibration left, TChannelCalibration right);
    void SetCalibrationBlock(const TWaveCalibration& block);
    void GetCalibration(TChannelCalibration& out, int channel) const;
    void GetCalibrationBlock(TWaveCalibration& out) const { out = Calibration; }

protected:
    void PlaceCursor(std::uint64_t frame) override;

private:
    // Fields every constructor sets before its own work.
    void InitialiseFile(const std::string& tempFolder);

    bool ReadFile();
    bool WriteFile();
    // Writes the whole file to `path`, which WriteFile then renames onto
    // FileName.
    bool WriteWholeFile(const std::string& path);

    bool OpenStream(bool reopening = false);
    bool CreateStream();
    bool SaveStream();
    bool SaveStreamInPlace(bool grew);
    bool CompleteChunks();
    bool CopyToTarget(const std::string& source, const std::string& target, std::uint64_t frames);
    // Closes the working file; false, with a message, when its last writes
    // could not be flushed.
    bool CloseStream();
    // Closes and deletes a temporary working file whose contents are of no
    // further use (a rewrite that failed), without a message.
    void DiscardWorkingFile();

    // Calibration chunk, kept apart in TWaveFileCalibration.cpp.
    void ReadCalibrationChunk(platform::RiffFile& file);
    bool ReadForeignCalibration(platform::RiffFile& file);
    // Writes the chunk at the file position; a failure is reported, leaves
    // no partial chunk behind and keeps HasCalibration for the next save.
    bool WriteCalibrationChunk(platform::RiffFile& file);
    // Replaces whatever follows the RIFF form of the working file (a stale
    // chunk of an earlier save, or data overwritten by growth) with the
    // current calibration chunk.
    bool RewriteCalibrationTail();

    // Shows "TWaveFile - cannot read ..." naming the file and the reason.
    void ReportUnreadable(const TWaveHeader& header);
    void ReportSaveFailure(const std::string& reason);
    // Keeps `reason` (a sentence) and, when failures are shown, shows `text`
    // (nothing when it is empty).
    void Fail(const std::string& text, const std::string& reason);
    // The reason of a header that could not be taken, as a sentence.
    static std::string HeaderFailure(const TWaveHeader& header);

    bool ShowFailures = true;
    std::string FailureReason;
    std::uint16_t Mode = kMemoryMode;
    std::uint8_t NewFile = 0;
    std::uint8_t UseWorkingCopy = 0;
    std::string TempFolder;
    std::string FileName;
    std::string WorkingFileName;
    std::uint64_t DataOffset = TWaveHeader::kDataOffset;
    TWaveCalibration Calibration;
    // Mutable: a const GetSample still moves the file position.
    mutable platform::RiffFile RiffFile;
    platform::RiffChunk RiffChunk;
    platform::RiffChunk DataChunk;
};
