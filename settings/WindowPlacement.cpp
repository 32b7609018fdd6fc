#include "settings/WindowPlacement.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "platform/NumberText.h"

std::string WindowPlacement::Format() const
{
    using platform::FormatInteger;
    return FormatInteger(flags) + ", " + FormatInteger(showCmd) + ", {" + FormatInteger(minX) + ","
         + FormatInteger(minY) + "}, {" + FormatInteger(maxX) + "," + FormatInteger(maxY) + "}, {"
         + FormatInteger(normal.left) + "," + FormatInteger(normal.top) + "," + FormatInteger(normal.right) + ","
         + FormatInteger(normal.bottom) + "}";
}

namespace {

// Walks the text the way a scanf of the placement format does: blanks
// anywhere a blank stands in the format, the literal punctuation exactly,
// and a number per conversion; the first mismatch ends the reading.
class PlacementScanner {
public:
    explicit PlacementScanner(std::string_view text) : m_Text(text) {}

    bool Number(std::int32_t& value)
    {
        SkipBlanks();
        std::size_t i = m_Pos;
        if (i < m_Text.size() && (m_Text[i] == '+' || m_Text[i] == '-'))
            ++i;
        const std::size_t digits = i;
        while (i < m_Text.size() && std::isdigit(static_cast<unsigned char>(m_Text[i])))
            ++i;
        if (i == digits)
            return false;
        value = platform::ParseIntegerPrefix(m_Text.substr(m_Pos, i - m_Pos));
        m_Pos = i;
        return true;
    }

    bool Literal(char c)
    {
        if (c == ' ') {
            SkipBlanks();
            return true;
        }
        if (m_Pos >= m_Text.size() || m_Text[m_Pos] != c)
            return false;
        ++m_Pos;
        return true;
    }

private:
    void SkipBlanks()
    {
        while (m_Pos < m_Text.size() && std::isspace(static_cast<unsigned char>(m_Text[m_Pos])))
            ++m_Pos;
    }

    std::string_view m_Text;
    std::size_t m_Pos = 0;
};

} // namespace

std::optional<WindowPlacement> WindowPlacement::Parse(std::string_view text, DesktopSize desktop,
                                                      bool mainWindowMinimized)
{
    text = text.substr(0, text.find('\0'));
    if (text.size() < 3)
        return std::nullopt;

    WindowPlacement p;
    std::int32_t* const numbers[] = {&p.flags, &p.showCmd, &p.minX, &p.minY, &p.maxX, &p.maxY,
                                     &p.normal.left, &p.normal.top, &p.normal.right, &p.normal.bottom};
    // What stands in the format before each number.
    const char* const before[] = {"", ", ", ", {", ",", "}, {", ",", "}, {", ",", ",", ","};
    PlacementScanner scan(text);
    for (std::size_t n = 0; n < std::size(numbers); ++n) {
        bool matched = true;
        for (const char* c = before[n]; *c != '\0' && matched; ++c)
            matched = scan.Literal(*c);
        if (!matched || !scan.Number(*numbers[n]))
            break;
    }

    for (std::int32_t* value : {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.normal.left, &p.normal.top,
                                &p.normal.right, &p.normal.bottom})
        *value = std::max(*value, 0);
    if (p.normal.left > desktop.width)
        p.normal.left = desktop.width / 2;
    if (p.normal.top > desktop.height)
        p.normal.top = desktop.height / 2;

    if (mainWindowMinimized)
        p.showCmd = kMinimize;
    else if (p.showCmd == kShowMinimized)
        p.showCmd = kShowNormal;
    return p;
}

WindowPlacement WindowPlacement::FrameDefault(DesktopSize desktop)
{
    WindowPlacement p;
    p.flags = 0;
    p.showCmd = kShowNormal;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.normal = {0, 0, desktop.width, desktop.height - 28};
    return p;
}
