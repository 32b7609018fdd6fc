#pragma once
// The records keep their texts in fixed-size character fields, as the files
// and the packed wave-file chunk expect. Every write goes through here, so a
// text always ends within its field and the unused tail is always zero
// (records compare field by field, tail included).

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// Copies at most N − 1 bytes; a NUL inside the text ends it there. A text
// that does not fit is cut before a UTF-8 character, never inside one.
template <std::size_t N>
void SetTextField(char (&field)[N], std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (text.size() > N - 1) {
        std::size_t size = N - 1;
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
            --size;
        text = text.substr(0, size);
    }
    std::memset(field, 0, N);
    // An empty view may have no data at all: memcpy must not see it.
    if (!text.empty())
        std::memcpy(field, text.data(), text.size());
}

template <std::size_t N>
std::string_view TextFieldView(const char (&field)[N])
{
    return std::string_view(field, ::strnlen(field, N));
}
