// The module's icons as pixels, drawn once at build time by tools/icongen from IconArt (the one
// description of the art) into a generated source, so that attaching the module draws nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "resources/IconArt.h"

struct BuiltIcon {
    IconArt art;
    int size;
    int extent;
    const uint32_t* pixels; // size x size, as DrawIconArt gives them
};

// In the generated source: one entry for each picture and size of kIconRoles.
extern const BuiltIcon kBuiltIcons[];
extern const size_t kBuiltIconCount;

// The picture at that size and extent, or null when the build drew none.
const uint32_t* FindBuiltIcon(IconArt art, int size, int extent);
