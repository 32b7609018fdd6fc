#pragma once
// The program's data folders: eleven slots of 260 characters, of which five
// have a role. The frame keeps the configured set and an in-use copy whose
// entries the file dialogs move to the folder last chosen.

#include <cstddef>
#include <string>
#include <string_view>

struct DataPaths {
    static constexpr std::size_t kSlotCount = 11;
    static constexpr std::size_t kPathSize = 260;

    enum Slot : std::size_t {
        kWave = 0,
        kConfiguration = 2,
        kCalibration = 3,
        kOverlay = 5,
        kLog = 6,
    };

    char Path[kSlotCount][kPathSize] = {};

    std::string_view Get(std::size_t slot) const;
    // Keeps at most kPathSize − 1 characters; an unknown slot is ignored.
    void Set(std::size_t slot, std::string_view path);

    // Slots 0, 3, 5 and 6 become dataRoot (which ends with '/') + "Wave",
    // "Cal", "Overlay" and "Log"; the other slots are left as they are.
    void Build(std::string_view dataRoot);

    bool operator==(const DataPaths&) const = default;
};
