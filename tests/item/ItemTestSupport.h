// Helpers for the item's tests: a log of the item's paints, and of settings-change messages
// that reach the desktop window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Observe.h"
#include "platform/ui/WinUser.h"

namespace item_test {

// Every completed paint of a window, with the clock's tick count, while the object lives.
class PaintLog {
public:
    explicit PaintLog(HWND window);
    ~PaintLog();
    PaintLog(const PaintLog&) = delete;
    PaintLog& operator=(const PaintLog&) = delete;

    struct Entry {
        DWORD tick;
        platform::PaintRecord paint;
    };
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }
    // The texts of every paint since the last Clear, in order.
    std::vector<std::wstring> Texts() const;

private:
    static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    WNDPROC m_original;
    std::vector<Entry> m_entries;
};

// The wParam of each WM_SETTINGCHANGE the desktop window receives while the object lives.
class DesktopSettingLog {
public:
    DesktopSettingLog();
    ~DesktopSettingLog();
    DesktopSettingLog(const DesktopSettingLog&) = delete;
    DesktopSettingLog& operator=(const DesktopSettingLog&) = delete;

    const std::vector<WPARAM>& Changes() const { return m_changes; }

private:
    static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_original;
    std::vector<WPARAM> m_changes;
};

bool HasIcon(const platform::PaintRecord& paint, int resourceId);
// A copy, so that it may be taken from a paint record that is gone after the call.
std::optional<platform::PaintedIcon> FindIcon(const platform::PaintRecord& paint, int resourceId);

} // namespace item_test
