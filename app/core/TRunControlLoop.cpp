// The acquisition timer's loop and one acquisition step.

#include "app/core/TRunControl.h"

#include <algorithm>
#include <chrono>

#include "app/core/TProcessingObjects.h"
#include "audio/TWaveFile.h"
#include "platform/Clock.h"
#include "settings/FrameSettings.h"

namespace {

constexpr std::uint32_t kNewLogDayPauseMs = 100;

} // namespace

void TRunControl::OnTimer()
{
    m_Services.Timer.Stop();
    if (StopIfInputFailed())
        return;
    const double start = m_Services.Clock.SteadySeconds();
    std::int32_t interval = kFastIntervalMs;
    RunUtilities& utilities = m_Services.Utilities;

    for (;;) {
        if (m_Playback && utilities.HasRecorder()) {
            TWaveFile* wave = utilities.GetRecorderWaveFile();
            if (m_PSoundOut && wave != nullptr) {
                // The analysis follows the sound being heard, not the hop sequence.
                const double played = m_Services.Clock.SteadySeconds() - m_PlaybackStart;
                const std::uint64_t heard = wave->SecondsToFrames(played) + wave->SecondsToFrames(m_PlaybackOffset);
                // SetPosition ignores a frame past the end, which would leave
                // the analysis stepping on after the sound has ended.
                if (heard >= wave->GetNumFrames())
                    wave->SeekEnd();
                else
                    wave->SetPosition(heard);
                ProcessPlaybackTick();
                if (wave->GetPosition() >= wave->GetDataFrames()) {
                    StopPlayback();
                    return;
                }
            }
            break;
        }

        // Each block read shortens the interval and each miss lengthens it,
        // so the loop runs while blocks come and backs off when they do not.
        interval += ProcessInputTick() ? -std::int32_t{kFastIntervalMs} : std::int32_t{kFastIntervalMs};
        interval = std::clamp<std::int32_t>(interval, kFastIntervalMs, kSlowestIntervalMs);
        const double elapsedMs = (m_Services.Clock.SteadySeconds() - start) * 1000.0;
        if (elapsedMs > kEventBudgetMs || interval > std::int32_t{kFastIntervalMs})
            break;
    }

    if (m_Running) {
        m_TimerIntervalMs = static_cast<std::uint32_t>(interval);
        m_Services.Timer.Start(m_TimerIntervalMs);
    }
    if (utilities.HasRecorder())
        utilities.UpdateRecorderPosition();
}

std::uint8_t TRunControl::ProcessInputTick()
{
    if (!m_Running)
        return 0;
    const double blockTime = m_Services.Clock.SteadySeconds();
    const double timeOfDay = m_Services.Clock.TimeOfDaySeconds();

    bool result = false;
    // Every step with new sound is analysed: the averages, the peak hold,
    // the data log and the viewers must see a burst that falls between two
    // redraws. Each plot keeps to its display interval by itself.
    if (ReadInputBlocks(m_Processing.GetSampleBuffer(0), m_Processing.GetSampleBuffer(1))) {
        // Overloaded blocks are analysed too: excluding them is fixed off.
        CopyBlocksToSpectra();
        result = ProcessBothPasses(blockTime);
        if (result) {
            StartNewLogDayIfDue();
            for (int channel = 0; channel < 2; ++channel) {
                if (m_Services.Plots.HasPlot(channel))
                    m_Services.Plots.UpdateDisplay(channel, blockTime);
                WriteLogRecord(channel, blockTime, timeOfDay);
            }
            ++m_FrameCounter;
        }
    }

    // The run-state text follows the ring's filling until the first result;
    // the level panes and viewers show the latest block and spectra, which
    // only a step changes, so a tick without one leaves them as they are.
    m_Services.Observer.UpdateStatus(RunObserver::kRunStateText);
    if (result) {
        m_Services.Observer.UpdateStatus(RunObserver::kLevelPanes);
        m_Services.Observer.UpdateUtilityWindows();
    }
    return result && m_FrameCounter != 0 ? 1 : 0;
}

// The data log's record of the step, and its due times on the steady clock
// for the loss report: those a step took, and those to come, which a
// hold-up may pass with no step.
void TRunControl::WriteLogRecord(int channel, double blockTime, double timeOfDay)
{
    DataLogControl& log = m_Services.DataLog;
    if (const auto due = log.WriteLogRecord(channel, timeOfDay))
        m_InputLoss.NoteLogRecordDue(blockTime - (timeOfDay - *due));
    if (const auto schedule = log.GetRecordSchedule(channel))
        m_InputLoss.NoteLogSchedule(channel, blockTime + (schedule->NextDue - timeOfDay), schedule->Interval);
}

// A logging object that shares its display object's transform gets the
// transformed lines from it instead of a copy of the block. A display
// block that the read filled already is where a logging object's copy
// comes from, value for value what the sample buffer would give.
void TRunControl::CopyBlocksToSpectra()
{
    TProcessingObjects& p = m_Processing;
    for (int channel = 0; channel < 2; ++channel) {
        SpectralData* display = p.GetDisplayData(channel);
        const bool filled = m_DisplayBlockRead[channel];
        m_DisplayBlockRead[channel] = false;
        if (!filled)
            CopyTimeBlockToSpectrum(display, p.GetSampleBuffer(channel));
        if (p.LoggingSharesDisplayTransform(channel))
            continue;
        SpectralData* logging = p.GetLoggingData(channel);
        if (filled && logging != nullptr && logging->GetComplexBuffer() != nullptr &&
            logging->GetFFTSize() == display->GetFFTSize())
            std::copy_n(display->GetComplexBuffer(), display->GetFFTSize(), logging->GetComplexBuffer());
        else
            CopyTimeBlockToSpectrum(logging, p.GetSampleBuffer(channel));
    }
}

// The channel's display block when the read can fill it itself: the
// channel's own buffer, undecimated and exactly one block long.
float* TRunControl::DisplayBlockFor(int channel, const TSampleBuffer* buffer, std::uint32_t count)
{
    SpectralData* display = m_Processing.GetDisplayData(channel);
    if (buffer == nullptr || buffer != m_Processing.GetSampleBuffer(channel) || display == nullptr ||
        buffer->Decimates() || buffer->GetCount() != count || display->GetFFTSize() != count)
        return nullptr;
    return display->GetComplexBuffer();
}

// The display pair, then the logging pair through the same dual-channel and
// coherence objects; the plots, log and viewers read what the second leaves.
bool TRunControl::ProcessBothPasses(double blockTime)
{
    TProcessingObjects& p = m_Processing;
    p.SetHoldDecayScale(HoldDecayScale(blockTime));
    p.ProcessSpectrumBlock(p.GetDisplayData(0), p.GetDisplayData(1), p.GetDualChannelData(), p.GetCoherenceData(),
                           blockTime);
    return p.ProcessLoggingBlock(blockTime);
}

// Held lines fall by their hold mode's step once per nominal display
// interval, however far apart the steps are: a step stands for the
// intervals since the one before. The first step after a start, or one
// whose clock went back (a played file sought backwards), counts as one.
float TRunControl::HoldDecayScale(double blockTime)
{
    const bool first = m_FrameCounter == 0 || !m_HasHoldTime || blockTime < m_LastHoldTime;
    const double elapsed = first ? kNominalHoldStepSeconds : blockTime - m_LastHoldTime;
    m_HasHoldTime = true;
    m_LastHoldTime = blockTime;
    // A run held up for longer than a second (a modal box) is not made up at once.
    return static_cast<float>(std::min(elapsed, 1.0) / kNominalHoldStepSeconds);
}

// After local midnight the log goes on in new files named for the new day.
void TRunControl::StartNewLogDayIfDue()
{
    const DataLogSettings& log = m_Settings.DataLog;
    if (!m_Running || !log.Active)
        return;
    TLocalTimeFields started, today;
    const std::time_t now = std::chrono::system_clock::to_time_t(m_Services.Clock.Now());
    if (!GetLocalTimeFields(static_cast<std::time_t>(log.LogStartTime), started) || !GetLocalTimeFields(now, today))
        return;
    if (started.Day == today.Day)
        return;
    m_Services.DataLog.CloseLogFiles();
    m_Services.Clock.Sleep(kNewLogDayPauseMs);
    m_Services.DataLog.OpenLogFiles();
}

std::uint8_t TRunControl::ReadInputBlocks(TSampleBuffer* left, TSampleBuffer* right)
{
    const TProcessingSettings& p = m_Settings.Processing;
    const std::uint32_t needed = std::max<std::uint32_t>(p.DecimationRatio, 1) * p.FFTsize;
    if (!m_PSoundIn || needed == 0 || m_PSoundIn->GetSamplesAvailable() < static_cast<std::int64_t>(needed))
        return 0;
    // No frame has arrived since the last read: the latest block is the one
    // already analysed.
    const std::uint64_t delivered = m_PSoundIn->GetFramesDelivered();
    if (m_HasReadBlock && delivered - m_LastReadDelivered < NewFramesForAStep(needed))
        return 0;

    // An array that cannot be had leaves its channel out of the read.
    auto arrayFor = [needed](TSampleBuffer* buffer, platform::ZeroFilledArray<std::int32_t>& array) -> std::int32_t* {
        if (buffer == nullptr)
            return nullptr;
        if (array.size() != needed && !array.Allocate(needed))
            return nullptr;
        return array.data();
    };
    std::int32_t* l = arrayFor(left, m_ReadLeft);
    std::int32_t* r = arrayFor(right, m_ReadRight);

    const bool read = m_PSoundIn->ReadLatest(needed, l, r);
    if (!read)
        return 0;
    m_HasReadBlock = true;
    m_LastReadDelivered = delivered;
    int channel = 0;
    for (auto [buffer, samples] : {std::pair{left, l}, std::pair{right, r}}) {
        const int c = channel++;
        m_DisplayBlockRead[c] = false;
        if (buffer == nullptr || samples == nullptr)
            continue;
        // Packed into the sample buffer and converted into the display
        // block in one pass, when the block needs nothing else.
        const std::uint32_t count = std::min(needed, buffer->GetCount());
        float* block = DisplayBlockFor(c, buffer, count);
        buffer->PutSamples(samples, count, block);
        m_DisplayBlockRead[c] = block != nullptr;
        buffer->Decimate();
    }
    return 1;
}

// A spectrum of the latest block changes only as fast as new sound
// replaces the block: a step waits for a sixteenth of a block of new frames
// (21 ms at 192 kHz), so at slow rates the analysis is not repeated on
// nearly the same samples, but never for longer than 80 ms of sound, which
// keeps the display live at any rate.
std::uint64_t TRunControl::NewFramesForAStep(std::uint32_t blockFrames) const
{
    const double rate = m_Settings.Processing.Format.SamplingRate;
    const auto liveLimit = static_cast<std::uint64_t>(rate * kLongestStepWaitSeconds);
    return std::max<std::uint64_t>(1, std::min<std::uint64_t>(blockFrames / kStepsPerBlock, liveLimit));
}

void TRunControl::CopyTimeBlockToSpectrum(SpectralData* data, const TSampleBuffer* buffer)
{
    if (data == nullptr || buffer == nullptr)
        return;
    // The spectral object applies the calibration itself.
    const std::uint32_t size = data->GetFFTSize();
    float* block = data->GetComplexBuffer();
    if (block == nullptr)
        return;
    buffer->CopySamples(block, size);
}
