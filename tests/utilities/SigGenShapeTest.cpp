// The shaped signals and the user's wave file.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

#include <unistd.h>

#include "audio/TWaveFile.h"
#include "settings/TextField.h"
#include "tests/support/PlatformTestSupport.h"
#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TSigGenOutputFormat.h"
#include "utilities/siggen/TUserWave.h"

using namespace siggen_test;

TEST(SigGenShape, SawtoothAndTriangleRampOverWholeFramePeriods)
{
    TSigGenBuildRequest r = Request(kSigSawtooth);
    const std::vector<double> rising = Samples(r);
    for (int k = 0; k < 48; ++k) {
        const double expected = std::trunc(-32767.0 + k * 65534.0 / 48.0);
        const std::size_t n = k;
        ASSERT_EQ(At(rising, {n, n + 48 * 7}), (std::vector{expected, expected})) << k;
    }
    r.Channel[0].Sawtooth.Slope = -1;
    EXPECT_EQ(At(Samples(r), {0, 24}), (std::vector{32767.0, 0.0}));

    // 48000 / 1400 = 34.3: a 34-frame period; up in 17 frames, down in 17.
    r = Request(kSigTriangular);
    r.Channel[0].Triangular.FreqHz = 1400.0f;
    EXPECT_EQ(At(Samples(r), {0, 17, 34}), (std::vector{-32767.0, 32767.0, -32767.0}));
    // An odd period (33 frames at 1454 Hz) ends its longer fall at min, and
    // the next period begins at min again.
    r.Channel[0].Triangular.FreqHz = 1454.0f;
    EXPECT_EQ(At(Samples(r), {16, 32, 33}), (std::vector{32767.0, -32767.0, -32767.0}));
}

TEST(SigGenShape, SquareAndPulseKeepHarmonicsDutyCyclesAndLevelsAndRefuseUnreachableFrequencies)
{
    TSigGenBuildRequest r = Request(kSigSquare);
    r.Channel[0].Square.FreqHz = 250.0f; // 192 frames a period
    const std::vector<double> x = Samples(r);
    const Spectrum s(Slice(x, 0, 32768), 48000, 2, 32768);
    const double fundamental = s.PeakDb(240, 260);
    // An ideal square of amplitude a has a fundamental of 4a/π.
    EXPECT_NEAR(fundamental, Db(4.0 / M_PI * 32766.0 / 32767.0), 0.05);
    for (int n = 3; n <= 9; n += 2)
        EXPECT_NEAR(s.PeakDb(250.0 * n - 10, 250.0 * n + 10) - fundamental, -Db(n), 0.1) << n;

    // 44100 / 1000: a 44-frame period, 22 high at 50 %; 11 at 25 %.
    r = Request(kSigSquare, 44100);
    r.Channel[0].Square = {1000.0f, 50};
    EXPECT_EQ(CountOf(Samples(r), 44, 44, 32766.0), 22);
    r.Channel[0].Square.DutyCyclePct = 25;
    EXPECT_EQ(CountOf(Samples(r), 44, 44, 32766.0), 11);

    // A frequency beyond reach is refused with silence, or plays at Nyquist.
    r = Request(kSigSquare);
    r.Channel[0].Square.FreqHz = 0.0f;
    Built b = Build(r);
    ASSERT_TRUE(b.Wave);
    EXPECT_EQ(CountOf(Channel(*b.Wave), 0, 48000, 0.0), 48000);
    ASSERT_EQ(b.Result.Messages.size(), 1u);
    EXPECT_NE(b.Result.Messages[0].find("left channel"), std::string::npos);

    r.Channel[0].Square.FreqHz = 30000.0f; // two frames a period
    EXPECT_EQ(At(Samples(r), {0, 1, 2}), (std::vector{32766.0, -32766.0, 32766.0}));

    b = Build(Request(kSigTone1kHz, 1000)); // a user file's rate could be this low
    EXPECT_EQ(CountOf(Channel(*b.Wave), 0, b.Wave->GetNumFrames(), 0.0), int(b.Wave->GetNumFrames()));
    EXPECT_EQ(b.Result.Messages.size(), 1u);

    // Pulses, and reduced levels around the zero level. 200 µs in 10000 µs at 48000 Hz: 9 frames high in 480.
    const std::vector<double> pulse = Samples(Request(kSigPulse));
    EXPECT_EQ(std::tuple(CountOf(pulse, 0, 9, 32766.0), CountOf(pulse, 9, 471, 0.0), pulse[480]),
              std::tuple(9, 471, 32766.0));

    // At half level an 8-bit square swings about 127, as the tone does.
    r = Request(kSigSquare, 48000, 1);
    r.Output.OutputUnits = 1; // percent
    r.Output.OutputLevel = 50.0f;
    EXPECT_EQ(At(Samples(r), {0, 12}), (std::vector{63.0, -63.0}));
    r.Channel[0].SigType = kSigPulse;
    EXPECT_EQ(Build(r).Wave->GetSample(0, 0, false), 127.0 + 63.0);
}

class SigGenUserWave : public testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // A ramp file: frame j holds (j × step) in channel 0, its negative in 1.
    std::string MakeFile(const std::string& name, std::uint64_t frames, TWaveFormat format, std::int32_t step)
    {
        TWaveFile file(frames, format);
        for (std::uint64_t j = 0; j < frames; ++j) {
            file.PutSample(static_cast<std::int32_t>(j) * step + format.ZeroOffset, j, 1);
            file.PutSample(-static_cast<std::int32_t>(j) * step + format.ZeroOffset, j, 0);
        }
        const std::string path = (folder / name).string();
        file.SetFileName(path);
        EXPECT_TRUE(file.Save());
        return path;
    }

    static TSigGenBuildRequest Files(const std::string& left, const std::string& right)
    {
        TSigGenBuildRequest r = Request(kSigUserWave, 48000, 2, 2);
        SetTextField(r.Channel[0].UserDefined.WaveFileName, left);
        SetTextField(r.Channel[1].UserDefined.WaveFileName, right);
        return r;
    }

    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / ("siggen-user-" + std::to_string(::getpid()));
};

TEST_F(SigGenUserWave, FilesKeepTheirLevelInAWiderBufferAndRepeat)
{
    const std::string narrow = MakeFile("narrow.wav", 100, TWaveFormat(44100, 1, 2), 3);
    const std::string wide = MakeFile("wide.wav", 1000, TWaveFormat(44100, 2, 3), 5);
    const Built b = Build(Files(narrow, wide));
    ASSERT_TRUE(b.Wave);
    EXPECT_EQ(std::tuple(b.Wave->GetFormat(), b.Wave->GetNumFrames(), b.Result.Messages.size()),
              std::tuple(TWaveFormat(44100, 2, 3), 1000u, 0u));
    // The 16-bit file's values are moved up 8 bits, and it repeats.
    EXPECT_EQ(At(Channel(*b.Wave, 0), {7, 107}), (std::vector{-21.0 * 256.0, -21.0 * 256.0}));
    EXPECT_EQ(At(Channel(*b.Wave, 1), {7, 999}), (std::vector{35.0, 4995.0}));

    // One mono file on both channels: both carry its only channel.
    TSigGenBuildRequest r = Files(narrow, narrow);
    EXPECT_EQ(Samples(r, 1)[7], -21.0);
    // At −6 dBFS the values are scaled and rounded: −10.5 away from 0.
    r.Output.OutputUnits = 1;
    r.Output.OutputLevel = 50.0f;
    EXPECT_EQ(Samples(r)[7], -11.0);
}

TEST_F(SigGenUserWave, AMismatchedRateOrAMissingFileIsRefusedWithAMessage)
{
    const std::string fast = MakeFile("fast.wav", 500, TWaveFormat(48000, 1, 2), 1);
    const std::string slow = MakeFile("slow.wav", 500, TWaveFormat(44100, 1, 2), 1);
    const Built mixed = Build(Files(slow, fast));
    EXPECT_EQ(std::tuple(mixed.Wave->GetSampleRate(), mixed.Wave->GetNumFrames(), mixed.Wave->GetSample(9, 1, false)),
              std::tuple(48000u, 500u, -9.0));
    EXPECT_EQ(CountOf(Channel(*mixed.Wave, 0), 0, 500, 0.0), 500);
    ASSERT_EQ(mixed.Result.Messages.size(), 1u);
    EXPECT_NE(mixed.Result.Messages[0].find("44100 Hz"), std::string::npos) << mixed.Result.Messages[0];

    const std::string missing = (folder / "missing.wav").string();
    TSigGenBuildRequest r = Files(missing, "");
    r.Channel[1].SigType = kSigTone1kHz;
    const Built b = Build(r);
    ASSERT_TRUE(b.Wave);
    // The tone's rate and length.
    ASSERT_EQ(std::tuple(b.Wave->GetSampleRate(), b.Wave->GetNumFrames()), std::tuple(48000u, 480000u));
    EXPECT_EQ(CountOf(Channel(*b.Wave, 0), 0, 480000, 0.0), 480000);
    EXPECT_EQ(b.Result.Messages, std::vector<std::string>{"Generator - Failure opening file: " + missing +
                                                          "\n\nIt could not be opened: No such file or directory."});

    // A file that is not a wave file, and a pipe (which would never end):
    // one message each, with the reason, and no box of the file's own.
    MessageLog boxes;
    const std::string text = (folder / "text.wav").string();
    std::ofstream(text) << "hello";
    const std::string pipe = (folder / "pipe.wav").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const Built bad = Build(Files(text, pipe));
    EXPECT_EQ(bad.Result.Messages,
              (std::vector<std::string>{"Generator - Failure opening file: " + text +
                                            "\n\nIt cannot be read: it is not a RIFF WAVE file.",
                                        "Generator - Failure opening file: " + pipe +
                                            "\n\nIt is not a regular file."}));
    EXPECT_TRUE(boxes.texts.empty());
}

// The output's rate, width and channels: the analyzer's, the ASIO device
// rate for a low analysis rate, or those of the files the channels play.
TEST_F(SigGenUserWave, TheOutputFormatFollowsTheAnalyzerOrThePlayedFiles)
{
    TUserWave left(MakeFile("left.wav", 100, TWaveFormat(44100, 1, 2), 1));
    TUserWave right(MakeFile("right.wav", 100, TWaveFormat(32000, 2, 3), 1));
    TUserWave fast(MakeFile("fast.wav", 100, TWaveFormat(48000, 1, 2), 1));
    TUserWave missing((folder / "missing.wav").string());
    using Format = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool, bool, std::size_t>;
    const auto choose = [](const TSigGenBuildRequest& r, const TUserWave* l, const TUserWave* rt) {
        const TUserWave* const user[2] = {l, rt};
        const TSigGenOutputFormat f = TSigGenOutputFormat::Choose(r, user);
        return Format(f.SampleRate, f.BitsPerSample, f.Channels, f.UserFileRefused[0], f.UserFileRefused[1],
                      f.Messages.size());
    };
    const TSigGenBuildRequest stereo = Request(kSigUserWave, 48000, 2, 2);
    EXPECT_EQ(choose(stereo, nullptr, nullptr), Format(48000, 16, 2, false, false, 0)) << "no files";
    EXPECT_EQ(choose(stereo, &left, nullptr), Format(44100, 16, 1, false, false, 0)) << "left file alone: mono";
    EXPECT_EQ(choose(stereo, nullptr, &right), Format(32000, 24, 2, false, false, 0)) << "right file alone";
    EXPECT_EQ(choose(stereo, &left, &right), Format(44100, 24, 2, false, true, 1)) << "both: the faster rate";
    EXPECT_EQ(choose(stereo, &fast, &left), Format(48000, 16, 2, false, true, 1));
    EXPECT_EQ(choose(stereo, &missing, nullptr), Format(48000, 16, 2, true, false, 1)) << "a file that did not open";

    // A right channel that does not play: mono input, or locked channels.
    const TSigGenBuildRequest mono = Request(kSigUserWave, 48000, 2, 1);
    EXPECT_EQ(choose(mono, nullptr, &right), Format(48000, 16, 1, false, false, 0));
    TSigGenBuildRequest locked = stereo;
    locked.LockSignalGeneratorChannels = 1;
    EXPECT_EQ(choose(locked, nullptr, &right), Format(48000, 16, 1, false, false, 0));
    EXPECT_EQ(choose(locked, &left, &right), Format(44100, 16, 1, false, false, 0));
    // Only a user-wave channel reads its file.
    TSigGenBuildRequest tone = stereo;
    tone.Channel[0].SigType = kSigTone1kHz;
    EXPECT_EQ(choose(tone, &left, nullptr), Format(48000, 16, 2, false, false, 0));

    // Under ASIO a low rate is built at the device's whole multiple of it.
    for (const auto& [analysed, built] : {std::pair{8000u, 48000u}, std::pair{22050u, 44100u},
                                          std::pair{44100u, 44100u}, std::pair{96000u, 96000u}}) {
        TSigGenBuildRequest asio = Request(kSigTone1kHz, analysed, 2, 2);
        asio.SoundCardDriverMode = 1;
        EXPECT_EQ(std::get<0>(choose(asio, nullptr, nullptr)), built) << analysed;
        asio.SoundCardDriverMode = 0;
        EXPECT_EQ(std::get<0>(choose(asio, nullptr, nullptr)), analysed) << analysed << " not under ASIO";
    }
}
