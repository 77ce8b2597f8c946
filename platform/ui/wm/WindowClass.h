// A registered window class and the table of classes. Classes are found by name without
// regard to case: first one registered by the creating module, then the system's classes
// (the controls, the HTML viewer), then global ones.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"

namespace platform::ui {

class Window;
enum class PeerKind;

struct WindowClass {
    std::wstring name;
    HINSTANCE instance = nullptr; // null for system classes
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtraBytes = 0;
    int windowExtraBytes = 0;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
    bool system = false;
    // How its windows appear on the screen: a system control class's real control, or the
    // surface its window paints.
    PeerKind peerKind {};
    // What a user's action does to a control of this class; none for other classes.
    UserActionHook userActions = nullptr;
    int windowCount = 0;
};

class WindowClassTable {
public:
    // Null (last error ERROR_CLASS_ALREADY_EXISTS) when the module already has that class.
    WindowClass* Register(const WNDCLASSW& wndClass, bool system, PeerKind peerKind);
    // ERROR_CLASS_DOES_NOT_EXIST, ERROR_CLASS_HAS_WINDOWS.
    bool Unregister(std::wstring_view name, HINSTANCE instance);
    WindowClass* Find(std::wstring_view name, HINSTANCE instance);
    WindowClass* FindByAtom(ATOM atom);

private:
    std::vector<std::unique_ptr<WindowClass>> m_classes;
    ATOM m_nextAtom = 0xC000;
};

} // namespace platform::ui
