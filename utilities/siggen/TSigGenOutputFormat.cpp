#include "utilities/siggen/TSigGenOutputFormat.h"

#include <algorithm>

#include "utilities/siggen/TUserWave.h"

namespace {

constexpr std::uint32_t kAsioLowestRate = 48000;

const char* const kChannelNames[2] = {"left", "right"};

// Whether channel c is built at all: the right one only in stereo, unlocked.
bool Plays(const TSigGenBuildRequest& request, int c)
{
    return c == 0 || (request.AnalyzerFormat.GetChannels() == 2 && request.LockSignalGeneratorChannels == 0);
}

} // namespace

TSigGenOutputFormat TSigGenOutputFormat::Choose(const TSigGenBuildRequest& request, const TUserWave* const user[2])
{
    TSigGenOutputFormat out;
    const TWaveFormat& analyzer = request.AnalyzerFormat;
    out.SampleRate = analyzer.GetSampleRate();
    out.BitsPerSample = analyzer.GetBitsPerSample();
    out.Channels = analyzer.GetChannels();
    // Under ASIO a rate below 48000 Hz is analysed from a device running at
    // its whole multiple (the input decimates); the output plays at that
    // device rate, so the signal is built at it: 48000 Hz for 8000 Hz, but
    // 44100 Hz for 22050 Hz.
    if (request.SoundCardDriverMode == 1 && out.SampleRate > 0 && out.SampleRate < kAsioLowestRate)
        out.SampleRate *= kAsioLowestRate / out.SampleRate;

    bool usable[2] = {false, false};
    for (int c = 0; c < 2; ++c) {
        if (!Plays(request, c) || request.Channel[c].SigType != kSigUserWave || user[c] == nullptr)
            continue;
        usable[c] = user[c]->IsOpen();
        if (!usable[c]) {
            out.UserFileRefused[c] = true;
            out.Messages.push_back(user[c]->FailureMessage());
        }
    }

    // A file's rate and width replace the analyzer's (and the ASIO minimum).
    // A file on the left alone makes the output mono; one on the right alone
    // keeps both channels, or it would never be heard.
    if (usable[0] != usable[1]) {
        const TWaveFormat& file = user[usable[0] ? 0 : 1]->GetFormat();
        out.SampleRate = file.GetSampleRate();
        out.BitsPerSample = file.GetBitsPerSample();
        if (usable[0])
            out.Channels = 1;
    } else if (usable[0] && usable[1]) {
        const TWaveFormat& left = user[0]->GetFormat();
        const TWaveFormat& right = user[1]->GetFormat();
        out.Channels = 2;
        out.SampleRate = std::max(left.GetSampleRate(), right.GetSampleRate());
        out.BitsPerSample = std::max(left.GetBitsPerSample(), right.GetBitsPerSample());
        for (int c = 0; c < 2; ++c) {
            const std::uint32_t rate = user[c]->GetFormat().GetSampleRate();
            if (rate == out.SampleRate)
                continue;
            out.UserFileRefused[c] = true;
            out.Messages.push_back("Generator - the " + std::string(kChannelNames[c]) + " channel's file "
                                   + user[c]->GetFileName() + " runs at " + std::to_string(rate)
                                   + " Hz, but the output runs at " + std::to_string(out.SampleRate)
                                   + " Hz; the channel stays silent.");
        }
    }

    if (request.LockSignalGeneratorChannels != 0)
        out.Channels = 1;
    return out;
}

TWaveFormat TSigGenOutputFormat::GetWaveFormat() const
{
    return TWaveFormat(SampleRate, static_cast<std::uint16_t>(Channels), static_cast<std::uint16_t>(BitsPerSample / 8));
}
