#include "app/ProgressFilter.h"

bool ProgressFilter::Accept(int position)
{
    if (position < 0 || position >= 100 || position == last_)
        return false;
    last_ = position;
    return true;
}
