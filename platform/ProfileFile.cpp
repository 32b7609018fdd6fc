#include "platform/ProfileFile.h"
#include "platform/AsciiCase.h"

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"

namespace platform {

namespace {

// Far beyond any settings file; a larger one is no profile and would only
// take memory.
constexpr std::size_t kMaxProfileBytes = std::size_t{16} << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A line end inside a name or value would split it into two lines on disk.
std::string_view OneLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

} // namespace

ProfileFile::ProfileFile(std::string path) : m_Path(std::move(path))
{
    std::string content;
    bool missing = false;
    if (!ReadWholeRegularFile(m_Path, kMaxProfileBytes, content, m_ReadFailure, &missing)) {
        // Only a file that is not there at all may be created by a save; one
        // that exists but cannot be read (a folder, an I/O error) must not be
        // replaced by our keys alone.
        m_CanSave = missing;
        if (missing)
            m_ReadFailure.clear();
        return;
    }
    m_Loaded = true;
    m_CanSave = true;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string_view line(content.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_Lines.emplace_back(line);
        start = end + 1;
    }
}

bool ProfileFile::IsSection(std::string_view line, std::string_view* name)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    line.remove_prefix(1);
    *name = Trim(line.substr(0, line.find(']')));
    return true;
}

bool ProfileFile::IsEntry(std::string_view line, Entry* entry)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    std::string_view name;
    if (IsSection(line, &name))
        return false;
    entry->key = Trim(line.substr(0, equals));
    entry->value = StripQuotes(Trim(line.substr(equals + 1)));
    return true;
}

std::optional<std::size_t> ProfileFile::FindSection(std::string_view section) const
{
    std::string_view name;
    for (std::size_t i = 0; i < m_Lines.size(); ++i) {
        if (IsSection(m_Lines[i], &name) && EqualNoCase(name, Trim(section)))
            return i;
    }
    return std::nullopt;
}

std::size_t ProfileFile::SectionEnd(std::size_t sectionLine) const
{
    std::string_view name;
    std::size_t end = sectionLine + 1;
    while (end < m_Lines.size() && !IsSection(m_Lines[end], &name))
        ++end;
    return end;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                   std::size_t size) const
{
    std::string_view result = defaultValue;
    if (const auto start = FindSection(section)) {
        const std::size_t end = SectionEnd(*start);
        Entry entry;
        for (std::size_t i = *start + 1; i < end; ++i) {
            if (IsEntry(m_Lines[i], &entry) && EqualNoCase(entry.key, Trim(key))) {
                result = entry.value;
                break;
            }
        }
    }
    if (size == 0)
        return std::string();
    return std::string(result.substr(0, size - 1));
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    section = OneLine(Trim(section));
    key = OneLine(Trim(key));
    std::string line = std::string(key) + "=" + std::string(OneLine(value));

    const auto start = FindSection(section);
    if (!start) {
        // Built by appending: "[" + std::string(...) trips a false -Wrestrict in GCC 12 at -O3.
        std::string header;
        header.reserve(section.size() + 2);
        header.append("[").append(section).append("]");
        m_Lines.push_back(std::move(header));
        m_Lines.push_back(std::move(line));
        return;
    }
    const std::size_t end = SectionEnd(*start);
    Entry entry;
    for (std::size_t i = *start + 1; i < end; ++i) {
        if (IsEntry(m_Lines[i], &entry) && EqualNoCase(entry.key, key)) {
            m_Lines[i] = std::move(line);
            return;
        }
    }
    // After the section's last non-blank line, so a blank line that
    // separates it from the next section stays where it is.
    std::size_t insert = end;
    while (insert > *start + 1 && Trim(m_Lines[insert - 1]).empty())
        --insert;
    m_Lines.insert(m_Lines.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
}

bool ProfileFile::Save(std::string* reason) const
{
    if (!m_CanSave) {
        if (reason != nullptr)
            *reason = "it could not be read (" + m_ReadFailure + "), so it is left as it was";
        return false;
    }
    std::string content;
    for (const std::string& line : m_Lines) {
        content += line;
        content += "\r\n";
    }
    int error = 0;
    if (WriteFileAtomically(m_Path, content, error))
        return true;
    if (reason != nullptr)
        *reason = ErrorText(error);
    return false;
}

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t size, const std::string& path)
{
    return ProfileFile(path).GetString(section, key, defaultValue, size);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path)
{
    ProfileFile file(path);
    file.WriteString(section, key, value);
    return file.Save();
}

} // namespace platform
