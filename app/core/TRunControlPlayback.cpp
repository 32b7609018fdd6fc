// Playing the recorder's file through the analysis while the sound output
// plays it: the timer places the wave's cursor where the listener is, and
// each step analyses the block there.

#include "app/core/TRunControl.h"

#include <algorithm>
#include <cmath>

#include "app/core/TProcessingObjects.h"
#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "platform/ZeroFilledArray.h"
#include "settings/FrameSettings.h"

namespace {

constexpr const char* kPlaybackOpenMessage = "Failure opening sound card for playback.";
constexpr const char* kOutputRateMessage =
    "The current Sampling Rate is not supported by your sound card.  Please check the processing settings and "
    "the output device selection.";
// Lets the generator's output wind down before the port is taken over.
constexpr std::uint32_t kGeneratorStopPauseMs = 500;

} // namespace

bool TRunControl::StartPlayback()
{
    RunUtilities& utilities = m_Services.Utilities;
    TWaveFile* wave = utilities.HasRecorder() ? utilities.GetRecorderWaveFile() : nullptr;
    if (wave == nullptr || m_Playback)
        return false;
    if (utilities.HasGenerator() && utilities.IsGeneratorPlaying()) {
        utilities.StopGeneratorOutput();
        m_Services.Clock.Sleep(kGeneratorStopPauseMs);
    }

    if (m_PSoundOut) {
        m_PSoundOut->Stop();
        m_PSoundOut.reset();
    }
    m_PSoundOut = m_Services.Audio.CreateOutput(m_Settings.m_OutputDevice, AudioSystem::kAsioDriverMode);
    if (!m_PSoundOut)
        return false;

    const TWaveFormat format(wave->GetSampleRate(), wave->GetChannels(), wave->GetBytesPerSample());
    if (!m_PSoundOut->Open(format)) {
        platform::ShowMessageBox(kPlaybackOpenMessage, platform::MessageIcon::Stop);
        return false;
    }
    if (!m_PSoundOut->IsSampleRateSupported(format)) {
        platform::ShowMessageBox(kOutputRateMessage, platform::MessageIcon::Stop);
        return false;
    }

    m_Processing.ResetAveraging();
    m_FrameCounter = 0;
    m_PlaybackOffset = wave->GetPositionSeconds();
    m_Playback = 1;
    m_Running = 1;
    m_Services.Observer.UpdateStatus(RunObserver::kWholeStatus);
    m_Services.Observer.SetPlotsActive();

    m_PSoundOut->PreparePlayback(wave, false, -1, -1);
    m_PSoundOut->Start();
    m_PlaybackStart = m_Services.Clock.SteadySeconds();
    m_Services.Timer.Start(kFirstPlaybackIntervalMs);
    return true;
}

// Raw codes of one channel straight into the buffer when the formats agree;
// otherwise as codes about zero, moved to the buffer's width, so a file of another width still reads right.
bool TRunControl::ReadPlaybackChannel(TWaveFile& wave, TSampleBuffer& buffer, std::uint64_t first,
                                      std::uint64_t count, int channel,
                                      platform::ZeroFilledArray<std::int32_t>& codes)
{
    // A failed buffer takes no sample, which the conversion below would not notice.
    if (buffer.HasFailed() || buffer.GetCount() < count)
        return false;
    if (wave.GetBytesPerSample() == buffer.GetFormat().BytesPerSample) {
        std::uint8_t* samples = buffer.GetSamplePtr(0);
        return samples != nullptr && wave.ReadSamples(samples, first, count, channel);
    }
    // The file's codes moved to the buffer's width about its zero: a 24-bit
    // code copied into 16 bits as it stands would wrap.
    const TWaveFormat& from = wave.GetFormat();
    const TWaveFormat& to = buffer.GetFormat();
    const int shift = 8 * (int{to.BytesPerSample} - int{from.BytesPerSample});
    if (codes.size() < count && !codes.Allocate(count))
        return false;
    if (!wave.GetSamples(codes.data(), first, count, channel))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        const double code = std::clamp(std::round(std::ldexp(double(codes[i]), shift)) + to.ZeroOffset,
                                       static_cast<double>(to.MinValue), static_cast<double>(to.MaxValue));
        buffer.PutSample(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(static_cast<std::int32_t>(code)));
    }
    return true;
}

bool TRunControl::ProcessPlaybackTick()
{
    TWaveFile* wave = m_Services.Utilities.HasRecorder() ? m_Services.Utilities.GetRecorderWaveFile() : nullptr;
    if (!m_Playback || !m_Running || wave == nullptr)
        return false;

    const TProcessingSettings& p = m_Settings.Processing;
    const std::uint32_t ratio = std::max<std::uint32_t>(p.DecimationRatio, 1);
    const std::uint64_t block = std::uint64_t{ratio} * p.FFTsize;
    const std::uint64_t cursor = wave->GetPosition();
    bool result = false;

    // In frames that are counted from the start, so a wave shorter than a
    // block cannot wrap the comparison round.
    if (block == 0 || cursor + block >= wave->GetDataFrames()) {
        wave->SeekEnd();
    } else {
        const double blockTime = wave->FramesToSeconds(cursor) + wave->FramesToSeconds(block / 2);
        TSampleBuffer* left = m_Processing.GetSampleBuffer(0);
        TSampleBuffer* right = m_Processing.GetSampleBuffer(1);
        const bool stereo = wave->GetChannels() == 2;
        bool read = true;
        if (left != nullptr)
            read = ReadPlaybackChannel(*wave, *left, cursor, block, 0, m_PlaybackCodes) && read;
        if (right != nullptr) {
            // A mono file has no right channel: silence, not the left again.
            if (stereo)
                read = ReadPlaybackChannel(*wave, *right, cursor, block, 1, m_PlaybackCodes) && read;
            else
                right->Fill();
        }
        wave->Advance(std::uint64_t{GetHopSize()} * ratio);
        if (read) {
            if (left != nullptr)
                left->Decimate();
            if (right != nullptr && stereo)
                right->Decimate();
            CopyBlocksToSpectra();
            result = ProcessBothPasses(blockTime);
            if (result)
                for (int channel = 0; channel < 2; ++channel)
                    if (m_Services.Plots.HasPlot(channel))
                        m_Services.Plots.UpdateDisplay(channel, blockTime);
        }
    }

    if (result)
        ++m_FrameCounter;
    else
        StopPlayback();
    m_Services.Utilities.UpdateRecorderPosition();
    m_Services.Observer.UpdateStatus(RunObserver::kRunStateText);
    m_Services.Observer.UpdateStatus(RunObserver::kLevelPanes);
    // A played file reaches the plots only: the viewers keep what the live
    // input last gave them, as the data log does.
    return result && m_FrameCounter != 0;
}

bool TRunControl::StopPlayback()
{
    if (m_PSoundOut) {
        m_PSoundOut->Stop();
        m_PSoundOut.reset();
    }
    m_Playback = 0;
    m_Running = 0;
    // The end of the file stops the run too: the Run lamp goes out with it.
    m_Services.Observer.UpdateRunState();
    m_Services.Observer.UpdateStatus(RunObserver::kRunStateText);
    return true;
}
