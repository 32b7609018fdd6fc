#include "plot/overlay/OverlaySlots.h"

#include "engine/SpectralData.h"

#include <filesystem>

namespace overlay_slots {

namespace {

std::string Joined(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

std::string SlotPath(const std::string& folder, int channel, int pane, int slot)
{
    const char side = channel == 1 ? 'R' : 'L';
    std::string name = std::string(1, side) + std::to_string(slot + 1);
    if (pane == 2)
        name += "_2";
    return Joined(folder, name + ".ovl");
}

std::string SlotReadPath(const std::string& folder, int channel, int pane, int slot)
{
    const std::string own = SlotPath(folder, channel, pane, slot);
    if (pane != 2 || Exists(own))
        return own;
    const std::string shared = Joined(folder, "R" + std::to_string(slot + 1) + ".ovl");
    return Exists(shared) ? shared : own;
}

std::string ReadTitle(const std::string& path)
{
    const TOverlayData title(path.c_str(), 0, 0.0f, true, false);
    return title.GetTitle();
}

std::unique_ptr<TOverlayData> LoadSlot(const std::string& folder, int channel, int pane, int slot, float offset,
                                       const LoadStyle& style)
{
    return std::make_unique<TOverlayData>(SlotReadPath(folder, channel, pane, slot).c_str(), style.FreqScaleType,
                                          offset, false, style.StraightLines);
}

bool StoreSpectrum(const std::string& folder, int channel, int pane, int slot, const SpectralData& data, float offset,
                   bool hold)
{
    if (slot < 0 || slot >= kStoredSlots)
        return false;
    TOverlayData table(&data, offset, hold);
    if (table.IsError())
        return false;
    std::string title = ReadTitle(SlotReadPath(folder, channel, pane, slot));
    if (title.empty())
        title = "Overlay " + std::to_string(slot + 1);
    return table.Save(SlotPath(folder, channel, pane, slot).c_str(), title.c_str());
}

bool BuildComposite(const std::string& folder, int channel, int pane, const SpectralData& data,
                    const std::array<float, kStoredSlots>& offsets, const LoadStyle& style, CompositeSetup setup)
{
    std::array<std::unique_ptr<TOverlayData>, kStoredSlots> tables;
    TOverlayData::Inputs inputs{};
    for (int n = 0; n < kStoredSlots; ++n) {
        tables[n] = LoadSlot(folder, channel, pane, n, offsets[n], style);
        inputs[n] = tables[n].get();
    }
    TOverlayData composite(&data, inputs, setup);
    if (composite.IsError())
        return false;
    const std::string title = ReadTitle(SlotReadPath(folder, channel, pane, kCompositeSlot));
    return composite.Save(SlotPath(folder, channel, pane, kCompositeSlot).c_str(), title.c_str());
}

bool ImportFile(const std::string& source, const std::string& folder, int channel, int pane, int slot,
                std::uint16_t freqScaleType, std::string& title)
{
    TOverlayData table(source.c_str(), freqScaleType, 0.0f, false, false);
    if (table.IsError())
        return false;
    title = table.GetTitle();
    return table.Save(SlotPath(folder, channel, pane, slot).c_str(), title.c_str());
}

bool ExportFile(const std::string& folder, int channel, int pane, int slot, const std::string& destination,
                std::uint16_t freqScaleType, const std::string& title)
{
    TOverlayData table(SlotReadPath(folder, channel, pane, slot).c_str(), freqScaleType, 0.0f, false, false);
    if (table.GetSource() == TOverlayData::Source::Unreadable)
        return false;
    return table.Save(destination.c_str(), title.c_str());
}

bool Retitle(const std::string& folder, int channel, int pane, int slot, std::uint16_t freqScaleType,
             const std::string& title)
{
    TOverlayData table(SlotReadPath(folder, channel, pane, slot).c_str(), freqScaleType, 0.0f, false, false);
    if (table.GetSource() == TOverlayData::Source::Unreadable)
        return false;
    return table.Save(SlotPath(folder, channel, pane, slot).c_str(), title.c_str());
}

} // namespace overlay_slots
