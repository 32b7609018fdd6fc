// Input streaming: conversion of the driver's samples, decimation, the ring
// and its latest-block read, and the recording.

#include "audio/TWaveFile.h"
#include "tests/audio/AsioTestSupport.h"

#include <cmath>

namespace {

// Reproducible codes within ±2^21, a different stream per seed.
std::vector<std::int32_t> NoiseCodes(std::uint32_t seed, std::size_t count)
{
    std::vector<std::int32_t> codes(count);
    for (std::int32_t& code : codes) {
        seed = seed * 214013u + 2531011u;
        code = static_cast<std::int32_t>(seed >> 8) % (1 << 21);
    }
    return codes;
}

} // namespace

class InputStream : public PortTest {
protected:
    // Pumps the 24-bit codes in buffers of 512 frames, as 32-bit driver words
    // whose low byte is noise the port must drop.
    void PumpCodes(const std::vector<std::int32_t>& left, const std::vector<std::int32_t>& right)
    {
        const auto slots = [](const std::vector<std::int32_t>& codes, std::size_t first) {
            std::vector<std::int32_t> words;
            for (std::size_t i = first; i < first + 512; ++i)
                words.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(codes[i]) << 8) | 0x5A);
            return Slots(ASIOSTInt32LSB, words);
        };
        for (std::size_t b = 0; b < left.size(); b += 512)
            ASSERT_TRUE(Pump(slots(left, b), slots(right, b)));
    }

    // Pumps buffers of a ramp, frame k carrying code k on the left and −k on
    // the right, continuing where the last call ended.
    void PumpRamp(int buffers)
    {
        std::vector<std::int32_t> left, right;
        for (int k = 0; k < buffers * 512; ++k, ++Frames) {
            left.push_back(Frames);
            right.push_back(-Frames);
        }
        PumpCodes(left, right);
    }

    // The newest frame of a successful read of n, checked for being the ramp.
    std::int32_t ReadNewest(std::int32_t n)
    {
        std::vector<std::int32_t> left(static_cast<std::size_t>(n)), right(static_cast<std::size_t>(n));
        if (!Port().ReadLatest(n, left.data(), right.data()))
            return -1;
        for (std::int32_t i = 0; i < n; ++i) {
            EXPECT_EQ(left[i], left[n - 1] - (n - 1 - i)) << "frame " << i;
            EXPECT_EQ(right[i], -left[i]) << "frame " << i;
        }
        return left[static_cast<std::size_t>(n - 1)];
    }

    std::int32_t Frames = 0;
};

TEST_F(InputStream, DriverSamplesBecomeSignedCodesOfTheAnalysisWidth)
{
    AddDriver("32", {.Name = "Pump 32"});
    AddDriver("24", {.Name = "Pump 24", .SampleType = ASIOSTInt24LSB});
    AddDriver("16", {.Name = "Pump 16", .SampleType = ASIOSTInt16LSB});

    struct Case {
        int Device;
        ASIOSampleType Type;
        std::int32_t Word;  // the sample at full 32-bit scale
        std::uint16_t Bytes;
        std::int32_t Code;
        std::vector<std::uint8_t> Stored;
    };
    const Case cases[] = {
        {0, ASIOSTInt32LSB, 0x12345678, 3, 0x123456, {0x56, 0x34, 0x12}},
        {0, ASIOSTInt32LSB, 0x12345678, 2, 0x1234, {0x34, 0x12}},
        {0, ASIOSTInt32LSB, static_cast<std::int32_t>(0xFFFFFF00u), 3, -1, {0xFF, 0xFF, 0xFF}},
        {1, ASIOSTInt24LSB, static_cast<std::int32_t>(0x80000000u), 3, -8388608, {0x00, 0x00, 0x80}},
        {1, ASIOSTInt24LSB, static_cast<std::int32_t>(0x80000000u), 2, -32768, {0x00, 0x80}},
        {2, ASIOSTInt16LSB, static_cast<std::int32_t>(0xFEFF0000u), 2, -257, {0xFF, 0xFE}},
        {2, ASIOSTInt16LSB, static_cast<std::int32_t>(0xFEFF0000u), 3, -65792, {0x00, 0xFF, 0xFE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "device " << c.Device << ", " << c.Bytes << " bytes");
        TWaveFile recording(1024, TWaveFormat(48000, 2, c.Bytes));
        ASSERT_TRUE(StartInput(c.Device, 48000, c.Bytes, 1024, &recording));
        const std::vector<std::uint8_t> slots = Slots(c.Type, std::vector<std::int32_t>(512, c.Word));
        for (int b = 0; b < 20; ++b)
            ASSERT_TRUE(Pump(slots, slots));
        std::vector<std::int32_t> left(1024), right(1024);
        ASSERT_TRUE(Port().ReadLatest(1024, left.data(), right.data()));
        EXPECT_EQ(left[0], c.Code);
        EXPECT_EQ(right[1023], c.Code);
        const std::vector<std::uint8_t> stored(recording.GetBuffer(), recording.GetBuffer() + c.Bytes);
        EXPECT_EQ(stored, c.Stored);
        Port().Close();
    }
}

// The ring holds ten seconds and at least twenty reads; the latest read
// follows the clock and refuses stale or missing data.
TEST_F(InputStream, TheRingHoldsTenSecondsAndItsLatestReadFollowsTheClock)
{
    UseTestClock();
    AddDriver("a", {.Name = "Pump A", .AcceptedRates = {32000}});
    TASIOSoundPort& port = Port();
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
    struct Case {
        std::uint32_t Rate;
        std::int32_t Request;
        std::int32_t Block;
        std::int32_t Size;
    };
    for (const Case& c : {Case{192000, 65536, 32768, 1900544}, Case{48000, 65536, 8192, 1310720},
                          Case{48000, 1024, 8192, 475136}, Case{12000, 65536, 3000, 1310720},
                          Case{12000, 1024, 3000, 480000}, Case{32000, 1024, 4096, 319488}}) {
        SCOPED_TRACE(c.Rate);
        port.SetFormat(c.Rate, 2, 3);
        ASSERT_TRUE(port.PrepareInput(nullptr, c.Request, nullptr));
        EXPECT_EQ(port.GetRing().GetBlock(), c.Block);
        EXPECT_EQ(port.GetRing().GetRingSize(), c.Size);
        EXPECT_EQ(port.GetSamplesAvailable(), 0);
    }

    // 32 kHz: reads end one block (4096 frames, 128 ms) behind the write index.
    ASSERT_TRUE(StartInput(0, 32000, 3, 1024));
    EXPECT_EQ(ReadNewest(1024), -1) << "before any buffer arrived";

    PumpRamp(9);
    EXPECT_EQ(ReadNewest(1024), -1) << "fewer than a block plus a read";
    PumpRamp(1);
    EXPECT_EQ(ReadNewest(1024), Frames - 4096);
    Clock.AdvanceMilliseconds(127);
    EXPECT_EQ(ReadNewest(1024), Frames - 32) << "moved on by the 4064 frames due since the last buffer";
    Clock.AdvanceMilliseconds(1);
    EXPECT_EQ(ReadNewest(1024), -1) << "a whole block due: the frame at the write index is not yet there";
    Clock.AdvanceMilliseconds(100);
    EXPECT_EQ(ReadNewest(1024), -1) << "stalled";
    PumpRamp(1);
    EXPECT_EQ(ReadNewest(1024), Frames - 4096) << "flowing again";

    Port().Stop();
    ASSERT_TRUE(Port().PrepareInput(nullptr, 1024, nullptr));
    EXPECT_EQ(ReadNewest(1024), -1) << "a new prepare empties the ring";
    ASSERT_TRUE(Port().Start());
    Frames = 0;

    // A full ring wraps its reads.
    const std::int32_t ring = Port().GetRing().GetRingSize();
    ASSERT_EQ(ring % 512, 0);
    PumpRamp(ring / 512 + 4);
    ASSERT_EQ(Port().GetSamplesAvailable(), ring);
    ASSERT_EQ(Port().GetRing().GetWriteIndex(), 2048);
    EXPECT_EQ(ReadNewest(1024), Frames - 4096) << "the read's end wraps back by the ring size";
    PumpRamp(5);
    ASSERT_EQ(Port().GetRing().GetWriteIndex(), 4608);
    EXPECT_EQ(ReadNewest(1024), Frames - 4096) << "the read crosses the ring's start";
    EXPECT_EQ(Port().GetFramesDelivered(), static_cast<std::uint64_t>(Frames)) << "the count goes on past a full ring";
}

// At 48 kHz the recording and the ring hold the stream itself; at 24 kHz what
// decimating the whole stream offline gives: the same low-pass, every second output.
TEST_F(InputStream, TheRecordingAndTheRingHoldTheStreamAsDecimatedOffline)
{
    UseTestClock();
    AddDriver("a", {.Name = "Pump A"});
    constexpr int kFrames = 40 * 512;
    const std::vector<std::int32_t> left = NoiseCodes(1, kFrames), right = NoiseCodes(2, kFrames);
    for (const int ratio : {1, 2}) {
        SCOPED_TRACE(ratio);
        const TWaveFormat format(48000 / ratio, 2, 3);
        const int produced = kFrames / ratio;
        TWaveFile recording(static_cast<std::uint64_t>(produced), format);
        ASSERT_TRUE(StartInput(0, format.SamplingRate, 3, 2048, &recording));
        PumpCodes(left, right);
        ASSERT_EQ(Port().GetSamplesAvailable(), produced);
        ASSERT_EQ(recording.GetDataFrames(), static_cast<std::uint64_t>(produced));

        TWaveData probe(1, format);
        probe.DesignDecimationFilter(2);
        const float* c = probe.GetFilterCoefficients();
        const int taps = probe.GetFilterTaps();
        ASSERT_EQ(taps, 99);
        const auto offline = [&](const std::vector<std::int32_t>& x, int m) {
            if (ratio == 1)
                return x[static_cast<std::size_t>(m)];
            double sum = 0;
            for (int t = 0; t < taps; ++t) {
                const int i = 2 * m + t - taps;
                sum += (i >= 0 ? x[static_cast<std::size_t>(i)] : 0) * double{c[t]};
            }
            return static_cast<std::int32_t>(std::trunc(sum));
        };
        int worst = 0;
        for (int m = 0; m < produced; ++m) {
            worst = std::max(worst, std::abs(static_cast<int>(recording.GetSample(m, 0, false)) - offline(left, m)));
            worst = std::max(worst, std::abs(static_cast<int>(recording.GetSample(m, 1, false)) - offline(right, m)));
        }
        EXPECT_LE(worst, ratio - 1);

        // Blocks end 8192 frames behind, or a quarter of a second (6000 frames) when decimating.
        std::vector<std::int32_t> newest(2048);
        ASSERT_TRUE(Port().ReadLatest(2048, newest.data(), nullptr));
        const int end = produced - (ratio == 1 ? 8192 : 6000);
        EXPECT_NEAR(newest[2047], offline(left, end), ratio - 1);
        EXPECT_NEAR(newest[0], offline(left, end - 2047), ratio - 1);
        Port().Close();
    }
}

// The module's low rates decimate 48 kHz buffers of 512 frames, which are
// no whole multiple of every ratio (512 / 6 = 85.3 at 8 kHz): the frames a
// buffer leaves over start the next buffer's first output. The recording
// then holds the offline decimation of the whole stream, every ratio-th
// output, none lost (a lost frame per buffer read a 1 kHz tone as 1003.9 Hz).
TEST_F(InputStream, BuffersThatAreNoMultipleOfTheRatioDecimateAsTheWholeStream)
{
    UseTestClock();
    AddDriver("a", {.Name = "Pump A"});
    constexpr int kFrames = 60 * 512;
    const std::vector<std::int32_t> left = NoiseCodes(3, kFrames), right = NoiseCodes(4, kFrames);
    // Rate, outputs: kFrames / ratio rounded up, as outputs start at frames 0, ratio, 2·ratio, …
    for (const auto& [rate, produced] : {std::pair{8000, 5120}, std::pair{4000, 2560}, std::pair{6000, 3840},
                                         std::pair{12000, 7680}}) {
        SCOPED_TRACE(rate);
        const int ratio = 48000 / rate;
        const TWaveFormat format(static_cast<std::uint32_t>(rate), 2, 3);
        TWaveFile recording(static_cast<std::uint64_t>(produced), format);
        ASSERT_TRUE(StartInput(0, format.SamplingRate, 3, 2048, &recording));
        PumpCodes(left, right);
        EXPECT_EQ(recording.GetDataFrames(), static_cast<std::uint64_t>(produced));
        EXPECT_EQ(Port().GetFramesDelivered(), static_cast<std::uint64_t>(produced));

        TWaveData probe(1, format);
        probe.DesignDecimationFilter(static_cast<std::uint32_t>(ratio));
        const float* c = probe.GetFilterCoefficients();
        const int taps = probe.GetFilterTaps();
        const auto offline = [&](const std::vector<std::int32_t>& x, int m) {
            double sum = 0;
            for (int t = 0; t < taps; ++t) {
                const int i = ratio * m + t - taps;
                sum += (i >= 0 ? x[static_cast<std::size_t>(i)] : 0) * double{c[t]};
            }
            return static_cast<std::int32_t>(std::trunc(sum));
        };
        const int stored = static_cast<int>(std::min<std::uint64_t>(recording.GetDataFrames(), produced));
        int worst = 0;
        for (int m = 0; m < stored; ++m) {
            worst = std::max(worst, std::abs(static_cast<int>(recording.GetSample(m, 0, false)) - offline(left, m)));
            worst = std::max(worst, std::abs(static_cast<int>(recording.GetSample(m, 1, false)) - offline(right, m)));
        }
        EXPECT_LE(worst, 1);
        Port().Close();
    }
}
