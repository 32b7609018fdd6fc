#include "app/core/TProcessingObjects.h"

#include <algorithm>
#include <cstring>

#include "app/core/ChannelMode.h"
#include "app/core/PlotViews.h"
#include "platform/NumberText.h"
#include "platform/ProfileFile.h"
#include "settings/FrameSettings.h"

namespace {

constexpr std::uint16_t kLoggingHoldMode = SpectrumOpts::kPeakHoldForever;

std::string ChannelName(const TChannelCalibration& record)
{
    return std::string(record.ChannelName, strnlen(record.ChannelName, TChannelCalibration::kChannelNameSize));
}

// Octave bands and spectral densities read power; lines read amplitude.
std::uint16_t WindowScalingFor(const ScalingOpts& scaling)
{
    const bool power = scaling.FreqScaleType == ScalingOpts::kOctave || scaling.SpectralDensityFlag == 1;
    return power ? smoothing::Energy : smoothing::Amplitude;
}

} // namespace

TProcessingObjects::TProcessingObjects(const FrameSettings& settings, PlotViews& plots)
    : m_Settings(settings), m_Plots(plots)
{
}

TProcessingObjects::~TProcessingObjects()
{
    DeleteObjects();
}

void TProcessingObjects::BuildProcessing()
{
    // The plots must let go first: building can raise a message box, and a
    // repaint behind it would draw from deleted objects.
    UnbindPlots();
    DeleteObjects();

    const TProcessingSettings& p = m_Settings.Processing;
    m_BuiltMode = p.ChannelProcessing;
    m_BuiltChannels = p.Format.NumChannels == 2 ? 2 : 1;
    const std::uint32_t blockLength = std::max<std::uint32_t>(p.DecimationRatio, 1) * p.FFTsize;

    BuildChannel(0, blockLength);
    if (m_BuiltChannels == 2)
        BuildChannel(1, blockLength);
    // Only a function of both channels reads a channel's averaged lines as
    // complex values (the log's phase reads the logging objects).
    if (!channel_mode::HasDualObject(m_BuiltMode))
        for (const std::unique_ptr<SpectralData>& display : m_Display)
            if (display)
                display->KeepAveragedComplex(false);
    if (m_BuiltChannels == 2) {
        if (channel_mode::HasDualObject(m_BuiltMode)) {
            m_DualChannel = MakeSpectrum(0);
            const TChannelCalibration& left = m_Settings.Calibration[0];
            const bool lendsCalibration = m_BuiltMode == channel_mode::kAverage ||
                                          m_BuiltMode == channel_mode::kCrossLeftRight ||
                                          m_BuiltMode == channel_mode::kCrossRightLeft;
            if (lendsCalibration)
                m_DualChannel->SetCalibration(&left);
            const std::string name = channel_mode::DualObjectName(m_BuiltMode, m_Settings.Calibration[0].ChannelName,
                                                                  m_Settings.Calibration[1].ChannelName);
            if (!name.empty())
                m_DualChannel->SetName(name.c_str());
            if (channel_mode::IsTransferName(m_BuiltMode))
                m_DualChannel->SetUnitLabels(left.LabelLinear, left.LabelLog);
        }
        if (channel_mode::HasCoherenceObject(m_BuiltMode)) {
            m_Coherence = MakeSpectrum(0);
            m_Coherence->SetName("Coherence");
        }
    }
    BindPlots();
}

void TProcessingObjects::DeleteObjects()
{
    for (int c = 0; c < 2; ++c) {
        m_SampleBuffer[c].reset();
        m_Window[c].reset();
        m_Display[c].reset();
        m_Logging[c].reset();
    }
    m_DualChannel.reset();
    m_Coherence.reset();
}

void TProcessingObjects::UnbindPlots()
{
    for (int plot = 0; plot < 2; ++plot)
        if (m_Plots.HasPlot(plot))
            m_Plots.SetSpectralData(plot, nullptr, nullptr);
}

void TProcessingObjects::BindPlots()
{
    for (int plot = 0; plot < 2; ++plot) {
        if (!m_Plots.HasPlot(plot))
            continue;
        m_Plots.SetSpectralData(plot, GetFirstTraceData(plot), GetSecondTraceData(plot));
        m_Plots.ResetView(plot);
    }
}

void TProcessingObjects::BuildChannel(int c, std::uint32_t blockLength)
{
    const TProcessingSettings& p = m_Settings.Processing;
    m_SampleBuffer[c] = std::make_unique<TSampleBuffer>(blockLength, p.Format, std::max<std::uint16_t>(p.DecimationRatio, 1),
                                                        p.ApplyLowPassFilter);

    m_Window[c] = std::make_unique<TSmoothing>(p.FFTsize, p.SmoothingWindow, WindowScalingFor(m_Settings.Scaling[c]));
    if (p.SmoothingWindow == smoothing::Kaiser)
        m_Window[c]->SetParameter(KaiserAlpha());

    // The right display follows plot 2's hold only when plot 2 shows it.
    const int holdPlot = (c == 1 && p.IndependentScalingAndCalibration == 1) ? 1 : 0;
    m_Display[c] = MakeSpectrum(c);
    m_Display[c]->SetPeakHoldMode(m_Settings.Spectrum[holdPlot].PeakHold);
    m_Logging[c] = MakeSpectrum(c);
    m_Logging[c]->SetPeakHoldMode(kLoggingHoldMode);

    const TChannelCalibration& calibration = m_Settings.Calibration[c];
    const std::string name = ChannelName(calibration);
    if (calibration.IsEnabled != 0) {
        m_SampleBuffer[c]->SetCalibration(&calibration);
        m_Display[c]->SetCalibration(&calibration);
        m_Logging[c]->SetCalibration(&calibration);
    }
    m_Display[c]->SetName(name.c_str());
    m_Logging[c]->SetName(name.c_str());
}

std::unique_ptr<SpectralData> TProcessingObjects::MakeSpectrum(int channel) const
{
    return std::make_unique<SpectralData>(m_Settings.Processing, m_Settings.Scaling[channel], channel, true);
}

float TProcessingObjects::KaiserAlpha() const
{
    if (m_SettingsFilePath.empty())
        return TSmoothing::kDefaultAlpha;
    const std::string text = platform::GetProfileString("Settings", "KaiserAlpha", "5.0", 81, m_SettingsFilePath);
    return static_cast<float>(platform::ParseFloatPrefix(text));
}

SpectralData* TProcessingObjects::GetModeProcessor(int index) const
{
    using namespace channel_mode;
    const bool first = index == 0;
    if (index != 0 && index != 1)
        return nullptr;
    switch (m_BuiltMode) {
    case kLeft: return first ? m_Display[0].get() : nullptr;
    case kRight: return first ? m_Display[1].get() : nullptr;
    case kBoth: return first ? m_Display[0].get() : m_Display[1].get();
    case kCoherence: return first ? m_Coherence.get() : nullptr;
    case kTransferCoherenceLeftRight:
    case kTransferCoherenceRightLeft: return first ? m_DualChannel.get() : m_Coherence.get();
    default: return HasDualObject(m_BuiltMode) && first ? m_DualChannel.get() : nullptr;
    }
}

SpectralData* TProcessingObjects::GetFirstTraceData(int plot) const
{
    if (plot != 0 && plot != 1)
        return nullptr;
    if (m_Settings.Processing.IndependentScalingAndCalibration != 1)
        return plot == 0 ? GetModeProcessor(0) : nullptr;
    // Each plot then scales its own channel: in the two single-channel
    // views each channel has a plot of its own.
    switch (m_BuiltMode) {
    case channel_mode::kBoth: return m_Display[plot].get();
    case channel_mode::kRight: return plot == 1 ? m_Display[1].get() : nullptr;
    default: return plot == 0 ? GetModeProcessor(0) : nullptr;
    }
}

SpectralData* TProcessingObjects::GetSecondTraceData(int plot) const
{
    if (plot != 0)
        return nullptr;
    const bool splitPlots = m_Settings.Processing.IndependentScalingAndCalibration == 1 &&
                            (m_BuiltMode == channel_mode::kBoth || m_BuiltMode == channel_mode::kRight);
    return splitPlots ? nullptr : GetModeProcessor(1);
}

void TProcessingObjects::ResetAveraging()
{
    for (auto& display : m_Display)
        if (display)
            display->Reset();
}

void TProcessingObjects::ResetDisplays()
{
    for (auto& buffer : m_SampleBuffer)
        if (buffer)
            buffer->Fill();
    ResetAveraging();
    for (int plot = 0; plot < 2; ++plot) {
        if (!m_Plots.HasPlot(plot))
            continue;
        m_Plots.ResetView(plot);
        m_Plots.SetTimeAxis(plot, false);
    }
}
