#include "plot/overlay/OverlaySlots.h"

#include "engine/SpectralData.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"

#include <sys/stat.h>

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

// A file copied or retitled is held whole in memory; larger ones are refused
// rather than cut.
constexpr std::size_t kMaxCopyBytes = std::size_t{1} << 30;

// A reason as the end of a sentence.
std::string Sentence(const std::string& reason)
{
    return !reason.empty() && (reason.back() == '!' || reason.back() == '.') ? reason : reason + ".";
}

std::string NoFolderReason(const std::string& target)
{
    return "The overlay file \"" + target + "\" could not be written: no overlay folder is set.";
}

bool Write(const std::string& path, std::string_view bytes, std::string& reason)
{
    int error = 0;
    if (platform::WriteFileAtomically(path, bytes, error))
        return true;
    reason = "The file \"" + path + "\" could not be written: " +
             Sentence(platform::ErrorText(error));
    return false;
}

// A slot file's whole text when it may be written again under another title
// without losing a row: a table (as the plain, unstepped reading sees it) or
// titles alone; a missing file reads as empty.
bool ReadKeepable(const std::string& path, std::string& bytes, std::string& reason)
{
    std::string why;
    bool missing = false;
    if (!platform::ReadWholeRegularFile(path, kMaxCopyBytes, bytes, why, &missing)) {
        if (missing)
            return true;
        reason = "The file \"" + path + "\" was left as it was: " + Sentence(why);
        return false;
    }
    const auto table = TOverlayData::FromText(bytes, 0, 0.0f, false, false);
    if (table->GetSource() == TOverlayData::Source::Unreadable) {
        reason = "The file \"" + path + "\" was left as it was: " +
                 Sentence(table->GetProblem().empty() ? std::string("it is not an overlay table") : table->GetProblem());
        return false;
    }
    return true;
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
    // No folder would put the file beside wherever the program was started.
    if (slot < 0 || slot >= kStoredSlots || folder.empty())
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
    if (folder.empty())
        return false;
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
                std::uint16_t freqScaleType, std::string& title, std::string& reason)
{
    reason.clear();
    std::string bytes;
    std::string why;
    if (!platform::ReadWholeRegularFile(source, kMaxCopyBytes, bytes, why)) {
        reason = "The file \"" + source + "\" could not be read: " + Sentence(why);
        return false;
    }
    const auto table = TOverlayData::FromText(bytes, freqScaleType, 0.0f, false, false);
    if (table->IsError()) {
        reason = "The file \"" + source + "\" could not be loaded as an overlay: " +
                 (table->GetProblem() == overlay_text::kOrderingMessage || table->GetProblem().empty()
                      ? std::string("it needs at least 3 rows of frequency and value in rising frequency order")
                      : table->GetProblem()) +
                 ".";
        return false;
    }
    const std::string target = SlotPath(folder, channel, pane, slot);
    if (folder.empty()) {
        reason = NoFolderReason(target);
        return false;
    }
    if (!Write(target, bytes, reason))
        return false;
    title = overlay_text::ReadTitle(bytes);
    return true;
}

bool ExportFile(const std::string& folder, int channel, int pane, int slot, const std::string& destination,
                const std::string& title, std::string& reason)
{
    reason.clear();
    if (folder.empty()) {
        reason = NoFolderReason(SlotPath(folder, channel, pane, slot));
        return false;
    }
    std::string bytes;
    if (!ReadKeepable(SlotReadPath(folder, channel, pane, slot), bytes, reason))
        return false;
    return Write(destination, overlay_text::WithTitle(bytes, title), reason);
}

bool Retitle(const std::string& folder, int channel, int pane, int slot, const std::string& title,
             std::string& reason)
{
    reason.clear();
    const std::string source = SlotReadPath(folder, channel, pane, slot);
    const std::string target = SlotPath(folder, channel, pane, slot);
    if (folder.empty()) {
        reason = NoFolderReason(target);
        return false;
    }
    // Unchanged: not a byte written, not even the time, and nothing said
    // about a file that could not have been written.
    std::string head;
    overlay_text::ReadOverlayFileHead(source, head);
    if (overlay_text::ReadTitle(head) == overlay_text::TitleOfLine(";" + title))
        return true;
    std::string bytes;
    if (!ReadKeepable(source, bytes, reason))
        return false;
    return Write(target, overlay_text::WithTitle(bytes, title), reason);
}

std::string SlotName(int channel, int pane, int slot)
{
    std::string name = slot == kCompositeSlot ? std::string("the composite") : "overlay " + std::to_string(slot + 1);
    name += channel == 1 ? " of the right plot" : " of the left plot";
    return pane == 2 ? name + "'s lower pane" : name;
}

FileStamp StampOf(const std::string& path)
{
    FileStamp stamp;
    struct stat attributes{};
    if (path.empty() || ::stat(path.c_str(), &attributes) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Device = attributes.st_dev;
    stamp.Inode = attributes.st_ino;
    stamp.Size = attributes.st_size;
    stamp.ModifiedNs = static_cast<std::int64_t>(attributes.st_mtim.tv_sec) * 1000000000 + attributes.st_mtim.tv_nsec;
    stamp.ChangedNs = static_cast<std::int64_t>(attributes.st_ctim.tv_sec) * 1000000000 + attributes.st_ctim.tv_nsec;
    return stamp;
}

} // namespace overlay_slots
