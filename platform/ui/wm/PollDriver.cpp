#include "platform/ui/wm/PollDriver.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/debug/DebugConsole.h"
#include "platform/text/Format.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// After a failed ppoll the thread sleeps this long at most before the message loop looks
// again, so that a lasting fault costs a few wake-ups a second instead of a whole core.
constexpr uint64_t kFaultBackoffMs = 100;

timespec FromMs(uint64_t ms)
{
    return timespec { static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1'000'000L };
}

} // namespace

timespec SleepUntilDue(uint64_t dueMs, uint64_t nowMs)
{
    if (dueMs <= nowMs)
        return timespec {};
    uint64_t ms = dueMs - nowMs;
    // The millisecond more must not wrap a timer that never comes round into no wait at all.
    return FromMs(ms < UINT64_MAX ? ms + 1 : ms);
}

// Nothing posts to the user-interface thread from another: the radio's answers are stored in
// atomics that the tick reads, and the stop signals write the stop pipe, which is watched. So
// Wake only ever runs on this thread, never while it sleeps: a flag that the next wait reads
// is enough, and a posted message costs no system call.
void PollDriver::Wake()
{
    m_woken = true;
}

bool PollDriver::WaitForMessage()
{
    Wait();
    return true;
}

void PollDriver::RunModal(HWND, const std::function<bool()>& finished)
{
    while (!finished()) {
        PumpReadyMessages();
        if (finished())
            break;
        Wait();
    }
}

void PollDriver::CursorChanged(HCURSOR, bool)
{
    // No screen shows a cursor; GetCursor still answers which one is set.
}

void PollDriver::WatchReadable(int fd, std::function<void()> ready)
{
    m_watches[fd] = Watch { m_nextSerial++, std::make_shared<const std::function<void()>>(std::move(ready)) };
}

void PollDriver::UnwatchReadable(int fd)
{
    m_watches.erase(fd);
}

void PollDriver::Wait()
{
    auto& manager = WindowManager::Get();
    // A wake since the last look ends the wait whatever it was for: an ended dialog is seen
    // only by its modal loop's own test.
    if (std::exchange(m_woken, false) || !manager.Queue().Empty() || AnyPaintPending())
        return;
    std::vector<pollfd> entries;
    std::vector<uint64_t> serials;
    entries.reserve(m_watches.size());
    serials.reserve(m_watches.size());
    for (const auto& [fd, watch] : m_watches) {
        entries.push_back(pollfd { fd, POLLIN, 0 });
        serials.push_back(watch.serial);
    }
    auto next = manager.Timers().NextDue();
    timespec timeout {};
    if (next)
        timeout = SleepUntilDue(*next, WindowManager::NowMs());
    ++m_sleeps;
    int ready = ::ppoll(entries.data(), entries.size(), next ? &timeout : nullptr, nullptr);
    if (ready > 0) {
        RunReady(entries, serials);
    } else if (ready < 0 && errno != EINTR) {
        // An interruption is no fault: the stop signals also write the stop pipe, which the
        // next wait sees.
        ReportWaitFault(errno);
        timespec pause = FromMs(kFaultBackoffMs);
        if (next && timeout.tv_sec == 0 && timeout.tv_nsec < pause.tv_nsec)
            pause = timeout;
        ::nanosleep(&pause, nullptr);
    }
}

void PollDriver::RunReady(const std::vector<pollfd>& entries, const std::vector<uint64_t>& serials)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].revents == 0)
            continue;
        // An earlier handler may have unwatched this descriptor, or closed it and watched a
        // new one under the same number that nobody has seen ready yet.
        auto it = m_watches.find(entries[i].fd);
        if (it == m_watches.end() || it->second.serial != serials[i])
            continue;
        if ((entries[i].revents & POLLNVAL) != 0) {
            // Closed without being unwatched: it would end every wait at once from now on.
            OutputDebugStringW(Fmt(L"PollDriver: ClosedDescriptor %d\n", entries[i].fd).c_str());
            m_watches.erase(it);
            continue;
        }
        std::shared_ptr<const std::function<void()>> handler = it->second.ready;
        (*handler)();
    }
}

void PollDriver::ReportWaitFault(int error)
{
    // The loop comes back here several times a second: once is enough to say why.
    if (std::exchange(m_waitFaultReported, true))
        return;
    OutputDebugStringW(Fmt(L"PollDriver: WaitFailed (%S)\n", std::strerror(error)).c_str());
}

} // namespace platform::ui
