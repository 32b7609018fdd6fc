#pragma once
// The RIFF WAVE header: finding the "fmt " and "data" chunks of a file and
// checking that they describe PCM the program can read, and writing the
// 44-byte header of the files the program makes.
//
// Files come from anywhere, so every size is checked against the file's
// real length before anything is allocated or read, and a format is taken
// only when its fields agree with one another: a file the program would
// misread is refused with the reason instead.

#include <cstdint>
#include <string>

#include "format/TWaveFormat.h"
#include "platform/RiffFile.h"

class TWaveHeader {
public:
    enum class Status {
        Ok,
        NotWave,        // no "RIFF" form of type "WAVE"
        FormatMissing,  // no complete "fmt " chunk
        FormatInvalid,  // not PCM, or fields that contradict each other
        DataMissing,    // no "data" chunk in the form
        DataEmpty,      // a "data" chunk without a whole frame
        DataTruncated,  // a "data" chunk larger than the rest of the file
    };

    static constexpr std::uint32_t kWaveType = platform::MakeFourCC('W', 'A', 'V', 'E');
    static constexpr std::uint32_t kFormatId = platform::MakeFourCC('f', 'm', 't', ' ');
    static constexpr std::uint32_t kDataId = platform::MakeFourCC('d', 'a', 't', 'a');
    // Offset of the first sample in every file the program writes.
    static constexpr std::int64_t kDataOffset = 44;
    // The largest "data" chunk whose form size still fits 32 bits.
    static constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36 - 1;

    // Reads from the start of the file. On Ok the file is positioned at the
    // first sample; otherwise Reason() says what is wrong, in words.
    Status Read(platform::RiffFile& file);

    const TWaveFormat& Format() const { return format_; }
    const platform::RiffChunk& Form() const { return form_; }
    const platform::RiffChunk& Data() const { return data_; }
    const std::string& Reason() const { return reason_; }

    // Writes "RIFF", the provisional form size, "WAVE", the 16-byte PCM
    // "fmt " chunk and the header of a "data" chunk of `dataBytes` bytes,
    // leaving `form` and `data` open for Ascend to complete.
    static bool Write(platform::RiffFile& file, const TWaveFormat& format, std::uint32_t dataBytes,
                      platform::RiffChunk& form, platform::RiffChunk& data);

private:
    bool ParseFormat(const std::uint8_t* chunk, std::uint32_t size);

    TWaveFormat format_;
    platform::RiffChunk form_;
    platform::RiffChunk data_;
    std::string reason_;
};
