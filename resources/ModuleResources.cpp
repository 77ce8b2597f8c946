#include "resources/ModuleResources.h"

#include <iterator>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinUser.h"
#include "resources/BuiltIcons.h"
#include "resources/IconRoles.h"
#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"
#include "resources/UsageButtonArt.h"

namespace {

// The options frame: an empty popup in the system font, sized by the shell when it opens; its
// tab control and pages are made at run time.
const DLGTEMPLATE kOptionsFrameTemplate = {
    WS_POPUP | DS_SETFONT, 0, 0, 0, 0, 140, 155, L"", 8, L"System", nullptr,
};

using namespace templates;

// The list takes the page's height when the page is sized (its height here is a start).
const DLGITEMTEMPLATE kViewPageItems[] = {
    { kVisible | SS_LEFT, 0, 4, 3, 90, 8, kNoId, L"STATIC", L"Текущие установки:" },
    { kVisible | WS_BORDER | WS_TABSTOP | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER, 0, 4, 13, 84,
        108, IDC_VIEW_LIST, L"SysListView32", L"List2" },
    { kButton, 0, 92, 13, 40, 14, IDC_VIEW_UP, L"BUTTON", L"Вверх" },
    { kButton, 0, 92, 30, 40, 14, IDC_VIEW_DOWN, L"BUTTON", L"Вниз" },
    { kVisible | BS_AUTORADIOBUTTON | BS_MULTILINE | WS_GROUP | WS_TABSTOP, 0, 92, 52, 44, 10, IDC_VIEW_COMPACT, L"BUTTON",
        L"компакт" },
    { kVisible | BS_AUTORADIOBUTTON | BS_MULTILINE, 0, 92, 64, 44, 10, IDC_VIEW_FULL, L"BUTTON", L"полный" },
    { kButton | WS_GROUP, 0, 92, 86, 40, 14, IDC_VIEW_REVERT, L"BUTTON", L"Возврат" },
    { kButton, 0, 92, 103, 40, 14, IDC_VIEW_MORE, L"BUTTON", L"Еще..." },
};
const DLGTEMPLATE kViewPageTemplate = { kPageStyle | kVisible, 0, static_cast<WORD>(std::size(kViewPageItems)), 0, 0, 136,
    135, L"", 8, L"System", kViewPageItems };

// Several boxes have no text of their own: the static texts above them name them.
const DLGITEMTEMPLATE kViewOptionsItems[] = {
    { kCheckLeft, 0, 4, 4, 132, 10, IDC_VIEWOPT_PIN, L"BUTTON", L"Показывать значки        Закрепить:" },
    { kVisible | SS_CENTER, 0, 4, 15, 32, 8, kNoId, L"STATIC", L"счетчик" },
    { kVisible | SS_CENTER, 0, 38, 15, 24, 8, kNoId, L"STATIC", L"DHCP" },
    { kVisible | SS_CENTER, 0, 64, 15, 26, 8, kNoId, L"STATIC", L"опции" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 16, 24, 10, 10, IDC_VIEWOPT_METER_ICON, L"BUTTON", L"" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 46, 24, 10, 10, IDC_VIEWOPT_DHCP_ICON, L"BUTTON", L"" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 73, 24, 10, 10, IDC_VIEWOPT_OPTIONS_ICON, L"BUTTON", L"" },
    { kCheckLeft, 0, 4, 38, 70, 10, IDC_VIEWOPT_VIEW_SELECT, L"BUTTON", L"Выбор вида:" },
    { kVisible | SS_CENTER, 0, 38, 48, 18, 8, kNoId, L"STATIC", L"нет" },
    { kVisible | SS_CENTER, 0, 57, 48, 18, 8, kNoId, L"STATIC", L"низ" },
    { kVisible | SS_LEFT, 0, 78, 48, 56, 8, kNoId, L"STATIC", L"верх   отступ" },
    { kVisible | BS_AUTORADIOBUTTON | BS_LEFTTEXT | BS_MULTILINE | WS_GROUP | WS_TABSTOP, 0, 4, 56, 52, 18, IDC_VIEWOPT_NO_ICON,
        L"BUTTON", L"Иконка монитора:" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 62, 60, 10, 10, IDC_VIEWOPT_NOTIFY_ICON, L"BUTTON", L"" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 81, 60, 10, 10, IDC_VIEWOPT_TOP_ICON, L"BUTTON", L"" },
    { kNumberField | WS_GROUP, 0, 100, 59, 22, 12, IDC_VIEWOPT_PLACEMENT, L"EDIT", L"" },
    { kSpin, 0, 122, 59, 8, 12, IDC_VIEWOPT_PLACEMENT_SPIN, L"msctls_updown32", L"Spin1" },
    { kVisible | SS_LEFT, 0, 4, 82, 26, 8, IDC_VIEWOPT_FONT_LABEL, L"STATIC", L"Шрифт:" },
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 30, 80, 48, 60, IDC_VIEWOPT_FONT_SIZE, L"COMBOBOX", L"" },
    { kCheckLeft, 0, 84, 81, 48, 10, IDC_VIEWOPT_BOLD, L"BUTTON", L"Жирный:" },
    { kVisible | BS_AUTORADIOBUTTON | BS_LEFTTEXT | WS_GROUP | WS_TABSTOP, 0, 4, 97, 56, 10, IDC_VIEWOPT_METER_TOTAL, L"BUTTON",
        L"Показывать" },
    { kVisible | SS_LEFT, 0, 64, 98, 68, 8, kNoId, L"STATIC", L"общий трафик" },
    { kVisible | BS_AUTORADIOBUTTON | BS_LEFTTEXT, 0, 4, 108, 56, 10, IDC_VIEWOPT_METER_BOTH, L"BUTTON", L"" },
    { kVisible | SS_LEFT, 0, 64, 109, 68, 8, kNoId, L"STATIC", L"прием/передача" },
    { kVisible | SS_LEFT | WS_GROUP, 0, 4, 124, 84, 8, IDC_VIEWOPT_SCROLL_RATE_LABEL, L"STATIC", L"Скорость обновления:" },
    { kNumberField, 0, 90, 122, 18, 12, IDC_VIEWOPT_SCROLL_RATE, L"EDIT", L"" },
    { kSpin, 0, 108, 122, 8, 12, IDC_VIEWOPT_SCROLL_RATE_SPIN, L"msctls_updown32", L"Spin1" },
    { kButton | BS_DEFPUSHBUTTON, 0, 22, 138, 42, 12, IDOK, L"BUTTON", L"OK" },
    { kButton, 0, 72, 138, 42, 12, IDCANCEL, L"BUTTON", L"Отмена" },
};
const DLGTEMPLATE kViewOptionsTemplate = { WS_POPUP | DS_SETFONT, 0, static_cast<WORD>(std::size(kViewOptionsItems)), 0, 0,
    136, 150, L"", 8, L"System", kViewOptionsItems };

// The meter page. "Выключен" comes first in the template: it starts the on/off radio group,
// which "Предупреждения" ends. The reset check box's label goes on in a static of the same id.
const DLGITEMTEMPLATE kMeterPageItems[] = {
    { kVisible | BS_GROUPBOX, 0, 4, 4, 122, 127, IDC_METER_FRAME, L"BUTTON", L"Установки счетчика:" },
    { kVisible | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 66, 16, 56, 10, IDC_METER_OFF, L"BUTTON", L"Выключен" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 10, 16, 52, 10, IDC_METER_ON, L"BUTTON", L"Включен" },
    { kVisible | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 0, 10, 30, 110, 10, IDC_METER_NOTIFY, L"BUTTON", L"Предупреждения" },
    { kVisible | SS_LEFT, 0, 20, 45, 30, 8, IDC_METER_EVERY, L"STATIC", L"каждые" },
    { kVisible | ES_NUMBER | ES_RIGHT | WS_BORDER | WS_TABSTOP, 0, 52, 43, 24, 12, IDC_METER_THRESHOLD, L"EDIT", L"" },
    { kVisible | UDS_ARROWKEYS, 0, 76, 43, 10, 12, IDC_METER_SPIN, L"msctls_updown32", L"Spin1" },
    { kVisible | SS_LEFT, 0, 90, 45, 20, 8, IDC_METER_MB, L"STATIC", L"MB" },
    { kVisible | BS_AUTORADIOBUTTON | WS_TABSTOP, 0, 20, 60, 100, 10, IDC_METER_UPLOAD, L"BUTTON", L"Исходящий трафик" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 20, 72, 100, 10, IDC_METER_DOWNLOAD, L"BUTTON", L"Входящий трафик" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 20, 84, 100, 10, IDC_METER_TOTAL, L"BUTTON", L"Всего (общий трафик)" },
    { kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 100, 110, 10, IDC_METER_RESET_AFTER, L"BUTTON", L"Сброс счетчика после" },
    { kVisible | SS_LEFT, 0, 22, 110, 96, 8, IDC_METER_RESET_AFTER, L"STATIC", L"предупреждения" },
};
const DLGTEMPLATE kMeterPageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kMeterPageItems)), 0, 0, 130, 135,
    L"", 8, L"System", kMeterPageItems };

// The meter reading: a small popup over the Today screen, labels right-aligned against the
// counts they name.
const DLGITEMTEMPLATE kMeterReadingItems[] = {
    { kVisible | BS_GROUPBOX, 0, 3, 2, 99, 74, 0xFFFF, L"BUTTON", L"Показания счетчика:" },
    { kVisible | SS_RIGHT, 0, 6, 14, 42, 8, 0xFFFF, L"STATIC", L"Передано:" },
    { kVisible | SS_LEFT, 0, 51, 14, 48, 8, IDC_METER_SENT, L"STATIC", L"Static" },
    { kVisible | SS_RIGHT, 0, 6, 24, 42, 8, 0xFFFF, L"STATIC", L"Принято:" },
    { kVisible | SS_LEFT, 0, 51, 24, 48, 8, IDC_METER_RECEIVED, L"STATIC", L"Static" },
    { kVisible | SS_RIGHT, 0, 6, 34, 42, 8, 0xFFFF, L"STATIC", L"Всего:" },
    { kVisible | SS_LEFT, 0, 51, 34, 48, 8, IDC_METER_COMBINED, L"STATIC", L"Static" },
    { kVisible | SS_RIGHT, 0, 6, 46, 42, 8, 0xFFFF, L"STATIC", L"Последний" },
    { kVisible | SS_RIGHT, 0, 6, 54, 42, 8, 0xFFFF, L"STATIC", L"сброс:" },
    { kVisible | SS_LEFT, 0, 51, 46, 48, 16, IDC_METER_RESET_TIME, L"STATIC", L"Static" },
    { kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 6, 80, 44, 14, IDC_METER_RESET, L"BUTTON", L"Сброс" },
    { kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 55, 80, 44, 14, IDOK, L"BUTTON", L"OK" },
};
const DLGTEMPLATE kMeterReadingTemplate = { WS_POPUP | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 0,
    static_cast<WORD>(std::size(kMeterReadingItems)), 0, 0, 105, 98, L"", 8, L"System", kMeterReadingItems };

// The About page. The tap counter starts hidden; the frame's size sets the hidden tap zone.
const DLGITEMTEMPLATE kAboutPageItems[] = {
    { kVisible | BS_GROUPBOX, 0, 4, 4, 122, 127, IDC_ABOUT_FRAME, L"BUTTON", L"О программе Velmora:" },
    { kVisible | SS_LEFT, 0, 10, 20, 44, 8, 0xFFFF, L"STATIC", L"Версия: " },
    { kVisible | SS_LEFT, 0, 56, 20, 66, 8, IDC_ABOUT_VERSION, L"STATIC", L"" },
    { kVisible | SS_LEFT, 0, 10, 32, 44, 8, 0xFFFF, L"STATIC", L"Дата: " },
    { kVisible | SS_LEFT, 0, 56, 32, 66, 8, IDC_ABOUT_DATE, L"STATIC", L"" },
    { kVisible | SS_LEFT, 0, 10, 44, 44, 8, 0xFFFF, L"STATIC", L"Владелец: " },
    { kVisible | SS_LEFT, 0, 56, 44, 66, 24, IDC_ABOUT_OWNER, L"STATIC", L"" },
    { SS_CENTER, 0, 104, 114, 16, 10, IDC_ABOUT_TAPS, L"STATIC", L"1" },
};
const DLGTEMPLATE kAboutPageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kAboutPageItems)), 0, 0, 130, 135,
    L"", 8, L"System", kAboutPageItems };

const DLGITEMTEMPLATE kSettingsPageItems[] = {
    { kVisible | BS_GROUPBOX, 0, 4, 4, 132, 112, 0xFFFF, L"BUTTON", L"Настройки программы:" },
    { kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 10, 18, 52, 14, IDC_SAVE_SETTINGS, L"BUTTON", L"Сохранить" },
    { kVisible | SS_LEFT, 0, 66, 21, 66, 8, 0xFFFF, L"STATIC", L"Сохранить в файл" },
    { kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 10, 38, 52, 14, IDC_RESTORE_SETTINGS, L"BUTTON", L"Восстановить" },
    { kVisible | SS_LEFT, 0, 66, 41, 66, 16, 0xFFFF, L"STATIC", L"Восстановить из файла" },
    { kVisible | SS_LEFT, 0, 10, 60, 122, 52, IDC_SETTINGS_STATUS, L"STATIC",
        L"Используйте вышеуказанные кнопки для сохранения или восстановления настроек программы." },
};
const DLGTEMPLATE kSettingsPageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kSettingsPageItems)), 0, 0, 140,
    120, L"", 8, L"System", kSettingsPageItems };

} // namespace

platform::ModuleResources BuildModuleResources()
{
    platform::ModuleResources resources;
    // Drawn at build time (tools/icongen): the module's attach only copies them.
    for (const IconRole& role : kIconRoles) {
        resources.AddIcon(role.smallId, kSmallIconSize, kSmallIconSize, FindBuiltIcon(role.art, kSmallIconSize, role.smallExtent));
        resources.AddIcon(role.largeId, role.largeSize, role.largeSize, FindBuiltIcon(role.art, role.largeSize, role.largeSize));
    }
    resources.AddDialog(IDD_OPTIONS, &kOptionsFrameTemplate, sizeof kOptionsFrameTemplate);
    resources.AddDialog(IDD_VIEW_PAGE, &kViewPageTemplate, sizeof kViewPageTemplate);
    resources.AddDialog(IDD_VIEW_OPTIONS, &kViewOptionsTemplate, sizeof kViewOptionsTemplate);
    resources.AddDialog(IDD_METER_PAGE, &kMeterPageTemplate, sizeof kMeterPageTemplate);
    resources.AddDialog(IDD_METER_READING, &kMeterReadingTemplate, sizeof kMeterReadingTemplate);
    resources.AddDialog(IDD_ABOUT_PAGE, &kAboutPageTemplate, sizeof kAboutPageTemplate);
    resources.AddDialog(IDD_SETTINGS_PAGE, &kSettingsPageTemplate, sizeof kSettingsPageTemplate);
    AddAdapterTemplates(resources);

    AddPingTemplates(resources);

    AddProfileTemplates(resources);

    AddRateMonitorTemplates(resources);

    AddUsageTemplates(resources);
    AddUsageBitmaps(resources);

    resources.AddString(IDS_ITEM_CLASS, L"Velmora");
    resources.AddString(IDS_TASKICON_CLASS, L"VelmoraTaskIcon");
    return resources;
}
