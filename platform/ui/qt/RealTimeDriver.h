// The real-time driver: Qt's event loop runs the user-interface thread, a single-shot precise
// Qt timer wakes it for posted messages, pending paints and the next window timer on the
// platform clock (once per due timer), and socket notifiers for the watched descriptors.
#pragma once

#include <map>
#include <memory>

#include <QSocketNotifier>
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
    void WatchReadable(int fd, std::function<void()> ready) override;
    void UnwatchReadable(int fd) override;
    UINT TimerCoalescingMs() const override { return 1000; }

private:
    void Schedule();
    void OnTimer();

    QTimer m_timer;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_watches;
    // While a message loop waits in GetMessageW, ready messages are left to it.
    int m_waiting = 0;
    bool m_busyCursor = false;
};

// Whether Qt's busy cursor shows over the application.
bool QtShowsBusyCursor();

} // namespace platform::ui
