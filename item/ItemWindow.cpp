#include "item/ItemWindow.h"

#include "item/ItemDialogs.h"
#include "item/ItemFont.h"
#include "item/ItemPaint.h"
#include "item/ItemTaps.h"
#include "item/ItemTick.h"
#include "item/PluginModule.h"
#include "item/TaskbarIcon.h"
#include "resources/ResourceIds.h"

namespace {

// A move of the item by less than this many pixels downwards is undone.
constexpr LONG kMoveBackLimit = 10;

void Item_OnCreate(HWND item)
{
    ItemState& state = g_pModule->m_item;
    SetTimer(item, kItemTimerId, kItemTimerPeriodMs, nullptr);
    if (state.hwndTaskIcon != nullptr)
        ShowWindow(state.hwndTaskIcon, SW_SHOW);
    if (state.notifyIconPresent)
        NotifyIcon(item, NIM_ADD, kNotifyIconId, g_pModule->m_icons.ActivityIcon(ActivityIdle));
}

void Item_OnDestroy(HWND item)
{
    ItemState& state = g_pModule->m_item;
    KillTimer(item, kItemTimerId);
    if (state.hwndTaskIcon != nullptr) {
        DestroyWindow(state.hwndTaskIcon);
        state.hwndTaskIcon = nullptr;
    }
    if (state.notifyIconPresent)
        NotifyIcon(item, NIM_DELETE, kNotifyIconId, nullptr);
}

// The shell nudges items while it lays the screen out; a small slide downwards is put back.
void Item_OnMove(HWND item, LPARAM lParam)
{
    ItemState& state = g_pModule->m_item;
    RECT window {};
    GetWindowRect(item, &window);
    // The message gives the top in the parent's coordinates: compare in those.
    POINT topLeft { window.left, window.top };
    ScreenToClient(GetParent(item), &topLeft);
    if (state.lastTop == 0) {
        state.lastTop = topLeft.y;
    } else {
        LONG y = GET_Y_LPARAM(lParam);
        if (y > state.lastTop && y < state.lastTop + kMoveBackLimit)
            MoveWindow(item, topLeft.x, state.lastTop, window.right - window.left, window.bottom - window.top, TRUE);
        else
            state.lastTop = y;
    }
    InvalidateRect(item, nullptr, TRUE);
}

// The shell paints the Today screen's background under the item.
void Item_OnEraseBackground(HWND item, HDC dc)
{
    TODAYDRAWWATERMARKINFO watermark {};
    watermark.hdc = dc;
    GetClientRect(item, &watermark.rc);
    watermark.hwnd = item;
    SendMessageW(GetParent(item), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&watermark));
}

void Item_OnNotifyIcon(HWND item, WPARAM id, LPARAM mouseMessage)
{
    if (id == kNotifyIconId && static_cast<UINT>(mouseMessage) == WM_LBUTTONDOWN)
        OpenItemDialog(IDD_RATE_MONITOR, item);
}

// The number of text lines the item shows.
int ItemLineCount()
{
    const PluginModule& module = *g_pModule;
    const Settings& settings = module.m_settings;
    if (settings.FullViewEnabled == 0 || module.m_item.uiNetAct == ActivityNoConnection)
        return 2;
    int lines = 0;
    for (DWORD i = 0; i < kViewItemCount; ++i) {
        const ViewItem& viewItem = settings.ViewItemAt(i);
        if (viewItem.visible == 0)
            continue;
        ++lines;
        // These two lines take two rows of text.
        if (viewItem.id == ViewMeterReading && settings.MeterShowsTotal == 0)
            ++lines;
        if (viewItem.id == ViewDataRate)
            ++lines;
    }
    return lines < 2 ? 2 : lines;
}

// The shell's refresh query: sets the item's height (cyp) when it has none or when it must be
// measured again; TRUE when it set or changed it.
LRESULT Item_OnQueryRefreshCache(HWND item, TODAYLISTITEM* listItem)
{
    PluginModule& module = *g_pModule;
    ItemState& state = module.m_item;
    if (listItem == nullptr)
        return 0;
    DWORD lineHeight = static_cast<DWORD>(ItemLineHeight(item));
    DWORD lines = static_cast<DWORD>(ItemLineCount());
    LRESULT result = 0;
    if (listItem->cyp == 0) {
        listItem->cyp = lineHeight * lines;
        result = 1;
    }
    if (state.remeasure) {
        DWORD measured = lineHeight * lines;
        state.remeasure = false;
        if (measured != 0 && measured != listItem->cyp) {
            if (measured < listItem->cyp)
                state.shrinkCountdown = 1;
            listItem->cyp = measured;
            result = 1;
        }
    }
    if (!state.phoneInitialised) {
        module.m_phone.InitPhone(module.m_hInstance);
        state.phoneInitialised = true;
    }
    return result;
}

} // namespace

LRESULT ItemWindowProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Item_OnCreate(item);
        break;
    case WM_DESTROY:
        Item_OnDestroy(item);
        return 0;
    case WM_MOVE:
        Item_OnMove(item, lParam);
        return 0;
    case WM_ERASEBKGND:
        Item_OnEraseBackground(item, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        PaintItem(item);
        return 0;
    case WM_TIMER:
        // Whatever the timer: only the item's own is ever set.
        ItemTick(item);
        return 0;
    case WM_LBUTTONUP:
        TapItem(item, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        return Item_OnQueryRefreshCache(item, reinterpret_cast<TODAYLISTITEM*>(wParam));
    case kNotifyIconMessage:
        Item_OnNotifyIcon(item, wParam, lParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(item, message, wParam, lParam);
}
