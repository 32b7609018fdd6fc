#include "settings/CfgTable.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <unordered_set>

#include "platform/RegularFile.h"
#include "settings/TextField.h"

namespace {

// No field holds more than this, so the rest of a longer line is skipped
// while reading rather than kept.
constexpr std::size_t kLineKeep = 1 + CfgEntry::kNameSize + 1 + CfgEntry::kValueSize;

using platform::EqualNoCase;

} // namespace

bool CfgTable::Read(const std::string& path)
{
    m_Count = 0;
    m_KeyRows.clear();
    if (!m_Rows.Allocate(kMaxRows))
        return false;
    // Whole or not at all: a read that fails part-way must not pass for a
    // shorter file.
    std::string bytes;
    std::string reason;
    if (!platform::ReadWholeRegularFile(path, kMaxFileBytes, bytes, reason)) {
        m_Rows.Free();
        return false;
    }
    std::string_view rest(bytes);
    while (m_Count < kMaxRows && !rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        StoreLine(rest.substr(0, std::min(end, kLineKeep)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    IndexKeys();
    return true;
}

std::string CfgTable::IndexName(std::string_view section, std::string_view key)
{
    std::string name = platform::ToLowerAscii(section);
    name.push_back('\0');
    name += platform::ToLowerAscii(key);
    return name;
}

// Only the first section of a name counts, and the first key of a name in it.
void CfgTable::IndexKeys()
{
    std::unordered_set<std::string> sections;
    bool searched = false;
    std::string_view section;
    for (std::size_t i = 0; i < m_Count; ++i) {
        if (m_Rows[i].isSection) {
            section = TextFieldView(m_Rows[i].section);
            searched = sections.insert(platform::ToLowerAscii(section)).second;
        } else if (searched) {
            m_KeyRows.emplace(IndexName(section, TextFieldView(m_Rows[i].key)), i);
        }
    }
}

void CfgTable::StoreLine(std::string_view line)
{
    // CRLF and LF files alike; a NUL ends the line's text as it would in C.
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);

    CfgEntry& row = m_Rows[m_Count++];
    if (!line.empty() && line.front() == '[') {
        std::string_view name = line.substr(1);
        if (!name.empty() && name.back() == ']')
            name.remove_suffix(1);
        row.isSection = 1;
        SetTextField(row.section, name);
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return;
    SetTextField(row.key, line.substr(0, equals));
    SetTextField(row.value, line.substr(equals + 1));
}

std::string CfgTable::Lookup(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t size) const
{
    std::string_view result = defaultValue;
    if (const auto row = m_KeyRows.find(IndexName(section, key)); row != m_KeyRows.end())
        result = TextFieldView(m_Rows[row->second].value);
    if (size == 0)
        return std::string();
    return std::string(result.substr(0, size - 1));
}
