#include "platform/ui/wm/WindowManager.h"

#include <QApplication>
#include <QCloseEvent>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/time/Clock.h"
#include "platform/ui/qt/QtApplication.h"
#include "platform/ui/qt/RealTimeDriver.h"
#include "platform/ui/controls/SystemClasses.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/qt/WindowWidget.h"

namespace platform::ui {

namespace {

WindowManager* g_manager = nullptr;

// The window on the host's desktop that shows the device's screen. Closing it is switching the
// device off: the program's message loop ends as after PostQuitMessage(0), and the window
// stays until the program has shut down, so its last frames can still be painted and saved.
class DeviceScreenWidget final : public WindowWidget {
public:
    using WindowWidget::WindowWidget;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        PostQuitMessage(0);
    }
};

// A desktop window keeps the device's size; offscreen there is no window manager to hint.
void SizeScreenWidget(QWidget& screen, int width, int height)
{
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        screen.resize(width, height);
    else
        screen.setFixedSize(width, height);
}

} // namespace

WindowManager& WindowManager::Get()
{
    // Deliberately never destroyed, like Qt's application object it depends on. Made in two
    // steps so that the widgets made while starting can already reach it.
    if (g_manager == nullptr) {
        g_manager = new WindowManager();
        g_manager->Start();
    }
    return *g_manager;
}

WindowManager::WindowManager()
{
    qt::EnsureApplication();
}

void WindowManager::Start()
{
    m_realTimeDriver = std::make_unique<RealTimeDriver>();

    WNDCLASSW desktopClass {};
    desktopClass.lpfnWndProc = DefWindowProcW;
    desktopClass.lpszClassName = L"#32769";
    WindowClass* windowClass = m_classes.Register(desktopClass, true, nullptr);
    auto desktop = std::make_shared<Window>(reinterpret_cast<HWND>(m_nextHandle), *windowClass);
    m_nextHandle += 4;
    m_desktop = desktop.get();
    m_windows.emplace(reinterpret_cast<uintptr_t>(desktop->Handle()), desktop);
    const DeviceProfile& device = CurrentDevice();
    m_desktop->SetRect(RECT { 0, 0, device.screenWidth, device.screenHeight });
    m_desktop->style = WS_VISIBLE;
    m_desktop->text = L"Desktop";
    m_desktop->proc = windowClass->proc;

    auto* screen = new DeviceScreenWidget(m_desktop->Handle(), nullptr);
    screen->setWindowTitle(QStringLiteral("Velmora"));
    SizeScreenWidget(*screen, device.screenWidth, device.screenHeight);
    m_desktop->widget = screen;
    m_screen = screen;
    screen->show();

    RegisterSystemClasses(m_classes);
}

void WindowManager::FitDesktopToScreen()
{
    const DeviceProfile& device = CurrentDevice();
    RECT screen { 0, 0, device.screenWidth, device.screenHeight };
    if (EqualRect(&screen, &m_desktop->Rect()))
        return;
    m_desktop->SetRect(screen);
    m_desktop->ResizeSurface();
    SizeScreenWidget(*m_screen, device.screenWidth, device.screenHeight);
    InvalidateRect(m_desktop->Handle(), nullptr, TRUE);
}

void WindowManager::ScreenChanged()
{
    for (auto& listener : m_screenListeners)
        listener();
}

void WindowManager::FocusChanged(HWND focused)
{
    // A listener may add another (the first SIPPREF control registers one): run a copy.
    std::vector<std::function<void(HWND)>> listeners = m_focusListeners;
    for (auto& listener : listeners)
        listener(focused);
}

QWidget& WindowManager::ScreenWidget()
{
    return *m_screen;
}

bool WindowManager::CloseScreenWidget()
{
    return m_screen->close();
}

Window* WindowManager::Find(HWND handle)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_windows.end() || it->second->destroyed)
        return nullptr;
    return it->second.get();
}

Window* WindowManager::Lookup(HWND handle)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_windows.end() || it->second->destroyed) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

std::shared_ptr<Window> WindowManager::Hold(HWND handle)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_windows.end())
        return nullptr;
    return it->second;
}

Window& WindowManager::CreateWindowObject(WindowClass& windowClass)
{
    // Handle values are never reused, so a stale handle stays invalid.
    HWND handle = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    auto window = std::make_shared<Window>(handle, windowClass);
    ++windowClass.windowCount;
    Window& result = *window;
    m_windows.emplace(reinterpret_cast<uintptr_t>(handle), std::move(window));
    return result;
}

void WindowManager::ForgetWindow(Window& window)
{
    --window.Class().windowCount;
    m_windows.erase(reinterpret_cast<uintptr_t>(window.Handle()));
}

LRESULT WindowManager::Send(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<Window> hold = Hold(window.Handle());
    WNDPROC proc = window.proc;
    if (proc == nullptr)
        return 0;
    return proc(window.Handle(), message, wParam, lParam);
}

uint64_t WindowManager::NowMs()
{
    return CurrentClock().MonotonicMs();
}

UiDriver& WindowManager::Driver()
{
    return m_driver != nullptr ? *m_driver : *m_realTimeDriver;
}

void WindowManager::Wake()
{
    Driver().Wake();
}

Window* WindowFromHandle(HWND handle)
{
    return WindowManager::Get().Lookup(handle);
}

} // namespace platform::ui
