// The per-block work of each channel mode: which objects are windowed and
// transformed, averaged and held, and which function of the two channels is
// derived, in the order the averages depend on each other.

#include "app/core/TProcessingObjects.h"

#include "app/core/ChannelMode.h"
#include "settings/FrameSettings.h"

bool TProcessingObjects::CanProcess(const SpectralData* left, const SpectralData* right, const SpectralData* dual,
                                    const SpectralData* coherence) const
{
    if (left == nullptr || (m_BuiltChannels == 2 && right == nullptr))
        return false;
    return HasWhatTheModeNeeds(left, right, dual, coherence);
}

void TProcessingObjects::SetHoldDecayScale(float scale)
{
    for (const std::unique_ptr<SpectralData>* object :
         {&m_Display[0], &m_Display[1], &m_Logging[0], &m_Logging[1], &m_DualChannel, &m_Coherence})
        if (*object)
            (*object)->SetHoldDecayScale(scale);
}

bool TProcessingObjects::ProcessSpectrumBlock(SpectralData* left, SpectralData* right, SpectralData* dual,
                                              SpectralData* coherence, double blockTime)
{
    if (!CanProcess(left, right, dual, coherence))
        return false;
    left->SetBlockTime(blockTime);
    if (right != nullptr)
        right->SetBlockTime(blockTime);
    RunMode(m_BuiltMode, left, right, dual, coherence);
    return true;
}

bool TProcessingObjects::LoggingSharesDisplayTransform(int channel) const
{
    const SpectralData* display = GetDisplayData(channel);
    const SpectralData* logging = GetLoggingData(channel);
    return display != nullptr && logging != nullptr && logging->TransformsLike(*display);
}

bool TProcessingObjects::ProcessLoggingBlock(double blockTime)
{
    const bool logging = m_Settings.DataLog.Active != 0;
    // In the single-channel modes the logging pair touches no object that
    // anything else reads; while the log is off (it can only start with a
    // run, on fresh objects) the pass would be work nobody sees.
    if (!logging && channel_mode::IsValid(m_BuiltMode) && !channel_mode::HasDualObject(m_BuiltMode) &&
        !channel_mode::HasCoherenceObject(m_BuiltMode))
        return CanProcess(GetLoggingData(0), GetLoggingData(1), GetDualChannelData(), GetCoherenceData());
    for (int channel = 0; channel < 2; ++channel) {
        m_TransformSource[channel] = LoggingSharesDisplayTransform(channel) ? GetDisplayData(channel) : nullptr;
        if (SpectralData* data = GetLoggingData(channel))
            data->SuspendHold(!logging);
    }
    const bool result = ProcessSpectrumBlock(GetLoggingData(0), GetLoggingData(1), GetDualChannelData(),
                                             GetCoherenceData(), blockTime);
    m_TransformSource[0] = m_TransformSource[1] = nullptr;
    return result;
}

bool TProcessingObjects::HasWhatTheModeNeeds(const SpectralData* l, const SpectralData* r, const SpectralData* d,
                                             const SpectralData* c) const
{
    using namespace channel_mode;
    const std::uint16_t mode = m_BuiltMode;
    if (!IsValid(mode))
        return true; // does nothing
    if (l == nullptr || (r == nullptr && mode != kLeft))
        return false;
    if (d == nullptr && HasDualObject(mode) && mode != kCoherence)
        return false;
    return c != nullptr || !HasCoherenceObject(mode);
}

void TProcessingObjects::Prepare(SpectralData& data, int channel) const
{
    if (const SpectralData* source = m_TransformSource[Index(channel)]) {
        data.CopyTransformFrom(*source);
        return;
    }
    if (const TSmoothing* window = m_Window[Index(channel)].get())
        window->ApplyWindow(data.GetComplexBuffer());
    data.ComputeSpectrum();
}

// Vector averaging restarts the channel's average at every block, so the
// dual-channel functions see the current block's power.
void TProcessingObjects::VectorReset(SpectralData& data, int channel) const
{
    const TProcessingSettings& p = m_Settings.Processing;
    const int c = Index(channel);
    if (p.AverageType[c] == 2)
        data.SetAveraging(p.AverageSpeed[c], p.AverageBlocks[c]);
}

void TProcessingObjects::RunMode(std::uint16_t mode, SpectralData* l, SpectralData* r, SpectralData* d,
                                 SpectralData* c) const
{
    using namespace channel_mode;
    constexpr bool kLines = false;
    constexpr bool kBandMeans = true;

    switch (mode) {
    case kLeft:
        Prepare(*l, 0);
        l->Average(kLines);
        l->UpdatePeakHold();
        return;
    case kRight:
        Prepare(*r, 1);
        r->Average(kLines);
        r->UpdatePeakHold();
        return;
    case kBoth:
        Prepare(*l, 0);
        l->Average(kLines);
        l->UpdatePeakHold();
        Prepare(*r, 1);
        r->Average(kLines);
        r->UpdatePeakHold();
        return;
    case kAverage:
        Prepare(*l, 0);
        l->Average(kLines);
        Prepare(*r, 1);
        r->Average(kLines);
        d->AverageLeftRight(l->GetComplexSpectrum(), r->GetComplexSpectrum());
        d->Average(kLines);
        d->UpdatePeakHold();
        return;
    case kRatioLeftRight:
    case kRatioRightLeft: {
        Prepare(*l, 0);
        l->Average(kLines);
        Prepare(*r, 1);
        r->Average(kLines);
        SpectralData* a = mode == kRatioLeftRight ? l : r;
        SpectralData* b = mode == kRatioLeftRight ? r : l;
        d->CrossSpectrum(a->GetComplexSpectrum(), b->GetComplexSpectrum());
        d->Average(kLines);
        d->MagnitudeRatio(a->GetPowerBuffer(), b->GetPowerBuffer(), a->GetAveragedComplexSpectrum(),
                          b->GetAveragedComplexSpectrum());
        d->UpdatePeakHold();
        return;
    }
    case kCrossLeftRight:
    case kCrossRightLeft: {
        Prepare(*l, 0);
        Prepare(*r, 1);
        SpectralData* a = mode == kCrossLeftRight ? l : r;
        SpectralData* b = mode == kCrossLeftRight ? r : l;
        d->CrossSpectrum(a->GetComplexSpectrum(), b->GetComplexSpectrum());
        d->Average(kLines);
        d->UpdatePeakHold();
        return;
    }
    case kTransferLeftRight:
    case kTransferRightLeft: {
        Prepare(*l, 0);
        Prepare(*r, 1);
        SpectralData* a = mode == kTransferLeftRight ? l : r;
        SpectralData* b = mode == kTransferLeftRight ? r : l;
        d->CrossSpectrum(a->GetComplexSpectrum(), b->GetComplexSpectrum());
        d->Average(kLines);
        // Both directions reset the right channel only.
        VectorReset(*r, 1);
        l->Average(kLines);
        r->Average(kLines);
        d->TransferFunction(b->GetPowerBuffer());
        d->UpdatePeakHold();
        return;
    }
    case kCoherence:
        Prepare(*l, 0);
        Prepare(*r, 1);
        c->CrossSpectrum(l->GetComplexSpectrum(), r->GetComplexSpectrum());
        c->Average(kBandMeans);
        VectorReset(*l, 0);
        VectorReset(*r, 1);
        l->Average(kLines);
        r->Average(kLines);
        c->Coherence(l->GetPowerBuffer(), r->GetPowerBuffer());
        c->UpdatePeakHold();
        return;
    case kTransferCoherenceLeftRight:
    case kTransferCoherenceRightLeft: {
        Prepare(*l, 0);
        Prepare(*r, 1);
        SpectralData* a = mode == kTransferCoherenceLeftRight ? l : r;
        SpectralData* b = mode == kTransferCoherenceLeftRight ? r : l;
        c->CrossSpectrum(a->GetComplexSpectrum(), b->GetComplexSpectrum());
        c->Average(kLines);
        VectorReset(*l, 0);
        VectorReset(*r, 1);
        if (mode == kTransferCoherenceLeftRight) {
            r->Average(kLines);
            l->Average(kLines);
        } else {
            l->Average(kLines);
            r->Average(kLines);
        }
        c->Coherence(a->GetPowerBuffer(), b->GetPowerBuffer());
        d->CrossSpectrum(a->GetComplexSpectrum(), b->GetComplexSpectrum());
        d->Average(kBandMeans);
        d->TransferFunction(b->GetPowerBuffer());
        d->UpdatePeakHold();
        return;
    }
    default:
        return;
    }
}
