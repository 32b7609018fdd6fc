#pragma once
// The data log as the run control drives it: started with a run, one record
// per log channel after each new result, new files after local midnight,
// closed at stop. The master switch and the files' start time live in the
// frame's DataLogSettings.

class DataLogControl {
public:
    virtual ~DataLogControl() = default;
    virtual void StartDataLogging() = 0;
    virtual void StopDataLogging() = 0;
    virtual void OpenLogFiles() = 0;
    virtual void CloseLogFiles() = 0;
    // timeOfDay: local seconds since midnight.
    virtual void WriteLogRecord(int channel, float timeOfDay) = 0;
};
