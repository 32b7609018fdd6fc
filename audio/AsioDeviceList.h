#pragma once
// The list of audio devices the shared audio port offers: every listed driver
// is loaded in turn and asked for its channels, buffer sizes, sample rates and
// sample type. Drivers with more than two channels get one entry per channel
// pair. The DAQ module's driver is shown as "QuarnDAQ-200".

#include "audio/AsioDeviceEntry.h"
#include "audio/AsioFormatTarget.h"

#include <array>

class AsioDeviceList {
public:
    static constexpr int kMaxEntries = 256;
    static constexpr const char* kDaqDriverMark = "Talvenor USB Audio";
    static constexpr const char* kDaqDisplayName = "QuarnDAQ-200";

    AsioDeviceList() { Clear(); }

    // Zeroes every entry and frees the channel information.
    void Clear();

    // Clears the list and fills it from the drivers the registry lists. Runs
    // only while no driver is loaded: every driver is loaded and unloaded in
    // turn, and the driver-list holder is destroyed at the end. A driver that
    // does not load is listed, invalid, after the message "Failure on
    // loadAsioDriver() for Device: %s\n". The list stops at kMaxEntries.
    void EnumerateDevices(AsioFormatTarget& port);

    int Count() const { return EntryCount; }
    // Entries 0 … kMaxEntries − 1; those at Count() and beyond are cleared.
    const AsioDeviceEntry& Entry(int index) const { return Entries[static_cast<std::size_t>(index)]; }

private:
    void QueryDriver(AsioDeviceEntry& entry, bool& failed, AsioFormatTarget& port);
    void QueryChannelInfo(AsioDeviceEntry& entry, bool& failed);
    // Adds the pair entries after entry index; false when the list is full.
    bool AddChannelPairs(int& index);

    std::array<AsioDeviceEntry, kMaxEntries> Entries;
    int EntryCount = 0;
};
