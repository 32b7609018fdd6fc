#include "app/FormatMenuModel.h"

#include "app/StatusbarFrame.h"
#include "format/TWaveFormat.h"

namespace {

constexpr int kBothChannelsMode = 2;

std::vector<FormatMenuItem> OfferedItems(const StatusbarFrame& frame, const std::vector<FormatMenuItem>& candidates)
{
    std::vector<FormatMenuItem> items;
    if (!frame.HasInputPort())
        return items;
    const TWaveFormat current = frame.GetAnalysisFormat();
    for (const FormatMenuItem& item : candidates) {
        TWaveFormat wanted;
        FormatMenuModel::FormatFor(item.command, current, wanted);
        if (frame.CheckInputFormat(wanted.GetSampleRate(), wanted.GetBytesPerSample(), wanted.GetChannels()))
            items.push_back(item);
    }
    return items;
}

} // namespace

std::vector<FormatMenuItem> FormatMenuModel::RateItems(const StatusbarFrame& frame)
{
    const std::uint32_t rate = frame.GetAnalysisFormat().GetSampleRate();
    std::vector<FormatMenuItem> candidates;
    for (std::uint32_t i = 0; i < kSampleRates.size(); ++i) {
        candidates.push_back({std::to_string(kSampleRates[i]) + " Hz", kRateCommandBase + i,
                              kSampleRates[i] == rate});
    }
    return OfferedItems(frame, candidates);
}

std::vector<FormatMenuItem> FormatMenuModel::WidthItems(const StatusbarFrame& frame)
{
    const std::uint16_t bytes = frame.GetAnalysisFormat().GetBytesPerSample();
    return OfferedItems(frame, {{"16 Bit", kCommand16Bit, bytes == 2}, {"24 Bit", kCommand24Bit, bytes == 3}});
}

std::vector<FormatMenuItem> FormatMenuModel::ChannelItems(const StatusbarFrame& frame)
{
    const std::uint16_t channels = frame.GetAnalysisFormat().GetChannels();
    return OfferedItems(frame, {{"Mono", kCommandMono, channels == 1}, {"Stereo", kCommandStereo, channels == 2}});
}

bool FormatMenuModel::FormatFor(std::uint32_t command, const TWaveFormat& current, TWaveFormat& result)
{
    std::uint32_t rate = current.GetSampleRate();
    std::uint16_t bytes = current.GetBytesPerSample();
    std::uint16_t channels = current.GetChannels();
    if (command >= kRateCommandBase && command < kRateCommandBase + kSampleRates.size())
        rate = kSampleRates[command - kRateCommandBase];
    else if (command == kCommand16Bit)
        bytes = 2;
    else if (command == kCommand24Bit)
        bytes = 3;
    else if (command == kCommandMono)
        channels = 1;
    else if (command == kCommandStereo)
        channels = 2;
    else
        return false;
    result = current;
    result.Set(rate, channels, bytes);
    return true;
}

void FormatMenuModel::Execute(std::uint32_t command, StatusbarFrame& frame)
{
    const TWaveFormat current = frame.GetAnalysisFormat();
    TWaveFormat wanted;
    if (!FormatFor(command, current, wanted))
        return;
    const bool wasRunning = frame.IsRunning();
    frame.ExecuteCommand(FrameCommand::Stop);
    frame.SetAnalysisFormat(wanted);
    if (command == kCommandStereo && current.GetChannels() == 1)
        frame.SetChannelMode(kBothChannelsMode);
    frame.ExecuteCommand(FrameCommand::ReinitInput);
    if (wasRunning)
        frame.ExecuteCommand(FrameCommand::Start);
}
