#include "options/font_height.h"

#include <climits>

int DisplayFontHeight(int dpi, int size)
{
    const double height = -(static_cast<double>(dpi) * size * (1.0 / 72) + 0.5);
    if (height <= -static_cast<double>(INT_MAX))
        return -INT_MAX;
    if (height >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(height);
}
