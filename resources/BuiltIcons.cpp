#include "resources/BuiltIcons.h"

const uint32_t* FindBuiltIcon(IconArt art, int size, int extent)
{
    for (size_t i = 0; i < kBuiltIconCount; ++i)
        if (kBuiltIcons[i].art == art && kBuiltIcons[i].size == size && kBuiltIcons[i].extent == extent)
            return kBuiltIcons[i].pixels;
    return nullptr;
}
