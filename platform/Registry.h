#pragma once
// A small stand-in for the system registry: the keys under which audio
// drivers and their classes are listed. Keys form a tree per hive, names of
// keys and values compare without regard to case (as the program's lookups
// expect), subkeys enumerate in case-insensitive alphabetical order, and every
// value is text; the value named "" is the key's default value.
//
// Entries come from the program itself (the drivers it ships with) and from
// text files in this form, one entry per line:
//
//   ; a comment
//   [HKEY_LOCAL_MACHINE\software\asio\My Driver]
//   "clsid"="{01234567-89ab-cdef-0123-456789abcdef}"
//   "description"="My Driver"
//   [HKEY_CLASSES_ROOT\clsid\{01234567-89ab-cdef-0123-456789abcdef}\InprocServer32]
//   @="/usr/lib/my-driver.so"
//
// Inside quotes, \\ stands for a backslash and \" for a quote.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace platform {

enum class RegistryHive { LocalMachine, ClassesRoot };

class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Creates the key and any missing parents; the path separator is '\'.
    void CreateKey(RegistryHive hive, std::string_view keyPath);
    // Sets a value, creating the key when needed.
    void SetValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                  std::string_view data);
    void DeleteKey(RegistryHive hive, std::string_view keyPath);
    void Clear();

    bool KeyExists(RegistryHive hive, std::string_view keyPath) const;
    // False when the key or the value is missing.
    bool QueryValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                    std::string& data) const;
    // The name of the index-th subkey; false past the last one or when the
    // key is missing.
    bool EnumKey(RegistryHive hive, std::string_view keyPath, std::size_t index,
                 std::string& name) const;

    // Adds the entries of a file in the form above. A file that cannot be read
    // or holds a line that is not an entry changes nothing: false, with the
    // number of the offending line (0 when unreadable) in errorLine.
    bool LoadFile(const std::string& path, int& errorLine);
    bool LoadText(std::string_view text, int& errorLine);

private:
    struct CaseInsensitiveLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Key {
        std::string Name;
        std::map<std::string, std::string, CaseInsensitiveLess> Values;
        std::map<std::string, std::unique_ptr<Key>, CaseInsensitiveLess> Subkeys;
    };

    Key* Find(RegistryHive hive, std::string_view keyPath) const;
    Key* Create(RegistryHive hive, std::string_view keyPath);

    mutable std::mutex mutex;
    std::unique_ptr<Key> localMachine;
    std::unique_ptr<Key> classesRoot;
};

// The process's registry, holding the program's own entries.
Registry& SystemRegistry();
// The registry every reader uses: the system registry unless a test installed
// its own. SetRegistry(nullptr) restores the system registry.
Registry& CurrentRegistry();
void SetRegistry(Registry* registry);

} // namespace platform
