#include "platform/ui/controls/HtmlViewerControl.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "platform/text/WideString.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/controls/HtmlSource.h"
#include "platform/ui/wm/WindowClass.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// Shows what has arrived so far; posted to itself, so that a run of DTM_ADDTEXTW is laid out
// once.
constexpr UINT kShowPage = WM_USER + 300;

void ShowNow(Window& window)
{
    HtmlViewerData& data = DataOf<HtmlViewerData>(window);
    data.showPending = false;
    data.page = PageForQt(data.source);
    if (window.peer != nullptr)
        window.peer->SyncState();
}

void Append(Window& window, std::wstring text, bool plain)
{
    HtmlViewerData& data = DataOf<HtmlViewerData>(window);
    data.source += plain ? PlainTextAsHtml(text) : text;
    if (!data.showPending) {
        data.showPending = true;
        PostMessageW(window.Handle(), kShowPage, 0, 0);
    }
}

} // namespace

LOGFONTW HtmlViewerFont(int zoom)
{
    static const int points[] = { 7, 8, 9, 11, 13 };
    LOGFONTW logFont = SystemLogFont();
    logFont.lfHeight = -((points[std::clamp(zoom, 0, 4)] * CurrentDevice().dpi + 36) / 72);
    return logFont;
}

void HtmlViewerUserClick(Window& window, int button)
{
    HtmlViewerData& data = DataOf<HtmlViewerData>(window);
    if (button < 0 || button >= static_cast<int>(data.page.buttons.size()))
        return;
    int command = data.page.buttons[static_cast<size_t>(button)].command;
    if (command < 0 || window.parent == nullptr || window.IsTopLevel())
        return;
    SendMessageW(window.parent->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
        reinterpret_cast<LPARAM>(window.Handle()));
}

int HtmlViewerButtonFor(Window& window, int command)
{
    HtmlViewerData& data = DataOf<HtmlViewerData>(window);
    if (data.showPending)
        ShowNow(window);
    for (size_t i = 0; i < data.page.buttons.size(); ++i) {
        if (data.page.buttons[i].command == command)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring HtmlViewerSource(Window& window)
{
    return DataOf<HtmlViewerData>(window).source;
}

std::wstring HtmlViewerText(Window& window)
{
    HtmlViewerData& data = DataOf<HtmlViewerData>(window);
    if (data.showPending)
        ShowNow(window);
    return window.peer != nullptr ? window.peer->ShownText() : std::wstring();
}

LRESULT HtmlViewerProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    HtmlViewerData& data = DataOf<HtmlViewerData>(*window);
    switch (message) {
    case WM_CREATE:
        data.scripting = (window->style & HS_NOSCRIPTING) == 0;
        data.clearType = (window->style & HS_CLEARTYPE) != 0;
        return 0;
    case DTM_ADDTEXTW:
        if (lParam != 0)
            Append(*window, reinterpret_cast<LPCWSTR>(lParam), wParam != 0);
        return 0;
    case DTM_ADDTEXT:
        if (lParam != 0)
            Append(*window, WidenBytes(reinterpret_cast<const char*>(lParam)), wParam != 0);
        return 0;
    case kShowPage:
        if (data.showPending)
            ShowNow(*window);
        return 0;
    case DTM_ENDOFSOURCE:
        data.ended = true;
        ShowNow(*window);
        return 0;
    case DTM_CLEAR:
        data.source.clear();
        data.ended = false;
        ShowNow(*window);
        return 0;
    case DTM_ZOOMLEVEL:
        data.zoom = std::clamp(static_cast<int>(lParam), 0, 4);
        ShowNow(*window);
        return 0;
    case DTM_ENABLESCRIPTING:
        // Pages here never run scripts; the setting is kept for what asks.
        data.scripting = lParam != 0;
        return 0;
    case DTM_ENABLECLEARTYPE:
        data.clearType = lParam != 0;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool HtmlViewerUserAction(Window& window, const UserAction& action)
{
    int button = action.kind == UserActionKind::ClickCommand ? HtmlViewerButtonFor(window, action.index) : -1;
    if (button < 0)
        return false;
    HtmlViewerUserClick(window, button);
    return true;
}

} // namespace platform::ui

BOOL InitHTMLControl(HINSTANCE)
{
    using namespace platform::ui;
    WindowClassTable& classes = WindowManager::Get().Classes();
    if (classes.Find(WC_HTML, nullptr) != nullptr)
        return TRUE;
    WNDCLASSW wc {};
    wc.lpfnWndProc = HtmlViewerProc;
    wc.lpszClassName = WC_HTML;
    WindowClass* registered = classes.Register(wc, true, PeerKind::HtmlViewer);
    if (registered == nullptr)
        return FALSE;
    registered->userActions = HtmlViewerUserAction;
    return TRUE;
}
