#pragma once
// Builds the text of a .cfg file: each section once, as a header line
// followed by its keys, CRLF line ends, no blank or comment lines. The whole
// text is built before anything touches the file, so the file is replaced
// in one go.

#include <string>
#include <string_view>

class CfgWriter {
public:
    // Writes a section line first when the section differs (with regard to
    // case) from the one written last. A line end inside the value would
    // split it over two lines, so the value ends there.
    void WriteEntry(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Text() const { return m_Text; }

private:
    std::string m_Text;
    std::string m_LastCfgSection;
};
