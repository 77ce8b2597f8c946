// What shows the windows and draws: the rendering backend. The window manager, the controls
// and the drawing calls are the platform's own and keep their state here, in the core; the
// backend gives each window its peer on the screen (a real control for the system's control
// classes), rasterises the drawing calls into the core's images, measures text, and runs the
// real-time event loop. It is a library of its own, loaded on first need: a program that never
// makes a window or draws never loads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/Image.h"

namespace platform::ui {

class Window;
class UiDriver;

// How one window shows on the screen. The window manager tells it what changed; the peer reads
// the window's state back from the window manager, so that it never holds a second copy.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    virtual void SyncGeometry() = 0;
    virtual void SyncVisible() = 0;
    virtual void SyncEnabled() = 0;
    virtual void SyncText() = 0;
    virtual void SyncFont() = 0;
    // The window took the platform's focus: give the real control the keyboard.
    virtual void SyncFocus() = 0;
    // A control's own state changed: its check, items, selection, value or page.
    virtual void SyncState() = 0;
    // Hidden at once, whatever the window's style says (a window being destroyed).
    virtual void Hide() = 0;
    // Z-order among the siblings.
    virtual void Raise() = 0;
    virtual void Lower() = 0;
    // Part of the window's surface changed (client coordinates): show it.
    virtual void SurfaceChanged(const RECT& clientRect) = 0;
    // The window as the screen shows it: frame, surface or control, and its children.
    virtual Image Grab() = 0;
    // The window is gone. The peer hides at once and goes when no handler of the backend runs
    // on it any more; the window manager forgets it after this call.
    virtual void Release() = 0;

    // What only the shown control knows: the rectangle of a tab (client coordinates), the text
    // an HTML viewer shows; and scrolling a list view's item into view.
    virtual std::optional<RECT> ItemRect(int index) { (void)index; return std::nullopt; }
    virtual std::wstring ShownText() { return {}; }
    virtual void ScrollTo(int index) { (void)index; }
};

// The kinds of peers: a plain window shows the surface its window paints; the system's
// control classes show real controls.
enum class PeerKind {
    Plain,
    Screen, // the desktop window: the device's screen on the host
    Button,
    Static,
    Edit,
    ComboBox,
    ListBox,
    ListView,
    Tab,
    UpDown,
    DatePicker,
    HtmlViewer,
};

// A pen that draws: PS_SOLID or PS_DASH, at least one pixel wide.
struct PenSpec {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

// The backgrounds of DrawTextW.
struct TextColors {
    COLORREF text = 0;
    COLORREF background = 0;
    bool opaque = false;
};

class RenderBackend {
public:
    virtual ~RenderBackend() = default;

    // Windows. The screen peer is the desktop's: the device's screen on the host.
    virtual WindowPeer* MakePeer(Window& window, PeerKind kind) = 0;
    virtual void ResizeScreen(int width, int height) = 0;
    // The host's user closes the screen's window: true when it closed.
    virtual bool CloseScreen() = 0;

    // The real-time driver: the backend's event loop runs the user-interface thread.
    virtual UiDriver& RealTimeDriver() = 0;
    // Peers released since are deleted now (the virtual driver calls it between messages).
    virtual void DeleteReleasedPeers() = 0;
    virtual bool ShowsBusyCursor() = 0;

    // Drawing into an image, never outside the clip (target coordinates, inside the image,
    // not empty).
    // Outline with the pen (none: no outline, and the fill one pixel smaller), filled with the
    // colour when there is one.
    virtual void DrawRectangle(Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen,
        std::optional<COLORREF> fill)
        = 0;
    virtual void DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen) = 0;
    // The source scaled into the rectangle; blended by its alpha, or opaque.
    virtual void DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend) = 0;

    // Text by DrawTextW's rules (prefixes, breaks, alignment). Draws into the target unless it
    // is null or the format has DT_CALCRECT (which sets the rectangle's right and bottom
    // instead); returns what DrawTextW returns.
    virtual int DrawText(Image* target, const RECT& clip, const LOGFONTW& font, std::wstring_view text, RECT& rect,
        UINT format, const TextColors& colors)
        = 0;
    virtual TEXTMETRICW TextMetrics(const LOGFONTW& font) = 0;
    // Width and height of the text; the extent after each character into dx when given.
    virtual SIZE TextExtent(const LOGFONTW& font, std::wstring_view text, int* dx) = 0;

    // Images.
    virtual Image Convert(const Image& image, PixelFormat format) = 0;
    virtual Image Scale(const Image& image, int width, int height, bool smooth) = 0;
    virtual bool SavePng(const Image& image, const std::string& path) = 0;
    // The standard icon of a message box type (MB_ICONHAND ...), premultiplied.
    virtual Image StandardIcon(UINT iconType, int size) = 0;
};

// The backend, loaded on first call. A program that cannot load it cannot show or draw
// anything: it stops with a message that says why.
RenderBackend& Renderer();
// The backend when it is loaded, else null.
RenderBackend* LoadedRenderer();
// Loads the backend now; false with the reason when it cannot be loaded.
bool LoadRenderer(std::string& error);
// Loads the backend of a device without a screen instead (no Qt, no display: the windows are
// shown nowhere, drawing goes into their surfaces). Where that one cannot start (no DejaVu Sans
// files where it looks) the Qt backend stands in, and the debug output says why; false with the
// reason when neither loads.
bool LoadScreenlessRenderer(std::string& error);

} // namespace platform::ui

// The one entry of the backend's library.
extern "C" platform::ui::RenderBackend* VelmoraCreateRenderBackend(bool realDisplay);
