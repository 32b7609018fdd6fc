#include "plot/overlay/OverlayTables.h"

#include "engine/SpectralData.h"

#include <cctype>
#include <map>

void OverlayTables::SetFolder(const std::string& folder, int channel)
{
    if (folder == m_Folder && channel == m_Channel)
        return;
    m_Folder = folder;
    m_Channel = channel;
    for (auto& pane : m_Slots)
        for (Slot& slot : pane)
            slot = Slot();
    m_Composites = {};
}

TOverlayData* OverlayTables::Table(int pane, int slot, const overlay_slots::LoadStyle& style, float offset)
{
    if (m_Folder.empty() || slot < 0 || slot >= overlay_slots::kSlots)
        return nullptr;
    Slot& state = At(pane, slot);
    const std::string path = overlay_slots::SlotReadPath(m_Folder, m_Channel, pane, slot);
    // The stamp before the read: a write during the read shows at the next call.
    const overlay_slots::FileStamp stamp = overlay_slots::StampOf(path);
    if (!state.Table || state.Path != path || !(state.Stamp == stamp) || !(state.Style == style)) {
        state.Table = std::make_unique<TOverlayData>(path.c_str(), style.FreqScaleType, offset, false,
                                                     style.StraightLines);
        ++m_Reads;
        state.Path = path;
        state.Stamp = stamp;
        state.Style = style;
        Report(pane, slot, state);
    }
    state.Table->SetOffset(offset);
    return state.Table.get();
}

void OverlayTables::Drop(int pane, int slot)
{
    if (slot >= 0 && slot < overlay_slots::kSlots)
        At(pane, slot).Table.reset();
}

namespace {

// The version of each bad file already reported, program-wide: a plot made
// again (a new mode, a configuration opened) does not report it again.
std::map<std::string, overlay_slots::FileStamp>& ReportedFiles()
{
    static std::map<std::string, overlay_slots::FileStamp> reported;
    return reported;
}

} // namespace

void OverlayTables::Report(int pane, int slot, Slot& state)
{
    const std::string& problem = state.Table->GetProblem();
    const std::string& stop = state.Table->GetStop();
    auto& reported = ReportedFiles();
    if (problem.empty() && stop.empty()) {
        reported.erase(state.Path);
        return;
    }
    const auto [entry, added] = reported.try_emplace(state.Path, state.Stamp);
    if (!added && entry->second == state.Stamp)
        return;
    entry->second = state.Stamp;
    std::string name = overlay_slots::SlotName(m_Channel, pane, slot);
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (problem.empty()) {
        // The rows before the stop are drawn: the operator may not know the
        // rest of the file is not.
        const std::uint32_t rows = state.Table->GetRows();
        m_Reports.push_back(name + " shows only part of the file \"" + state.Path + "\": " + stop + "; the " +
                            std::to_string(rows) + (rows == 1 ? " row before it is drawn." : " rows before it are drawn."));
        return;
    }
    std::string reason = problem;
    if (reason.back() != '!' && reason.back() != '.')
        reason += '.';
    m_Reports.push_back(name + " is not shown: the file \"" + state.Path + "\" could not be read as an overlay: " +
                        reason);
}

bool OverlayTables::BuildComposite(int pane, const SpectralData& data,
                                   const std::array<float, overlay_slots::kStoredSlots>& offsets,
                                   const overlay_slots::LoadStyle& style, const CompositeSetup& setup)
{
    if (m_Folder.empty())
        return false;
    CompositeKey key;
    for (int n = 0; n < overlay_slots::kStoredSlots; ++n) {
        key.Paths[n] = overlay_slots::SlotReadPath(m_Folder, m_Channel, pane, n);
        key.Stamps[n] = overlay_slots::StampOf(key.Paths[n]);
    }
    key.Offsets = offsets;
    key.Setup = setup;
    key.Style = style;
    key.StartBin = data.GetStartBin();
    key.EndBin = data.GetEndBin();
    key.StartFrequency = data.GetBinFrequency(key.StartBin);
    key.EndFrequency = data.GetBinFrequency(key.EndBin);
    const std::string output = overlay_slots::SlotPath(m_Folder, m_Channel, pane, overlay_slots::kCompositeSlot);
    key.Output = overlay_slots::StampOf(output);
    Composite& composite = m_Composites[pane == 2 ? 1 : 0];
    if (composite.Known && composite.Key == key)
        return composite.Built;

    // Hidden slots' tables are kept too, for the next build (a zoom changes
    // the grid); the owner drops them once the composite is hidden.
    TOverlayData::Inputs inputs{};
    for (int n = 0; n < overlay_slots::kStoredSlots; ++n)
        inputs[n] = Table(pane, n, style, offsets[n]);
    TOverlayData built(&data, inputs, setup);
    composite.Built = false;
    if (!built.IsError()) {
        // The composite file keeps its title.
        const std::string title = overlay_slots::ReadTitle(
            overlay_slots::SlotReadPath(m_Folder, m_Channel, pane, overlay_slots::kCompositeSlot));
        composite.Built = built.Save(output.c_str(), title.c_str());
    }
    key.Output = overlay_slots::StampOf(output);
    composite.Known = true;
    composite.Key = key;
    return composite.Built;
}

const std::string& OverlayTables::Title(int pane, int slot)
{
    static const std::string kNone;
    if (m_Folder.empty() || slot < 0 || slot >= overlay_slots::kSlots)
        return kNone;
    Slot& state = At(pane, slot);
    const std::string path = overlay_slots::SlotReadPath(m_Folder, m_Channel, pane, slot);
    const overlay_slots::FileStamp stamp = overlay_slots::StampOf(path);
    if (!state.TitleKnown || state.TitlePath != path || !(state.TitleStamp == stamp)) {
        state.Title = overlay_slots::ReadTitle(path);
        state.TitleKnown = true;
        state.TitlePath = path;
        state.TitleStamp = stamp;
    }
    return state.Title;
}

std::vector<std::string> OverlayTables::TakeReports()
{
    std::vector<std::string> reports;
    reports.swap(m_Reports);
    return reports;
}
