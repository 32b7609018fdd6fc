#pragma once
// The overlay files of a spectrum plot and what the plot and the overlay
// dialog do with them. Each pane of each plot has six stored overlays and a
// composite, one file each in the overlay folder:
//   pane 1 of the left plot   L1.ovl … L6.ovl, L7.ovl (composite)
//   pane 1 of the right plot  R1.ovl … R7.ovl
//   pane 2 of the left plot   L1_2.ovl … L7_2.ovl
//   pane 2 of the right plot  R1_2.ovl … R7_2.ovl
// Lower panes once shared the R files with the right plot's upper pane;
// where a lower pane's own file does not exist yet, its old R file is read.
//
// Every write replaces a file whole or leaves it as it was.

#include "plot/overlay/TOverlayData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class SpectralData;

namespace overlay_slots {

inline constexpr int kStoredSlots = 6;
inline constexpr int kCompositeSlot = 6;
inline constexpr int kSlots = 7;

// The file a slot (0 … 6) of a pane (1 or 2) of the plot of a channel is
// written to.
std::string SlotPath(const std::string& folder, int channel, int pane, int slot);
// The file it is read from: its own, or the lower pane's old shared one
// while its own does not exist.
std::string SlotReadPath(const std::string& folder, int channel, int pane, int slot);

// How a pane's overlay tables are loaded: fractional-octave data steps
// them, a logarithmic amplitude axis joins their points with straight lines.
struct LoadStyle {
    std::uint16_t FreqScaleType = 0;
    bool StraightLines = false;
    bool operator==(const LoadStyle&) const = default;
};

// The title of a file (title-only reading); empty when none or missing.
std::string ReadTitle(const std::string& path);

// A slot's table as the plot shows it.
std::unique_ptr<TOverlayData> LoadSlot(const std::string& folder, int channel, int pane, int slot, float offset,
                                       const LoadStyle& style);

// Stores the data's live or held spectrum in a stored slot, under the
// slot's old title or "Overlay n". False when nothing could be written.
bool StoreSpectrum(const std::string& folder, int channel, int pane, int slot, const SpectralData& data, float offset,
                   bool hold);

// Rebuilds a pane's composite file from its six stored overlays (each with
// its offset) on the data's grid, keeping the composite file's title. A
// composite that cannot be formed leaves the old file as it was: false.
bool BuildComposite(const std::string& folder, int channel, int pane, const SpectralData& data,
                    const std::array<float, kStoredSlots>& offsets, const LoadStyle& style, CompositeSetup setup);

// Copies a table file into a slot, every byte as it was, and gives back its
// title. A file that is not a table, or a slot file that cannot be written,
// leaves the slot as it was: false, with the reason (naming the file).
bool ImportFile(const std::string& source, const std::string& folder, int channel, int pane, int slot,
                std::uint16_t freqScaleType, std::string& title, std::string& reason);

// Writes a slot's file to a file of the operator's under the given title,
// every other byte as it was; a slot without data gives a file of the title
// alone. False, with the reason, when the slot's file is not a table or the
// destination cannot be written.
bool ExportFile(const std::string& folder, int channel, int pane, int slot, const std::string& destination,
                const std::string& title, std::string& reason);

// Gives a slot file a new title by changing its title line only; the same
// title leaves the file untouched. A missing file becomes a file of the
// title alone (the legend of a slot without data). A file that cannot be
// read whole, or that is neither a table nor titles, is left as it was:
// false, with the reason.
bool Retitle(const std::string& folder, int channel, int pane, int slot, const std::string& title,
             std::string& reason);

// "overlay 2 of the left plot", "the composite of the right plot's lower
// pane": how messages name a slot.
std::string SlotName(int channel, int pane, int slot);

// What tells one version of a file from the next: a write replaces the file
// (new inode) or changes its size or time. Equal stamps mean the tables
// read from the file are still good.
struct FileStamp {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

} // namespace overlay_slots
