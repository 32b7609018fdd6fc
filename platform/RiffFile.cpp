#include "platform/RiffFile.h"

#include <atomic>
#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

static_assert(sizeof(off_t) >= 8, "RIFF offsets need a 64-bit off_t");

namespace platform {

namespace {

std::atomic<std::int64_t> diskBytesLeft{-1};

// Takes up to `bytes` from the simulated free space; all of it when no
// limit is set.
std::int64_t ClaimDiskSpace(std::int64_t bytes)
{
    std::int64_t left = diskBytesLeft.load();
    while (left >= 0) {
        const std::int64_t granted = bytes < left ? bytes : left;
        if (diskBytesLeft.compare_exchange_weak(left, left - granted))
            return granted;
    }
    return bytes;
}

std::uint32_t GetU32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

bool Matches(const RiffChunk& wanted, std::uint32_t id, std::uint32_t formType, RiffFind find)
{
    switch (find) {
    case RiffFind::Next: return true;
    case RiffFind::Id: return id == wanted.Id;
    case RiffFind::Form: return id == kRiffId && formType == wanted.FormType;
    case RiffFind::List: return id == kListId && formType == wanted.FormType;
    }
    return false;
}

}  // namespace

void SimulateDiskFull(std::int64_t bytes)
{
    diskBytesLeft.store(bytes < 0 ? -1 : bytes);
}

void RiffFile::NoteWriteFailure(std::int64_t at)
{
    if (failedAt_ < 0 || (at >= 0 && at < failedAt_))
        failedAt_ = at < 0 ? 0 : at;
}

RiffFile::~RiffFile()
{
    Close();
}

bool RiffFile::Open(const std::string& path, OpenMode mode)
{
    Close();
    const char* how = mode == OpenMode::Read ? "rb" : mode == OpenMode::ReadWrite ? "r+b" : "w+b";
    file_ = std::fopen(path.c_str(), how);
    if (file_ == nullptr)
        return false;
    // Chunk walking seeks a lot; a larger buffer keeps that cheap.
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    path_ = path;
    last_ = LastOp::None;
    wrote_ = false;
    failedAt_ = -1;
    return true;
}

bool RiffFile::Close()
{
    if (file_ == nullptr)
        return true;
    bool ok = failedAt_ < 0;
    if (std::fflush(file_) != 0 || std::ferror(file_) != 0)
        ok = false;
    // The caller may rename this file over a user's file next; the data
    // must be on the disk before the name is.
    if (wrote_ && ::fsync(::fileno(file_)) != 0)
        ok = false;
    if (std::fclose(file_) != 0)
        ok = false;
    file_ = nullptr;
    return ok;
}

std::int64_t RiffFile::Read(void* dest, std::int64_t bytes)
{
    if (file_ == nullptr || bytes < 0)
        return -1;
    // A stream switching between writing and reading must be sought first.
    if (last_ == LastOp::Write && ::fseeko(file_, 0, SEEK_CUR) != 0)
        return -1;
    last_ = LastOp::Read;
    return static_cast<std::int64_t>(std::fread(dest, 1, static_cast<std::size_t>(bytes), file_));
}

std::int64_t RiffFile::Write(const void* src, std::int64_t bytes)
{
    if (file_ == nullptr || bytes < 0)
        return -1;
    const std::int64_t start = Tell();
    if (last_ == LastOp::Read && ::fseeko(file_, 0, SEEK_CUR) != 0) {
        NoteWriteFailure(start);
        return 0;
    }
    last_ = LastOp::Write;
    wrote_ = true;
    const std::int64_t allowed = ClaimDiskSpace(bytes);
    const auto written = static_cast<std::int64_t>(std::fwrite(src, 1, static_cast<std::size_t>(allowed), file_));
    if (written != bytes)
        NoteWriteFailure(start + written);
    return written;
}

bool RiffFile::WriteU32(std::uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return WriteExactly(bytes, 4);
}

bool RiffFile::Seek(std::int64_t offset)
{
    last_ = LastOp::None;
    return file_ != nullptr && offset >= 0 && ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool RiffFile::SeekEnd()
{
    last_ = LastOp::None;
    return file_ != nullptr && ::fseeko(file_, 0, SEEK_END) == 0;
}

std::int64_t RiffFile::Tell() const
{
    return file_ == nullptr ? -1 : static_cast<std::int64_t>(::ftello(file_));
}

std::int64_t RiffFile::FileLength() const
{
    if (file_ == nullptr)
        return -1;
    const off_t here = ::ftello(file_);
    if (here < 0 || ::fseeko(file_, 0, SEEK_END) != 0)
        return -1;
    const off_t end = ::ftello(file_);
    if (::fseeko(file_, here, SEEK_SET) != 0)
        return -1;
    return static_cast<std::int64_t>(end);
}

bool RiffFile::Truncate(std::int64_t length)
{
    if (file_ == nullptr || length < 0 || std::fflush(file_) != 0)
        return false;
    if (::ftruncate(::fileno(file_), static_cast<off_t>(length)) != 0) {
        NoteWriteFailure(length);
        return false;
    }
    wrote_ = true;
    if (failedAt_ >= length)
        failedAt_ = -1;
    return Seek(length);
}

bool RiffFile::Descend(RiffChunk& chunk, const RiffChunk* parent, RiffFind find)
{
    const std::int64_t length = FileLength();
    if (length < 0)
        return false;
    std::int64_t limit = length;
    if (parent != nullptr && parent->End() < limit)
        limit = parent->End();

    std::int64_t pos = Tell();
    // The children of a form start after its type.
    if (parent != nullptr && (parent->Id == kRiffId || parent->Id == kListId) && pos < parent->DataOffset + 4)
        pos = parent->DataOffset + 4;
    while (pos >= 0 && pos + 8 <= limit) {
        unsigned char header[8];
        if (!Seek(pos) || !ReadExactly(header, 8))
            return false;
        const std::uint32_t id = GetU32(header);
        const std::uint32_t size = GetU32(header + 4);
        const std::int64_t dataOffset = pos + 8;

        std::uint32_t formType = 0;
        const bool isForm = id == kRiffId || id == kListId;
        if (isForm) {
            unsigned char type[4];
            if (dataOffset + 4 > limit || !ReadExactly(type, 4))
                return false;
            formType = GetU32(type);
        }
        if (Matches(chunk, id, formType, find)) {
            chunk.Id = id;
            chunk.Size = size;
            chunk.FormType = formType;
            chunk.DataOffset = dataOffset;
            chunk.SizePending = false;
            return Seek(dataOffset + (isForm ? 4 : 0));
        }
        pos = dataOffset + size + (size & 1);
    }
    return false;
}

bool RiffFile::Ascend(RiffChunk& chunk)
{
    if (file_ == nullptr)
        return false;
    if (!chunk.SizePending)
        return Seek(chunk.End());

    const std::int64_t end = Tell();
    const std::int64_t size = end - chunk.DataOffset;
    if (end < 0 || size < 0 || size > 0xFFFFFFFFLL)
        return false;
    if ((size & 1) != 0) {
        const unsigned char pad = 0;
        if (!WriteExactly(&pad, 1))
            return false;
    }
    chunk.Size = static_cast<std::uint32_t>(size);
    if (!Seek(chunk.DataOffset - 4) || !WriteU32(chunk.Size) || !Seek(chunk.End()))
        return false;
    chunk.SizePending = false;
    return true;
}

bool RiffFile::CreateChunk(RiffChunk& chunk)
{
    const std::int64_t pos = Tell();
    if (pos < 0 || !WriteU32(chunk.Id) || !WriteU32(chunk.Size))
        return false;
    if ((chunk.Id == kRiffId || chunk.Id == kListId) && !WriteU32(chunk.FormType))
        return false;
    chunk.DataOffset = pos + 8;
    chunk.SizePending = true;
    return true;
}

}  // namespace platform
