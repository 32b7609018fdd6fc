#include "app/core/DataLogRecord.h"

#include <algorithm>

#include "app/core/DataLogText.h"
#include "engine/SpectralData.h"

namespace data_log_record {

namespace measurements = data_log_measurements;

Snapshot::Snapshot() = default;
Snapshot::~Snapshot() = default;

bool AppendLine(const measurements::Source& source, const std::vector<int>& columns, bool names, float timeOfDay,
                std::string& out)
{
    const std::size_t start = out.size();
    if (names)
        out += "Time";
    else
        data_log_text::AppendTimeOfDay(out, timeOfDay);
    out += ',';
    bool anyValue = names;
    bool first = true;
    for (int id : columns) {
        if (!first)
            out += ',';
        first = false;
        if (names) {
            measurements::AppendColumnName(source, id, out);
        } else {
            float value = 0.0f;
            anyValue = measurements::GetValue(source, id, value, &out) || anyValue;
        }
    }
    if (!anyValue)
        out.resize(start);
    return anyValue;
}

bool Capture(const measurements::Source& source, const std::vector<int>& columns, Snapshot& s)
{
    s.text.clear();
    if (source.data == nullptr)
        return false;
    s.finished = std::none_of(columns.begin(), columns.end(), measurements::IsList);
    if (s.finished)
        return AppendLine(source, columns, s.names, s.timeOfDay, s.text);
    if (!s.spectrum)
        s.spectrum = SpectralData::NewCopyTarget();
    s.startFreq = source.startFreq;
    s.stopFreq = source.stopFreq;
    if (source.markerFreq != nullptr)
        std::copy_n(source.markerFreq, 8, s.markerFreq);
    else
        std::fill_n(s.markerFreq, 8, 0.0f);
    s.columns.assign(columns.begin(), columns.end());
    return source.data->CopyResultsTo(*s.spectrum);
}

bool AppendLine(const Snapshot& s, std::string& out)
{
    if (s.finished) {
        out += s.text;
        return !s.text.empty();
    }
    const measurements::Source source{s.spectrum.get(), s.startFreq, s.stopFreq, s.markerFreq};
    return AppendLine(source, s.columns, s.names, s.timeOfDay, out);
}

} // namespace data_log_record
