#pragma once
// The data log as the run control drives it: started with a run, one record
// per log channel after each new result, new files after local midnight,
// closed at stop. The master switch and the files' start time live in the
// frame's DataLogSettings.

#include <optional>

class DataLogControl {
public:
    virtual ~DataLogControl() = default;
    virtual void StartDataLogging() = 0;
    virtual void StopDataLogging() = 0;
    virtual void OpenLogFiles() = 0;
    virtual void CloseLogFiles() = 0;
    // timeOfDay: local seconds since midnight. Returns the latest time of
    // day a record fell due at since the last call (the record is written,
    // or held back by its threshold, now), or nothing when none fell due: a
    // step that comes late may pass several due times and take one record.
    virtual std::optional<float> WriteLogRecord(int channel, float timeOfDay) = 0;
};
