#include "resources/ModuleResources.h"

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
    resources.AddString(IDS_ITEM_CLASS, L"Velmora");
    resources.AddString(IDS_TASKICON_CLASS, L"VelmoraTaskIcon");
    return resources;
}
