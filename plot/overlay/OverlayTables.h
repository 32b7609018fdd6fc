#pragma once
// The overlay tables of a plot's two panes, kept between reloads. A plot
// redraws its overlays at every step of the plot-top spinner, every zoom and
// every Stop; reading six large slot files again each time would freeze it,
// and reporting a bad one each time would bury the operator in messages.
// So a slot's file is read again only when it changed (its stamp), the
// composite file is rebuilt only when something it is built from changed,
// titles are read again only from changed files, and each version of a bad
// file gives one report in the program's run, naming the file and the slot
// (and the line where reading stopped, for a file drawn only in part),
// which the owner shows when it is safe to. GUI thread only.

#include "plot/overlay/OverlaySlots.h"
#include "plot/overlay/TOverlayData.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class SpectralData;

class OverlayTables {
public:
    // The slot files' folder and the plot's channel; a change forgets every table.
    void SetFolder(const std::string& folder, int channel);
    const std::string& Folder() const { return m_Folder; }
    int Channel() const { return m_Channel; }

    // A slot's table for a pane (1 or 2) read in the given style, with the
    // offset; null without a folder. Read again only when its file changed.
    TOverlayData* Table(int pane, int slot, const overlay_slots::LoadStyle& style, float offset);
    // Frees a hidden slot's table.
    void Drop(int pane, int slot);

    // Rebuilds a pane's composite file from its six stored overlays when
    // any of them, the offsets, the setup, the style or the data's grid
    // changed since the last build; true when the file holds the composite
    // of what it is built from now.
    bool BuildComposite(int pane, const SpectralData& data, const std::array<float, overlay_slots::kStoredSlots>& offsets,
                        const overlay_slots::LoadStyle& style, const CompositeSetup& setup);

    // The slot file's title, read again only when the file changed.
    const std::string& Title(int pane, int slot);

    // The reports not yet taken, oldest first.
    std::vector<std::string> TakeReports();
    bool HasReports() const { return !m_Reports.empty(); }
    // How many times a slot file was read for its table (for tests).
    int Reads() const { return m_Reads; }

private:
    struct Slot {
        std::unique_ptr<TOverlayData> Table;
        std::string Path;
        overlay_slots::FileStamp Stamp;
        overlay_slots::LoadStyle Style;
        bool TitleKnown = false;
        std::string TitlePath;
        overlay_slots::FileStamp TitleStamp;
        std::string Title;
    };
    struct CompositeKey {
        std::array<std::string, overlay_slots::kStoredSlots> Paths;
        std::array<overlay_slots::FileStamp, overlay_slots::kStoredSlots> Stamps;
        std::array<float, overlay_slots::kStoredSlots> Offsets{};
        CompositeSetup Setup;
        overlay_slots::LoadStyle Style;
        std::uint32_t StartBin = 0;
        std::uint32_t EndBin = 0;
        float StartFrequency = 0.0f;
        float EndFrequency = 0.0f;
        overlay_slots::FileStamp Output;
        bool operator==(const CompositeKey&) const = default;
    };
    struct Composite {
        bool Known = false;
        CompositeKey Key;
        bool Built = false;
    };

    Slot& At(int pane, int slot) { return m_Slots[pane == 2 ? 1 : 0][slot]; }
    void Report(int pane, int slot, Slot& state);

    std::string m_Folder;
    int m_Channel = 0;
    std::array<std::array<Slot, overlay_slots::kSlots>, 2> m_Slots;
    std::array<Composite, 2> m_Composites;
    std::vector<std::string> m_Reports;
    int m_Reads = 0;
};
