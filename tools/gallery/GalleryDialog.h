// One dialog with every control kind of the platform, labelled as the system's dialogs are.
#pragma once

#include "platform/ui/WinUser.h"

namespace gallery {

HWND CreateGalleryDialog(HINSTANCE instance);

} // namespace gallery
