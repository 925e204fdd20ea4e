#pragma once

#include "common/Twips.h"

#include <QRect>

// A rectangle designed in twips, in pixels.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
