#include "platform/ui/controls/ComboControl.h"

#include "platform/device/Device.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/EditControl.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/controls/ItemList.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

// The closed field is one line of the control's font with a frame; the rest of the template's
// height is for the dropped list.
void FitClosedHeight(Window& window)
{
    int dpi = CurrentDevice().dpi;
    int height = Renderer().TextMetrics(LogFontOfHandle(window.font)).tmHeight + (6 * dpi + 48) / 96;
    RECT rect = window.Rect();
    if (rect.bottom - rect.top != height)
        SetWindowPos(window.Handle(), nullptr, 0, 0, rect.right - rect.left, height,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetTextFromSelection(Window& window, ComboData& data)
{
    const ListItem* item = data.items.At(data.items.Selection());
    window.text = item != nullptr ? item->text : std::wstring();
    data.selStart = 0;
    data.selEnd = static_cast<int>(window.text.size());
}

LRESULT Index(int index)
{
    return index >= 0 ? index : CB_ERR;
}

} // namespace

bool IsEditableCombo(const Window& window)
{
    return (window.style & 0x3) != CBS_DROPDOWNLIST;
}

void ComboUserChoose(Window& window, int index)
{
    ComboData& data = DataOf<ComboData>(window);
    if (data.items.At(index) == nullptr)
        return;
    HWND handle = window.Handle();
    data.items.Select(index);
    SetTextFromSelection(window, data);
    Show(window);
    NotifyCommand(window, CBN_SELCHANGE);
    if (Window* live = WindowManager::Get().Find(handle))
        NotifyCommand(*live, CBN_SELENDOK);
}

void ComboUserDropDown(Window& window, bool dropped)
{
    ComboData& data = DataOf<ComboData>(window);
    if (data.dropped == dropped)
        return;
    data.dropped = dropped;
    NotifyCommand(window, dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
}

void ComboUserEdited(Window& window, const std::wstring& text, int caret)
{
    ComboData& data = DataOf<ComboData>(window);
    window.text = text;
    data.selStart = data.selEnd = caret;
    HWND handle = window.Handle();
    NotifyCommand(window, CBN_EDITUPDATE);
    if (Window* live = WindowManager::Get().Find(handle))
        NotifyCommand(*live, CBN_EDITCHANGE);
}

LRESULT ComboProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    ComboData& data = DataOf<ComboData>(*window);
    ItemList& items = data.items;
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
    case WM_CREATE:
        data.droppedHeight = reinterpret_cast<const CREATESTRUCTW*>(lParam)->cy;
        FitClosedHeight(*window);
        return 0;
    case WM_SETFONT: {
        LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
        FitClosedHeight(*window);
        Show(*window);
        return result;
    }
    case WM_SETTEXT:
        if (!IsEditableCombo(*window)) {
            int found = items.Find(-1, TextParameter(lParam), true);
            if (found < 0)
                return CB_ERR;
            items.Select(found);
            SetTextFromSelection(*window, data);
            Show(*window);
            return TRUE;
        }
        window->text = std::wstring(TextParameter(lParam));
        data.selStart = data.selEnd = 0;
        Show(*window);
        return TRUE;
    case WM_CHAR: {
        if (!IsEditableCombo(*window))
            return 0;
        std::wstring text = window->text;
        int start = data.selStart;
        int end = data.selEnd;
        if (ApplyTypedCharacter(EditRules { 0, data.limit }, text, start, end, static_cast<wchar_t>(wParam))
            != Typed::Changed)
            return 0;
        ComboUserEdited(*window, text, end);
        if (Window* live = WindowManager::Get().Find(handle))
            Show(*live);
        return 0;
    }
    case CB_ADDSTRING: {
        int added = items.Add(std::wstring(TextParameter(lParam)), (window->style & CBS_SORT) != 0);
        Show(*window);
        return Index(added);
    }
    case CB_INSERTSTRING: {
        int inserted = items.Insert(index, std::wstring(TextParameter(lParam)));
        Show(*window);
        return Index(inserted);
    }
    case CB_DELETESTRING: {
        int selected = items.Selection();
        int left = items.Delete(index);
        if (left >= 0 && selected == index && !IsEditableCombo(*window))
            window->text.clear();
        Show(*window);
        return Index(left);
    }
    case CB_RESETCONTENT:
        items.Clear();
        window->text.clear();
        data.selStart = data.selEnd = 0;
        Show(*window);
        return CB_OKAY;
    case CB_GETCOUNT:
        return items.Count();
    case CB_GETCURSEL:
        return Index(items.Selection());
    case CB_SETCURSEL: {
        bool selected = items.Select(index);
        SetTextFromSelection(*window, data);
        Show(*window);
        return selected ? index : CB_ERR;
    }
    case CB_SELECTSTRING: {
        int found = items.Find(index, TextParameter(lParam), false);
        if (found < 0)
            return CB_ERR;
        items.Select(found);
        SetTextFromSelection(*window, data);
        Show(*window);
        return found;
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        return Index(items.Find(index, TextParameter(lParam), message == CB_FINDSTRINGEXACT));
    case CB_GETLBTEXT:
        return items.CopyText(index, reinterpret_cast<LPWSTR>(lParam));
    case CB_GETLBTEXTLEN:
        return items.TextLength(index);
    case CB_SETITEMDATA:
        return items.SetData(index, lParam);
    case CB_GETITEMDATA:
        return items.Data(index);
    case CB_LIMITTEXT:
        data.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<size_t>(wParam);
        return TRUE;
    case CB_GETEDITSEL:
        if (!IsEditableCombo(*window))
            return CB_ERR;
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(data.selStart);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(data.selEnd);
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(data.selStart), static_cast<WORD>(data.selEnd)));
    case CB_SETEDITSEL: {
        if (!IsEditableCombo(*window))
            return CB_ERR;
        int length = static_cast<int>(window->text.size());
        int start = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
        int end = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam)));
        if (start == -1) {
            data.selStart = data.selEnd;
        } else {
            data.selStart = std::clamp(start, 0, length);
            data.selEnd = end < 0 ? length : std::clamp(end, 0, length);
            if (data.selStart > data.selEnd)
                std::swap(data.selStart, data.selEnd);
        }
        return TRUE;
    }
    case CB_SHOWDROPDOWN:
        ComboUserDropDown(*window, wParam != 0);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return data.dropped ? TRUE : FALSE;
    case WM_SETFOCUS:
        NotifyCommand(*window, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyCommand(*window, CBN_KILLFOCUS);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool ComboUserAction(Window& window, const UserAction& action)
{
    HWND handle = window.Handle();
    if (action.kind == UserActionKind::SelectAllText) {
        SendMessageW(handle, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return true;
    }
    if (action.kind != UserActionKind::Choose || DataOf<ComboData>(window).items.At(action.index) == nullptr)
        return false;
    SetFocus(handle);
    auto& manager = WindowManager::Get();
    if (Window* live = manager.Find(handle))
        ComboUserDropDown(*live, true);
    if (Window* live = manager.Find(handle))
        ComboUserChoose(*live, action.index);
    if (Window* live = manager.Find(handle))
        ComboUserDropDown(*live, false);
    return true;
}

} // namespace platform::ui
