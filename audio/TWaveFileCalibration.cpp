// The calibration block of TWaveFile and the chunks that carry it.

#include "audio/TWaveFile.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Trace.h"

using platform::RiffFind;

namespace {

constexpr std::uint32_t kForeignId = platform::MakeFourCC('C', 'A', 'L', '1');
// A sensitivity record is a few dozen characters; a larger size is bogus.
constexpr std::int64_t kForeignMaxBytes = 64 * 1024;

}  // namespace

void TWaveFile::SetCalibration(TChannelCalibration left, TChannelCalibration right)
{
    SetCalibrationBlock(TWaveCalibration(left, right));
}

void TWaveFile::SetCalibrationBlock(const TWaveCalibration& block)
{
    if (!(block == Calibration)) {
        CalibrationChanged = 1;
        Modified = 1;
    }
    // A file without frames has nothing a calibration could change.
    if (NumFrames == 0) {
        CalibrationChanged = 0;
        Modified = 0;
    }
    Calibration = block;
    HasCalibration = 1;
}

void TWaveFile::GetCalibration(TChannelCalibration& out, int channel) const
{
    if (channel == 0 || channel == 1)
        out = Calibration.GetChannel(channel);
}

void TWaveFile::ReadCalibrationChunk(platform::RiffFile& file)
{
    if (!file.IsOpen())
        return;
    HasCalibration = 0;

    // The size field is not trusted: early versions wrote 0 there.
    platform::RiffChunk chunk{TWaveCalibration::kChunkId};
    TWaveCalibration block;
    if (file.Seek(0) && file.Descend(chunk, nullptr, RiffFind::Id)
        && file.ReadExactly(block.Bytes.data(), TWaveCalibration::kSize)) {
        block.TerminateTexts();
        Calibration = block;
        HasCalibration = 1;
    }

    std::vector<std::uint8_t> old(TWaveCalibration::kOldChunkSize);
    chunk = platform::RiffChunk{TWaveCalibration::kOldChunkId};
    if (!HasCalibration && file.Seek(0) && file.Descend(chunk, nullptr, RiffFind::Id)
        && file.ReadExactly(old.data(), static_cast<std::int64_t>(old.size()))) {
        Calibration = TWaveCalibration::FromOldChunk(old.data());
        HasCalibration = 1;
    }

    if (!HasCalibration)
        ReadForeignCalibration(file);
    Calibration.NameUnnamedChannels();
    file.Seek(0);
}

bool TWaveFile::ReadForeignCalibration(platform::RiffFile& file)
{
    platform::RiffChunk form{0, 0, TWaveHeader::kWaveType};
    platform::RiffChunk chunk{kForeignId};
    if (!file.Seek(0) || !file.Descend(form, nullptr, RiffFind::Form) || !file.Descend(chunk, &form, RiffFind::Id)
        || chunk.Size < TWaveCalibration::kForeignMinSize) {
        file.Seek(0);
        return false;
    }
    const std::int64_t bytes =
        std::min({std::int64_t{chunk.Size}, kForeignMaxBytes, file.FileLength() - chunk.DataOffset});
    std::vector<char> text(static_cast<std::size_t>(std::max<std::int64_t>(bytes, 0)));
    if (!file.ReadExactly(text.data(), static_cast<std::int64_t>(text.size()))) {
        file.Seek(0);
        return false;
    }
    const std::string_view record(text.data(), text.size());
    platform::Trace(std::string(record) + "\n");
    const bool applied = Calibration.ApplyForeignSensitivity(record);
    if (applied)
        HasCalibration = 1;
    file.Seek(0);
    return applied;
}

bool TWaveFile::WriteCalibrationChunk(platform::RiffFile& file)
{
    if (!HasCalibration)
        return true;
    const std::int64_t start = file.Tell();
    platform::RiffChunk chunk{TWaveCalibration::kChunkId, TWaveCalibration::kSize};
    bool ok = false;
    if (!file.CreateChunk(chunk))
        Fail("Error on mmioCreateChunk() for Calibration data", "Its calibration chunk could not be made.");
    else if (!file.WriteExactly(Calibration.Bytes.data(), TWaveCalibration::kSize))
        Fail("Error writing Calibration data to wave file", "Its calibration data could not be written.");
    else
        ok = file.Ascend(chunk);
    if (!ok && start >= 0)
        file.Truncate(start);
    return ok;
}

bool TWaveFile::RewriteCalibrationTail()
{
    const std::int64_t length = RiffFile.FileLength();
    if (length < 0)
        return false;
    // Never into the data, even when the form's size says otherwise, and
    // never past the file's end, except for the data's missing pad byte.
    std::int64_t tail = std::min(std::max(RiffChunk.End(), DataChunk.End()), length);
    tail = std::max(tail, DataChunk.End());

    if (RiffChunk.End() != tail) {
        RiffChunk.Size = static_cast<std::uint32_t>(tail - RiffChunk.DataOffset);
        if (!RiffFile.Seek(RiffChunk.DataOffset - 4) || !RiffFile.WriteU32(RiffChunk.Size))
            return false;
    }
    return RiffFile.Truncate(tail) && WriteCalibrationChunk(RiffFile);
}
