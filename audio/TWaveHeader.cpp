#include "audio/TWaveHeader.h"

#include <algorithm>
#include <cstring>

using platform::RiffChunk;
using platform::RiffFind;

namespace {

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagExtensible = 0xFFFE;
// The 12 bytes that follow the format tag in every WAVE_FORMAT_EXTENSIBLE
// sub-format GUID.
constexpr std::uint8_t kGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Enough of any "fmt " chunk for the extensible form.
constexpr std::uint32_t kFormatBytesUsed = 40;

std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void PutU16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v)
{
    PutU16(p, v);
    PutU16(p + 2, v >> 16);
}

std::string EncodingName(std::uint16_t tag)
{
    switch (tag) {
    case 2: return "Microsoft ADPCM";
    case 3: return "floating-point";
    case 6: return "A-law";
    case 7: return "mu-law";
    case 0x11: return "IMA ADPCM";
    case 0x55: return "MPEG layer 3";
    default: return "encoded";
    }
}

}  // namespace

TWaveHeader::Status TWaveHeader::Read(platform::RiffFile& file)
{
    reason_.clear();
    const std::int64_t length = file.FileLength();

    form_ = RiffChunk{};
    form_.FormType = kWaveType;
    if (!file.Seek(0) || !file.Descend(form_, nullptr, RiffFind::Form)) {
        reason_ = "it is not a RIFF WAVE file";
        return Status::NotWave;
    }

    RiffChunk format{kFormatId};
    if (!file.Descend(format, &form_, RiffFind::Id)) {
        reason_ = "it has no format (\"fmt \") chunk";
        return Status::FormatMissing;
    }
    const std::uint32_t used = std::min(format.Size, kFormatBytesUsed);
    std::uint8_t bytes[kFormatBytesUsed] = {};
    if (format.Size < 16 || format.DataOffset + used > length || !file.ReadExactly(bytes, used)) {
        reason_ = "its format chunk is cut short";
        return Status::FormatMissing;
    }
    if (!ParseFormat(bytes, used))
        return Status::FormatInvalid;

    // "data" may come before "fmt " or after other chunks: search the form.
    data_ = RiffChunk{kDataId};
    if (!file.Seek(form_.DataOffset + 4) || !file.Descend(data_, &form_, RiffFind::Id)) {
        reason_ = "it has no data chunk";
        return Status::DataMissing;
    }
    const std::int64_t available = length - data_.DataOffset;
    if (std::int64_t{data_.Size} > available) {
        reason_ = "its data chunk says " + std::to_string(data_.Size) + " bytes, but only "
                + std::to_string(available) + " follow in the file";
        return Status::DataTruncated;
    }
    const std::uint32_t frameBytes = std::uint32_t{format_.NumChannels} * format_.BytesPerSample;
    if (data_.Size < frameBytes) {
        reason_ = data_.Size == 0 ? std::string("its data chunk is empty")
                                  : "its data chunk holds " + std::to_string(data_.Size)
                                        + " bytes, less than one frame of " + std::to_string(frameBytes);
        return Status::DataEmpty;
    }
    if (!file.Seek(data_.DataOffset)) {
        reason_ = "its data cannot be reached";
        return Status::DataTruncated;
    }
    return Status::Ok;
}

bool TWaveHeader::ParseFormat(const std::uint8_t* chunk, std::uint32_t size)
{
    std::uint16_t tag = GetU16(chunk);
    const std::uint16_t channels = GetU16(chunk + 2);
    const std::uint32_t rate = GetU32(chunk + 4);
    const std::uint16_t blockAlign = GetU16(chunk + 12);
    const std::uint16_t bits = GetU16(chunk + 14);

    if (tag == kTagExtensible) {
        if (size < 40 || GetU16(chunk + 16) < 22) {
            reason_ = "its extensible format chunk is cut short";
            return false;
        }
        // The sub-format GUID starts with the format tag it stands for.
        const std::uint32_t subFormat = GetU32(chunk + 24);
        if (std::memcmp(chunk + 28, kGuidTail, sizeof kGuidTail) != 0 || subFormat > 0xFFFF) {
            reason_ = "its samples are in an unknown encoding; only PCM can be read";
            return false;
        }
        tag = static_cast<std::uint16_t>(subFormat);
    }
    if (tag != kTagPcm) {
        reason_ = "its samples are " + EncodingName(tag) + " (format tag " + std::to_string(tag)
                + "); only PCM can be read";
        return false;
    }
    if (channels == 0 || channels > 2) {
        reason_ = "it has " + std::to_string(channels) + " channels; only mono and stereo can be read";
        return false;
    }
    if (rate == 0) {
        reason_ = "its sampling rate is 0";
        return false;
    }
    const unsigned bytes = blockAlign / channels;
    if (blockAlign % channels != 0 || bytes < 1 || bytes > 4) {
        reason_ = "its block align of " + std::to_string(blockAlign) + " bytes does not fit "
                + std::to_string(channels) + " channels of 1 to 4 bytes";
        return false;
    }
    if (bits == 0 || (bits + 7u) / 8u != bytes) {
        reason_ = "it says " + std::to_string(bits) + " bits per sample but stores " + std::to_string(bytes)
                + " bytes per sample";
        return false;
    }
    format_.Set(rate, channels, static_cast<std::uint16_t>(bytes));
    return true;
}

bool TWaveHeader::Write(platform::RiffFile& file, const TWaveFormat& format, std::uint32_t dataBytes,
                        RiffChunk& form, RiffChunk& data)
{
    const std::uint32_t blockAlign = std::uint32_t{format.NumChannels} * format.BytesPerSample;
    std::uint8_t fmt[16];
    PutU16(fmt, kTagPcm);
    PutU16(fmt + 2, format.NumChannels);
    PutU32(fmt + 4, format.SamplingRate);
    PutU32(fmt + 8, format.SamplingRate * blockAlign);
    PutU16(fmt + 12, blockAlign);
    PutU16(fmt + 14, format.BitsPerSample);

    form = RiffChunk{platform::kRiffId, 36 + dataBytes + (dataBytes & 1), kWaveType};
    RiffChunk formatChunk{kFormatId, sizeof fmt};
    data = RiffChunk{kDataId, dataBytes};
    return file.CreateChunk(form) && file.CreateChunk(formatChunk) && file.WriteExactly(fmt, sizeof fmt)
        && file.Ascend(formatChunk) && file.CreateChunk(data);
}
