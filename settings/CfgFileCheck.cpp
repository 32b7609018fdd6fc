#include "settings/CfgFileCheck.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "platform/RegularFile.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgTable.h"

namespace {

std::string Lower(std::string_view text) { return platform::ToLowerAscii(text); }

// "[Name]" → "name"; empty for any other line.
std::string SectionName(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    if (line.size() < 3 || line.front() != '[' || line.back() != ']')
        return {};
    return Lower(line.substr(1, line.size() - 2));
}

// The sections the writer produces, taken from its own output so that the
// list follows the file format.
const std::set<std::string>& KnownSections()
{
    static const std::set<std::string> sections = [] {
        std::set<std::string> names;
        const std::string text = FormatCfgSettings(FrameSettings());
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string name = SectionName(std::string_view(text).substr(start, end - start));
            if (!name.empty())
                names.insert(name);
            start = end + 1;
        }
        return names;
    }();
    return sections;
}

bool IsTextByte(unsigned char c)
{
    return c >= 0x20 || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

CfgFileState CheckCfgFile(const std::string& path)
{
    std::string text;
    std::string reason;
    bool missing = false;
    if (!platform::ReadWholeRegularFile(path, CfgTable::kMaxFileBytes, text, reason, &missing))
        return missing ? CfgFileState::Missing : CfgFileState::Damaged;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return IsTextByte(static_cast<unsigned char>(c)); }))
        return CfgFileState::Damaged;

    const std::set<std::string>& known = KnownSections();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (known.count(SectionName(std::string_view(text).substr(start, end - start))) != 0)
            return CfgFileState::Readable;
        start = end + 1;
    }
    return CfgFileState::Damaged;
}

std::string DamagedCfgNote(const std::string& path)
{
    return "The configuration file \"" + path +
           "\" is damaged and was not read.\n\nTalvenor Mobile starts with its default settings. The file is left "
           "as it is until the program closes, when the current settings replace it.";
}

std::string NotAConfigurationNote(const std::string& path)
{
    return "The file \"" + path +
           "\" is not a Talvenor Mobile configuration: it is empty or damaged, or holds none of the "
           "configuration's sections.\n\nIt was not loaded; the current settings are unchanged.";
}
