#pragma once

// Window geometry is designed in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
constexpr int twipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / twipsPerPixel;
}
