#include "platform/ui/controls/ListBoxControl.h"

#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/ItemList.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

LRESULT Index(int index)
{
    return index >= 0 ? index : LB_ERR;
}

} // namespace

void ListBoxUserChoose(Window& window, int index, bool doubleTap)
{
    ListBoxData& data = DataOf<ListBoxData>(window);
    if (data.items.At(index) == nullptr)
        return;
    HWND handle = window.Handle();
    data.items.Select(index);
    Show(window);
    if ((window.style & LBS_NOTIFY) == 0)
        return;
    NotifyCommand(window, LBN_SELCHANGE);
    Window* live = WindowManager::Get().Find(handle);
    if (doubleTap && live != nullptr)
        NotifyCommand(*live, LBN_DBLCLK);
}

LRESULT ListBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    ListBoxData& data = DataOf<ListBoxData>(*window);
    ItemList& items = data.items;
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
    case LB_ADDSTRING: {
        int added = items.Add(std::wstring(TextParameter(lParam)), (window->style & LBS_SORT) != 0);
        Show(*window);
        return Index(added);
    }
    case LB_INSERTSTRING: {
        int inserted = items.Insert(index, std::wstring(TextParameter(lParam)));
        Show(*window);
        return Index(inserted);
    }
    case LB_DELETESTRING: {
        int left = items.Delete(index);
        Show(*window);
        return Index(left);
    }
    case LB_RESETCONTENT:
        items.Clear();
        data.top = 0;
        Show(*window);
        return LB_OKAY;
    case LB_GETCOUNT:
        return items.Count();
    case LB_GETCURSEL:
        return Index(items.Selection());
    case LB_SETCURSEL: {
        bool selected = items.Select(index);
        Show(*window);
        return selected ? index : LB_ERR;
    }
    case LB_GETSEL:
        if (items.At(index) == nullptr)
            return LB_ERR;
        return items.Selection() == index ? 1 : 0;
    case LB_SELECTSTRING: {
        int found = items.Find(index, TextParameter(lParam), false);
        if (found >= 0) {
            items.Select(found);
            Show(*window);
        }
        return Index(found);
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Index(items.Find(index, TextParameter(lParam), message == LB_FINDSTRINGEXACT));
    case LB_GETTEXT:
        return items.CopyText(index, reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
        return items.TextLength(index);
    case LB_SETITEMDATA:
        return items.SetData(index, lParam);
    case LB_GETITEMDATA:
        return items.Data(index);
    case LB_GETTOPINDEX:
        return data.top;
    case LB_SETTOPINDEX:
        if (items.At(index) == nullptr && !(index == 0 && items.Count() == 0))
            return LB_ERR;
        data.top = index;
        Show(*window);
        return 0;
    case WM_SETFOCUS:
        if ((window->style & LBS_NOTIFY) != 0)
            NotifyCommand(*window, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if ((window->style & LBS_NOTIFY) != 0)
            NotifyCommand(*window, LBN_KILLFOCUS);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool ListBoxUserAction(Window& window, const UserAction& action)
{
    if (action.kind != UserActionKind::Choose || DataOf<ListBoxData>(window).items.At(action.index) == nullptr)
        return false;
    HWND handle = window.Handle();
    SetFocus(handle);
    if (Window* live = WindowManager::Get().Find(handle))
        ListBoxUserChoose(*live, action.index, false);
    return true;
}

} // namespace platform::ui
