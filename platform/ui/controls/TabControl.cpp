#include "platform/ui/controls/TabControl.h"

#include "platform/device/Device.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

TabItem* ItemAt(TabData& data, int index)
{
    return index >= 0 && index < static_cast<int>(data.items.size()) ? &data.items[static_cast<size_t>(index)] : nullptr;
}

void Assign(TabItem& item, const TCITEMW& request)
{
    if ((request.mask & TCIF_TEXT) != 0)
        item.text = request.pszText != nullptr ? request.pszText : L"";
    if ((request.mask & TCIF_IMAGE) != 0)
        item.image = request.iImage;
    if ((request.mask & TCIF_PARAM) != 0)
        item.data = request.lParam;
    if ((request.mask & TCIF_STATE) != 0)
        item.state = (item.state & ~request.dwStateMask) | (request.dwState & request.dwStateMask);
}

void AdjustRect(const Window& window, bool larger, RECT& rect)
{
    int strip = TabStripHeight(window);
    int sign = larger ? -1 : 1;
    if (TabsAtBottom(window))
        rect.bottom -= sign * strip;
    else
        rect.top += sign * strip;
}

} // namespace

bool TabsAtBottom(const Window& window)
{
    return (window.style & TCS_BOTTOM) != 0;
}

// The height of the row of tabs: one line of the control's font and a margin above and below.
int TabStripHeight(const Window& window)
{
    int margin = (4 * CurrentDevice().dpi + 48) / 96;
    return Renderer().TextMetrics(LogFontOfHandle(window.font)).tmHeight + 2 * margin;
}

void TabUserSelect(Window& window, int index)
{
    TabData& data = DataOf<TabData>(window);
    if (ItemAt(data, index) == nullptr || index == data.selection)
        return;
    HWND handle = window.Handle();
    NMHDR note {};
    if (NotifyParent(window, note, TCN_SELCHANGING) != 0) {
        Show(window);
        return;
    }
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr || ItemAt(DataOf<TabData>(*live), index) == nullptr)
        return;
    DataOf<TabData>(*live).selection = index;
    Show(*live);
    NotifyParent(*live, note, TCN_SELCHANGE);
}

LRESULT TabProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    TabData& data = DataOf<TabData>(*window);
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    auto* item = reinterpret_cast<TCITEMW*>(lParam);
    switch (message) {
    case TCM_INSERTITEMW: {
        int count = static_cast<int>(data.items.size());
        if (item == nullptr || index < 0)
            return -1;
        index = std::min(index, count);
        TabItem added;
        Assign(added, *item);
        data.items.insert(data.items.begin() + index, added);
        // The first tab becomes the selected one; later ones keep the selection on its tab.
        if (data.selection < 0)
            data.selection = 0;
        else if (index <= data.selection)
            ++data.selection;
        Show(*window);
        return index;
    }
    case TCM_SETITEMW: {
        TabItem* found = ItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return FALSE;
        Assign(*found, *item);
        Show(*window);
        return TRUE;
    }
    case TCM_GETITEMW: {
        const TabItem* found = ItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return FALSE;
        if ((item->mask & TCIF_TEXT) != 0)
            CopyToBuffer(found->text, item->pszText, item->cchTextMax);
        if ((item->mask & TCIF_IMAGE) != 0)
            item->iImage = found->image;
        if ((item->mask & TCIF_PARAM) != 0)
            item->lParam = found->data;
        if ((item->mask & TCIF_STATE) != 0)
            item->dwState = found->state & item->dwStateMask;
        return TRUE;
    }
    case TCM_GETITEMCOUNT:
        return static_cast<LRESULT>(data.items.size());
    case TCM_DELETEITEM: {
        if (ItemAt(data, index) == nullptr)
            return FALSE;
        data.items.erase(data.items.begin() + index);
        if (data.selection == index)
            data.selection = -1;
        else if (data.selection > index)
            --data.selection;
        Show(*window);
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        data.items.clear();
        data.selection = -1;
        Show(*window);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return data.selection;
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS: {
        if (ItemAt(data, index) == nullptr)
            return -1;
        int previous = data.selection;
        data.selection = index;
        Show(*window);
        return message == TCM_SETCURSEL ? previous : 0;
    }
    case TCM_ADJUSTRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr)
            AdjustRect(*window, wParam != 0, *rect);
        return 0;
    }
    case TCM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        std::optional<RECT> shown = window->peer != nullptr ? window->peer->ItemRect(index) : std::nullopt;
        if (rect == nullptr || ItemAt(data, index) == nullptr || !shown)
            return FALSE;
        *rect = *shown;
        return TRUE;
    }
    case CCM_SETVERSION: {
        WPARAM previous = data.version;
        data.version = wParam;
        return static_cast<LRESULT>(previous);
    }
    case CCM_GETVERSION:
        return static_cast<LRESULT>(data.version);
    case WM_SETFONT: {
        LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
        Show(*window);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool TabUserAction(Window& window, const UserAction& action)
{
    if (action.kind != UserActionKind::Choose || ItemAt(DataOf<TabData>(window), action.index) == nullptr)
        return false;
    HWND handle = window.Handle();
    SetFocus(handle);
    if (Window* live = WindowManager::Get().Find(handle))
        TabUserSelect(*live, action.index);
    return true;
}

} // namespace platform::ui
