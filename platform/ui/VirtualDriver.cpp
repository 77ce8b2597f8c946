#include "platform/ui/VirtualDriver.h"

#include <cassert>

#include <QCoreApplication>

#include "platform/time/Clock.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/UiDriver.h"
#include "platform/ui/qt/WindowManager.h"

using namespace platform::ui;

namespace platform {

struct VirtualDriver::Impl final : UiDriver {
    explicit Impl(VirtualClock& clock)
        : clock(clock)
    {
    }

    void Wake() override { }

    bool WaitForMessage() override
    {
        // Nothing is queued: time passes until the next timer, if there is one.
        auto next = WindowManager::Get().Timers().NextDue();
        if (!next)
            return false;
        uint64_t now = WindowManager::NowMs();
        if (*next > now)
            clock.AdvanceMs(*next - now);
        return true;
    }

    void RunModal(HWND, const std::function<bool()>& finished) override
    {
        PumpReadyMessages();
        (void)finished;
    }

    void Pump()
    {
        PumpReadyMessages();
        // Widgets of destroyed windows go once no Qt handler can be running on them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    VirtualClock& clock;
};

VirtualDriver::VirtualDriver(VirtualClock& clock)
    : m_impl(std::make_unique<Impl>(clock))
{
    assert(&CurrentClock() == &clock);
    WindowManager::Get().SetDriver(m_impl.get());
}

VirtualDriver::~VirtualDriver()
{
    WindowManager::Get().SetDriver(nullptr);
}

void VirtualDriver::Pump()
{
    m_impl->Pump();
}

void VirtualDriver::AdvanceMs(uint64_t ms)
{
    auto& manager = WindowManager::Get();
    uint64_t target = WindowManager::NowMs() + ms;
    m_impl->Pump();
    for (;;) {
        auto next = manager.Timers().NextDue();
        if (!next || *next > target)
            break;
        uint64_t now = WindowManager::NowMs();
        if (*next > now)
            m_impl->clock.AdvanceMs(*next - now);
        m_impl->Pump();
    }
    uint64_t now = WindowManager::NowMs();
    if (target > now)
        m_impl->clock.AdvanceMs(target - now);
    m_impl->Pump();
}

void VirtualDriver::StylusDown(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    m_impl->Pump();
}

void VirtualDriver::StylusUp(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    m_impl->Pump();
}

void VirtualDriver::Tap(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    m_impl->Pump();
}

} // namespace platform
