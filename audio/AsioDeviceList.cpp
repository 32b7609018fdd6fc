#include "audio/AsioDeviceList.h"

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr double kCandidateRates[] = {8000,  11025, 12000, 16000, 22050,  24000, 32000,
                                      44100, 48000, 88200, 96000, 176400, 192000};
// Listed for a driver that accepts none of the candidates.
constexpr double kFallbackRates[] = {44100, 48000, 88200, 96000, 192000};

void AppendToName(char* name, const std::string& suffix)
{
    const std::size_t used = std::strlen(name);
    const std::size_t room = AsioDeviceEntry::kNameLength - 1 - used;
    const std::size_t count = std::min(room, suffix.size());
    std::memcpy(name + used, suffix.data(), count);
    name[used + count] = '\0';
}

std::string PairSuffix(int first, int second)
{
    char text[32];
    std::snprintf(text, sizeof text, " (%d/%d)", first, second);
    return text;
}

bool IsUsableSampleType(ASIOSampleType type)
{
    return type == ASIOSTInt16LSB || type == ASIOSTInt24LSB || type == ASIOSTInt32LSB;
}

} // namespace

void AsioDeviceList::Clear()
{
    // Pair entries share their base entry's channel information, so dropping
    // every reference frees each array once.
    for (AsioDeviceEntry& entry : Entries)
        entry = AsioDeviceEntry{};
    EntryCount = 0;
}

void AsioDeviceList::EnumerateDevices(AsioFormatTarget& port)
{
    Clear();
    int e = 0;
    for (int d = 0; e < kMaxEntries; ++d, ++e) {
        AsioDeviceEntry& entry = Entries[static_cast<std::size_t>(e)];
        entry.Valid = 0;
        entry.DriverName[0] = '\0';
        if (MakeAsioDrivers().asioGetDriverName(d, entry.DriverName, AsioDeviceEntry::kNameLength) != kAsioOk) {
            entry.DriverName[0] = '\0';
            break;
        }

        bool failed = false;
        if (!loadAsioDriver(entry.DriverName)) {
            char text[AsioDeviceEntry::kNameLength + 64];
            std::snprintf(text, sizeof text, "Failure on loadAsioDriver() for Device: %s\n", entry.DriverName);
            platform::ShowMessageBox(text, platform::MessageIcon::Error);
            failed = true;
        }

        const bool isDaq = std::strstr(entry.DriverName, kDaqDriverMark) != nullptr;
        std::strcpy(entry.DisplayName, isDaq ? kDaqDisplayName : entry.DriverName);
        entry.IsDAQ = isDaq ? 1 : 0;
        ++EntryCount;

        ASIODriverInfo info{};
        info.asioVersion = 2;
        if (ASIOInit(&info) == kAsioOk)
            QueryDriver(entry, failed, port);
        ASIOExit();

        if (!AddChannelPairs(e))
            break;
    }
    DeleteAsioDrivers();
}

void AsioDeviceList::QueryDriver(AsioDeviceEntry& entry, bool& failed, AsioFormatTarget& port)
{
    if (ASIOGetChannels(&entry.InputChannels, &entry.OutputChannels) != kAsioOk)
        return;

    std::int32_t granularity = 0;
    if (ASIOGetBufferSize(&entry.MinBufferSize, &entry.MaxBufferSize, &entry.PreferredBufferSize, &granularity)
        != kAsioOk)
        failed = true;

    for (double rate : kCandidateRates) {
        if (ASIOCanSampleRate(rate) == kAsioOk)
            entry.SampleRates[entry.RateCount++] = rate;
    }
    if (entry.RateCount == 0) {
        for (double rate : kFallbackRates)
            entry.SampleRates[entry.RateCount++] = rate;
    }

    QueryChannelInfo(entry, failed);

    const ASIOChannelInfo* first = entry.ChannelInfoAt(0);
    if (first != nullptr && !port.IsFormatSet()) {
        ASIOSampleRate current = 0;
        const auto rate = ASIOGetSampleRate(&current) == kAsioOk
            ? static_cast<std::uint32_t>(current)
            : static_cast<std::uint32_t>(entry.SampleRates[entry.RateCount - 1]);
        port.SetFormat(rate, static_cast<std::uint16_t>(entry.InputChannels),
                       first->type == ASIOSTInt16LSB ? 2 : 3);
    }

    entry.OutputReady = ASIOOutputReady() == kAsioOk ? 1 : 0;
    if (!failed)
        entry.Valid = 1;
}

void AsioDeviceList::QueryChannelInfo(AsioDeviceEntry& entry, bool& failed)
{
    const std::int32_t total = entry.InputChannels + entry.OutputChannels;
    auto records = std::make_shared<AsioDeviceEntry::ChannelInfoArray>();
    if (total <= 0 || !records->Allocate(static_cast<std::size_t>(total))) {
        failed = true;
        return;
    }
    for (std::int32_t i = 0; i < total; ++i) {
        const bool isInput = i < entry.InputChannels;
        ASIOChannelInfo& info = (*records)[static_cast<std::size_t>(i)];
        info = ASIOChannelInfo{};
        info.channel = isInput ? i : i - entry.InputChannels;
        info.isInput = isInput ? ASIOTrue : ASIOFalse;
        if (ASIOGetChannelInfo(&info) != kAsioOk) {
            failed = true;
            return;
        }
    }
    if (!IsUsableSampleType((*records)[0].type)) {
        failed = true;
        return;
    }
    entry.ChannelInfo = std::move(records);
}

bool AsioDeviceList::AddChannelPairs(int& index)
{
    AsioDeviceEntry& base = Entries[static_cast<std::size_t>(index)];
    const int inputPairs = base.InputChannels > 2 ? base.InputChannels / 2 : 0;
    const int outputPairs = base.OutputChannels > 2 ? base.OutputChannels / 2 : 0;
    const int pairs = std::max(inputPairs, outputPairs);
    if (pairs == 0)
        return index + 1 < kMaxEntries;

    bool full = false;
    const int baseIndex = index;
    for (int p = 1; p < pairs; ++p) {
        // A full list keeps what it has rather than overwriting its last entry.
        if (index + 1 >= kMaxEntries) {
            full = true;
            break;
        }
        AsioDeviceEntry& pair = Entries[static_cast<std::size_t>(++index)];
        pair = Entries[static_cast<std::size_t>(baseIndex)];
        if (p >= inputPairs)
            pair.InputChannels = 0;
        if (p >= outputPairs)
            pair.OutputChannels = 0;
        pair.FirstChannel = 2 * p;
        AppendToName(pair.DisplayName, PairSuffix(2 * p + 1, 2 * p + 2));
        ++EntryCount;
    }
    AppendToName(Entries[static_cast<std::size_t>(baseIndex)].DisplayName, " (1/2)");
    return !full && index + 1 < kMaxEntries;
}
