#include "settings/CfgWriter.h"

void CfgWriter::WriteEntry(std::string_view section, std::string_view key, std::string_view value)
{
    if (section != m_LastCfgSection) {
        m_Text.append("[").append(section).append("]\r\n");
        m_LastCfgSection = section;
    }
    value = value.substr(0, value.find_first_of("\r\n"));
    m_Text.append(key).append("=").append(value).append("\r\n");
}
