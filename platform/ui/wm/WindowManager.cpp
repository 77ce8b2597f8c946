#include "platform/ui/wm/WindowManager.h"

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/time/Clock.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/SystemClasses.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

namespace {

WindowManager* g_manager = nullptr;

} // namespace

WindowManager& WindowManager::Get()
{
    // Deliberately never destroyed, like the backend it depends on. Made in two steps so that
    // the peers made while starting can already reach it.
    if (g_manager == nullptr) {
        g_manager = new WindowManager();
        g_manager->Start();
    }
    return *g_manager;
}

WindowManager::WindowManager()
{
    Renderer();
}

void WindowManager::Start()
{
    WNDCLASSW desktopClass {};
    desktopClass.lpfnWndProc = DefWindowProcW;
    desktopClass.lpszClassName = L"#32769";
    WindowClass* windowClass = m_classes.Register(desktopClass, true, PeerKind::Screen);
    auto desktop = std::make_shared<Window>(reinterpret_cast<HWND>(m_nextHandle), *windowClass);
    m_nextHandle += 4;
    m_desktop = desktop.get();
    m_windows.emplace(reinterpret_cast<uintptr_t>(desktop->Handle()), desktop);
    const DeviceProfile& device = CurrentDevice();
    m_desktop->SetRect(RECT { 0, 0, device.screenWidth, device.screenHeight });
    m_desktop->style = WS_VISIBLE;
    m_desktop->text = L"Desktop";
    m_desktop->proc = windowClass->proc;

    // The device's screen on the host: every top-level window's peer lies on it.
    m_desktop->peer = Renderer().MakePeer(*m_desktop, PeerKind::Screen);

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
    Renderer().ResizeScreen(device.screenWidth, device.screenHeight);
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

bool WindowManager::CloseScreen()
{
    return Renderer().CloseScreen();
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
    return m_driver != nullptr ? *m_driver : Renderer().RealTimeDriver();
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
