#pragma once
// A table of (frequency, value) points with an interpolated lookup and a dB
// offset: one overlay of a spectrum plot. Built from an overlay text file
// (OverlayText.h), from a live spectrum (its displayed values or its peak
// hold), or as the composite of a pane's six stored overlays (their average
// or the difference of two); saved back to a text file.
//
// Construction always completes; IsError() tells whether it succeeded (and
// GetProblem() why a file failed), and a failed table answers 0.0 to every
// lookup. The offset is added by the
// lookups only, never stored in the table or written to a file.

#include "plot/overlay/OverlayText.h"

#include "engine/TCubicSpline.h"
#include "platform/ZeroFilledArray.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class SpectralData;

// How overlay 7 of a pane is built from overlays 1 to 6.
struct CompositeSetup {
    static constexpr std::uint16_t kAverage = 0;
    static constexpr std::uint16_t kDifference = 1;

    std::uint16_t CompositeType = kAverage;
    // 1 = included; only the first six count.
    std::uint8_t IncludeInAverage[7] = {};
    // Overlay indices 0 … 5: the first minus the second.
    std::uint16_t DifferenceIndex1 = 0;
    std::uint16_t DifferenceIndex2 = 0;

    bool operator==(const CompositeSetup&) const = default;
};

class TOverlayData {
public:
    static constexpr std::size_t kInputs = 6;
    static constexpr float kDifferenceLimit = 200.0f;
    using Inputs = std::array<const TOverlayData*, kInputs>;

    // What a file gave, for callers that must not overwrite rows they could
    // not read: no file asked for, no file there, only title lines, a
    // table, or lines that are not a table.
    enum class Source { None, Missing, TitlesOnly, Table, Unreadable };

    // From a file; frequency-scale type 2 (fractional octave) makes the table
    // stepped. A null or empty path gives an empty table without error.
    TOverlayData(const char* path, std::uint16_t freqScaleType, float offset, bool titleOnly, bool splineOff);
    // The same from the file's bytes.
    static std::unique_ptr<TOverlayData> FromText(std::string_view bytes, std::uint16_t freqScaleType, float offset,
                                                  bool titleOnly, bool splineOff);
    // From a live spectrum: one point per displayable bin (three per band in
    // fractional-octave data), displayed or held values. Null data gives an
    // empty table without error.
    TOverlayData(const SpectralData* data, float offset, bool hold);
    // The composite on the live spectrum's grid. Only present, valid inputs
    // count: an average needs two of them among the included, a difference
    // two distinct valid ones; otherwise the table is in error.
    TOverlayData(const SpectralData* data, const Inputs& overlays, CompositeSetup setup);
    ~TOverlayData();
    TOverlayData(const TOverlayData&) = delete;
    TOverlayData& operator=(const TOverlayData&) = delete;

    // The interpolated value plus the offset; the end values beyond the ends.
    float GetValueAt(float frequency) const;
    // The largest value strictly between low and high plus the offset, or
    // the value at high when no point lies between.
    float GetBandValue(float low, float high) const;
    // Writes the file (atomically) with this title; the values are the
    // table's own, without the offset, one row per band in a stepped table.
    // False without a table or when the file cannot be written.
    bool Save(const char* path, const char* title);
    const char* GetTitle() const { return m_Title.data(); }

    bool IsError() const { return m_bError; }
    bool IsStepped() const { return m_bStepped; }
    bool IsSplineOff() const { return m_bSplineOff; }
    float GetOffset() const { return m_Offset; }
    std::uint32_t GetNumPoints() const { return m_NumPoints; }
    // (frequency, value) pairs.
    const float* GetPoints() const { return m_Points.data(); }
    Source GetSource() const { return m_Source; }
    // Why a file gave no table, for the caller to report with the file's
    // name; empty when it did, or when there was nothing to report (no file,
    // titles only). The table itself shows no message for these: a plot
    // reloads its overlays at every step of a spinner.
    const std::string& GetProblem() const { return m_Problem; }
    // Where and why reading stopped before the file's text ended, for the
    // caller to report with the file's name ("reading stopped at line 102,
    // which is not a row of frequency and value"); empty when the table
    // took every row. The rows before that line are the table.
    const std::string& GetStop() const { return m_Stop; }
    // That line, from 1; 0 when none.
    std::uint32_t GetStopLine() const { return m_StopLine; }
    // The file's rows the table holds (a stepped row is three points).
    std::uint32_t GetRows() const { return m_bStepped ? m_NumPoints / 3 : m_NumPoints; }
    // A table kept across reloads takes the slot's new offset.
    void SetOffset(float offset) { m_Offset = offset; }

private:
    TOverlayData() = default;
    void ReadText(std::string_view bytes, bool titleOnly);
    void FillFromSpectrum(const SpectralData& data, bool hold, const char* memoryMessage);
    void SetStop(const overlay_text::ReadResult& read);
    void MakeSpline();
    void SetTitle(std::string_view title);
    float Frequency(std::uint32_t i) const { return m_Points[2 * i]; }
    float Value(std::uint32_t i) const { return m_Points[2 * i + 1]; }

    bool m_bError = false;
    bool m_bStepped = false;
    std::uint32_t m_NumPoints = 0;
    platform::ZeroFilledArray<float> m_Points;
    // A failed file keeps an empty table, so that Save still writes its
    // title: the legend of a slot that holds no data yet.
    bool m_bHasTable = false;
    std::unique_ptr<TCubicSpline> m_PSpline;
    std::array<char, overlay_text::kTitleSize> m_Title{};
    float m_Offset = 0.0f;
    bool m_bSplineOff = false;
    Source m_Source = Source::None;
    std::string m_Problem;
    std::string m_Stop;
    std::uint32_t m_StopLine = 0;
    // Where the last band scan of this table found its first point; a plot
    // asks for bands in rising frequency, so each scan starts near the last.
    mutable std::int64_t m_ScanIndex = 0;
};
