// Update regions and the paint cycle.
#include "platform/core/LastError.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/PaintRecorder.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"
#include "platform/ui/backend/RenderBackend.h"

using namespace platform::ui;

namespace {

RECT ClientRectOf(const Window& window)
{
    return RECT { 0, 0, window.ClientWidth(), window.ClientHeight() };
}

} // namespace

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase)
{
    auto& manager = WindowManager::Get();
    Window* target = window != nullptr ? manager.Lookup(window) : &manager.Desktop();
    if (target == nullptr)
        return FALSE;
    RECT client = ClientRectOf(*target);
    RECT area = client;
    if (rect != nullptr && !IntersectRect(&area, rect, &client))
        return TRUE;
    // The update region is kept as its bounding rectangle, which is what a paint sees.
    UnionRect(&target->update, &target->update, &area);
    if (erase)
        target->eraseNeeded = true;
    manager.Wake();
    return TRUE;
}

BOOL UpdateWindow(HWND window)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr)
        return FALSE;
    if (IsRectEmpty(&target->update) || !target->IsShowing())
        return TRUE;
    MSG paint { window, WM_PAINT, 0, 0, 0, { 0, 0 } };
    DispatchMessageW(&paint);
    return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr || paint == nullptr)
        return nullptr;
    RECT area = target->update;
    target->update = RECT {};
    target->painting = true;
    target->paintedSinceDispatch = true;
    HDC dc = MakeWindowContext(window, area, true);
    *paint = PAINTSTRUCT {};
    paint->hdc = dc;
    paint->rcPaint = area;
    BeginPaintRecording(*target, area);
    if (target->eraseNeeded) {
        target->eraseNeeded = false;
        MarkErased(*target);
        paint->fErase = manager.Send(*target, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
    }
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint)
{
    auto& manager = WindowManager::Get();
    if (paint == nullptr)
        return FALSE;
    DestroyDeviceContext(paint->hdc);
    Window* target = manager.Find(window);
    if (target == nullptr)
        return TRUE;
    target->painting = false;
    EndPaintRecording(*target);
    if (target->peer != nullptr)
        target->peer->SurfaceChanged(paint->rcPaint);
    return TRUE;
}
