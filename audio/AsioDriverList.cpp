#include "audio/AsioDriverList.h"
#include "platform/AsciiCase.h"

#include "audio/ShippedDrivers.h"
#include "platform/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace {

using platform::RegistryHive;

constexpr const char* kDriversKey = "software\\asio";
constexpr const char* kClassesKey = "clsid";
// Value lengths the registry is read with, terminator included.
constexpr std::size_t kSubkeyCapacity = 128;
constexpr std::size_t kClassIdCapacity = 256;

std::string Lower(std::string_view text) { return platform::ToLowerAscii(text); }

std::string Cut(std::string text, std::size_t capacity)
{
    if (text.size() >= capacity)
        text.resize(capacity - 1);
    return text;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The "InprocServer32" file of the class whose key matches classId
// (compared lower-case), when that file exists.
bool FindServerPath(const platform::Registry& registry, const std::string& classId, std::string& path)
{
    std::string subkey;
    for (std::size_t i = 0; registry.EnumKey(RegistryHive::ClassesRoot, kClassesKey, i, subkey); ++i) {
        if (Lower(subkey) != classId)
            continue;
        std::string server;
        const std::string serverKey = std::string(kClassesKey) + "\\" + subkey + "\\InprocServer32";
        if (!registry.QueryValue(RegistryHive::ClassesRoot, serverKey, "", server))
            return false;
        server = Cut(server, AsioDriverList::kPathCapacity);
        if (!FileExists(server))
            return false;
        path = server;
        return true;
    }
    return false;
}

ASIOError CopyCut(const std::string& text, char* buffer, int length)
{
    if (buffer == nullptr || length < 4)
        return kDrvErrInvalidParam;
    const auto size = static_cast<std::size_t>(length);
    if (text.size() < size) {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    } else {
        std::memcpy(buffer, text.data(), size - 4);
        std::memcpy(buffer + size - 4, "...", 4);
    }
    return kAsioOk;
}

} // namespace

AsioDriverList::AsioDriverList()
{
    EnsureShippedDriversRegistered();
    ReadRegistry();
}

AsioDriverList::~AsioDriverList() = default;

void AsioDriverList::ReadRegistry()
{
    const platform::Registry& registry = platform::CurrentRegistry();
    std::string subkey;
    for (std::size_t i = 0; registry.EnumKey(RegistryHive::LocalMachine, kDriversKey, i, subkey); ++i) {
        // A name the enumeration's buffer cannot hold cannot be opened either.
        if (subkey.size() >= kSubkeyCapacity)
            continue;
        const std::string key = std::string(kDriversKey) + "\\" + subkey;
        std::string classText;
        if (!registry.QueryValue(RegistryHive::LocalMachine, key, "clsid", classText))
            continue;
        classText = Lower(Cut(classText, kClassIdCapacity));
        Record record;
        if (!AsioClassId::Parse(classText, record.ClassId))
            continue;
        if (!FindServerPath(registry, classText, record.ServerPath))
            continue;
        std::string description;
        if (!registry.QueryValue(RegistryHive::LocalMachine, key, "description", description))
            description = subkey;
        record.Name = Cut(description, kNameCapacity);
        record.DriverIndex = static_cast<int>(Records.size());
        Records.push_back(std::move(record));
    }
}

AsioDriverList::Record* AsioDriverList::Find(int index)
{
    if (index < 0 || index >= static_cast<int>(Records.size()))
        return nullptr;
    return &Records[static_cast<std::size_t>(index)];
}

const AsioDriverList::Record* AsioDriverList::Find(int index) const
{
    return const_cast<AsioDriverList*>(this)->Find(index);
}

ASIOError AsioDriverList::asioOpenDriver(int index, AsioDriver** driver)
{
    if (driver == nullptr)
        return kDrvErrInvalidParam;
    Record* record = Find(index);
    if (record == nullptr)
        return kDrvErrDeviceNotFound;
    if (record->Instance != nullptr)
        return kDrvErrDeviceAlreadyOpen;
    const ASIOError result = AsioDriverInstance::Create(record->ServerPath, record->ClassId, record->Instance);
    if (result == kAsioOk)
        *driver = record->Instance->Driver();
    return result;
}

ASIOError AsioDriverList::asioCloseDriver(int index)
{
    Record* record = Find(index);
    if (record == nullptr)
        return kDrvErrDeviceNotFound;
    record->Instance.reset();
    return kAsioOk;
}

int AsioDriverList::asioGetNumDev() const
{
    return static_cast<int>(Records.size());
}

ASIOError AsioDriverList::asioGetDriverName(int index, char* buffer, int length) const
{
    if (buffer == nullptr)
        return kDrvErrInvalidParam;
    const Record* record = Find(index);
    if (record == nullptr)
        return kDrvErrDeviceNotFound;
    return CopyCut(record->Name, buffer, length);
}

ASIOError AsioDriverList::asioGetDriverPath(int index, char* buffer, int length) const
{
    if (buffer == nullptr)
        return kDrvErrInvalidParam;
    const Record* record = Find(index);
    if (record == nullptr)
        return kDrvErrDeviceNotFound;
    return CopyCut(record->ServerPath, buffer, length);
}

ASIOError AsioDriverList::asioGetDriverCLSID(int index, AsioClassId* classId) const
{
    if (classId == nullptr)
        return kDrvErrInvalidParam;
    const Record* record = Find(index);
    if (record == nullptr)
        return kDrvErrDeviceNotFound;
    *classId = record->ClassId;
    return kAsioOk;
}
