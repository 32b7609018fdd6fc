// The input stream's conversion at the edges of a driver buffer: every
// sample width, both channels, the last frame of the last channel. Each
// buffer ends where its memory ends (an inaccessible page follows), so a
// read one byte past a slot faults in any build, not only under a sanitizer.

#include "audio/TAsioSampleCodec.h"
#include "audio/TInputStream.h"
#include "audio/TWaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// bytes of memory whose last byte is the last readable one.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t bytes)
    {
        const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        m_Size = ((bytes + page - 1) / page + 1) * page;
        void* base = ::mmap(nullptr, m_Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED) {
            m_Size = 0;
            return;
        }
        m_Base = static_cast<std::uint8_t*>(base);
        if (::mprotect(m_Base + m_Size - page, page, PROT_NONE) == 0)
            m_Data = m_Base + m_Size - page - bytes;
    }
    ~GuardedBuffer()
    {
        if (m_Base != nullptr)
            ::munmap(m_Base, m_Size);
    }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    std::uint8_t* Data() const { return m_Data; }

private:
    std::uint8_t* m_Base = nullptr;
    std::uint8_t* m_Data = nullptr;
    std::size_t m_Size = 0;
};

constexpr std::int32_t kFrames = 64;

// Slot f of channel c carries, low byte first, f, then 0x34 (24-bit samples
// only), then 0x80 | c; a 32-bit slot's pad byte below them is 0x5A.
void Fill(std::uint8_t* slots, TAsioSampleCodec::SampleSize size, int channel)
{
    for (std::int32_t f = 0; f < kFrames; ++f) {
        std::uint8_t* slot = slots + f * size.Bytes;
        if (size.Bytes > size.Significant)
            slot[0] = 0x5A;
        std::uint8_t* sample = slot + (size.Bytes - size.Significant);
        sample[0] = static_cast<std::uint8_t>(f);
        if (size.Significant == 3)
            sample[1] = 0x34;
        sample[size.Significant - 1] = static_cast<std::uint8_t>(0x80 | channel);
    }
}

TEST(InputStreamEdges, EveryWidthConvertsTheLastFrameOfTheLastChannelWithoutReadingPastIt)
{
    struct Case {
        const char* name;
        ASIOSampleType type;
        std::uint16_t bytes;
        // Codes of frames 0 and 63 of the left and the right channel, worked
        // out by hand from the bytes above.
        std::int32_t left0, left63, right0, right63;
    };
    const Case cases[] = {
        {"32-bit slots to 24 bits", ASIOSTInt32LSB, 3, -8375296, -8375233, -8309760, -8309697},
        {"32-bit slots to 16 bits", ASIOSTInt32LSB, 2, -32716, -32716, -32460, -32460},
        {"24-bit slots to 24 bits", ASIOSTInt24LSB, 3, -8375296, -8375233, -8309760, -8309697},
        {"24-bit slots to 16 bits", ASIOSTInt24LSB, 2, -32716, -32716, -32460, -32460},
        {"16-bit slots to 24 bits", ASIOSTInt16LSB, 3, -8388608, -8372480, -8323072, -8306944},
        {"16-bit slots to 16 bits", ASIOSTInt16LSB, 2, -32768, -32705, -32512, -32449},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TAsioSampleCodec::SampleSize size = TAsioSampleCodec::GetSampleSize(c.type);
        const std::size_t bytes = static_cast<std::size_t>(kFrames * size.Bytes);
        GuardedBuffer left(bytes), right(bytes);
        ASSERT_NE(left.Data(), nullptr);
        ASSERT_NE(right.Data(), nullptr);
        Fill(left.Data(), size, 0);
        Fill(right.Data(), size, 1);

        const TWaveFormat format(48000, 2, c.bytes);
        TWaveFile recording(kFrames, format);
        TInputStream stream;
        ASSERT_TRUE(stream.Prepare(&recording, 1024, nullptr, format, 1));
        ASSERT_TRUE(stream.Build(kFrames, format, 1, 0));
        const std::uint8_t* slots[2] = {left.Data(), right.Data()};
        ASSERT_EQ(stream.Process(slots, 2, size), kFrames);
        ASSERT_EQ(recording.GetDataFrames(), static_cast<std::uint64_t>(kFrames));
        EXPECT_EQ(recording.GetSample(0, 0, false), c.left0);
        EXPECT_EQ(recording.GetSample(kFrames - 1, 0, false), c.left63);
        EXPECT_EQ(recording.GetSample(0, 1, false), c.right0);
        EXPECT_EQ(recording.GetSample(kFrames - 1, 1, false), c.right63);
        stream.Release();
    }
}

} // namespace
