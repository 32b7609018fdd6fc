#pragma once
// The spectrum of one channel, or of one dual-channel function (average of two
// channels, cross spectrum, transfer function, coherence).
//
// Per block, callers fill the time block, apply the window in place, then
// call SetBlockTime, ComputeSpectrum, Average and UpdatePeakHold. Everything
// else reads the result: bin frequencies, display values, unit labels and
// readouts.
//
// Power is stored linear per line; display values are computed on demand.
// −999.9 marks a value that does not exist (−999.0 a band power over silent
// lines). Construction always completes: after a failure the error byte is
// set, averaging and hold do nothing, and accessors answer from what exists.
//
// The implementation is split by concern:
//   SpectralData.cpp               construction, arrays, geometry, transform
//   SpectralDataAveraging.cpp      averaging and peak hold
//   SpectralDataDualChannel.cpp    average, cross spectrum, ratio, transfer, coherence
//   SpectralDataCorrection.cpp     calibration, weighting, compensation, correction
//   SpectralDataDisplay.cpp        display values, unit labels, offsets
//   SpectralDataReadouts.cpp       peaks, band power, distortion and noise figures
//   SpectralDataBands.cpp          fractional-octave bands
//   SpectralDataCopy.cpp           copies of the results for other threads

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "format/TChannelCalibration.h"
#include "engine/ScalingOpts.h"
#include "engine/TProcessingSettings.h"
#include "platform/ZeroFilledArray.h"

struct SpectralDataTestAccess;

// Exact and nominal centre and edges of one fractional-octave band, Hz.
struct TOctaveBand {
    float Center = 0.0f;
    float NominalCenter = 0.0f;
    float LowerEdge = 0.0f;
    float UpperEdge = 0.0f;
};

// The FFT lines one band covers: the lines holding its edges and the part of
// each edge line that lies inside the band.
struct TBandLineMap {
    std::uint32_t LowLine = 0;
    float LowWeight = 0.0f;
    std::uint32_t HighLine = 0;
    float HighWeight = 0.0f;
};

// A held display value and the steady-clock time (seconds) at which it
// starts to decay.
struct THoldEntry {
    float Value = 0.0f;
    double Expiry = 0.0;
};

class SpectralData {
public:
    static constexpr float kNoValue = -999.9f;
    static constexpr float kNoBandPower = -999.0f;
    static constexpr int kRingSlots = 1000;
    static constexpr std::size_t kNameLength = 80;
    static constexpr std::size_t kLabelLength = 60;

    SpectralData(const TProcessingSettings& settings, const ScalingOpts& scaling, int channel,
                 bool loadCompensation);
    SpectralData(const SpectralData&) = delete;
    SpectralData& operator=(const SpectralData&) = delete;

    // ---- Object state and geometry -------------------------------------
    bool HasFailed() const { return m_Error != 0; }
    void SetName(const char* name);
    const char* GetName() const { return m_Name.c_str(); }
    std::uint16_t GetAmpScaleType() const { return static_cast<std::uint16_t>(m_AmpScaleType); }
    std::uint16_t GetFreqScaleType() const { return static_cast<std::uint16_t>(m_FreqScaleType); }
    std::uint32_t GetFFTSize() const { return m_FFTSize; }
    std::uint32_t GetLines() const { return m_Lines; }
    float GetSpan() const { return m_Span; }
    float GetLineSpacing() const { return m_LineSpacing; }
    float GetLowerLimit() const { return m_LowerLimit; }
    float GetUpperLimit() const { return m_UpperLimit; }
    std::uint32_t GetPeakLine() const { return m_PeakLine; }
    bool IsOctaveMode() const { return m_FreqScaleType == ScalingOpts::kOctave; }
    bool IsCalibrated() const { return m_Calibration.IsEnabled != 0; }
    const TChannelCalibration& GetCalibration() const { return m_Calibration; }

    float GetStartFrequency() const;
    float GetEndFrequency() const;
    std::uint32_t GetStartBin() const;
    std::uint32_t GetEndBin() const;
    std::uint32_t FrequencyToBin(float frequency) const;
    float BinToFrequency(std::uint32_t line) const;
    float GetBinFrequency(std::uint32_t index) const;
    std::uint32_t GetBinIndex(float frequency) const;

    // ---- The block and the transform -------------------------------------
    // The N-sample time block the caller fills (null when absent).
    float* GetComplexBuffer() { return m_Block.data(); }
    void SetValue(std::uint32_t index, float value);
    // Transforms the block in place into L complex lines and corrects them.
    void ComputeSpectrum();
    // True when this object's ComputeSpectrum on a block gives bit for bit
    // what `other`'s gives on the same windowed block: same size, same line
    // correction. Then CopyTransformFrom can stand in for the transform.
    bool TransformsLike(const SpectralData& other) const;
    // Takes `other`'s transformed, corrected lines as this block's.
    void CopyTransformFrom(const SpectralData& other);
    // The transformed block: L (re, im) pairs.
    const float* GetComplexSpectrum() const { return m_Block.data(); }
    // Averaged complex lines: L (re, im) pairs.
    const float* GetAveragedComplexSpectrum() const { return m_AvgComplex.data(); }
    const float* GetPowerBuffer() const { return m_AvgPower.data(); }
    const float* GetLatestPowerBuffer() const { return m_LatestPower.data(); }
    const float* GetAveragedDbBuffer() const { return m_AvgDb.data(); }
    // Null when the latest lines have no dB array (linear scaling, bands).
    const float* GetLatestDbBuffer() const { return m_LatestDb.empty() ? nullptr : m_LatestDb.data(); }
    // True when both dB arrays hold a value per line.
    bool HasDbLines() const { return m_AvgDb.size() >= m_Lines && m_LatestDb.size() >= m_Lines; }
    bool IsDensity() const { return m_DensityFlag != 0; }
    void SetScaling(const ScalingOpts& scaling, bool loadCompensation);
    void Reset();
    void ClearSpectrum();

    // ---- Averaging, peak hold and dual-channel functions -----------------
    // t: steady-clock seconds at which the block was taken.
    void SetBlockTime(double t);
    void SetAveraging(std::uint16_t speed, std::uint32_t count);
    void ResetAveraging();
    void Average(bool bandMeans);
    void UpdatePeakHold();
    void SetPeakHoldMode(std::uint16_t mode);
    std::uint16_t GetPeakHoldMode() const { return m_HoldMode; }
    void ClearHold();
    // For an object whose held values nobody reads for a while: averaging
    // then keeps no latest lines and the hold step does nothing. Ending the
    // suspension clears the hold, as if the hold mode had just been set, so
    // what is held afterwards never depends on the time in between.
    void SuspendHold(bool suspended);
    // The hold mode's decay is a step per hold update at the display's
    // nominal rate; a caller that updates less often scales each step by
    // the nominal updates its interval stands for, so held lines fall by
    // the same amount a second (1 by default: one step per call).
    void SetHoldDecayScale(float scale) { m_HoldDecayScale = scale; }
    // An object whose averaged complex lines nobody reads (no phase, no
    // dual-channel function of it) may skip averaging them; its averaged
    // power is the same to the bit. Vector averaging and the moving window
    // keep them whatever this says.
    void KeepAveragedComplex(bool keep) { m_KeepAveragedComplex = keep; }
    bool IsHoldSuspended() const { return m_HoldSuspended; }
    float GetAverageCount() const { return m_AverageCount; }
    std::int32_t GetBlocksAveraged() const { return m_BlocksAveraged; }
    // a, b: other objects' current complex lines (L pairs each).
    void AverageLeftRight(const float* a, const float* b);
    void CrossSpectrum(const float* a, const float* b);
    void MagnitudeRatio(const float* numerator, const float* denominator, const float* averagedA,
                        const float* averagedB);
    void TransferFunction(const float* denominator);
    void Coherence(const float* powerA, const float* powerB);
    bool IsCoherence() const { return m_IsCoherence != 0; }
    bool IsTransfer() const { return m_IsTransfer != 0; }
    bool IsRatio() const { return m_IsRatio != 0; }
    bool IsCross() const { return m_IsCross != 0; }
    // Coherence, ratio and transfer show plain numbers, without unit offsets.
    bool IsFunctionObject() const { return m_IsCoherence || m_IsRatio || m_IsTransfer; }

    // ---- Correction, calibration, weighting and display units ------------
    void SetCalibration(const TChannelCalibration* record);
    void UpdateCorrection();
    bool LoadCompensation(const char* path, bool enable);
    bool HasCompensation() const { return !m_Compensation.empty(); }
    const float* GetCorrection() const { return m_Correction.data(); }
    float GetValue(std::uint32_t index, bool latest = false) const;
    const char* GetUnitLabel(bool shortForm) const;
    void SetUnitLabels(const char* linear, const char* log);
    float GetWindowBandwidthFactor() const;
    void AddOffset(float dB, const TChannelCalibration& record);
    // The dB offset of the calibrated unit (0 for uncalibrated or function objects).
    float GetUnitOffsetDb() const;

    // ---- Readouts --------------------------------------------------------
    // The (k+1)-th highest peak in first … last; frequency and level may be null.
    void FindPeak(std::uint32_t first, std::uint32_t last, float* frequency, float* level,
                  int k = 0) const;
    void FindMinimum(std::uint32_t first, std::uint32_t last, float* frequency, float* level) const;
    float GetHoldValue(std::uint32_t index) const;
    float GetHoldMax(int first, int last) const;
    float GetHoldPeakFrequency(int first, int last) const;
    float GetTotalPower() const { return m_TotalPower; }
    float GetLatestTotalPower() const { return m_LatestTotalPower; }
    float GetHoldTotalPower() const { return m_HeldTotalPower; }
    // How long a peak stands (seconds) and how far it then falls per update
    // (dB) for a hold mode: 0 Off, 1 Fast, 2 Medium, 3 Slow, 4 Forever.
    struct HoldRate {
        float Time;
        float Decay;
    };
    static HoldRate PeakHoldRate(std::uint16_t mode);
    std::uint16_t GetTotalPowerWeighting() const { return m_TotalPowerWeighting; }
    // weighting: −1 from display values, 0 flat, 1 A, 2 B, 3 C; scale 1 = dB.
    float GetBandPower(std::uint32_t first, std::uint32_t last, int scale, int weighting,
                       bool latest = false);
    float GetLevelAtFrequency(float frequency) const;
    float GetMaxValue(int first, int last) const;
    float GetTHD() const;
    float GetTHDN() const;
    float GetSNR() const;
    float GetSINAD() const;
    float GetIMD() const;
    float GetPhase(std::uint32_t index) const;
    void GetComplexValue(std::uint32_t index, float* re, float* im) const;
    void SmoothAcrossBins(int width);

    // ---- Copies for reading elsewhere ---------------------------------------
    // An object that holds nothing until CopyResultsTo fills it.
    static std::unique_ptr<SpectralData> NewCopyTarget();
    // Everything display values and readouts read (settings, geometry,
    // averaged, latest and held results, calibration, weighting curves),
    // without the time block, the averaging ring and the transform's line
    // correction (GetCorrection answers null in a copy): another thread may
    // read `into` while this object goes on. Arrays `into` already has at
    // the right size are reused, so copying again allocates nothing. False
    // (into then reads as failed) when memory for a copy cannot be had; no
    // message is shown. Builds this object's weighting curves on first use.
    bool CopyResultsTo(SpectralData& into);

    // ---- Fractional-octave bands -----------------------------------------
    std::uint32_t GetBandCount() const { return m_BandCount; }
    float NominalBandCenter(float frequency) const;
    float GetBandCenter(std::uint32_t band) const;
    float GetBandLowerEdge(std::uint32_t band) const;
    float GetBandUpperEdge(std::uint32_t band) const;
    std::uint32_t FrequencyToBand(float frequency) const;
    std::uint32_t GetFirstBand() const;
    std::uint32_t GetLastBand() const;
    const TOctaveBand* GetBands() const { return m_Bands.data(); }
    const TBandLineMap* GetBandLineMap() const { return m_BandLineMap.data(); }

private:
    friend struct SpectralDataTestAccess;

    SpectralData() = default;

    // Construction and arrays (SpectralData.cpp)
    void AllocateArrays();
    void RenewCorrectionStamp();
    bool Allocate(platform::ZeroFilledArray<float>& array, std::size_t count);
    void Fail(const char* message);
    void FillNoValue(platform::ZeroFilledArray<float>& array);

    // Display values of lines rise with these keys (the averaged and the
    // latest array), so the larger key marks the larger value: a range's
    // maximum needs one GetValue, not one per line. Null when no key orders
    // the values (bands, coherence). A missing latest array answers the
    // averaged one.
    struct TValueKeys {
        const float* Averaged = nullptr;
        const float* Latest = nullptr;
    };
    TValueKeys ValueKeys() const;

    // Averaging (SpectralDataAveraging.cpp)
    void AverageCountFromSpeed(double dt);
    // Returns how many leading lines already have their latest power.
    // Lines first … end−1; returns the end of those that already have their
    // latest power (first when none).
    std::size_t RunningMean(std::size_t first, std::size_t end, bool cross);
    void SumRing(int window, std::size_t lines);
    // Lines first … end−1, in ascending tiles from line 0.
    void FinishAveragedLines(std::size_t first, std::size_t end, bool cross, std::size_t latestDone);
    float HoldTime() const;
    float HoldDecay() const;
    // Hold is on and not suspended: the averaging pass keeps the latest lines.
    bool KeepsLatest() const { return m_HoldMode != 0 && !m_HoldSuspended; }

    // Dual-channel functions (SpectralDataDualChannel.cpp)
    void StoreFunctionLine(std::uint32_t line, double value);
    void FunctionLinesToDb();
    void FinishFunction();

    // Correction (SpectralDataCorrection.cpp)
    bool BuildWeightingCurve(platform::ZeroFilledArray<float>& curve, int code);
    bool ReadCompensationFile(const char* path, float* dbPerLine);
    void InterpolateTable(const float* table, std::uint32_t count, float* out, bool linear) const;

    // Readouts (SpectralDataReadouts.cpp)
    static constexpr int kPeakListSize = 11;
    // The strongest local maxima of the averaged power over a line range,
    // strongest first, padded with line 0; valid for one averaging pass.
    struct TPeakList {
        std::array<std::uint32_t, kPeakListSize> Lines{};
        std::uint64_t Pass = 0;
        std::uint32_t First = 0;
        std::uint32_t Last = 0;
        bool Valid = false;
    };
    const TPeakList& PeakList(std::uint32_t first, std::uint32_t last) const;
    // Clamps a peak search's lines to where a peak can stand; false when the
    // spectrum has too few lines for any.
    bool PeakSearchRange(std::uint32_t& first, std::uint32_t& last) const;
    // Every local maximum of the averaged power over the searchable lines,
    // ascending, found once per averaging pass: each peak list of that pass
    // is then a walk over the maxima rather than over the lines.
    struct TLocalMaxima {
        platform::ZeroFilledArray<std::uint32_t> Lines;
        std::size_t Count = 0;
        std::uint64_t Pass = 0;
        bool Valid = false;
    };
    // False when the list's memory cannot be had.
    bool FindLocalMaxima() const;
    mutable TLocalMaxima m_LocalMaxima;
    std::uint32_t FindPeakLine(std::uint32_t first, std::uint32_t last, int k) const;
    std::uint32_t FindPeakBand(std::uint32_t first, std::uint32_t last, int k) const;
    float GaussianPeakFrequencyAt(std::uint32_t line) const;
    float GetGaussianPeakFrequency(std::uint32_t first, std::uint32_t last) const;
    bool PeakPowers(double& signal, double& rest) const;
    mutable TPeakList m_PeakList;

    // Band power sums (SpectralDataPowerSums.cpp). The sum over lines
    // first … last of the power (averaged, or latest) with the display
    // weighting taken out and weighting slot 0 (flat) or 1 … 3 (A, B, C)
    // put in. Kept for the averaging pass: the first weighting asked is
    // summed alone, a second one over the same lines sums all four in one
    // pass (the data log asks for each).
    struct TPowerSums {
        std::array<double, 4> Sum{};
        std::array<bool, 4> Has{};
        std::uint64_t Pass = 0;
        std::uint32_t First = 0;
        std::uint32_t Last = 0;
        bool Valid = false;
    };
    double WeightedPowerSum(std::uint32_t first, std::uint32_t last, bool latest, int slot);
    // The A, B or C curve (slot 1 … 3), built on first use; null when it
    // cannot be had.
    const float* WeightingCurve(int slot);
    TPowerSums m_PowerSums[2];

    // Bands (SpectralDataBands.cpp)
    void BuildOctaveBands();
    void BuildBandLineMap();
    void ComputeBandLevels(bool bandMeans, bool latest);

    std::uint8_t m_Error = 0;
    platform::ZeroFilledArray<float> m_Block;        // N samples, then L (re, im) lines
    platform::ZeroFilledArray<float> m_AvgComplex;   // L (re, im) pairs
    platform::ZeroFilledArray<float> m_AvgPower;     // L
    platform::ZeroFilledArray<float> m_AvgDb;        // L, dB scaling only
    platform::ZeroFilledArray<TOctaveBand> m_Bands;  // B, octave mode only
    platform::ZeroFilledArray<float> m_BandLevels;   // B
    platform::ZeroFilledArray<TBandLineMap> m_BandLineMap; // B
    platform::ZeroFilledArray<float> m_Weighting;    // L or none
    platform::ZeroFilledArray<float> m_Compensation; // L or none
    platform::ZeroFilledArray<float> m_Correction;   // L
    // Renewed from a process-wide count whenever m_Correction is allocated
    // or written, so a pair of stamps names a pair of contents: TransformsLike
    // compares the lines again only after either side's correction changed.
    std::uint64_t m_CorrectionStamp = 0;
    mutable std::uint64_t m_LikeStamps[2] = {0, 0};
    mutable bool m_LikeResult = false;
    platform::ZeroFilledArray<float> m_LatestPower;  // L
    platform::ZeroFilledArray<float> m_LatestDb;     // L, dB scaling only
    platform::ZeroFilledArray<float> m_LatestBandLevels; // B
    platform::ZeroFilledArray<THoldEntry> m_Hold;    // L or B
    platform::ZeroFilledArray<float> m_CurveA;       // L, built on first use
    platform::ZeroFilledArray<float> m_CurveB;
    platform::ZeroFilledArray<float> m_CurveC;
    std::string m_Name = "Spectrum";
    std::array<platform::ZeroFilledArray<float>, kRingSlots> m_RingPower;   // L each
    std::array<platform::ZeroFilledArray<float>, kRingSlots> m_RingComplex; // 2L each
    std::uint16_t m_AverageType = 0;
    std::uint32_t m_AverageSpeed = 0;
    std::uint16_t m_AverageMode = 0;
    float m_AverageCount = 1.0f;
    double m_LastBlockTime = 0.0;
    std::int32_t m_BlocksAveraged = 0;
    std::int32_t m_RingIndex = 0;
    std::uint32_t m_FFTSize = 0;
    float m_HalfRange = 0.0f;
    std::uint32_t m_Lines = 0;
    std::uint32_t m_BandCount = 0;
    float m_Span = 0.0f;
    float m_LowerLimit = 0.0f;
    float m_UpperLimit = 0.0f;
    float m_LineSpacing = 0.0f;
    std::uint32_t m_AmpScaleType = 0;
    std::uint32_t m_FreqScaleType = 0;
    std::uint32_t m_OctaveNumber = 1;
    std::uint16_t m_StandardWeighting = 0;
    std::uint16_t m_TotalPowerWeighting = 0;
    std::uint16_t m_WindowType = 0;
    // Parzen's reciprocal noise bandwidth, measured on its table at this size.
    float m_ParzenBandwidthFactor = 1.0f;
    float m_DensityDivisor = 1.0f;
    std::uint8_t m_DensityFlag = 0;
    std::uint8_t m_DensityAmplitude = 0;
    float m_Gain = 1.0f;
    TChannelCalibration m_Calibration{};
    std::uint32_t m_PeakLine = 0;
    // The power of m_PeakLine while the averaging pass searches tile by tile.
    float m_PeakSearchHighest = 0.0f;
    std::uint16_t m_HoldMode = 0;
    bool m_HoldSuspended = false;
    float m_HoldDecayScale = 1.0f;
    bool m_KeepAveragedComplex = true;
    float m_TotalPower = kNoValue;
    float m_LatestTotalPower = kNoValue;
    float m_HeldTotalPower = kNoValue;
    double m_HeldTotalPowerExpiry = 0.0;
    std::uint8_t m_IsRatio = 0;
    std::uint8_t m_IsTransfer = 0;
    std::uint8_t m_IsCross = 0;
    std::uint8_t m_IsCoherence = 0;
    // Counts changes of the averaged spectrum, so readouts can cache what
    // they derive from it (the peak list) until the next change.
    std::uint64_t m_AveragePass = 0;
};
