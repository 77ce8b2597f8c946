// One window of the window manager: its class, procedure, styles, text, place in the tree,
// geometry, update region and the surface that it paints. The rendering backend's peer shows
// it on the screen, of the kind its class asks for.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Observe.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/Image.h"

namespace platform::ui {

struct WindowClass;
class WindowPeer;
struct DialogState;

// The data a control class keeps beside its window (the items of a list, an edit's selection).
struct ControlData {
    virtual ~ControlData() = default;
};

class Window {
public:
    Window(HWND handle, WindowClass& windowClass);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return m_handle; }
    WindowClass& Class() const { return *m_class; }

    // The frame between the window rectangle and the client area, from the styles.
    RECT FrameInsets() const;
    // Window rectangle in the parent's client coordinates (screen for top-level windows).
    const RECT& Rect() const { return m_rect; }
    void SetRect(const RECT& rect) { m_rect = rect; }
    int ClientWidth() const;
    int ClientHeight() const;
    // Screen position of the client area's top-left corner.
    POINT ClientOriginOnScreen() const;
    RECT WindowRectOnScreen() const;

    bool IsTopLevel() const;
    // Visible itself and every ancestor up to the desktop.
    bool IsShowing() const;

    // The surface the window draws on, client-sized; kept across paints.
    Image& Surface();
    void ResizeSurface();

    // Window data.
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    std::map<int, LONG_PTR> extraData;
    HFONT font = nullptr;

    // Button state: BST_CHECKED and the pushed look.
    UINT check = BST_UNCHECKED;
    bool pressed = false;

    // Tree. Children are in the platform's z-order: the first is on top, and creation order is
    // the order of GW_CHILD / GW_HWNDNEXT (a dialog's tab order).
    Window* parent = nullptr;
    Window* owner = nullptr;
    std::vector<Window*> children;

    // Painting.
    RECT update {}; // bounding rectangle of the update region, client coordinates; empty if none
    bool eraseNeeded = false;
    bool painting = false;
    bool paintedSinceDispatch = false;
    std::optional<PaintRecord> currentPaint;
    PaintRecord lastPaint;

    bool destroying = false;
    bool destroyed = false;

    std::unique_ptr<DialogState> dialog;
    // The data of a system control (items, selection, ...).
    std::unique_ptr<ControlData> control;
    // Owned by the backend; released when the window is destroyed.
    WindowPeer* peer = nullptr;

private:
    HWND m_handle;
    WindowClass* m_class;
    RECT m_rect {};
    Image m_surface;
};

} // namespace platform::ui
