#pragma once
// The contents of the generator window's two signal-type lists. Only the
// common signals are offered; the others come from a settings file, and the
// list then shows no selection.

#include <array>
#include <cstdint>
#include <vector>

struct TSigGenTypeEntry {
    const char* Text;
    // The entry's data; -1 for "N/A".
    std::int32_t SigType;
};

class TSigGenTypeList {
public:
    static constexpr const char* kNotApplicable = "N/A";
    static constexpr int kNoSelection = -1;

    // In list order, unsorted.
    static const std::array<TSigGenTypeEntry, 7>& QuickList();

    struct Contents {
        std::vector<TSigGenTypeEntry> Entries;
        int Selected = kNoSelection;
    };
    // channel 0 left, 1 right. The right list holds only "N/A" when the
    // output has one channel or the channels are locked.
    static Contents For(int channel, std::int32_t sigType, std::uint32_t outputChannels, bool locked);
};
