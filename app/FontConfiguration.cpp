#include "FontConfiguration.h"

#include <fontconfig/fontconfig.h>

void loadFontConfiguration()
{
    FcInit();
}
