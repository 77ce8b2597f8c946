// Window classes, window creation and destruction, window data, relations, text, geometry,
// visibility and the default window procedure.
#include <algorithm>
#include <cwchar>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/text/WideString.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/DialogState.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowActions.h"
#include "platform/ui/wm/WindowManager.h"
#include "platform/ui/backend/RenderBackend.h"

using namespace platform::ui;

namespace {

std::wstring_view TextOf(LPCWSTR text)
{
    return text != nullptr ? std::wstring_view(text) : std::wstring_view();
}

// Copies into a caller's buffer of maxCount characters, always terminated; the count copied.
Window* TopLevelOf(Window* window)
{
    while (window != nullptr && window->parent != nullptr && !window->IsTopLevel())
        window = window->parent;
    return window;
}

void LinkIntoTree(Window& window, Window& parent)
{
    window.parent = &parent;
    if (window.IsTopLevel())
        parent.children.insert(parent.children.begin(), &window); // a new top-level window is on top
    else
        parent.children.push_back(&window); // controls follow in creation (tab) order
}

void Unlink(Window& window)
{
    if (window.parent == nullptr)
        return;
    auto& siblings = window.parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
}

void DestroyTree(Window& window)
{
    auto& manager = WindowManager::Get();
    if (window.destroying)
        return;
    window.destroying = true;
    std::shared_ptr<Window> hold = manager.Hold(window.Handle());

    // Windows it owns go first.
    std::vector<Window*> owned;
    for (Window* top : manager.Desktop().children) {
        if (top->owner == &window)
            owned.push_back(top);
    }
    for (Window* w : owned)
        DestroyTree(*w);

    if ((window.style & WS_VISIBLE) != 0 && window.peer != nullptr)
        window.peer->Hide();
    for (Window* w = manager.Find(manager.focus); w != nullptr; w = w->parent) {
        if (w == &window) {
            manager.focus = nullptr;
            break;
        }
    }

    manager.Send(window, WM_DESTROY, 0, 0);
    std::vector<Window*> children = window.children;
    for (Window* child : children)
        DestroyTree(*child);
    manager.Send(window, WM_NCDESTROY, 0, 0);

    manager.Timers().KillAll(window.Handle());
    manager.Queue().RemoveFor(window.Handle());
    if (window.dialog != nullptr)
        window.dialog->ended = true;
    Unlink(window);
    window.destroyed = true;
    if (window.peer != nullptr) {
        // The backend may be inside this peer's own event handler: it goes when that is over.
        window.peer->Release();
        window.peer = nullptr;
    }
    manager.ForgetWindow(window);
    if (manager.foreground == window.Handle())
        manager.foreground = NextForegroundWindow();
}

} // namespace

namespace platform::ui {

HWND NextForegroundWindow()
{
    for (Window* top : WindowManager::Get().Desktop().children) {
        if ((top->style & WS_VISIBLE) != 0 && !top->destroying)
            return top->Handle();
    }
    return nullptr;
}

void SendSizeAndMove(Window& window, bool moved, bool sized)
{
    auto& manager = WindowManager::Get();
    if (sized)
        manager.Send(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window.ClientWidth(), window.ClientHeight()));
    if (moved) {
        RECT insets = window.FrameInsets();
        manager.Send(window, WM_MOVE, 0, MAKELPARAM(window.Rect().left + insets.left, window.Rect().top + insets.top));
    }
}

void ShowWindowObject(Window& window, bool show, bool activate)
{
    auto& manager = WindowManager::Get();
    bool visible = (window.style & WS_VISIBLE) != 0;
    if (show != visible) {
        manager.Send(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (show)
            window.style |= WS_VISIBLE;
        else
            window.style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (window.peer != nullptr)
            window.peer->SyncVisible();
        if (show)
            InvalidateRect(window.Handle(), nullptr, TRUE);
    }
    if (!window.IsTopLevel())
        return;
    if (show && activate) {
        auto& siblings = window.parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
        siblings.insert(siblings.begin(), &window);
        if (window.peer != nullptr)
            window.peer->Raise();
        manager.foreground = window.Handle();
    } else if (!show && manager.foreground == window.Handle()) {
        manager.foreground = NextForegroundWindow();
    }
}

} // namespace platform::ui

// ---- Classes -------------------------------------------------------------------------------

ATOM RegisterClassW(const WNDCLASSW* wndClass)
{
    if (wndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowClass* registered = WindowManager::Get().Classes().Register(*wndClass, false, PeerKind::Plain);
    return registered != nullptr ? registered->atom : 0;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance)
{
    if (className == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& classes = WindowManager::Get().Classes();
    if (IS_INTRESOURCE(className)) {
        WindowClass* found = classes.FindByAtom(static_cast<ATOM>(reinterpret_cast<uintptr_t>(className)));
        if (found == nullptr) {
            SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
            return FALSE;
        }
        return classes.Unregister(found->name, instance) ? TRUE : FALSE;
    }
    return classes.Unregister(className, instance) ? TRUE : FALSE;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass)
{
    if (className == nullptr || wndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WindowClass* found = WindowManager::Get().Classes().Find(className, instance);
    if (found == nullptr || (!found->system && found->instance != instance)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wndClass->style = found->style;
    wndClass->lpfnWndProc = found->proc;
    wndClass->cbClsExtra = found->classExtraBytes;
    wndClass->cbWndExtra = found->windowExtraBytes;
    wndClass->hInstance = found->instance;
    wndClass->hIcon = found->icon;
    wndClass->hCursor = found->cursor;
    wndClass->hbrBackground = found->background;
    wndClass->lpszMenuName = nullptr;
    wndClass->lpszClassName = className;
    return TRUE;
}

int GetClassNameW(HWND window, LPWSTR className, int maxCount)
{
    Window* found = WindowFromHandle(window);
    if (found == nullptr)
        return 0;
    if (className == nullptr || maxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return CopyToBuffer(found->Class().name, className, maxCount);
}

// ---- Windows -------------------------------------------------------------------------------

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    auto& manager = WindowManager::Get();
    if (className == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    WindowClass* windowClass = IS_INTRESOURCE(className)
        ? manager.Classes().FindByAtom(static_cast<ATOM>(reinterpret_cast<uintptr_t>(className)))
        : manager.Classes().Find(className, instance);
    if (windowClass == nullptr)
        return nullptr;

    Window* parentWindow = &manager.Desktop();
    Window* owner = nullptr;
    if ((style & WS_CHILD) != 0) {
        if (parent == nullptr) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        parentWindow = manager.Lookup(parent);
        if (parentWindow == nullptr)
            return nullptr;
    } else if (parent != nullptr) {
        owner = TopLevelOf(manager.Lookup(parent));
        if (owner == nullptr)
            return nullptr;
    }

    // Default places and sizes: the corner, and for a top-level window the whole screen.
    const platform::DeviceProfile& device = platform::CurrentDevice();
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        bool topLevel = (style & WS_CHILD) == 0;
        width = topLevel ? device.screenWidth : 0;
        height = topLevel ? device.screenHeight : 0;
    }

    Window& window = manager.CreateWindowObject(*windowClass);
    HWND handle = window.Handle();
    window.proc = windowClass->proc;
    window.style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window.exStyle = exStyle;
    window.text = std::wstring(TextOf(windowName));
    window.instance = instance;
    window.id = (style & WS_CHILD) != 0 ? static_cast<LONG_PTR>(reinterpret_cast<uintptr_t>(menu)) : 0;
    window.owner = owner;
    window.SetRect(RECT { x, y, x + width, y + height });
    LinkIntoTree(window, *parentWindow);
    window.ResizeSurface();
    window.peer = Renderer().MakePeer(window, windowClass->peerKind);
    window.peer->SyncGeometry();
    window.peer->Hide();
    if (!window.IsTopLevel())
        window.peer->Lower();
    // A window that has never painted needs painting in full.
    window.update = RECT { 0, 0, window.ClientWidth(), window.ClientHeight() };
    window.eraseNeeded = true;

    CREATESTRUCTW create { param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
        className, exStyle };
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!manager.Send(window, WM_NCCREATE, 0, createParam) || manager.Send(window, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (manager.Find(handle) == nullptr)
        return nullptr; // it destroyed itself while being created
    SendSizeAndMove(window, true, true);
    if ((style & WS_VISIBLE) != 0 && manager.Find(handle) != nullptr)
        ShowWindowObject(window, true, true);
    if (window.peer != nullptr)
        window.peer->SyncEnabled();
    return manager.Find(handle) != nullptr ? handle : nullptr;
}

BOOL DestroyWindow(HWND window)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr)
        return FALSE;
    if (target == &manager.Desktop()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DestroyTree(*target);
    return TRUE;
}

BOOL IsWindow(HWND window)
{
    return WindowManager::Get().Find(window) != nullptr ? TRUE : FALSE;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (proc == nullptr)
        return 0;
    return proc(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Find(window);
    if (target == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETTEXT:
        target->text = std::wstring(TextOf(reinterpret_cast<LPCWSTR>(lParam)));
        if (target->peer != nullptr)
            target->peer->SyncText();
        return TRUE;
    case WM_GETTEXT:
        return CopyToBuffer(target->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(target->text.size());
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH background = target->Class().background;
        if (background == nullptr)
            return 0;
        RECT client { 0, 0, target->ClientWidth(), target->ClientHeight() };
        FillRect(reinterpret_cast<HDC>(wParam), &client, background);
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SETFONT:
        target->font = reinterpret_cast<HFONT>(wParam);
        if (target->peer != nullptr)
            target->peer->SyncFont();
        if (LOWORD(static_cast<uintptr_t>(lParam)) != 0)
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(target->font);
    case WM_NCHITTEST:
        return HTCLIENT;
    default:
        return 0;
    }
}

// ---- Window data ---------------------------------------------------------------------------

LONG_PTR GetWindowLongW(HWND window, int index)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(target->proc);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(target->instance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(target->IsTopLevel() ? (target->owner ? target->owner->Handle() : nullptr)
                                                               : target->parent->Handle());
    case GWL_ID:
        return target->id;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(target->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(target->exStyle);
    case GWL_USERDATA:
        return target->userData;
    default:
        break;
    }
    if (index >= 0 && target->dialog != nullptr && (index == 0 || index == 4 || index == 8)) {
        switch (index) {
        case 0:
            return target->dialog->messageResult;
        case 4:
            return reinterpret_cast<LONG_PTR>(target->dialog->proc);
        default:
            return target->dialog->user;
        }
    }
    if (index < 0 || index + 4 > target->Class().windowExtraBytes) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    auto it = target->extraData.find(index);
    return it != target->extraData.end() ? it->second : 0;
}

LONG_PTR SetWindowLongW(HWND window, int index, LONG_PTR value)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return 0;
    LONG_PTR previous = 0;
    switch (index) {
    case GWL_WNDPROC:
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        previous = reinterpret_cast<LONG_PTR>(target->proc);
        target->proc = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWL_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(target->instance);
        target->instance = reinterpret_cast<HINSTANCE>(value);
        return previous;
    case GWL_ID:
        previous = target->id;
        target->id = value;
        return previous;
    case GWL_STYLE:
        previous = static_cast<LONG_PTR>(target->style);
        target->style = static_cast<DWORD>(value);
        if (target->peer != nullptr) {
            target->peer->SyncVisible();
            target->peer->SyncEnabled();
        }
        return previous;
    case GWL_EXSTYLE:
        previous = static_cast<LONG_PTR>(target->exStyle);
        target->exStyle = static_cast<DWORD>(value);
        return previous;
    case GWL_USERDATA:
        previous = target->userData;
        target->userData = value;
        return previous;
    case GWL_HWNDPARENT:
        if (!target->IsTopLevel()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        previous = reinterpret_cast<LONG_PTR>(target->owner != nullptr ? target->owner->Handle() : nullptr);
        target->owner = TopLevelOf(WindowManager::Get().Find(reinterpret_cast<HWND>(value)));
        return previous;
    default:
        break;
    }
    if (index >= 0 && target->dialog != nullptr && (index == 0 || index == 4 || index == 8)) {
        LONG_PTR* slot = index == 0 ? &target->dialog->messageResult : &target->dialog->user;
        if (index == 4) {
            previous = reinterpret_cast<LONG_PTR>(target->dialog->proc);
            target->dialog->proc = reinterpret_cast<DialogProc>(value);
            return previous;
        }
        previous = *slot;
        *slot = value;
        return previous;
    }
    if (index < 0 || index + 4 > target->Class().windowExtraBytes) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    previous = target->extraData[index];
    target->extraData[index] = value;
    return previous;
}

// ---- Relations -----------------------------------------------------------------------------

HWND GetWindow(HWND window, UINT relation)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return nullptr;
    if (relation == GW_CHILD)
        return target->children.empty() ? nullptr : target->children.front()->Handle();
    if (relation == GW_OWNER)
        return target->owner != nullptr ? target->owner->Handle() : nullptr;
    if (target->parent == nullptr)
        return nullptr;
    const auto& siblings = target->parent->children;
    auto at = std::find(siblings.begin(), siblings.end(), target);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->Handle();
    case GW_HWNDLAST:
        return siblings.back()->Handle();
    case GW_HWNDNEXT:
        return at + 1 != siblings.end() ? (*(at + 1))->Handle() : nullptr;
    case GW_HWNDPREV:
        return at != siblings.begin() ? (*(at - 1))->Handle() : nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

namespace {

bool ShownAt(HWND window, POINT screen)
{
    RECT placed {};
    return IsWindowVisible(window) && GetWindowRect(window, &placed) && PtInRect(&placed, screen);
}

} // namespace

HWND WindowFromPoint(POINT screen)
{
    HWND found = nullptr;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr && found == nullptr;
         window = GetWindow(window, GW_HWNDNEXT))
        if (ShownAt(window, screen))
            found = window;
    while (found != nullptr) {
        HWND deeper = nullptr;
        for (HWND child = GetWindow(found, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            if (ShownAt(child, screen)
                && SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) != HTTRANSPARENT)
                deeper = child;
        if (deeper == nullptr)
            break;
        found = deeper;
    }
    return found;
}

HWND GetParent(HWND window)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return nullptr;
    // A child's parent; for a top-level window, its owner.
    if ((target->style & WS_CHILD) != 0 && target->parent != nullptr)
        return target->parent->Handle();
    return target->owner != nullptr ? target->owner->Handle() : nullptr;
}

HWND GetDesktopWindow()
{
    return WindowManager::Get().Desktop().Handle();
}

HWND GetForegroundWindow()
{
    auto& manager = WindowManager::Get();
    if (manager.Find(manager.foreground) == nullptr)
        manager.foreground = NextForegroundWindow();
    return manager.foreground;
}

BOOL SetForegroundWindow(HWND window)
{
    Window* target = TopLevelOf(WindowFromHandle(window));
    if (target == nullptr)
        return FALSE;
    ShowWindowObject(*target, (target->style & WS_VISIBLE) != 0, true);
    return TRUE;
}

HWND GetActiveWindow()
{
    return GetForegroundWindow();
}

HWND SetFocus(HWND window)
{
    auto& manager = WindowManager::Get();
    HWND previous = manager.Find(manager.focus) != nullptr ? manager.focus : nullptr;
    if (window == nullptr) {
        manager.focus = nullptr;
        return previous;
    }
    Window* target = manager.Lookup(window);
    if (target == nullptr || (target->style & WS_DISABLED) != 0)
        return nullptr;
    if (previous == window)
        return previous;
    if (Window* old = manager.Find(previous))
        manager.Send(*old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    manager.focus = window;
    if (target->peer != nullptr)
        target->peer->SyncFocus();
    manager.Send(*target, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    if (manager.focus == window)
        manager.FocusChanged(window);
    return previous;
}

HWND GetFocus()
{
    auto& manager = WindowManager::Get();
    return manager.Find(manager.focus) != nullptr ? manager.focus : nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    for (Window* top : WindowManager::Get().Desktop().children) {
        if (top->destroying)
            continue;
        if (className != nullptr && !EqualsNoCase(top->Class().name, className))
            continue;
        if (windowName != nullptr && top->text != windowName)
            continue;
        return top->Handle();
    }
    return nullptr;
}

// ---- Text ----------------------------------------------------------------------------------

BOOL SetWindowTextW(HWND window, LPCWSTR text)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return FALSE;
    return WindowManager::Get().Send(*target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr || text == nullptr || maxCount <= 0)
        return 0;
    return static_cast<int>(
        WindowManager::Get().Send(*target, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr)
        return 0;
    return static_cast<int>(WindowManager::Get().Send(*target, WM_GETTEXTLENGTH, 0, 0));
}

// ---- Geometry ------------------------------------------------------------------------------

BOOL GetWindowRect(HWND window, LPRECT rect)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr || rect == nullptr)
        return FALSE;
    *rect = target->WindowRectOnScreen();
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr || rect == nullptr)
        return FALSE;
    *rect = RECT { 0, 0, target->ClientWidth(), target->ClientHeight() };
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(window, nullptr, x, y, width, height,
        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr || target == &manager.Desktop())
        return FALSE;
    std::shared_ptr<Window> hold = manager.Hold(window);
    RECT old = target->Rect();
    RECT rect = old;
    if ((flags & SWP_NOMOVE) == 0)
        OffsetRect(&rect, x - old.left, y - old.top);
    if ((flags & SWP_NOSIZE) == 0) {
        rect.right = rect.left + std::max(width, 0);
        rect.bottom = rect.top + std::max(height, 0);
    }
    bool moved = rect.left != old.left || rect.top != old.top;
    bool sized = (rect.right - rect.left) != (old.right - old.left) || (rect.bottom - rect.top) != (old.bottom - old.top);
    target->SetRect(rect);
    if (sized)
        target->ResizeSurface();

    if ((flags & SWP_NOZORDER) == 0 && target->parent != nullptr) {
        auto& siblings = target->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), target), siblings.end());
        if (insertAfter == HWND_BOTTOM) {
            siblings.push_back(target);
        } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            siblings.insert(siblings.begin(), target);
        } else {
            Window* after = manager.Find(insertAfter);
            auto at = std::find(siblings.begin(), siblings.end(), after);
            siblings.insert(at == siblings.end() ? siblings.begin() : at + 1, target);
        }
        // Mirror the order on the peers: the first sibling is drawn last.
        for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
            if ((*it)->peer != nullptr)
                (*it)->peer->Raise();
        }
    }
    if (target->peer != nullptr)
        target->peer->SyncGeometry();
    SendSizeAndMove(*target, moved, sized);
    if (manager.Find(window) == nullptr)
        return TRUE;
    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindowObject(*target, true, (flags & SWP_NOACTIVATE) == 0);
    else if ((flags & SWP_HIDEWINDOW) != 0)
        ShowWindowObject(*target, false, false);
    if (sized && (flags & SWP_NOREDRAW) == 0)
        InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr || point == nullptr)
        return FALSE;
    POINT origin = target->ClientOriginOnScreen();
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    Window* target = WindowFromHandle(window);
    if (target == nullptr || point == nullptr)
        return FALSE;
    POINT origin = target->ClientOriginOnScreen();
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    auto& manager = WindowManager::Get();
    Window* source = from != nullptr ? manager.Lookup(from) : &manager.Desktop();
    Window* target = to != nullptr ? manager.Lookup(to) : &manager.Desktop();
    if (source == nullptr || target == nullptr || (points == nullptr && count > 0))
        return 0;
    POINT a = source->ClientOriginOnScreen();
    POINT b = target->ClientOriginOnScreen();
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

// ---- Visibility and input ------------------------------------------------------------------

BOOL ShowWindow(HWND window, int command)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr)
        return FALSE;
    std::shared_ptr<Window> hold = manager.Hold(window);
    BOOL wasVisible = (target->style & WS_VISIBLE) != 0 ? TRUE : FALSE;
    switch (command) {
    case SW_HIDE:
        ShowWindowObject(*target, false, false);
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_MINIMIZE:
        ShowWindowObject(*target, true, false);
        break;
    default:
        ShowWindowObject(*target, true, true);
        break;
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND window)
{
    Window* target = WindowManager::Get().Find(window);
    return target != nullptr && target->IsShowing() ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr)
        return FALSE;
    BOOL wasDisabled = (target->style & WS_DISABLED) != 0 ? TRUE : FALSE;
    if ((enable != FALSE) == (wasDisabled == FALSE))
        return wasDisabled;
    if (enable)
        target->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        target->style |= WS_DISABLED;
    if (!enable && manager.focus == window)
        manager.focus = nullptr;
    if (target->peer != nullptr)
        target->peer->SyncEnabled();
    manager.Send(*target, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window)
{
    Window* target = WindowManager::Get().Find(window);
    return target != nullptr && (target->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}
