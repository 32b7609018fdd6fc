#pragma once
// The measurements a data log can write, numbered 0 to 54: each one's
// column name and its value and value text, read from one logging spectrum
// over the channel's frequency span. Each measurement fills exactly one
// comma-separated field; a list measurement (every line of a range) puts
// its lines into that field separated by tabs.

#include <cstdint>
#include <string>

class SpectralData;

namespace data_log_measurements {

inline constexpr int kCount = 55;
// "no value yet" of a threshold test and of list measurements.
inline constexpr float kNoThresholdValue = -999.0f;

struct Source {
    // The channel's logging spectrum; null writes nothing.
    SpectralData* data = nullptr;
    float startFreq = 0.0f;
    float stopFreq = 0.0f;
    // The eight marker frequencies, Hz.
    const float* markerFreq = nullptr;
};

// True for the ids whose value is one field holding a line list.
bool IsList(int id);

// False when the id has no column here (a span list over a one-line span):
// AppendColumnName's answer without building the name.
bool HasColumn(const Source& source, int id);

// Appends the column name of id; false (nothing appended) when the id has
// no column here.
bool AppendColumnName(const Source& source, int id, std::string& out);

// The id's value into value (lists leave it as it was); its text appended
// to text when text is not null. False when the id has no value.
bool GetValue(const Source& source, int id, float& value, std::string* text);

} // namespace data_log_measurements
