// The module's entry points: the attach and detach that the platform's module loader calls,
// the export table it reads, and export 240, through which the Today screen creates the item.
#pragma once

#include "platform/module/ModuleLoader.h"
#include "platform/shell/TodayScreen.h"

extern "C" {
// DLL_PROCESS_ATTACH: registers the module's resources and creates the module state;
// DLL_PROCESS_DETACH: destroys it and withdraws the resources.
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
// Ordinals 240 (InitializeCustomItem) and 241 (CustomItemOptionsDlgProc).
const DllExport* DllExportTable(DWORD* count);
}

// Export 240: creates the item window as a child of the Today screen's window; the item record
// is not used. Null when the item's window class could not be registered.
HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent);
