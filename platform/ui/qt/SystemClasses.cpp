#include "platform/ui/qt/SystemClasses.h"

#include "platform/ui/WinGdi.h"
#include "platform/ui/qt/ButtonControl.h"
#include "platform/ui/qt/ComboControl.h"
#include "platform/ui/qt/DatePickerControl.h"
#include "platform/ui/qt/EditControl.h"
#include "platform/ui/qt/ListBoxControl.h"
#include "platform/ui/qt/ListViewControl.h"
#include "platform/ui/qt/TabControl.h"
#include "platform/ui/qt/UpDownControl.h"
#include "platform/ui/qt/GdiObject.h"
#include "platform/ui/qt/StaticControl.h"
#include "platform/ui/qt/WindowClass.h"

namespace platform::ui {

namespace {

void Register(WindowClassTable& classes, LPCWSTR name, WNDPROC proc, WidgetFactory factory, HBRUSH background)
{
    WNDCLASSW wc {};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    wc.cbWndExtra = 0;
    classes.Register(wc, true, factory);
}

} // namespace

void RegisterSystemClasses(WindowClassTable& classes)
{
    // Dialogs of this platform have a white face.
    Register(classes, L"#32770", DefDlgProcW, nullptr, StockObject(WHITE_BRUSH));
    Register(classes, L"BUTTON", ButtonProc, MakeButtonWidget, nullptr);
    Register(classes, L"STATIC", StaticProc, MakeStaticWidget, nullptr);
    Register(classes, L"EDIT", EditProc, MakeEditWidget, nullptr);
    Register(classes, L"COMBOBOX", ComboProc, MakeComboWidget, nullptr);
    Register(classes, L"LISTBOX", ListBoxProc, MakeListBoxWidget, nullptr);
    Register(classes, L"SysListView32", ListViewProc, MakeListViewWidget, nullptr);
    Register(classes, L"SysTabControl32", TabProc, MakeTabWidget, nullptr);
    Register(classes, L"msctls_updown32", UpDownProc, MakeUpDownWidget, nullptr);
    Register(classes, L"SysDateTimePick32", DatePickerProc, MakeDatePickerWidget, nullptr);
}

} // namespace platform::ui
