// The system cursors and the current cursor, which the driver shows (Qt's busy cursor in real
// time, a record in the virtual driver).
#include "platform/core/LastError.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

// Cursor handles have their own range, apart from icons: DestroyIcon never takes one.
constexpr uintptr_t kCursorBase = 0x7FC00000;
constexpr WORD kSystemCursors[] = { 32512, 32514 }; // IDC_ARROW, IDC_WAIT
constexpr WORD kWaitCursor = 32514;

HCURSOR g_current = nullptr;

HCURSOR HandleOf(WORD id)
{
    return reinterpret_cast<HCURSOR>(kCursorBase + id);
}

bool IsCursor(HCURSOR cursor)
{
    for (WORD id : kSystemCursors) {
        if (cursor == HandleOf(id))
            return true;
    }
    return false;
}

} // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name)
{
    auto value = reinterpret_cast<uintptr_t>(name);
    if (instance == nullptr && value <= 0xFFFF) {
        for (WORD id : kSystemCursors) {
            if (value == id)
                return HandleOf(id);
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    if (cursor != nullptr && !IsCursor(cursor)) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    HCURSOR previous = g_current;
    if (cursor != previous) {
        g_current = cursor;
        WindowManager::Get().Driver().CursorChanged(cursor, cursor == HandleOf(kWaitCursor));
    }
    return previous;
}

HCURSOR GetCursor()
{
    return g_current;
}

namespace platform::ui {

bool ShowsBusyCursor()
{
    RenderBackend* renderer = LoadedRenderer();
    return renderer != nullptr && renderer->ShowsBusyCursor();
}

} // namespace platform::ui
