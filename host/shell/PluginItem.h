// One custom Today item as the shell hosts it: its module loaded through the platform's module
// loader, the item record the shell keeps for it, the window made by export 240, and export 241
// for its options dialog.
#pragma once

#include <string>

#include "host/shell/TodayItemList.h"
#include "platform/module/ModuleLoader.h"
#include "platform/shell/TodayScreen.h"

namespace host {

class PluginItem {
public:
    explicit PluginItem(TodayItemEntry entry);
    // Destroys the window and frees the module.
    ~PluginItem();
    PluginItem(const PluginItem&) = delete;
    PluginItem& operator=(const PluginItem&) = delete;

    // Loads the module and finds its exports; empty on success, else why not.
    std::string Load();
    // Export 240 with the Today window as parent; null when the item made no window.
    HWND Create(HWND today);
    // The shell's refresh query; true when the item's height changed.
    bool QueryRefresh();
    // The options dialog the shell's way: template 500 of the module with export 241 as its
    // procedure, modal, owned by the owner. -1 when the item has none or it cannot be opened.
    INT_PTR OpenOptions(HWND owner);
    void Destroy();

    const TodayItemEntry& Entry() const { return m_entry; }
    HWND Window() const { return m_window; }
    HMODULE Module() const { return m_module; }
    TODAYLISTITEM& Record() { return m_record; }
    int Height() const { return static_cast<int>(m_record.cyp); }

private:
    TodayItemEntry m_entry;
    HMODULE m_module = nullptr;
    PFNCUSTOMINITIALIZEITEM m_initialize = nullptr;
    DLGPROC m_optionsProc = nullptr;
    TODAYLISTITEM m_record {};
    HWND m_window = nullptr;
};

} // namespace host
