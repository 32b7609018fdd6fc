#pragma once
// The .cfg configuration file: every setting that is not in the .ini file.
// The start-up file in the data folder and the configurations the load and
// save commands name are read and written by the same pair.

#include <functional>
#include <string>

#include "settings/CfgTable.h"
#include "settings/FrameSettings.h"

// The index of the sound input device that is the DAQ module (0 when none
// is); every load makes it the input and output device.
using FindDaqInputDeviceFn = std::function<int()>;

// Reads the file into settings, then applies the fixed values, the derived
// values and the limits of ApplySettingsLimits. False, with settings
// untouched, when the file cannot be opened.
bool LoadCfgSettings(const std::string& path, FrameSettings& settings, const FindDaqInputDeviceFn& findDaq);

// The part of LoadCfgSettings after the file has been read.
void ApplyCfgTable(const CfgTable& table, FrameSettings& settings, const FindDaqInputDeviceFn& findDaq);

// The whole file's text, and the file written with it (through a temporary
// file: false, with the old file untouched and reason (when given) saying
// why, when it cannot be written).
std::string FormatCfgSettings(const FrameSettings& settings);
bool SaveCfgSettings(const std::string& path, const FrameSettings& settings, std::string* reason = nullptr);

// What this build runs with whatever a file says.
void ApplyFixedCfgValues(FrameSettings& settings);

// What the reader gives each key of an empty file: the defaults a value out
// of its field's range falls back to.
const FrameSettings& CfgMissingKeyValues();
