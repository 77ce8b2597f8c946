#include "resources/BuiltIcons.h"

const uint32_t* FindBuiltIcon(IconArt art, int size)
{
    for (size_t i = 0; i < kBuiltIconCount; ++i)
        if (kBuiltIcons[i].art == art && kBuiltIcons[i].size == size)
            return kBuiltIcons[i].pixels;
    return nullptr;
}
