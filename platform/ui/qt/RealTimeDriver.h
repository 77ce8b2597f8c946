// The real-time driver: Qt's event loop runs the user-interface thread, a single-shot Qt
// timer wakes it for posted messages, pending paints and the next window timer on the
// platform clock.
#pragma once

#include <QTimer>

#include "platform/ui/wm/UiDriver.h"

namespace platform::ui {

class RealTimeDriver final : public UiDriver {
public:
    RealTimeDriver();

    void Wake() override;
    bool WaitForMessage() override;
    void RunModal(HWND window, const std::function<bool()>& finished) override;
    void CursorChanged(HCURSOR cursor, bool busy) override;

private:
    void Schedule();
    void OnTimer();

    QTimer m_timer;
    // While a message loop waits in GetMessageW, ready messages are left to it.
    int m_waiting = 0;
    bool m_busyCursor = false;
};

// True when some window (visible with its ancestors) has a non-empty update region.
bool AnyPaintPending();
// Whether Qt's busy cursor shows over the application.
bool QtShowsBusyCursor();

} // namespace platform::ui
