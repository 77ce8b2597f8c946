#include "platform/ui/qt/RealTimeDriver.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>

#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

RealTimeDriver::RealTimeDriver()
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire early, find nothing due and sleep again: one wake-up more per tick.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { OnTimer(); });
}

void RealTimeDriver::Wake()
{
    if (!m_timer.isActive() || m_timer.remainingTime() > 0)
        m_timer.start(0);
}

void RealTimeDriver::WatchReadable(int fd, std::function<void()> ready)
{
    auto notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(fd), QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [ready = std::move(ready)] { ready(); });
    m_watches[fd] = std::move(notifier);
}

void RealTimeDriver::UnwatchReadable(int fd)
{
    m_watches.erase(fd);
}

void RealTimeDriver::CursorChanged(HCURSOR, bool busy)
{
    // Over the whole application, so that controls with a cursor of their own (the edit
    // fields' text cursor) show it too, as the device's screen does.
    if (busy && !m_busyCursor)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    else if (!busy && m_busyCursor)
        QGuiApplication::restoreOverrideCursor();
    m_busyCursor = busy;
}

bool QtShowsBusyCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::BusyCursor;
}

void RealTimeDriver::Schedule()
{
    auto& manager = WindowManager::Get();
    if (!manager.Queue().Empty() || AnyPaintPending()) {
        m_timer.start(0);
        return;
    }
    auto next = manager.Timers().NextDue();
    if (!next)
        return;
    uint64_t now = WindowManager::NowMs();
    // One millisecond late rather than early: the platform clock counts whole milliseconds, and
    // a wake before the due one finds nothing to do and sleeps again.
    m_timer.start(static_cast<int>(*next > now ? *next - now + 1 : 0));
}

void RealTimeDriver::OnTimer()
{
    if (m_waiting == 0)
        PumpReadyMessages();
    Schedule();
}

bool RealTimeDriver::WaitForMessage()
{
    ++m_waiting;
    Schedule();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    --m_waiting;
    return true;
}

void RealTimeDriver::RunModal(HWND, const std::function<bool()>& finished)
{
    while (!finished()) {
        PumpReadyMessages();
        if (finished())
            break;
        Schedule();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace platform::ui
