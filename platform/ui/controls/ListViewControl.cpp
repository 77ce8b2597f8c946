#include "platform/ui/controls/ListViewControl.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

// LVN_ITEMCHANGING, the change, LVN_ITEMCHANGED; false when the parent refused it or the
// control went away.
bool ChangeItem(Window& window, int index, const ListViewItem& changed)
{
    HWND handle = window.Handle();
    ListViewData& data = DataOf<ListViewData>(window);
    ListViewItem* item = ListViewItemAt(data, index);
    if (item == nullptr)
        return false;
    UINT what = (changed.text != item->text ? LVIF_TEXT : 0u) | (changed.data != item->data ? LVIF_PARAM : 0u)
        | (changed.image != item->image ? LVIF_IMAGE : 0u) | (changed.state != item->state ? LVIF_STATE : 0u);
    if (what == 0)
        return true;
    NMLISTVIEW note {};
    note.iItem = index;
    note.uChanged = what;
    note.uOldState = item->state;
    note.uNewState = changed.state;
    note.lParam = item->data;
    if (NotifyParent(window, note.hdr, LVN_ITEMCHANGING) != 0)
        return false;
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr || (item = ListViewItemAt(DataOf<ListViewData>(*live), index)) == nullptr)
        return false;
    *item = changed;
    Show(*live);
    note.lParam = item->data;
    NotifyParent(*live, note.hdr, LVN_ITEMCHANGED);
    return true;
}

// Sets the masked state bits of one item; with single selection or focus, the others lose
// theirs first.
bool SetState(Window& window, int index, UINT state, UINT mask)
{
    HWND handle = window.Handle();
    auto& manager = WindowManager::Get();
    ListViewData& data = DataOf<ListViewData>(window);
    if (ListViewItemAt(data, index) == nullptr)
        return false;
    UINT exclusive = LVIS_FOCUSED | ((window.style & LVS_SINGLESEL) != 0 ? LVIS_SELECTED : 0u);
    UINT taken = state & mask & exclusive;
    if (taken != 0) {
        for (int other = 0; other < static_cast<int>(data.items.size()); ++other) {
            Window* live = manager.Find(handle);
            if (live == nullptr)
                return false;
            ListViewItem* item = ListViewItemAt(DataOf<ListViewData>(*live), other);
            if (other == index || item == nullptr || (item->state & taken) == 0)
                continue;
            ListViewItem changed = *item;
            changed.state &= ~taken;
            ChangeItem(*live, other, changed);
        }
    }
    Window* live = manager.Find(handle);
    ListViewItem* item = live != nullptr ? ListViewItemAt(DataOf<ListViewData>(*live), index) : nullptr;
    if (item == nullptr)
        return false;
    ListViewItem changed = *item;
    changed.state = (changed.state & ~mask) | (state & mask);
    return ChangeItem(*live, index, changed);
}

int Insert(Window& window, const LVITEMW& request)
{
    ListViewData& data = DataOf<ListViewData>(window);
    if (request.iSubItem != 0)
        return -1;
    int count = static_cast<int>(data.items.size());
    int index = request.iItem < 0 ? -1 : std::min(request.iItem, count);
    if (index < 0)
        return -1;
    ListViewItem item;
    if ((request.mask & LVIF_TEXT) != 0 && request.pszText != nullptr)
        item.text = request.pszText;
    if ((request.mask & LVIF_PARAM) != 0)
        item.data = request.lParam;
    if ((request.mask & LVIF_IMAGE) != 0)
        item.image = request.iImage;
    if ((request.mask & LVIF_STATE) != 0)
        item.state = request.state & request.stateMask;
    if (ListViewHasCheckBoxes(data) && (item.state & LVIS_STATEIMAGEMASK) == 0)
        item.state |= kUncheckedImage;
    data.items.insert(data.items.begin() + index, item);
    if (data.selectionMark >= index)
        ++data.selectionMark;
    Show(window);
    NMLISTVIEW note {};
    note.iItem = index;
    note.lParam = item.data;
    NotifyParent(window, note.hdr, LVN_INSERTITEM);
    return index;
}

BOOL SetItem(Window& window, const LVITEMW& request)
{
    ListViewData& data = DataOf<ListViewData>(window);
    ListViewItem* item = ListViewItemAt(data, request.iItem);
    if (item == nullptr || request.iSubItem != 0)
        return FALSE;
    HWND handle = window.Handle();
    ListViewItem changed = *item;
    if ((request.mask & LVIF_TEXT) != 0)
        changed.text = request.pszText != nullptr ? request.pszText : L"";
    if ((request.mask & LVIF_PARAM) != 0)
        changed.data = request.lParam;
    if ((request.mask & LVIF_IMAGE) != 0)
        changed.image = request.iImage;
    // Text, data and image change together; the state follows with its own rules.
    UINT stateMask = (request.mask & LVIF_STATE) != 0 ? request.stateMask : 0u;
    if (!ChangeItem(window, request.iItem, changed))
        return FALSE;
    Window* live = WindowManager::Get().Find(handle);
    if (stateMask != 0 && live != nullptr)
        return SetState(*live, request.iItem, request.state, stateMask) ? TRUE : FALSE;
    return TRUE;
}

BOOL GetItem(Window& window, LVITEMW& request)
{
    ListViewData& data = DataOf<ListViewData>(window);
    const ListViewItem* item = ListViewItemAt(data, request.iItem);
    if (item == nullptr || request.iSubItem != 0)
        return FALSE;
    if ((request.mask & LVIF_TEXT) != 0)
        CopyToBuffer(item->text, request.pszText, request.cchTextMax);
    if ((request.mask & LVIF_PARAM) != 0)
        request.lParam = item->data;
    if ((request.mask & LVIF_IMAGE) != 0)
        request.iImage = item->image;
    if ((request.mask & LVIF_STATE) != 0)
        request.state = item->state & request.stateMask;
    return TRUE;
}

// The next item from start in the asked direction whose state has the asked bits.
int NextItem(ListViewData& data, int start, UINT flags)
{
    int count = static_cast<int>(data.items.size());
    UINT wanted = ((flags & LVNI_SELECTED) != 0 ? LVIS_SELECTED : 0u) | ((flags & LVNI_FOCUSED) != 0 ? LVIS_FOCUSED : 0u);
    if ((flags & (LVNI_TOLEFT | LVNI_TORIGHT)) != 0)
        return -1; // one column: nothing beside
    int step = (flags & LVNI_ABOVE) != 0 ? -1 : 1;
    if ((flags & (LVNI_ABOVE | LVNI_BELOW)) != 0 && (start < 0 || start >= count))
        return -1;
    for (int i = start + step; i >= 0 && i < count; i += step) {
        if ((data.items[static_cast<size_t>(i)].state & wanted) == wanted)
            return i;
    }
    return -1;
}

bool DeleteItem(Window& window, int index)
{
    ListViewData& data = DataOf<ListViewData>(window);
    if (ListViewItemAt(data, index) == nullptr)
        return false;
    HWND handle = window.Handle();
    NMLISTVIEW note {};
    note.iItem = index;
    note.lParam = data.items[static_cast<size_t>(index)].data;
    NotifyParent(window, note.hdr, LVN_DELETEITEM);
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr)
        return false;
    ListViewData& after = DataOf<ListViewData>(*live);
    if (ListViewItemAt(after, index) == nullptr)
        return false;
    after.items.erase(after.items.begin() + index);
    if (after.selectionMark == index)
        after.selectionMark = -1;
    else if (after.selectionMark > index)
        --after.selectionMark;
    Show(*live);
    return true;
}

} // namespace

ListViewItem* ListViewItemAt(ListViewData& data, int index)
{
    return index >= 0 && index < static_cast<int>(data.items.size()) ? &data.items[static_cast<size_t>(index)] : nullptr;
}

bool ListViewHasCheckBoxes(const ListViewData& data)
{
    return (data.extendedStyle & LVS_EX_CHECKBOXES) != 0;
}

void ListViewUserSelect(Window& window, int index)
{
    HWND handle = window.Handle();
    if (!SetState(window, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED))
        return;
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr)
        return;
    DataOf<ListViewData>(*live).selectionMark = index;
    NMHDR click {};
    NotifyParent(*live, click, NM_CLICK);
}

void ListViewUserToggleCheck(Window& window, int index)
{
    ListViewData& data = DataOf<ListViewData>(window);
    const ListViewItem* item = ListViewItemAt(data, index);
    if (item == nullptr || !ListViewHasCheckBoxes(data))
        return;
    UINT image = (item->state & LVIS_STATEIMAGEMASK) == kCheckedImage ? kUncheckedImage : kCheckedImage;
    SetState(window, index, image, LVIS_STATEIMAGEMASK);
}

LRESULT ListViewProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    ListViewData& data = DataOf<ListViewData>(*window);
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    auto* item = reinterpret_cast<LVITEMW*>(lParam);
    switch (message) {
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD previous = data.extendedStyle;
        DWORD mask = wParam == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(wParam);
        data.extendedStyle = (previous & ~mask) | (static_cast<DWORD>(lParam) & mask);
        if (ListViewHasCheckBoxes(data)) {
            for (ListViewItem& each : data.items) {
                if ((each.state & LVIS_STATEIMAGEMASK) == 0)
                    each.state |= kUncheckedImage;
            }
        }
        Show(*window);
        return static_cast<LRESULT>(previous);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(data.extendedStyle);
    case LVM_INSERTITEMW:
        return item != nullptr ? Insert(*window, *item) : -1;
    case LVM_SETITEMW:
        return item != nullptr ? SetItem(*window, *item) : FALSE;
    case LVM_GETITEMW:
        return item != nullptr ? GetItem(*window, *item) : FALSE;
    case LVM_SETITEMSTATE: {
        if (item == nullptr)
            return FALSE;
        if (index != -1)
            return SetState(*window, index, item->state, item->stateMask) ? TRUE : FALSE;
        // -1: every item.
        for (int i = 0; i < static_cast<int>(data.items.size()); ++i) {
            Window* live = WindowManager::Get().Find(handle);
            if (live == nullptr)
                return FALSE;
            SetState(*live, i, item->state, item->stateMask);
        }
        return TRUE;
    }
    case LVM_GETITEMSTATE: {
        const ListViewItem* found = ListViewItemAt(data, index);
        return found != nullptr ? static_cast<LRESULT>(found->state & static_cast<UINT>(lParam)) : 0;
    }
    case LVM_GETITEMTEXTW: {
        const ListViewItem* found = ListViewItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return 0;
        return CopyToBuffer(found->text, item->pszText, item->cchTextMax);
    }
    case LVM_SETITEMTEXTW: {
        const ListViewItem* found = ListViewItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return FALSE;
        ListViewItem changed = *found;
        changed.text = item->pszText != nullptr ? item->pszText : L"";
        return ChangeItem(*window, index, changed) ? TRUE : FALSE;
    }
    case LVM_GETITEMCOUNT:
        return static_cast<LRESULT>(data.items.size());
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(data.items.begin(), data.items.end(),
            [](const ListViewItem& each) { return (each.state & LVIS_SELECTED) != 0; });
    case LVM_GETNEXTITEM:
        return NextItem(data, index, static_cast<UINT>(lParam));
    case LVM_GETSELECTIONMARK:
        return data.selectionMark;
    case LVM_SETSELECTIONMARK: {
        int previous = data.selectionMark;
        data.selectionMark = static_cast<int>(lParam);
        return previous;
    }
    case LVM_DELETEITEM:
        return DeleteItem(*window, index) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS: {
        // A parent that answers TRUE does not want LVN_DELETEITEM for each item.
        NMLISTVIEW note {};
        note.iItem = -1;
        bool each = NotifyParent(*window, note.hdr, LVN_DELETEALLITEMS) == 0;
        Window* live = WindowManager::Get().Find(handle);
        while (live != nullptr && !DataOf<ListViewData>(*live).items.empty()) {
            if (each) {
                if (!DeleteItem(*live, 0))
                    return FALSE;
            } else {
                DataOf<ListViewData>(*live).items.clear();
            }
            live = WindowManager::Get().Find(handle);
        }
        if (live == nullptr)
            return FALSE;
        DataOf<ListViewData>(*live).selectionMark = -1;
        Show(*live);
        return TRUE;
    }
    case LVM_REDRAWITEMS:
        Show(*window);
        InvalidateRect(handle, nullptr, TRUE);
        return TRUE;
    case LVM_ENSUREVISIBLE:
        if (ListViewItemAt(data, index) == nullptr)
            return FALSE;
        if (window->peer != nullptr)
            window->peer->ScrollTo(index);
        return TRUE;
    case CCM_SETVERSION: {
        WPARAM previous = data.version;
        data.version = wParam;
        return static_cast<LRESULT>(previous);
    }
    case CCM_GETVERSION:
        return static_cast<LRESULT>(data.version);
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool ListViewUserAction(Window& window, const UserAction& action)
{
    if (ListViewItemAt(DataOf<ListViewData>(window), action.index) == nullptr)
        return false;
    HWND handle = window.Handle();
    switch (action.kind) {
    case UserActionKind::Choose:
        SetFocus(handle);
        if (Window* live = WindowManager::Get().Find(handle))
            ListViewUserSelect(*live, action.index);
        return true;
    case UserActionKind::ToggleCheck:
        ListViewUserToggleCheck(window, action.index);
        return true;
    default:
        return false;
    }
}

} // namespace platform::ui
