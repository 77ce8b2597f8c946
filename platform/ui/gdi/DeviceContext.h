// A device context: where drawing goes (a window's surface, the screen, or the bitmap
// selected into a memory context), the clip, the selected objects and the text state.
#pragma once

#include <memory>

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/Image.h"

namespace platform::ui {

class DeviceContext {
public:
    enum class Kind { Window, Memory };

    Kind kind = Kind::Window;
    HWND window = nullptr;   // the window of a window context (the desktop for the screen)
    bool paint = false;      // made by BeginPaint
    RECT clip {};            // client coordinates of a window context
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr; // memory contexts
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    int backgroundMode = 2; // OPAQUE
    // Whether anything asked for the target (to draw, mostly): a window context that was only
    // used to measure text gives the window's peer nothing to show again when it is released.
    mutable bool targetUsed = false;

    // The image drawing goes to, or null (a window destroyed since, or no bitmap).
    Image* Target() const;
    // Where drawing may touch, in the target's coordinates (right and bottom exclusive).
    RECT ClipRect() const;
};

HDC RegisterDeviceContext(std::unique_ptr<DeviceContext> context);
// The context behind a handle, or null with ERROR_INVALID_HANDLE.
DeviceContext* LookupDeviceContext(HDC dc);
// Deselects its objects (deleting those whose deletion waited for it) and forgets it.
bool DestroyDeviceContext(HDC dc);
// A context for the window's client area, clipped to the given client rectangle.
HDC MakeWindowContext(HWND window, const RECT& clip, bool paint);

} // namespace platform::ui
