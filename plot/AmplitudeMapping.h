#pragma once
// Where a value in display units lands in a pane: the row counted up from
// the pane's bottom, 1 … pane height, for a linear, dB or log amplitude
// axis or the 0 … 1.2 coherence scale. Traces, markers, the cursor and the
// power meter all map through it.

#include <cstdint>

class AmplitudeMapping {
public:
    // ampScale: 0 linear (0 … top), 1 dB (top − range … top), 2 log (range
    // is the bottom value). A coherence pane ignores the three.
    AmplitudeMapping(std::uint16_t ampScale, float top, float range, bool coherence);

    // The linear top that the plot must use and store: 1 when it is not
    // positive.
    static float UsableLinearTop(float top);

    // False for a log axis without room between bottom and top: nothing can
    // be placed on it.
    bool IsValid() const { return m_Valid; }

    // The row of v, 1 … height, truncated toward zero before the clamp. A
    // log axis puts values of 0 or less on row 1.
    int Row(float value, int height) const;

    // The value at a row (r = bottom − y), the inverse of Row before its
    // truncation; 0 on an invalid axis.
    float ValueAt(int row, int height) const;

private:
    std::uint16_t m_Scale = 0;
    bool m_Coherence = false;
    bool m_Valid = true;
    double m_Top = 0.0;
    double m_Range = 0.0;
    // Log axes: 10·log10 of the bottom and the top.
    double m_LogBottom = 0.0;
    double m_LogTop = 0.0;
};
