#include "platform/ui/controls/UpDownControl.h"

#include "platform/device/Device.h"
#include "platform/text/Format.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

struct UpDownData : ControlData {
    // The platform's default range runs from 100 down to 0.
    int lower = 100;
    int upper = 0;
    int position = 0;
    HWND buddy = nullptr;
};

// The position as the buddy shows it: thousands grouped unless UDS_NOTHOUSANDS.
std::wstring PositionText(const Window& window, int position)
{
    std::wstring digits = Fmt(L"%d", position < 0 ? -position : position);
    if ((window.style & UDS_NOTHOUSANDS) == 0) {
        for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
            digits.insert(static_cast<size_t>(at), 1, L',');
    }
    return position < 0 ? L"-" + digits : digits;
}

// The buddy's number, when its text is one (digits, grouped or not, with a sign).
bool ReadBuddy(HWND buddy, int& value)
{
    wchar_t text[32] = {};
    if (buddy == nullptr || !IsWindow(buddy))
        return false;
    GetWindowTextW(buddy, text, 32);
    std::wstring digits;
    bool negative = false;
    for (const wchar_t* c = text; *c != 0; ++c) {
        if (*c == L'-' && digits.empty() && !negative)
            negative = true;
        else if (*c >= L'0' && *c <= L'9')
            digits.push_back(*c);
        else if (*c != L',')
            return false;
    }
    if (digits.empty() || digits.size() > 9)
        return false;
    value = std::stoi(digits) * (negative ? -1 : 1);
    return true;
}

void WriteBuddy(Window& window, UpDownData& data)
{
    if ((window.style & UDS_SETBUDDYINT) != 0 && data.buddy != nullptr && IsWindow(data.buddy))
        SetWindowTextW(data.buddy, PositionText(window, data.position).c_str());
}

int Clamped(const UpDownData& data, int value)
{
    return std::clamp(value, std::min(data.lower, data.upper), std::max(data.lower, data.upper));
}

// With UDS_SETBUDDYINT the buddy's text is the position (the user may have typed in it).
void TakeBuddyPosition(Window& window, UpDownData& data)
{
    int value = 0;
    if ((window.style & UDS_SETBUDDYINT) != 0 && ReadBuddy(data.buddy, value))
        data.position = Clamped(data, value);
}

// Puts the arrows against the buddy's right or left edge and narrows the buddy by their width.
void AlignWithBuddy(Window& window, HWND buddy)
{
    if ((window.style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) == 0 || buddy == nullptr || window.parent == nullptr)
        return;
    RECT buddyRect;
    GetWindowRect(buddy, &buddyRect);
    POINT topLeft { buddyRect.left, buddyRect.top };
    ScreenToClient(window.parent->Handle(), &topLeft);
    int width = window.Rect().right - window.Rect().left;
    if (width <= 0)
        width = (13 * CurrentDevice().dpi + 48) / 96;
    int buddyWidth = buddyRect.right - buddyRect.left;
    int height = buddyRect.bottom - buddyRect.top;
    int narrowed = std::max(0, buddyWidth - width);
    if ((window.style & UDS_ALIGNRIGHT) != 0) {
        MoveWindow(buddy, topLeft.x, topLeft.y, narrowed, height, TRUE);
        MoveWindow(window.Handle(), topLeft.x + narrowed, topLeft.y, width, height, TRUE);
    } else {
        MoveWindow(buddy, topLeft.x + width, topLeft.y, narrowed, height, TRUE);
        MoveWindow(window.Handle(), topLeft.x, topLeft.y, width, height, TRUE);
    }
}

HWND SetBuddy(Window& window, HWND buddy)
{
    UpDownData& data = DataOf<UpDownData>(window);
    HWND previous = data.buddy;
    data.buddy = buddy != nullptr && IsWindow(buddy) ? buddy : nullptr;
    HWND handle = window.Handle();
    AlignWithBuddy(window, data.buddy);
    if (Window* live = WindowManager::Get().Find(handle))
        WriteBuddy(*live, DataOf<UpDownData>(*live));
    return previous;
}

} // namespace

bool IsHorizontalUpDown(const Window& window)
{
    return (window.style & UDS_HORZ) != 0;
}

int UpDownNextPosition(int pos, int delta, int lower, int upper, bool wrap)
{
    int low = std::min(lower, upper);
    int high = std::max(lower, upper);
    int64_t next = static_cast<int64_t>(pos) + delta;
    if (next >= low && next <= high)
        return static_cast<int>(next);
    if (!wrap)
        return next < low ? low : high;
    return next < low ? high : low;
}

void UpDownUserStep(Window& window, bool up)
{
    HWND handle = window.Handle();
    UpDownData& data = DataOf<UpDownData>(window);
    TakeBuddyPosition(window, data);
    int delta = (up ? 1 : -1) * (data.upper < data.lower ? -1 : 1);
    NMUPDOWN note {};
    note.iPos = data.position;
    note.iDelta = delta;
    if (NotifyParent(window, note.hdr, UDN_DELTAPOS) != 0)
        return; // the parent refused the step
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr)
        return;
    UpDownData& after = DataOf<UpDownData>(*live);
    after.position = UpDownNextPosition(after.position, note.iDelta, after.lower, after.upper,
        (live->style & UDS_WRAP) != 0);
    WriteBuddy(*live, after);
    if ((live = WindowManager::Get().Find(handle)) == nullptr || live->parent == nullptr)
        return;
    SendMessageW(live->parent->Handle(), IsHorizontalUpDown(*live) ? WM_HSCROLL : WM_VSCROLL,
        MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(DataOf<UpDownData>(*live).position)),
        reinterpret_cast<LPARAM>(handle));
}

void UpDownUserRelease(Window& window)
{
    if (window.parent == nullptr)
        return;
    SendMessageW(window.parent->Handle(), IsHorizontalUpDown(window) ? WM_HSCROLL : WM_VSCROLL,
        MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(DataOf<UpDownData>(window).position)),
        reinterpret_cast<LPARAM>(window.Handle()));
}

LRESULT UpDownProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    UpDownData& data = DataOf<UpDownData>(*window);
    switch (message) {
    case WM_CREATE:
        // The window made just before it in the same parent becomes its buddy.
        if ((window->style & UDS_AUTOBUDDY) != 0 && window->parent != nullptr) {
            HWND previous = GetWindow(handle, GW_HWNDPREV);
            if (previous != nullptr)
                SetBuddy(*window, previous);
        }
        return 0;
    case UDM_SETRANGE:
        data.upper = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
        data.lower = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam)));
        data.position = Clamped(data, data.position);
        return 0;
    case UDM_GETRANGE:
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(data.upper), static_cast<WORD>(data.lower)));
    case UDM_SETRANGE32:
        data.lower = static_cast<int>(static_cast<intptr_t>(wParam));
        data.upper = static_cast<int>(lParam);
        data.position = Clamped(data, data.position);
        return 0;
    case UDM_GETRANGE32:
        if (wParam != 0)
            *reinterpret_cast<int*>(wParam) = data.lower;
        if (lParam != 0)
            *reinterpret_cast<int*>(lParam) = data.upper;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int previous = data.position;
        int asked = message == UDM_SETPOS ? static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)))
                                          : static_cast<int>(lParam);
        data.position = Clamped(data, asked);
        WriteBuddy(*window, data);
        return previous;
    }
    case UDM_GETPOS: {
        int value = 0;
        bool fromBuddy = (window->style & UDS_SETBUDDYINT) != 0 && data.buddy != nullptr;
        if (fromBuddy && !ReadBuddy(data.buddy, value))
            return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(data.position), 1)); // the buddy holds no number
        if (fromBuddy)
            data.position = Clamped(data, value);
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(data.position), 0));
    }
    case UDM_GETPOS32: {
        int value = 0;
        bool fromBuddy = (window->style & UDS_SETBUDDYINT) != 0 && data.buddy != nullptr;
        bool failed = fromBuddy && !ReadBuddy(data.buddy, value);
        if (fromBuddy && !failed)
            data.position = Clamped(data, value);
        if (lParam != 0)
            *reinterpret_cast<BOOL*>(lParam) = failed ? TRUE : FALSE;
        return data.position;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(*window, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(data.buddy);
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool UpDownUserAction(Window& window, const UserAction& action)
{
    if (action.kind != UserActionKind::Step)
        return false;
    HWND handle = window.Handle();
    UpDownUserStep(window, action.index == 1);
    if (Window* live = WindowManager::Get().Find(handle))
        UpDownUserRelease(*live);
    return true;
}

} // namespace platform::ui
