#include "platform/TimeText.h"

#include <cmath>
#include <cstdio>

const char* FormatTime(float seconds, std::uint8_t withMilliseconds, std::uint8_t forceHours)
{
    static char text[32];

    const bool negative = seconds < 0.0f;
    float a = std::fabs(seconds);
    if (!std::isfinite(a))
        a = 0.0f;
    const float whole = std::trunc(a);
    // In float, as the stored value is: 0.7 s reads 700 ms, not 699.
    int ms = static_cast<int>((a - whole) * 1000.0f);
    if (ms > 999)
        ms = 999;
    double wrapped = whole;
    if (a > 86400.0f)
        wrapped = std::fmod(wrapped, 86400.0);
    const int total = static_cast<int>(wrapped);
    const int h = total / 3600;
    const int m = total % 3600 / 60;
    const int c = total % 60;
    const char* sign = negative ? "-" : "";

    if (h == 0 && m == 0 && !forceHours) {
        if (withMilliseconds)
            std::snprintf(text, sizeof text, "%s%d.%03d", sign, c, ms);
        else
            std::snprintf(text, sizeof text, "%s%d", sign, c);
    } else if (h == 0 && !forceHours) {
        if (withMilliseconds)
            std::snprintf(text, sizeof text, "%s%d:%02d.%03d", sign, m, c, ms);
        else
            std::snprintf(text, sizeof text, "%s%d:%02d", sign, m, c);
    } else {
        if (withMilliseconds)
            std::snprintf(text, sizeof text, "%s%02d:%02d:%02d.%03d", sign, h, m, c, ms);
        else
            std::snprintf(text, sizeof text, "%s%02d:%02d:%02d", sign, h, m, c);
    }
    return text;
}
