#pragma once
// Settings files in the "[section]" / "key=value" form, with the semantics of
// the classic profile-file API:
//  - section and key names match without regard to case; the first section
//    and the first key of that name win;
//  - names and values are trimmed of blanks, and one pair of surrounding
//    quotes ("..." or '...') is removed from a value;
//  - a value is cut to the caller's buffer size (size − 1 characters);
//  - a missing file, section or key gives the caller's default;
//  - a write replaces the key's line in place, adds a missing key at the
//    end of its section and a missing section at the end of the file, and
//    keeps every other line as it was, so keys the program never writes
//    survive a save.
// Files are written with CRLF line ends and read with LF or CRLF; a save
// goes through a temporary file, so an interrupted one loses nothing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileFile {
public:
    // Reads the file at path; one that is missing or unreadable reads as an
    // empty profile (IsLoaded() tells which). An unreadable file that exists
    // is never saved over.
    explicit ProfileFile(std::string path);

    const std::string& Path() const { return m_Path; }
    bool IsLoaded() const { return m_Loaded; }
    // Why a file that is there could not be read; empty when it was read
    // or is not there.
    const std::string& ReadFailure() const { return m_ReadFailure; }

    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          std::size_t size) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the lines back; false when the file could not be written or was
    // there but could not be read, with reason (when given) saying why.
    bool Save(std::string* reason = nullptr) const;

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
    };
    static bool IsSection(std::string_view line, std::string_view* name);
    static bool IsEntry(std::string_view line, Entry* entry);
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t sectionLine) const;

    std::string m_Path;
    std::vector<std::string> m_Lines;
    bool m_Loaded = false;
    bool m_CanSave = false;
    std::string m_ReadFailure;
};

// One-shot forms with the shape of the profile API: each reads the file
// afresh, and each write saves it at once.
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t size, const std::string& path);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path);

} // namespace platform
