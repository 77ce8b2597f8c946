// Dialog templates of the data rate monitor.
#include "resources/ModuleResources.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

namespace {

using namespace templates;

// The chart itself is no control: the dialog paints it between the title and the rates, from
// 20 to 120 pixels at 96 dpi. Dialog units grow a little less than the pixels on the 192-dpi
// screen, so the rates start 78 units down to stay clear of the chart there too; the dialog is
// 100 units high to give the buttons room below them.
const DLGITEMTEMPLATE kRateMonitorItems[] = {
    { kVisible | SS_CENTER, 0, 2, 2, 101, 8, IDC_RATE_TITLE, L"STATIC", L"Монитор" },
    { kVisible | SS_CENTER, 0, 2, 78, 101, 8, IDC_RATE_TEXT, L"STATIC", L"UL: 0.0 kbps   DL: 0.0 kbps" },
    { kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 63, 88, 36, 10, IDOK, L"BUTTON", L"OK" },
    { kButton, 0, 6, 88, 20, 10, IDC_RATE_LARGER, L"BUTTON", L"+" },
    { kButton, 0, 30, 88, 20, 10, IDC_RATE_SMALLER, L"BUTTON", L"-" },
};
const DLGTEMPLATE kRateMonitorTemplate = { WS_POPUP | WS_BORDER | DS_CENTER | DS_SETFONT, WS_EX_CLIENTEDGE,
    static_cast<WORD>(std::size(kRateMonitorItems)), 0, 0, 105, 100, L"", 8, L"System", kRateMonitorItems };

} // namespace

void AddRateMonitorTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_RATE_MONITOR, &kRateMonitorTemplate, sizeof kRateMonitorTemplate);
}
