#include "platform/Registry.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <vector>

#include "platform/RegularFile.h"

namespace platform {

namespace {

// A driver list holds a few dozen lines; a larger file is none.
constexpr std::size_t kMaxRegistryFileBytes = std::size_t{16} << 20;

std::vector<std::string_view> SplitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool ParseHive(std::string_view name, RegistryHive& hive)
{
    if (EqualNoCase(name, "HKEY_LOCAL_MACHINE") || EqualNoCase(name, "HKLM")) {
        hive = RegistryHive::LocalMachine;
        return true;
    }
    if (EqualNoCase(name, "HKEY_CLASSES_ROOT") || EqualNoCase(name, "HKCR")) {
        hive = RegistryHive::ClassesRoot;
        return true;
    }
    return false;
}

// Reads a quoted text at the front of s and removes it from s.
bool TakeQuoted(std::string_view& s, std::string& out)
{
    if (s.empty() || s.front() != '"')
        return false;
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return false;
            c = s[++i];
        }
        out.push_back(c);
    }
    return false;
}

struct Entry {
    RegistryHive Hive;
    std::string KeyPath;
    bool HasValue;
    std::string ValueName;
    std::string Data;
};

bool ParseLine(std::string_view line, Entry& current, bool& haveKey, std::vector<Entry>& entries)
{
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '#')
        return true;
    if (line.front() == '[') {
        if (line.back() != ']')
            return false;
        const std::string_view path = line.substr(1, line.size() - 2);
        const std::size_t cut = std::min(path.find('\\'), path.size());
        if (!ParseHive(path.substr(0, cut), current.Hive))
            return false;
        current.KeyPath = std::string(cut < path.size() ? path.substr(cut + 1) : std::string_view{});
        if (SplitPath(current.KeyPath).empty())
            return false;
        haveKey = true;
        current.HasValue = false;
        entries.push_back(current);
        return true;
    }
    if (!haveKey)
        return false;
    Entry value = current;
    value.HasValue = true;
    if (line.front() == '@')
        line.remove_prefix(1);
    else if (!TakeQuoted(line, value.ValueName))
        return false;
    line = Trim(line);
    if (line.empty() || line.front() != '=')
        return false;
    line = Trim(line.substr(1));
    if (!TakeQuoted(line, value.Data) || !Trim(line).empty())
        return false;
    entries.push_back(std::move(value));
    return true;
}

std::atomic<Registry*> currentRegistry{nullptr};

} // namespace

bool Registry::CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const
{
    return LessNoCase(a, b);
}

Registry::Registry() : localMachine(std::make_unique<Key>()), classesRoot(std::make_unique<Key>()) {}

Registry::~Registry() = default;

Registry::Key* Registry::Find(RegistryHive hive, std::string_view keyPath) const
{
    Key* key = hive == RegistryHive::LocalMachine ? localMachine.get() : classesRoot.get();
    for (std::string_view part : SplitPath(keyPath)) {
        const auto it = key->Subkeys.find(part);
        if (it == key->Subkeys.end())
            return nullptr;
        key = it->second.get();
    }
    return key;
}

Registry::Key* Registry::Create(RegistryHive hive, std::string_view keyPath)
{
    Key* key = hive == RegistryHive::LocalMachine ? localMachine.get() : classesRoot.get();
    for (std::string_view part : SplitPath(keyPath)) {
        auto it = key->Subkeys.find(part);
        if (it == key->Subkeys.end()) {
            auto child = std::make_unique<Key>();
            child->Name = std::string(part);
            it = key->Subkeys.emplace(std::string(part), std::move(child)).first;
        }
        key = it->second.get();
    }
    return key;
}

void Registry::CreateKey(RegistryHive hive, std::string_view keyPath)
{
    std::lock_guard lock(mutex);
    Create(hive, keyPath);
}

void Registry::SetValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                        std::string_view data)
{
    std::lock_guard lock(mutex);
    Key* key = Create(hive, keyPath);
    auto it = key->Values.find(valueName);
    if (it == key->Values.end())
        key->Values.emplace(std::string(valueName), std::string(data));
    else
        it->second = std::string(data);
}

void Registry::DeleteKey(RegistryHive hive, std::string_view keyPath)
{
    std::lock_guard lock(mutex);
    std::vector<std::string_view> parts = SplitPath(keyPath);
    if (parts.empty())
        return;
    const std::string_view last = parts.back();
    parts.pop_back();
    Key* parent = hive == RegistryHive::LocalMachine ? localMachine.get() : classesRoot.get();
    for (std::string_view part : parts) {
        const auto it = parent->Subkeys.find(part);
        if (it == parent->Subkeys.end())
            return;
        parent = it->second.get();
    }
    const auto it = parent->Subkeys.find(last);
    if (it != parent->Subkeys.end())
        parent->Subkeys.erase(it);
}

void Registry::Clear()
{
    std::lock_guard lock(mutex);
    localMachine = std::make_unique<Key>();
    classesRoot = std::make_unique<Key>();
}

bool Registry::KeyExists(RegistryHive hive, std::string_view keyPath) const
{
    std::lock_guard lock(mutex);
    return Find(hive, keyPath) != nullptr;
}

bool Registry::QueryValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                          std::string& data) const
{
    std::lock_guard lock(mutex);
    const Key* key = Find(hive, keyPath);
    if (key == nullptr)
        return false;
    const auto it = key->Values.find(valueName);
    if (it == key->Values.end())
        return false;
    data = it->second;
    return true;
}

bool Registry::EnumKey(RegistryHive hive, std::string_view keyPath, std::size_t index,
                       std::string& name) const
{
    std::lock_guard lock(mutex);
    const Key* key = Find(hive, keyPath);
    if (key == nullptr || index >= key->Subkeys.size())
        return false;
    name = std::next(key->Subkeys.begin(), static_cast<std::ptrdiff_t>(index))->second->Name;
    return true;
}

bool Registry::LoadText(std::string_view text, int& errorLine)
{
    std::vector<Entry> entries;
    Entry current{RegistryHive::LocalMachine, {}, false, {}, {}};
    bool haveKey = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        ++lineNumber;
        if (!ParseLine(text.substr(start, end - start), current, haveKey, entries)) {
            errorLine = lineNumber;
            return false;
        }
        start = end + 1;
    }
    // Applied only once the whole text parsed, so a bad file leaves no half of itself behind.
    for (const Entry& e : entries) {
        if (e.HasValue)
            SetValue(e.Hive, e.KeyPath, e.ValueName, e.Data);
        else
            CreateKey(e.Hive, e.KeyPath);
    }
    errorLine = 0;
    return true;
}

bool Registry::LoadFile(const std::string& path, int& errorLine)
{
    std::string text;
    std::string reason;
    if (!ReadWholeRegularFile(path, kMaxRegistryFileBytes, text, reason)) {
        errorLine = 0;
        return false;
    }
    return LoadText(text, errorLine);
}

Registry& SystemRegistry()
{
    static Registry registry;
    return registry;
}

Registry& CurrentRegistry()
{
    Registry* registry = currentRegistry.load(std::memory_order_acquire);
    return registry != nullptr ? *registry : SystemRegistry();
}

void SetRegistry(Registry* registry)
{
    currentRegistry.store(registry, std::memory_order_release);
}

} // namespace platform
