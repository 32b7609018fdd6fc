#pragma once
// Saving all settings to a configuration file the user names, and loading
// one, with an undo copy of the state before the load. The frame supplies
// what only it can do (stop the run, find out where its windows stand,
// close and re-open them, rebuild the processing) through ConfigurationHost;
// the file dialogs are the frame's too.

#include <string>
#include <string_view>

#include "settings/FrameSettings.h"

class ConfigurationHost {
public:
    virtual ~ConfigurationHost() = default;

    virtual void StopRun() = 0;
    // Stores the slot of one window (WindowSlots::Store with its current
    // placement, or none when the window is not open).
    virtual void StoreWindowSlot(int slotId) = 0;
    // Resets the displays and closes both plots and every utility window.
    virtual void CloseWindowsForLoad() = 0;
    // Rebuilds the processing objects and the status bar's layout.
    virtual void RebuildProcessing() = 0;
    virtual void RestoreMainWindowPlacement() = 0;
    // Opens the window of a slot through its toggle.
    virtual void ReopenWindow(int slotId) = 0;
    // The caption and the viewer windows' layout.
    virtual void RefreshAfterLoad() = 0;
    virtual int FindDaqInputDevice() = 0;
};

class ConfigurationCommands {
public:
    static constexpr const char* kUndoFileName = "-Undo.cfg";

    // dataRoot (ending with '/') is where the undo copy goes when no
    // configuration folder is known yet.
    ConfigurationCommands(FrameSettings& settings, ConfigurationHost& host, std::string dataRoot);

    // Stores the six window slots, then writes every setting to the file.
    // Says so, naming the file, when it cannot be written. An empty path
    // does nothing.
    bool SaveConfiguration(std::string_view path);

    // Loads a configuration so that the program ends in the same state as
    // if it had started with that file: the current state is first saved as
    // the undo copy (unless that is the file being loaded), the windows are
    // closed, the file read with the start-up fix-ups, the processing rebuilt
    // and the windows the file marks open re-opened. A file that cannot be
    // read is reported and changes nothing.
    bool LoadConfiguration(std::string_view path);

    // The file dialogs open in, and remember, the configuration folder of
    // the in-use data paths.
    std::string DialogFolder() const;
    void RememberDialogFolder(std::string_view chosenFile);

    // The folder relative names are joined to and the undo copy goes to: the
    // configured configuration folder, else the one in use (where the last
    // configuration was loaded or saved), else the data root.
    std::string ConfigurationFolder() const;
    // Quotes removed; a relative name joined to ConfigurationFolder().
    std::string ResolvePath(std::string_view path) const;
    std::string UndoPath() const;

private:
    bool WriteConfiguration(const std::string& path);

    FrameSettings& m_Settings;
    ConfigurationHost& m_Host;
    std::string m_DataRoot;
};
