#pragma once
// Copies a text into a fixed-size field, cut to fit and always terminated.

#include <algorithm>
#include <cstddef>
#include <cstring>

inline void CopyText(char* target, const char* text, std::size_t capacity)
{
    const std::size_t length = std::min(std::strlen(text), capacity - 1);
    std::memcpy(target, text, length);
    target[length] = '\0';
}
