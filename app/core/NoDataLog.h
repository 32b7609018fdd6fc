#pragma once
// The data log as this build has it: the log writer and its settings sheet
// are not in this program yet. Until then logging cannot be
// switched on (the "Data Logging..." command is disabled and every settings
// load clears DataLogSettings::Active), so a run opens, writes and closes
// no log file.

#include "app/core/DataLogControl.h"

class NoDataLog final : public DataLogControl {
public:
    void StartDataLogging() override {}
    void StopDataLogging() override {}
    void OpenLogFiles() override {}
    void CloseLogFiles() override {}
    void WriteLogRecord(int, float) override {}
};
