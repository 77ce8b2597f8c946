// The Today screen's menu bar along the bottom of the screen, with its two soft keys: the left
// one opens the Velmora item's options the way the shell's Today settings open them, the right
// one turns the screen.
#pragma once

#include <functional>

#include "platform/ui/WinDef.h"

namespace host {

class MenuBar {
public:
    MenuBar() = default;
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    HWND Create();
    HWND Window() const { return m_window; }
    // After the screen's size changed.
    void Layout();

    std::function<void()> onLeftKey;
    std::function<void()> onRightKey;

    static constexpr const wchar_t* kLeftKey = L"Options";
    static constexpr const wchar_t* kRightKey = L"Rotate";

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND m_window = nullptr;
};

} // namespace host
