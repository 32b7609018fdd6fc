#include "utilities/siggenlogic/SigGenText.h"

#include "platform/NumberText.h"

namespace siggen_text {

std::string FormatFixedWidth(double value, int width, int decimals)
{
    std::string text = platform::FormatFixed(value, decimals);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string_view CutToBuffer(std::string_view text, std::size_t bufferSize)
{
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return text.substr(0, room);
}

std::int32_t ReadInteger(std::string_view text, std::size_t bufferSize)
{
    return platform::ParseIntegerPrefix(CutToBuffer(text, bufferSize));
}

float ReadReal(std::string_view text, std::size_t bufferSize)
{
    return static_cast<float>(platform::ParseFloatPrefix(CutToBuffer(text, bufferSize)));
}

} // namespace siggen_text
