// The contents of a module's resources as the platform keeps them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ui/Resources.h"
#include "platform/ui/backend/Image.h"

namespace platform {

struct ModuleResources::Impl {
    std::map<int, std::vector<ui::Image>> icons;
    struct Bitmap {
        ui::Image image;
        int bitsPerPixel = 32;
    };
    std::map<int, Bitmap> bitmaps;
    struct Dialog {
        const void* data = nullptr;
        size_t size = 0;
    };
    std::map<int, Dialog> dialogs;
    std::map<int, std::wstring> strings;
};

} // namespace platform

namespace platform::ui {

// The registered resources of a module, or null.
const ModuleResources::Impl* ResourcesOf(HMODULE module);

struct Icon {
    Image image; // premultiplied ARGB
    int resourceId = 0;
};
HICON RegisterIcon(Icon icon);
Icon* LookupIcon(HICON icon);
bool DestroyIconObject(HICON icon);

} // namespace platform::ui
