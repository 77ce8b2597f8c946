#include "host/shell/TodayShell.h"

#include "host/shell/DesktopSettings.h"
#include "host/shell/ItemObserver.h"
#include "platform/core/Process.h"
#include "platform/files/Files.h"
#include "platform/text/WideString.h"
#include "platform/ui/Display.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

// The shell's one instance, for the desktop window's procedure.
TodayShell* g_shell = nullptr;

// The item asks the shell to lay the Today screen out again.
constexpr WPARAM kRelayoutSetting = 0xF2;

int IconActivity(HWND window)
{
    UpdateWindow(window);
    for (const platform::PaintedIcon& icon : platform::LastPaint(window).icons)
        if (int activity = ItemObserver::ActivityOfIcon(icon.resourceId); activity != 0)
            return activity;
    return 0;
}

// The device's own programs, which its file system here does not hold.
constexpr const wchar_t* kDevicePrograms[] = { L"\\Windows\\ctlpnl.exe" };

bool ProgramExists(const std::wstring& image)
{
    for (const wchar_t* program : kDevicePrograms)
        if (EqualsNoCase(image, program))
            return true;
    DWORD attributes = GetFileAttributesW(image.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

TodayShell::~TodayShell()
{
    Stop();
}

std::vector<std::string> TodayShell::Start()
{
    g_shell = this;
    platform::InstallShellHost(this);
    // Programs are the device's, not this machine's: the shell says what would open.
    platform::InstallProcessStarter([this](const platform::ProcessStart& start) -> DWORD {
        std::string program = WideToUtf8(start.imageName);
        if (!ProgramExists(start.imageName)) {
            Event("cannot open " + program + ": no such program");
            return ERROR_FILE_NOT_FOUND;
        }
        if (m_desktopPrograms && IsNetworkAdapterApplet(start))
            return OpenNetworkSettings(program);
        Event("would open " + program + (start.commandLine.empty() ? "" : " " + WideToUtf8(start.commandLine)));
        return ERROR_SUCCESS;
    });
    HWND desktop = GetDesktopWindow();
    m_desktopProc = reinterpret_cast<WNDPROC>(SetWindowLongW(desktop, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&DesktopProc)));

    m_taskbar.Title().frontWindow = [this] { return FrontWindow(); };
    m_taskbar.Tray().onNotificationTap = [this](const platform::ShellNotification& notification) {
        m_bubble.Show(notification);
    };
    m_menu.onLeftKey = [this] { OpenItemOptions(); };
    m_menu.onRightKey = [this] { Rotate(); };
    m_taskbar.Create();
    m_today.Create();
    m_menu.Create();
    m_started = true;
    return m_today.LoadItems();
}

void TodayShell::Stop()
{
    if (!m_started)
        return;
    m_started = false;
    m_today.UnloadItems();
    platform::InstallShellHost(nullptr);
    platform::InstallProcessStarter(nullptr);
    HWND desktop = GetDesktopWindow();
    if (m_desktopProc != nullptr)
        SetWindowLongW(desktop, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_desktopProc));
    m_desktopProc = nullptr;
    if (g_shell == this)
        g_shell = nullptr;
}

DWORD TodayShell::OpenNetworkSettings(const std::string& program)
{
    std::vector<std::string> command = NetworkSettingsCommand(FindInPath);
    if (command.empty()) {
        Event("cannot open " + program + ": no network settings program is installed");
        return ERROR_FILE_NOT_FOUND;
    }
    std::string line;
    for (const std::string& arg : command)
        line += (line.empty() ? "" : " ") + arg;
    DWORD result = StartDetached(command);
    Event((result == ERROR_SUCCESS ? "opened " : "cannot open ") + line);
    return result;
}

PluginItem* TodayShell::Item()
{
    auto& items = m_today.Items();
    return items.empty() ? nullptr : items.front().get();
}

INT_PTR TodayShell::OpenItemOptions()
{
    PluginItem* item = Item();
    if (item == nullptr || m_optionsOpen)
        return -1;
    m_optionsOpen = true;
    INT_PTR result = item->OpenOptions(m_today.Window());
    m_optionsOpen = false;
    m_taskbar.Title().Update();
    return result;
}

void TodayShell::Rotate()
{
    // Every top-level window hears of the new screen and lays itself out again: the shell's
    // own windows and an open dialog alike.
    platform::RotateScreen();
    const platform::DeviceProfile& device = platform::CurrentDevice();
    Event("screen turned to " + std::to_string(device.screenWidth) + " x " + std::to_string(device.screenHeight));
}

bool TodayShell::IsShellWindow(HWND window) const
{
    return window == m_taskbar.Window() || window == m_today.Window() || window == m_menu.Window()
        || window == m_bubble.Window();
}

HWND TodayShell::FrontWindow() const
{
    // Top-level windows come front to back; the first one shown that is not the shell's own.
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!IsWindowVisible(window) || IsShellWindow(window))
            continue;
        WCHAR className[32] = {};
        GetClassNameW(window, className, 32);
        // Menu bars belong to the window above them.
        if (std::wstring_view(className) == L"menu_worker")
            continue;
        return window;
    }
    return nullptr;
}

TaskbarView TodayShell::TaskbarNow()
{
    TaskbarView view;
    PluginItem* item = Item();
    HWND itemWindow = item != nullptr ? item->Window() : nullptr;
    HWND title = m_taskbar.Title().Window();
    for (HWND child = GetWindow(title, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT placed {};
        GetWindowRect(child, &placed);
        POINT origin { placed.left, placed.top };
        ScreenToClient(title, &origin);
        view.topBarIcon = true;
        view.topBarPlace = origin;
        view.topBarActivity = IconActivity(child);
        break;
    }
    const std::vector<platform::NotifyIconRecord>& icons = m_taskbar.Tray().Icons();
    for (size_t slot = 0; slot < icons.size(); ++slot) {
        if (icons[slot].window != itemWindow)
            continue;
        view.notifyIcon = true;
        UpdateWindow(m_taskbar.Tray().Window());
        RECT place = m_taskbar.Tray().SlotRect(slot);
        for (const platform::PaintedIcon& painted : platform::LastPaint(m_taskbar.Tray().Window()).icons)
            if (painted.x >= place.left && painted.x < place.right)
                view.notifyActivity = ItemObserver::ActivityOfIcon(painted.resourceId);
    }
    return view;
}

void TodayShell::UpdateTray()
{
    std::vector<platform::ShellNotification> notifications;
    for (const platform::ShellNotification& notification : platform::ShellNotifications())
        if (notification.icon != nullptr)
            notifications.push_back(notification);
    int before = m_taskbar.Tray().Width();
    m_taskbar.Tray().Update(platform::NotifyIcons(), std::move(notifications));
    if (m_taskbar.Tray().Width() != before)
        m_taskbar.Layout();
}

void TodayShell::Event(const std::string& line)
{
    // One event, one line.
    std::string flat;
    for (char ch : line)
        flat += ch == '\n' ? std::string("\\n") : std::string(1, ch);
    if (onEvent)
        onEvent(flat);
}

void TodayShell::NotifyIconChanged(DWORD, const platform::NotifyIconRecord&)
{
    UpdateTray();
}

void TodayShell::NotificationAdded(const platform::ShellNotification& notification)
{
    UpdateTray();
    m_bubble.Added(notification);
    Event("bubble \"" + WideToUtf8(notification.title) + "\" for " + std::to_string(notification.durationSeconds)
        + " s: " + WideToUtf8(notification.html));
}

void TodayShell::NotificationRemoved(const platform::ShellNotification& notification)
{
    UpdateTray();
    m_bubble.Removed(notification);
    Event("bubble \"" + WideToUtf8(notification.title) + "\" closed");
}

LRESULT TodayShell::DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TodayShell* self = g_shell;
    if (self == nullptr || self->m_desktopProc == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_SETTINGCHANGE && wParam == kRelayoutSetting) {
        // Asked from inside an item's paint: the layout follows once that paint is over.
        PostMessageW(self->m_today.Window(), TodayWindow::kRelayoutMessage, 0, 0);
        return 0;
    }
    return CallWindowProcW(self->m_desktopProc, window, message, wParam, lParam);
}

} // namespace host
