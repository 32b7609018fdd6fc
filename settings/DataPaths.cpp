#include "settings/DataPaths.h"

#include "settings/TextField.h"

std::string_view DataPaths::Get(std::size_t slot) const
{
    return slot < kSlotCount ? TextFieldView(Path[slot]) : std::string_view();
}

void DataPaths::Set(std::size_t slot, std::string_view path)
{
    if (slot < kSlotCount)
        SetTextField(Path[slot], path);
}

void DataPaths::Build(std::string_view dataRoot)
{
    const std::string root(dataRoot);
    Set(kWave, root + "Wave");
    Set(kCalibration, root + "Cal");
    Set(kOverlay, root + "Overlay");
    Set(kLog, root + "Log");
}
