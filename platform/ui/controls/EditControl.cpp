#include "platform/ui/controls/EditControl.h"

#include <algorithm>
#include <cwctype>

#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

constexpr size_t kLargestLimit = 0x7FFFFFFE;
constexpr wchar_t kBackspace = 0x08;

EditRules RulesOf(Window& window)
{
    return EditRules { window.style, DataOf<EditData>(window).limit };
}

void ClampSelection(EditData& data, size_t length)
{
    int end = static_cast<int>(length);
    data.selStart = std::clamp(data.selStart, 0, end);
    data.selEnd = std::clamp(data.selEnd, 0, end);
    if (data.selStart > data.selEnd)
        std::swap(data.selStart, data.selEnd);
}

void TextChanged(Window& window)
{
    HWND handle = window.Handle();
    NotifyCommand(window, EN_UPDATE);
    if (Window* live = WindowManager::Get().Find(handle))
        NotifyCommand(*live, EN_CHANGE);
}

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncText();
}

void ShowState(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

// Replaces the selection with text the program gives, cut to the limit.
void ReplaceSelection(Window& window, std::wstring_view insert)
{
    EditData& data = DataOf<EditData>(window);
    ClampSelection(data, window.text.size());
    size_t kept = window.text.size() - static_cast<size_t>(data.selEnd - data.selStart);
    size_t room = data.limit > kept ? data.limit - kept : 0;
    bool cut = insert.size() > room;
    if (cut)
        insert = insert.substr(0, room);
    window.text.replace(static_cast<size_t>(data.selStart), static_cast<size_t>(data.selEnd - data.selStart), insert);
    data.selStart = data.selEnd = data.selStart + static_cast<int>(insert.size());
    data.modified = true;
    Show(window);
    HWND handle = window.Handle();
    TextChanged(window);
    if (Window* live = WindowManager::Get().Find(handle); live != nullptr && cut)
        NotifyCommand(*live, EN_MAXTEXT);
}

} // namespace

void EditUserTyped(Window& window, const std::wstring& text, int caret)
{
    EditData& data = DataOf<EditData>(window);
    window.text = text;
    data.selStart = data.selEnd = caret;
    data.modified = true;
    TextChanged(window);
}

void EditUserSelected(Window& window, int start, int end)
{
    EditData& data = DataOf<EditData>(window);
    data.selStart = start;
    data.selEnd = end;
}

Typed ApplyTypedCharacter(const EditRules& rules, std::wstring& text, int& selStart, int& selEnd, wchar_t ch)
{
    int length = static_cast<int>(text.size());
    int start = std::clamp(std::min(selStart, selEnd), 0, length);
    int end = std::clamp(std::max(selStart, selEnd), 0, length);
    if ((rules.style & ES_READONLY) != 0)
        return Typed::Refused;
    if (ch == kBackspace) {
        if (start == end) {
            if (start == 0)
                return Typed::Refused;
            --start;
        }
        text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
        selStart = selEnd = start;
        return Typed::Changed;
    }
    if (ch < 0x20)
        return Typed::Refused; // return and tab mean nothing to a single-line field
    if ((rules.style & ES_NUMBER) != 0 && !(ch >= L'0' && ch <= L'9'))
        return Typed::Refused;
    if ((rules.style & ES_UPPERCASE) != 0)
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    else if ((rules.style & ES_LOWERCASE) != 0)
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    if (text.size() - static_cast<size_t>(end - start) + 1 > rules.limit)
        return Typed::Full;
    text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), 1, ch);
    selStart = selEnd = start + 1;
    return Typed::Changed;
}

LRESULT EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    EditData& data = DataOf<EditData>(*window);
    switch (message) {
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
        data.selStart = data.selEnd = 0;
        data.modified = false;
        Show(*window);
        TextChanged(*window);
        return result;
    }
    case WM_CHAR: {
        std::wstring text = window->text;
        int start = data.selStart;
        int end = data.selEnd;
        Typed typed = ApplyTypedCharacter(RulesOf(*window), text, start, end, static_cast<wchar_t>(wParam));
        if (typed == Typed::Full)
            NotifyCommand(*window, EN_MAXTEXT);
        if (typed != Typed::Changed)
            return 0;
        window->text = std::move(text);
        data.selStart = start;
        data.selEnd = end;
        data.modified = true;
        Show(*window);
        TextChanged(*window);
        return 0;
    }
    case EM_GETSEL: {
        ClampSelection(data, window->text.size());
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(data.selStart);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(data.selEnd);
        if (data.selEnd > 0xFFFF)
            return -1;
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(data.selStart), static_cast<WORD>(data.selEnd)));
    }
    case EM_SETSEL: {
        int start = static_cast<int>(static_cast<intptr_t>(wParam));
        int end = static_cast<int>(lParam);
        int length = static_cast<int>(window->text.size());
        if (start == -1) {
            data.selStart = data.selEnd; // the selection goes, the caret stays
        } else {
            data.selStart = start < 0 ? length : start;
            data.selEnd = end < 0 ? length : end;
        }
        ClampSelection(data, window->text.size());
        Show(*window);
        return 0;
    }
    case EM_REPLACESEL:
        ReplaceSelection(*window, TextParameter(lParam));
        return 0;
    case EM_LIMITTEXT:
        data.limit = wParam == 0 ? kLargestLimit : static_cast<size_t>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(data.limit);
    case EM_SETREADONLY:
        if (wParam != 0)
            window->style |= ES_READONLY;
        else
            window->style &= ~ES_READONLY;
        ShowState(*window);
        return TRUE;
    case EM_GETMODIFY:
        return data.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        data.modified = wParam != 0;
        return 0;
    case WM_SETFOCUS:
        NotifyCommand(*window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyCommand(*window, EN_KILLFOCUS);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool EditUserAction(Window& window, const UserAction& action)
{
    if (action.kind != UserActionKind::SelectAllText)
        return false;
    SendMessageW(window.Handle(), EM_SETSEL, 0, -1);
    return true;
}

} // namespace platform::ui
