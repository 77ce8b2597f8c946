#include "resources/ModuleResources.h"

#include <iterator>

#include "platform/ui/WinUser.h"
#include "resources/BuiltIcons.h"
#include "resources/IconRoles.h"
#include "resources/ResourceIds.h"

namespace {

// The options frame: an empty popup in the system font, sized by the shell when it opens; its
// tab control and pages are made at run time.
const DLGTEMPLATE kOptionsFrameTemplate = {
    WS_POPUP | DS_SETFONT, 0, 0, 0, 0, 140, 155, L"", 8, L"System", nullptr,
};

// The options pages: children of the frame's tab control, placed and sized by the frame.
constexpr DWORD kPageStyle = WS_CHILD | DS_SETFONT | DS_CONTROL;
constexpr DWORD kVisible = WS_VISIBLE;

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
    resources.AddDialog(IDD_SETTINGS_PAGE, &kSettingsPageTemplate, sizeof kSettingsPageTemplate);
    resources.AddString(IDS_ITEM_CLASS, L"Velmora");
    resources.AddString(IDS_TASKICON_CLASS, L"VelmoraTaskIcon");
    return resources;
}
