#pragma once
// Where a value in display units lands in a pane: the row counted up from
// the pane's bottom, 1 … pane height, for a linear, dB or log amplitude
// axis or the 0 … 1.2 coherence scale. Traces, markers, the cursor and the
// power meter all map through it.

#include <cstdint>
#include <vector>

class LogRowTable;

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

    // Row looks up a log axis's rows of this height in table, which must
    // have been prepared from this mapping, rather than taking a logarithm
    // of every value. The table must outlive the mapping's use.
    void UseRowTable(const LogRowTable* table) { m_Table = table; }

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
    const LogRowTable* m_Table = nullptr;

    friend class LogRowTable;
};

// For each row of a log axis, the smallest value that reaches it, so that a
// row is found by a search among the rows instead of a logarithm: the same
// row as AmplitudeMapping::Row gives for every float. Kept across frames and
// prepared again only when the axis or the height changes.
class LogRowTable {
public:
    // False, leaving the table unusable, for a mapping other than a valid
    // log axis or a height below 1.
    bool Prepare(const AmplitudeMapping& mapping, int height);
    int Height() const { return m_Height; }
    int Row(float value) const;

private:
    double m_LogBottom = 0.0;
    double m_LogTop = 0.0;
    int m_Height = 0;
    // m_Thresholds[k - 2]: the smallest float whose row is k or above, k = 2 … height.
    std::vector<float> m_Thresholds;
};
