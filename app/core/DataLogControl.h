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
    virtual std::optional<double> WriteLogRecord(int channel, double timeOfDay) = 0;

    // When the channel's next record falls due (time of day, not yet taken
    // by a step) and the interval of those after it, as the last step left
    // them; nothing while the channel logs nothing or before its first step.
    // A hold-up passes due times that no step reaches.
    struct RecordSchedule {
        double NextDue = 0.0;
        double Interval = 0.0;
    };
    virtual std::optional<RecordSchedule> GetRecordSchedule(int channel) const = 0;
};
