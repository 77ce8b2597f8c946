// Message boxes: a platform dialog laid out for its text, shown modally on the device's
// screen with the caption in a title strip, the icon, the text and the buttons.

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/DialogRunner.h"
#include "platform/ui/controls/MessageBoxRequest.h"
#include "platform/ui/controls/PlatformDialogLook.h"
#include "platform/ui/gdi/ResourceData.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

const wchar_t* ButtonLabel(int id)
{
    switch (id) {
    case IDOK:
        return L"OK";
    case IDCANCEL:
        return L"Cancel";
    case IDABORT:
        return L"Abort";
    case IDRETRY:
        return L"Retry";
    case IDIGNORE:
        return L"Ignore";
    case IDYES:
        return L"Yes";
    default:
        return L"No";
    }
}

HICON IconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
    case MB_ICONQUESTION:
    case MB_ICONEXCLAMATION:
    case MB_ICONASTERISK:
        return RegisterIcon(Icon { Renderer().StandardIcon(type & MB_ICONMASK, ScaledPixels(32)), 0 });
    default:
        return nullptr;
    }
}

// Lays the box out for its text: the width of the screen less a margin, as high as the text.
void Build(HWND box, MessageBoxRequest& request)
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int margin = ScaledPixels(8);
    int width = device.screenWidth - 2 * margin;
    HDC dc = GetDC(box);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    int caption = TitleStripHeight();
    int iconSize = request.icon != nullptr ? ScaledPixels(32) : 0;
    int textLeft = margin + (iconSize > 0 ? iconSize + margin : 0);
    RECT text { 0, 0, width - 2 - textLeft - margin, 0 };
    DrawTextW(dc, request.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    int buttonHeight = metrics.tmHeight + ScaledPixels(10);
    std::vector<int> buttonWidths;
    int row = 0;
    for (int id : request.buttons) {
        SIZE size {};
        const wchar_t* label = ButtonLabel(id);
        GetTextExtentPoint32W(dc, label, static_cast<int>(wcslen(label)), &size);
        buttonWidths.push_back(std::max(ScaledPixels(56), size.cx + ScaledPixels(16)));
        row += buttonWidths.back();
    }
    row += ScaledPixels(8) * (static_cast<int>(request.buttons.size()) - 1);
    SelectObject(dc, oldFont);
    ReleaseDC(box, dc);

    int contentTop = caption + margin;
    int content = std::max(iconSize, static_cast<int>(text.bottom));
    AddDialogControl(box, L"STATIC", request.text.c_str(), SS_LEFT,
        RECT { textLeft, contentTop, width - 2 - margin, contentTop + text.bottom + metrics.tmHeight }, 0xFFFF);
    int buttonTop = contentTop + content + ScaledPixels(12);
    int x = (width - 2 - row) / 2;
    int defaultIndex = static_cast<int>((request.type & MB_DEFMASK) >> 8);
    if (defaultIndex >= static_cast<int>(request.buttons.size()))
        defaultIndex = 0;
    for (size_t i = 0; i < request.buttons.size(); ++i) {
        bool isDefault = static_cast<int>(i) == defaultIndex;
        HWND button = AddDialogControl(box, L"BUTTON", ButtonLabel(request.buttons[i]),
            (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP,
            RECT { x, buttonTop, x + buttonWidths[i], buttonTop + buttonHeight }, request.buttons[i]);
        if (isDefault)
            SetFocus(button);
        x += buttonWidths[i] + ScaledPixels(8);
    }
    int height = buttonTop + buttonHeight + margin + 2;
    SetWindowPos(box, nullptr, margin, (device.screenHeight - height) / 2, width, height, SWP_NOZORDER);
}

void Paint(HWND box, const MessageBoxRequest& request)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT client;
    GetClientRect(box, &client);
    PaintTitleStrip(dc, client.right, request.caption);
    if (request.icon != nullptr)
        DrawIconEx(dc, ScaledPixels(8), TitleStripHeight() + ScaledPixels(8), request.icon, 0, 0, 0, nullptr, DI_NORMAL);
    EndPaint(box, &ps);
}

INT_PTR MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* request = reinterpret_cast<MessageBoxRequest*>(GetWindowLongW(box, DWL_USER));
    switch (message) {
    case WM_INITDIALOG:
        request = reinterpret_cast<MessageBoxRequest*>(lParam);
        SetWindowLongW(box, DWL_USER, lParam);
        Build(box, *request);
        return FALSE; // the default button has the focus
    case WM_PAINT:
        if (request == nullptr)
            return FALSE;
        Paint(box, *request);
        return TRUE;
    case WM_COMMAND: {
        if (request == nullptr)
            return FALSE;
        int id = LOWORD(wParam);
        if (std::find(request->buttons.begin(), request->buttons.end(), id) != request->buttons.end())
            EndDialog(box, id);
        else if (id == IDCANCEL && request->closeAnswer != 0)
            EndDialog(box, request->closeAnswer);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

namespace platform::ui {

std::vector<int> MessageBoxButtons(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE:
        return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL:
        return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO:
        return { IDYES, IDNO };
    case MB_RETRYCANCEL:
        return { IDRETRY, IDCANCEL };
    default:
        return { IDOK };
    }
}

int MessageBoxCloseAnswer(UINT type)
{
    std::vector<int> buttons = MessageBoxButtons(type);
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end())
        return IDCANCEL;
    return buttons.size() == 1 ? IDOK : 0;
}

} // namespace platform::ui

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    auto& manager = WindowManager::Get();
    if (owner != nullptr && manager.Lookup(owner) == nullptr)
        return 0;
    MessageBoxRequest request;
    request.owner = owner;
    request.text = text != nullptr ? text : L"";
    request.caption = caption != nullptr ? caption : L"Error";
    request.type = type;
    request.buttons = MessageBoxButtons(type);
    request.closeAnswer = MessageBoxCloseAnswer(type);
    request.icon = IconFor(type);
    // Sized and placed once the text is measured; the template only gives the font and frame.
    DLGTEMPLATE box {};
    box.style = WS_POPUP | WS_BORDER | DS_SETFONT | DS_MODALFRAME;
    box.cx = 100;
    box.cy = 40;
    box.title = request.caption.c_str();
    box.pointSize = 8;
    box.typeface = L"DejaVu Sans";
    INT_PTR result = RunModalDialog(nullptr, &box, owner, MessageBoxProc, reinterpret_cast<LPARAM>(&request),
        DialogKind::MessageBox, &request);
    if (request.icon != nullptr)
        DestroyIcon(request.icon);
    return result > 0 ? static_cast<int>(result) : 0;
}
