// The contents of a module's resources as the platform keeps them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QImage>

#include "platform/ui/Resources.h"

namespace platform {

struct ModuleResources::Impl {
    std::map<int, std::vector<QImage>> icons;
    struct Bitmap {
        QImage image;
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
    QImage image; // premultiplied ARGB
    int resourceId = 0;
};
HICON RegisterIcon(Icon icon);
Icon* LookupIcon(HICON icon);
bool DestroyIconObject(HICON icon);

} // namespace platform::ui
