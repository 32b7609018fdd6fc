#pragma once
// Chunked access to RIFF files: descend into a chunk, ascend out of it
// (completing its size when it was created here), create chunks, and plain
// reads, writes and seeks through a buffered stream.
//
// Offsets are 64-bit, so a file past 4 GB can be walked; the size fields of
// RIFF itself are 32-bit, and Ascend refuses a chunk that outgrew them
// rather than writing a wrapped size.
//
// Nothing here trusts a size read from a file: a search never steps past the
// end of its parent or of the file, and the caller checks a found chunk's
// size against FileLength() before reading it.

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a))
         | static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8
         | static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16
         | static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

inline constexpr std::uint32_t kRiffId = MakeFourCC('R', 'I', 'F', 'F');
inline constexpr std::uint32_t kListId = MakeFourCC('L', 'I', 'S', 'T');

struct RiffChunk {
    std::uint32_t Id = 0;
    // The size field: data bytes without the pad byte. For "RIFF" and
    // "LIST" it counts the form type, as the format defines.
    std::uint32_t Size = 0;
    std::uint32_t FormType = 0;
    // File offset just after the 8-byte header (for a form: of its type).
    std::int64_t DataOffset = 0;
    // Created here: Ascend writes the size from the file position.
    bool SizePending = false;

    // Offset of whatever follows the chunk, pad byte included.
    std::int64_t End() const { return DataOffset + Size + (Size & 1); }
};

enum class RiffFind {
    Next,  // whatever chunk comes next
    Id,    // the next chunk whose id is chunk.Id
    Form,  // the next "RIFF" chunk whose form type is chunk.FormType
    List,  // the next "LIST" chunk whose form type is chunk.FormType
};

class RiffFile {
public:
    enum class OpenMode {
        Read,       // existing file, reading only
        ReadWrite,  // existing file, reading and writing in place
        Create,     // new or truncated file, reading and writing
    };

    RiffFile() = default;
    ~RiffFile();  // closes; a failure here is lost, so callers Close() first
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;

    bool Open(const std::string& path, OpenMode mode);
    // False when any write since opening failed or the data could not be
    // flushed to the disk: a file is only as good as its last write.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Bytes transferred; fewer than asked at the end of the file (Read) or
    // when the disk is full (Write). -1 when the file is not open.
    std::int64_t Read(void* dest, std::int64_t bytes);
    std::int64_t Write(const void* src, std::int64_t bytes);
    bool WriteExactly(const void* src, std::int64_t bytes) { return Write(src, bytes) == bytes; }
    bool ReadExactly(void* dest, std::int64_t bytes) { return Read(dest, bytes) == bytes; }
    bool WriteU32(std::uint32_t value);

    // Absolute position; false when the file is not open or the seek fails.
    bool Seek(std::int64_t offset);
    bool SeekEnd();
    std::int64_t Tell() const;
    std::int64_t FileLength() const;
    // Cuts the file at `length` and leaves the position there. A write that
    // failed beyond `length` no longer counts against Close().
    bool Truncate(std::int64_t length);

    // Searches from the current position for a chunk as `find` says, within
    // `parent` when one is given, otherwise among the top-level chunks. On
    // success `chunk` describes it and the position is at its data (after
    // the form type of a form). On failure the position is unspecified.
    bool Descend(RiffChunk& chunk, const RiffChunk* parent, RiffFind find);
    // Leaves a chunk: one created here gets its size field (from the current
    // position) and a pad byte when that size is odd. Either way the
    // position ends just past the chunk.
    bool Ascend(RiffChunk& chunk);
    // Writes a chunk header (and the form type for "RIFF" and "LIST") at
    // the current position, with chunk.Size as a provisional size.
    bool CreateChunk(RiffChunk& chunk);

private:
    void NoteWriteFailure(std::int64_t at);

    enum class LastOp { None, Read, Write };

    std::FILE* file_ = nullptr;
    std::string path_;
    LastOp last_ = LastOp::None;
    bool wrote_ = false;
    // Offset of the earliest failed write; -1 while none failed.
    std::int64_t failedAt_ = -1;
};

// Tests only: the next writes through any RiffFile may store `bytes` more
// bytes, then fail as on a full disk. A negative value lifts the limit.
void SimulateDiskFull(std::int64_t bytes);

}  // namespace platform
