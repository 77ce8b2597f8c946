#include "platform/ui/controls/SystemClasses.h"

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ButtonControl.h"
#include "platform/ui/controls/ComboControl.h"
#include "platform/ui/controls/DatePickerControl.h"
#include "platform/ui/controls/EditControl.h"
#include "platform/ui/controls/ListBoxControl.h"
#include "platform/ui/controls/ListViewControl.h"
#include "platform/ui/controls/TabControl.h"
#include "platform/ui/controls/UpDownControl.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/controls/StaticControl.h"
#include "platform/ui/wm/WindowClass.h"

namespace platform::ui {

namespace {

void Register(WindowClassTable& classes, LPCWSTR name, WNDPROC proc, PeerKind peerKind, HBRUSH background,
    UserActionHook userActions = nullptr)
{
    WNDCLASSW wc {};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    wc.cbWndExtra = 0;
    if (WindowClass* registered = classes.Register(wc, true, peerKind))
        registered->userActions = userActions;
}

} // namespace

void RegisterSystemClasses(WindowClassTable& classes)
{
    // Dialogs of this platform have a white face.
    Register(classes, L"#32770", DefDlgProcW, PeerKind::Plain, StockObject(WHITE_BRUSH));
    Register(classes, L"BUTTON", ButtonProc, PeerKind::Button, nullptr);
    Register(classes, L"STATIC", StaticProc, PeerKind::Static, nullptr);
    Register(classes, L"EDIT", EditProc, PeerKind::Edit, nullptr, EditUserAction);
    Register(classes, L"COMBOBOX", ComboProc, PeerKind::ComboBox, nullptr, ComboUserAction);
    Register(classes, L"LISTBOX", ListBoxProc, PeerKind::ListBox, nullptr, ListBoxUserAction);
    Register(classes, L"SysListView32", ListViewProc, PeerKind::ListView, nullptr, ListViewUserAction);
    Register(classes, L"SysTabControl32", TabProc, PeerKind::Tab, nullptr, TabUserAction);
    Register(classes, L"msctls_updown32", UpDownProc, PeerKind::UpDown, nullptr, UpDownUserAction);
    Register(classes, L"SysDateTimePick32", DatePickerProc, PeerKind::DatePicker, nullptr, DatePickerUserAction);
}

} // namespace platform::ui
