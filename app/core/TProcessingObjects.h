#pragma once
// The frame's ten processing objects (per channel a sample buffer, a window,
// a display and a logging spectrum; one dual-channel and one coherence
// object), built from the settings for the selected channel mode, and the
// per-block work of that mode.
//
// The mode and channel count are those of the last BuildProcessing: a change
// of settings takes effect at the next rebuild, so the objects and the work
// done on them always agree.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/SpectralData.h"
#include "engine/TSampleBuffer.h"
#include "engine/TSmoothing.h"

struct FrameSettings;
class PlotViews;

class TProcessingObjects {
public:
    TProcessingObjects(const FrameSettings& settings, PlotViews& plots);
    ~TProcessingObjects();
    TProcessingObjects(const TProcessingObjects&) = delete;
    TProcessingObjects& operator=(const TProcessingObjects&) = delete;

    // The settings (.ini) file that holds the Kaiser window's parameter.
    void SetSettingsFilePath(std::string path) { m_SettingsFilePath = std::move(path); }

    // Deletes and rebuilds every object, then binds each open plot to its
    // new objects and resets its view.
    void BuildProcessing();

    // One block of the built mode on one pair (display or logging) with the
    // shared dual-channel and coherence objects. blockTime: steady seconds.
    // False, with nothing computed, when an object the mode needs is missing.
    bool ProcessSpectrumBlock(SpectralData* left, SpectralData* right, SpectralData* dual,
                              SpectralData* coherence, double blockTime);

    // The logging pair's block after the display pair's: the same work on
    // the logging objects, except that a channel whose logging object
    // transforms like its display object takes the display object's
    // transformed lines instead of windowing and transforming again. While
    // the data log is off nothing reads the logging objects' held values
    // (starting the log clears them), so their hold is suspended meanwhile.
    bool ProcessLoggingBlock(double blockTime);
    // Held values fall by their mode's step times `scale` at the next hold
    // steps of every object (see SpectralData::SetHoldDecayScale).
    void SetHoldDecayScale(float scale);
    // True when the channel's logging object needs no block of its own: its
    // display object's transform stands in for it.
    bool LoggingSharesDisplayTransform(int channel) const;

    // The first (0) or second (1) result object of the built mode.
    SpectralData* GetModeProcessor(int index) const;
    // What plot 0 or 1 draws as its first and second trace.
    SpectralData* GetFirstTraceData(int plot) const;
    SpectralData* GetSecondTraceData(int plot) const;

    // Restarts the display objects' averages.
    void ResetAveraging();
    // Silence in the sample buffers, fresh display objects, fresh plot views.
    void ResetDisplays();

    TSampleBuffer* GetSampleBuffer(int channel) const { return m_SampleBuffer[Index(channel)].get(); }
    TSmoothing* GetWindow(int channel) const { return m_Window[Index(channel)].get(); }
    SpectralData* GetDisplayData(int channel) const { return m_Display[Index(channel)].get(); }
    SpectralData* GetLoggingData(int channel) const { return m_Logging[Index(channel)].get(); }
    SpectralData* GetDualChannelData() const { return m_DualChannel.get(); }
    SpectralData* GetCoherenceData() const { return m_Coherence.get(); }

    std::uint16_t GetBuiltMode() const { return m_BuiltMode; }
    bool IsTwoChannel() const { return m_BuiltChannels == 2; }

private:
    static int Index(int channel) { return channel == 1 ? 1 : 0; }

    void DeleteObjects();
    void UnbindPlots();
    void BindPlots();
    void BuildChannel(int channel, std::uint32_t blockLength);
    std::unique_ptr<SpectralData> MakeSpectrum(int channel) const;
    float KaiserAlpha() const;

    // The steps of one block (TProcessingObjectsBlock.cpp).
    void Prepare(SpectralData& data, int channel) const;
    void VectorReset(SpectralData& data, int channel) const;
    void RunMode(std::uint16_t mode, SpectralData* l, SpectralData* r, SpectralData* d, SpectralData* c) const;
    bool CanProcess(const SpectralData* left, const SpectralData* right, const SpectralData* dual,
                    const SpectralData* coherence) const;
    bool HasWhatTheModeNeeds(const SpectralData* l, const SpectralData* r, const SpectralData* d,
                             const SpectralData* c) const;

    const FrameSettings& m_Settings;
    PlotViews& m_Plots;
    std::string m_SettingsFilePath;

    std::unique_ptr<TSampleBuffer> m_SampleBuffer[2];
    std::unique_ptr<TSmoothing> m_Window[2];
    std::unique_ptr<SpectralData> m_Display[2];
    std::unique_ptr<SpectralData> m_Logging[2];
    std::unique_ptr<SpectralData> m_DualChannel;
    std::unique_ptr<SpectralData> m_Coherence;

    // Set only during ProcessLoggingBlock: whose transform each channel takes.
    const SpectralData* m_TransformSource[2] = {};

    std::uint16_t m_BuiltMode = 0;
    std::uint16_t m_BuiltChannels = 1;
};
