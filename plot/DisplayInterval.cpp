#include "plot/DisplayInterval.h"

bool AdmitDisplayFrame(float& last, float t, bool intervalOn, float intervalSecs)
{
    if (!intervalOn || !(t > 0.0f))
        return true;
    if (t < last + intervalSecs) {
        if (last > t)
            last = 0.0f;
        return false;
    }
    last = t;
    return true;
}
