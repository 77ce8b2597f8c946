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

// The export: the range in a frame, the file below it with a button for the save file dialog.
// Full screen, so the title bar's OK button stands beside the dialog's own.
const DLGITEMTEMPLATE kUsageExportItems[] = {
    { kVisible | BS_GROUPBOX, 0, 4, 4, 130, 62, kNoId, L"BUTTON", L"Экспорт статистики за период:" },
    { kVisible | SS_LEFT, 0, 10, 18, 50, 8, kNoId, L"STATIC", L"Дата начала:" },
    { kVisible | WS_TABSTOP, 0, 62, 16, 66, 12, IDC_EXPORT_START, L"SysDateTimePick32", L"DateTimePicker1" },
    { kVisible | SS_LEFT, 0, 10, 34, 50, 8, kNoId, L"STATIC", L"Дата конца:" },
    { kVisible | WS_TABSTOP, 0, 62, 32, 66, 12, IDC_EXPORT_END, L"SysDateTimePick32", L"DateTimePicker2" },
    { kVisible | SS_LEFT, 0, 10, 50, 50, 8, kNoId, L"STATIC", L"Интервал: " },
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 62, 48, 66, 50, IDC_EXPORT_INTERVAL, L"COMBOBOX", L"" },
    { kVisible | SS_LEFT, 0, 4, 74, 130, 8, kNoId, L"STATIC", L"Путь и имя файла экспорта:" },
    { kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 4, 84, 110, 12, IDC_EXPORT_PATH, L"EDIT", L"" },
    { kButton, 0, 116, 84, 18, 12, IDC_EXPORT_BROWSE, L"BUTTON", L"..." },
    { kButton | BS_DEFPUSHBUTTON, 0, 22, 106, 42, 12, IDOK, L"BUTTON", L"OK" },
    { kButton, 0, 72, 106, 42, 12, IDCANCEL, L"BUTTON", L"Отмена" },
};
const DLGTEMPLATE kUsageExportTemplate = { WS_POPUP | DS_SETFONT, 0, static_cast<WORD>(std::size(kUsageExportItems)), 0, 0,
    138, 124, L"", 8, L"System", kUsageExportItems };

// The usage settings: the report's interface, the logging frame (path, cap) and whether the
// report lists empty rows. The cap's spin has no buddy: the dialog steps the field itself.
const DLGITEMTEMPLATE kUsageSettingsItems[] = {
    { kVisible | SS_LEFT, 0, 4, 4, 130, 8, kNoId, L"STATIC", L"Показ информации для адаптера:" },
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 4, 14, 130, 80, IDC_USAGESET_INTERFACE, L"COMBOBOX", L"" },
    { kVisible | BS_GROUPBOX, 0, 4, 32, 130, 84, kNoId, L"BUTTON", L"Запись статистики в лог:" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 44, 118, 10, IDC_USAGESET_LOGGING, L"BUTTON", L"Включить запись лога" },
    { kVisible | SS_LEFT, 0, 10, 58, 118, 8, IDC_USAGESET_PATH_LABEL, L"STATIC", L"Путь для хранения файла лога:" },
    { kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 10, 68, 118, 12, IDC_USAGESET_PATH, L"EDIT", L"" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 85, 118, 10, IDC_USAGESET_CAP_ON, L"BUTTON", L"Ограничить файл до" },
    { kNumberField, 0, 22, 98, 30, 12, IDC_USAGESET_CAP, L"EDIT", L"" },
    { kSpin, 0, 52, 98, 8, 12, IDC_USAGESET_CAP_SPIN, L"msctls_updown32", L"Spin1" },
    { kVisible | SS_LEFT, 0, 64, 100, 16, 8, IDC_USAGESET_CAP_UNIT, L"STATIC", L"KB" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 4, 121, 130, 10, IDC_USAGESET_ZEROS, L"BUTTON",
        L"Показывать нулевые значения" },
    { kButton | BS_DEFPUSHBUTTON, 0, 22, 138, 42, 12, IDOK, L"BUTTON", L"OK" },
    { kButton, 0, 72, 138, 42, 12, IDCANCEL, L"BUTTON", L"Отмена" },
};
const DLGTEMPLATE kUsageSettingsTemplate = { WS_POPUP | DS_SETFONT, 0, static_cast<WORD>(std::size(kUsageSettingsItems)), 0,
    0, 138, 154, L"", 8, L"System", kUsageSettingsItems };

} // namespace

void AddUsageTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_USAGE_PAGE, &kUsagePageTemplate, sizeof kUsagePageTemplate);

    resources.AddDialog(IDD_USAGE_SETTINGS, &kUsageSettingsTemplate, sizeof kUsageSettingsTemplate);
    resources.AddDialog(IDD_USAGE_EXPORT, &kUsageExportTemplate, sizeof kUsageExportTemplate);
}
