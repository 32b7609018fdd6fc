#pragma once
// One data-log line, made on the thread that owns the logging spectrum and
// written on another. A line of single values is cheap to make: it is
// handed over as finished text. A line with lists (every line of a range)
// is not: the spectrum's results are copied (memcpy-sized work) and the
// writer makes the text from the copy. A Snapshot used again keeps its
// text's and copy's memory, so neither allocates once warm.

#include <memory>
#include <string>
#include <vector>

#include "app/core/DataLogMeasurements.h"

class SpectralData;

namespace data_log_record {

// "18:30:14,<value>,<value>…", one field per column (empty when the id has
// no value), or a names line "Time,<name>,<name>…". For a record, false with
// nothing appended when no column has a value.
bool AppendLine(const data_log_measurements::Source& source, const std::vector<int>& columns, bool names,
                float timeOfDay, std::string& out);

struct Snapshot {
    Snapshot();
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    // Finished text, or (false) a copy to make it from.
    bool finished = false;
    std::string text;
    // The names line of a header rather than a record.
    bool names = false;
    float timeOfDay = 0.0f;
    std::unique_ptr<SpectralData> spectrum;
    float startFreq = 0.0f;
    float stopFreq = 0.0f;
    float markerFreq[8] = {};
    std::vector<int> columns;
};

// Fills snapshot (names and timeOfDay set) for the columns: finished text,
// or, when a column is a list, a copy. False when there is nothing to write
// (no value, or no memory for the copy).
bool Capture(const data_log_measurements::Source& source, const std::vector<int>& columns, Snapshot& snapshot);

// The snapshot's line; false, nothing appended, when it has none.
bool AppendLine(const Snapshot& snapshot, std::string& out);

} // namespace data_log_record
