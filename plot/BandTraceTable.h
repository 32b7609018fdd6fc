#pragma once
// A fractional-octave spectrum (or its peak hold) as a table of points for
// TablePoints: three points per band, just below, at and just above its
// centre, with the band's value, and a spline through them, so a line
// trace runs smoothly from band to band and is level at each centre.
// Refilled every frame; the storage is kept between frames.

#include "plot/TablePoints.h"

#include "engine/TCubicSpline.h"

#include <memory>
#include <vector>

class SpectralData;

class BandTraceTable : public TracePointTable {
public:
    // The bands of the data's display range, displayed values or held ones.
    void Fill(const SpectralData& data, bool hold);

    float GetValueAt(float frequency) const override;
    float GetBandValue(float f1, float f2) const override;
    bool IsStraightLine() const override { return false; }

    // (frequency, value) pairs.
    const std::vector<float>& Points() const { return m_Points; }

private:
    std::size_t Count() const { return m_Points.size() / 2; }
    float Frequency(std::size_t i) const { return m_Points[2 * i]; }
    float Value(std::size_t i) const { return m_Points[2 * i + 1]; }

    std::vector<float> m_Points;
    std::unique_ptr<TCubicSpline> m_Spline;
};
