// Dialog templates of the usage report page, the export and the usage settings dialogs.
#include "resources/ModuleResources.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

namespace {

using namespace templates;

// ---- The usage report page (511) ----
// The five buttons draw their bitmaps; their letters are never shown. The viewer and the chart
// below the row are made at run time.
constexpr DWORD kBitmapButton = kVisible | BS_OWNERDRAW | WS_TABSTOP;

const DLGITEMTEMPLATE kUsagePageItems[] = {
    { kBitmapButton, 0, 2, 2, 12, 12, IDC_USAGE_MODE, L"BUTTON", L"D" },
    { kVisible | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, 17, 2, 52, 12, IDC_USAGE_DATE, L"SysDateTimePick32",
        L"DateTimePicker1" },
    { kBitmapButton, 0, 72, 2, 12, 12, IDC_USAGE_TABLE, L"BUTTON", L"T" },
    { kBitmapButton, 0, 86, 2, 12, 12, IDC_USAGE_CHART, L"BUTTON", L"G" },
    { kBitmapButton, 0, 100, 2, 12, 12, IDC_USAGE_EXPORT, L"BUTTON", L"E" },
    { kBitmapButton, 0, 114, 2, 12, 12, IDC_USAGE_SETTINGS, L"BUTTON", L"C" },
    { WS_DISABLED, 0, 0, 0, 0, 0, kNoId, L"SIPPREF", L"" },
};
const DLGTEMPLATE kUsagePageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kUsagePageItems)), 0, 0, 130, 135,
    L"", 8, L"System", kUsagePageItems };

// ---- End of the usage report page ----

} // namespace

void AddUsageTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_USAGE_PAGE, &kUsagePageTemplate, sizeof kUsagePageTemplate);
}
