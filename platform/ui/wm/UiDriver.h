// What runs the user-interface thread: the backend's event loop in real time, or the
// deterministic driver in virtual time. The window manager asks it to wake up when work arrives, to wait
// when a message loop finds nothing, and to run modal loops.
#pragma once

#include <functional>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class UiDriver {
public:
    virtual ~UiDriver() = default;
    // A message was posted, a window invalidated or a timer set.
    virtual void Wake() = 0;
    // A message loop found nothing to do: let time pass until something may arrive. False
    // when nothing ever can.
    virtual bool WaitForMessage() = 0;
    // Runs a modal loop for the window until finished() is true.
    virtual void RunModal(HWND window, const std::function<bool()>& finished) = 0;
    // SetCursor changed the cursor; busy for the wait cursor.
    virtual void CursorChanged(HCURSOR cursor, bool busy) = 0;
    // A descriptor to wait on besides the messages (see platform/ui/EventLoop.h).
    virtual void WatchReadable(int fd, std::function<void()> ready) = 0;
    virtual void UnwatchReadable(int fd) = 0;
    // Timers whose period is a whole number of this many milliseconds start on its multiples,
    // so that the item's tick, the taskbar clock and the Today screen's refresh wake the
    // thread once instead of each in its own phase; 0 keeps every timer's own phase (virtual
    // time, where tests count from the moment a timer was set).
    virtual UINT TimerCoalescingMs() const { return 0; }
};

// Dispatches every message that is ready now, leaving WM_QUIT in the queue. Stops early after
// an unreasonable number of messages (a window that keeps invalidating itself while painting),
// so that a driver never spins forever.
void PumpReadyMessages();

// True when some window (visible with its ancestors) has a non-empty update region: a message
// loop would get WM_PAINT now, so a driver must not wait.
bool AnyPaintPending();

// Whether the backend shows its busy cursor over the device's screen (the real-time driver does while
// the wait cursor is set).
bool ShowsBusyCursor();

} // namespace platform::ui
