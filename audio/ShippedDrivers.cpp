#include "audio/ShippedDrivers.h"

#include "platform/MessageBox.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#ifndef TALVENOR_DRIVER_BUILD_DIR
#define TALVENOR_DRIVER_BUILD_DIR ""
#endif

namespace fs = std::filesystem;

namespace {

using platform::RegistryHive;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<fs::path> PluginFolders()
{
    std::vector<fs::path> folders;
    if (const std::string dir = Environment("TALVENOR_DRIVER_DIR"); !dir.empty())
        folders.emplace_back(dir);
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        folders.push_back(program.parent_path() / "drivers");
        folders.push_back(program.parent_path().parent_path() / "lib" / "talvenor" / "drivers");
    }
    if (const fs::path build = TALVENOR_DRIVER_BUILD_DIR; !build.empty())
        folders.push_back(build);
    return folders;
}

std::string UserRegistryFile()
{
    if (const std::string file = Environment("TALVENOR_REGISTRY_FILE"); !file.empty())
        return file;
    fs::path config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) {
        const std::string home = Environment("HOME");
        if (home.empty())
            return {};
        config = fs::path(home) / ".config";
    }
    return (config / "talvenor" / "drivers.reg").string();
}

void RegisterDriver(platform::Registry& registry, const char* name, const char* classId, const char* file)
{
    const std::string driverKey = std::string("software\\asio\\") + name;
    registry.SetValue(RegistryHive::LocalMachine, driverKey, "clsid", classId);
    registry.SetValue(RegistryHive::LocalMachine, driverKey, "description", name);
    registry.SetValue(RegistryHive::ClassesRoot, std::string("clsid\\") + classId + "\\InprocServer32", "",
                      FindShippedPlugin(file));
}

} // namespace

void LoadDriverFile(platform::Registry& registry, const std::string& file)
{
    std::error_code error;
    if (file.empty() || !fs::exists(file, error))
        return;
    int line = 0;
    if (!registry.LoadFile(file, line)) {
        const std::string reason =
            line > 0 ? "line " + std::to_string(line) + " is not a registry entry" : "it cannot be read";
        platform::ShowMessageBox("The driver list " + file + " was ignored: " + reason + ".",
                                 platform::MessageIcon::Warning);
    }
}

std::string FindShippedPlugin(const std::string& fileName)
{
    const std::vector<fs::path> folders = PluginFolders();
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (fs::is_regular_file(folder / fileName, error))
            return (folder / fileName).string();
    }
    return (fs::path(TALVENOR_DRIVER_BUILD_DIR) / fileName).string();
}

void RegisterShippedDrivers(platform::Registry& registry)
{
    RegisterDriver(registry, kJackDriverName, kJackDriverClassId, kJackPluginFile);
    RegisterDriver(registry, kDaqSimDriverName, kDaqSimDriverClassId, kDaqSimPluginFile);
    registry.SetValue(RegistryHive::LocalMachine, kDaqUsbLibraryKey, kDaqUsbLibraryValue,
                      FindShippedPlugin(kDaqSimPluginFile));
}

void EnsureShippedDriversRegistered()
{
    static std::once_flag once;
    std::call_once(once, [] {
        platform::Registry& registry = platform::SystemRegistry();
        RegisterShippedDrivers(registry);
        LoadDriverFile(registry, UserRegistryFile());
    });
}
