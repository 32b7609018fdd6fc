#include "settings/ConfigurationCommands.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "platform/MessageBox.h"
#include "platform/TempFiles.h"
#include "settings/CfgFileCheck.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgTable.h"

namespace {

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path.append(name);
}

} // namespace

ConfigurationCommands::ConfigurationCommands(FrameSettings& settings, ConfigurationHost& host, std::string dataRoot)
    : m_Settings(settings), m_Host(host), m_DataRoot(std::move(dataRoot))
{
}

std::string ConfigurationCommands::DialogFolder() const
{
    return std::string(m_Settings.m_DataPathsInUse.Get(DataPaths::kConfiguration));
}

void ConfigurationCommands::RememberDialogFolder(std::string_view chosenFile)
{
    // A file in the root folder has "/" as its folder, not its own name.
    const std::string folder = std::filesystem::path(chosenFile).parent_path().string();
    if (!folder.empty())
        m_Settings.m_DataPathsInUse.Set(DataPaths::kConfiguration, folder);
}

std::string ConfigurationCommands::ConfigurationFolder() const
{
    for (const DataPaths* paths : {&m_Settings.m_DataPaths, &m_Settings.m_DataPathsInUse}) {
        const std::string_view folder = paths->Get(DataPaths::kConfiguration);
        if (!folder.empty())
            return std::string(folder);
    }
    return m_DataRoot;
}

std::string ConfigurationCommands::ResolvePath(std::string_view path) const
{
    std::string name;
    std::copy_if(path.begin(), path.end(), std::back_inserter(name), [](char c) { return c != '"'; });
    name.resize(std::min(name.size(), DataPaths::kPathSize - 1));
    if (!name.empty() && name.front() != '/')
        name = JoinPath(ConfigurationFolder(), name);
    return name;
}

std::string ConfigurationCommands::UndoPath() const
{
    const std::string folder = ConfigurationFolder();
    return folder.empty() ? std::string() : JoinPath(folder, kUndoFileName);
}

bool ConfigurationCommands::WriteConfiguration(const std::string& path)
{
    for (int id : WindowSlots::kIds)
        m_Host.StoreWindowSlot(id);
    return SaveCfgSettings(path, m_Settings);
}

bool ConfigurationCommands::SaveConfiguration(std::string_view path)
{
    if (path.empty())
        return false;
    const std::string file = ResolvePath(path);
    if (WriteConfiguration(file))
        return true;
    platform::ShowMessageBox("The configuration could not be saved to \"" + file + "\".");
    return false;
}

bool ConfigurationCommands::LoadConfiguration(std::string_view path)
{
    if (path.empty())
        return false;
    const std::string file = ResolvePath(path);

    // Judged and read before anything changes, so that a file that cannot
    // be read, or is no configuration at all, leaves the run, the windows
    // and the settings as they are. The lenient reader would give every key
    // of a foreign file its default, which looks like a successful load.
    switch (CheckCfgFile(file)) {
    case CfgFileState::Missing:
        platform::ShowMessageBox("The configuration file \"" + file + "\" could not be read.");
        return false;
    case CfgFileState::Damaged:
        platform::ShowMessageBox(NotAConfigurationNote(file));
        return false;
    case CfgFileState::Readable:
        break;
    }
    CfgTable table;
    if (!table.Read(file)) {
        platform::ShowMessageBox("The configuration file \"" + file + "\" could not be read.");
        return false;
    }
    m_Host.StopRun();

    const std::string undo = UndoPath();
    if (undo.empty() || !platform::SameFile(undo, file)) {
        if (undo.empty() || !WriteConfiguration(undo)) {
            const std::string text = "The current settings could not be saved to \"" + undo
                                   + "\" before loading, so the load cannot be undone.  Load \"" + file
                                   + "\" anyway?";
            if (platform::ShowMessageBox(text, platform::MessageIcon::Warning, platform::MessageButtons::YesNo)
                != platform::MessageResult::Yes)
                return false;
        }
    }

    m_Host.CloseWindowsForLoad();
    ApplyCfgTable(table, m_Settings, [this] { return m_Host.FindDaqInputDevice(); });
    m_Settings.ApplyStartupFixups();
    m_Host.RebuildProcessing();
    m_Host.RestoreMainWindowPlacement();
    for (int id : WindowSlots::kIds) {
        if (id != kSlotMainWindow && m_Settings.Windows.IsOpen(id))
            m_Host.ReopenWindow(id);
    }
    m_Host.RefreshAfterLoad();
    return true;
}
