// Sending, posting, retrieving and dispatching messages.
#include <cstdio>

#include "platform/core/LastError.h"
#include "platform/time/Clock.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

// The first window, parents before children, that is showing and needs painting.
Window* FindWindowToPaint(Window& root, HWND only)
{
    if ((root.style & WS_VISIBLE) == 0)
        return nullptr;
    if (!IsRectEmpty(&root.update) && (only == nullptr || root.Handle() == only))
        return &root;
    for (Window* child : root.children) {
        if (Window* found = FindWindowToPaint(*child, only))
            return found;
    }
    return nullptr;
}

// The platform's order: posted messages, the quit request, paints, then due timers.
bool NextMessage(MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove, bool leaveQuit)
{
    auto& manager = WindowManager::Get();
    if (manager.Queue().Take(out, window, filterMin, filterMax, remove))
        return true;
    if (manager.Queue().QuitPosted()) {
        if (leaveQuit)
            return false;
        out = MSG { nullptr, WM_QUIT, 0, 0, GetTickCount(), { 0, 0 } };
        out.wParam = static_cast<WPARAM>(remove ? manager.Queue().TakeQuit() : 0);
        return true;
    }
    if (MessageInFilter(WM_PAINT, filterMin, filterMax)) {
        if (Window* toPaint = FindWindowToPaint(manager.Desktop(), window)) {
            out = MSG { toPaint->Handle(), WM_PAINT, 0, 0, GetTickCount(), { 0, 0 } };
            return true;
        }
    }
    if (MessageInFilter(WM_TIMER, filterMin, filterMax)) {
        if (auto timer = manager.Timers().TakeDue(WindowManager::NowMs(), window, remove)) {
            out = MSG { timer->window, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->proc), GetTickCount(),
                { 0, 0 } };
            return true;
        }
    }
    return false;
}

constexpr int kMaximumMessagesPerPump = 100000;

} // namespace

namespace platform::ui {

void PumpReadyMessages()
{
    MSG msg;
    for (int count = 0; NextMessage(msg, nullptr, 0, 0, true, true); ++count) {
        if (count == kMaximumMessagesPerPump) {
            std::fputs("PumpReadyMessages: MessageStorm\n", stderr);
            return;
        }
        DispatchMessageW(&msg);
    }
}

bool AnyPaintPending()
{
    return FindWindowToPaint(WindowManager::Get().Desktop(), nullptr) != nullptr;
}

} // namespace platform::ui

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& manager = WindowManager::Get();
    Window* target = manager.Lookup(window);
    if (target == nullptr)
        return 0;
    return manager.Send(*target, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& manager = WindowManager::Get();
    if (window != nullptr && manager.Lookup(window) == nullptr)
        return FALSE;
    manager.Queue().Post(MSG { window, message, wParam, lParam, GetTickCount(), { 0, 0 } });
    manager.Wake();
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    auto& manager = WindowManager::Get();
    manager.Queue().PostQuit(exitCode);
    manager.Wake();
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return NextMessage(*msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0, false) ? TRUE : FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    auto& manager = WindowManager::Get();
    while (!NextMessage(*msg, window, filterMin, filterMax, true, false)) {
        if (!manager.Driver().WaitForMessage()) {
            SetLastError(ERROR_NO_DATA);
            return -1;
        }
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*)
{
    // No keyboard here: there are no key messages to turn into characters.
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    auto& manager = WindowManager::Get();
    Window* target = manager.Find(msg->hwnd);
    if (target == nullptr)
        return 0;
    std::shared_ptr<Window> hold = manager.Hold(msg->hwnd);
    if (msg->message != WM_PAINT)
        return manager.Send(*target, msg->message, msg->wParam, msg->lParam);
    target->paintedSinceDispatch = false;
    LRESULT result = manager.Send(*target, WM_PAINT, msg->wParam, msg->lParam);
    // A procedure that neither painted nor passed the message on would get WM_PAINT forever.
    if (!target->destroyed && !target->paintedSinceDispatch)
        target->update = RECT {};
    return result;
}

namespace platform {

int RunEventLoop()
{
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : -1;
}

void WatchReadable(int fd, std::function<void()> ready)
{
    ui::WindowManager::Get().Driver().WatchReadable(fd, std::move(ready));
}

void UnwatchReadable(int fd)
{
    ui::WindowManager::Get().Driver().UnwatchReadable(fd);
}

} // namespace platform
