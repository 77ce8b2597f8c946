// The state of the user-interface thread: window classes, the table of live windows under
// the desktop window, the posted-message queue, the timers, focus and the driver.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>
#include <memory>
#include <unordered_map>

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/MessageQueue.h"
#include "platform/ui/wm/TimerTable.h"
#include "platform/ui/wm/WindowClass.h"

namespace platform::ui {

class Window;
class UiDriver;

class WindowManager {
public:
    // Made on first use, with the rendering backend, the desktop and the system classes.
    static WindowManager& Get();

    WindowClassTable& Classes() { return m_classes; }
    MessageQueue& Queue() { return m_queue; }
    TimerTable& Timers() { return m_timers; }

    // The live window behind a handle, or null with ERROR_INVALID_WINDOW_HANDLE.
    Window* Lookup(HWND handle);
    // The same without touching the last error, for the platform's own bookkeeping.
    Window* Find(HWND handle);
    // Keeps a window object alive across a call into its procedure, which may destroy it.
    std::shared_ptr<Window> Hold(HWND handle);
    Window& Desktop() { return *m_desktop; }
    // What the host's desktop does when its user closes the screen's window; true when the
    // window closed.
    bool CloseScreen();

    Window& CreateWindowObject(WindowClass& windowClass);
    void ForgetWindow(Window& window);
    size_t LiveWindowCount() const { return m_windows.size() - 1; }

    // Calls the window's procedure.
    LRESULT Send(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

    // The platform clock's tick count that timers run on.
    static uint64_t NowMs();

    // The desktop takes the current device's screen size.
    void FitDesktopToScreen();
    // Called when the screen's size changed, before the windows hear of it.
    void AddScreenChangeListener(std::function<void()> listener) { m_screenListeners.push_back(std::move(listener)); }
    void ScreenChanged();

    // Called after a window took the focus and heard WM_SETFOCUS.
    void AddFocusListener(std::function<void(HWND)> listener) { m_focusListeners.push_back(std::move(listener)); }
    void FocusChanged(HWND focused);

    UiDriver& Driver();
    void SetDriver(UiDriver* driver) { m_driver = driver; }
    void Wake();

    HWND focus = nullptr;
    HWND foreground = nullptr;

private:
    WindowManager();
    void Start();

    WindowClassTable m_classes;
    MessageQueue m_queue;
    TimerTable m_timers;
    std::unordered_map<uintptr_t, std::shared_ptr<Window>> m_windows;
    uintptr_t m_nextHandle = 0x10010;
    Window* m_desktop = nullptr;
    UiDriver* m_driver = nullptr;
    std::vector<std::function<void()>> m_screenListeners;
    std::vector<std::function<void(HWND)>> m_focusListeners;
};

// The parts of the tree walk shared by the calls.
Window* WindowFromHandle(HWND handle);

} // namespace platform::ui
