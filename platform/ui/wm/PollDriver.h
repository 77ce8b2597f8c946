// The real-time driver without Qt: the user-interface thread sleeps in ppoll until the next
// window timer is due, a watched descriptor is readable or a signal arrives, and otherwise
// behaves as the Qt driver does, for a backend that has no event loop of its own.
//
//   platform::ui::PollDriver driver;
//   platform::ui::WindowManager::Get().SetDriver(&driver);
//   platform::RunEventLoop();
#pragma once

#include <poll.h>
#include <time.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/wm/UiDriver.h"

namespace platform::ui {

class PollDriver final : public UiDriver {
public:
    void Wake() override;
    bool WaitForMessage() override;
    void RunModal(HWND window, const std::function<bool()>& finished) override;
    void CursorChanged(HCURSOR cursor, bool busy) override;
    void WatchReadable(int fd, std::function<void()> ready) override;
    void UnwatchReadable(int fd) override;
    UINT TimerCoalescingMs() const override { return 1000; }

    // How many times the thread went to sleep in ppoll: what a steady tick costs.
    uint64_t Sleeps() const { return m_sleeps; }

private:
    struct Watch {
        uint64_t serial;
        // Shared so that a handler that unwatches its own descriptor keeps running.
        std::shared_ptr<const std::function<void()>> ready;
    };

    void Wait();
    void RunReady(const std::vector<pollfd>& entries, const std::vector<uint64_t>& serials);
    void ReportWaitFault(int error);

    std::map<int, Watch> m_watches;
    uint64_t m_nextSerial = 1;
    bool m_woken = false;
    bool m_waitFaultReported = false;
    uint64_t m_sleeps = 0;
};

// How long to sleep for a timer due at dueMs when the platform clock reads nowMs. The clock
// counts whole milliseconds and may be up to one short of the real time: a millisecond more
// wakes the thread once, just after the timer is due, never before with nothing to do.
timespec SleepUntilDue(uint64_t dueMs, uint64_t nowMs);

} // namespace platform::ui
