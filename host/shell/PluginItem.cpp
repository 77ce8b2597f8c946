#include "host/shell/PluginItem.h"

#include <algorithm>

#include "platform/core/LastError.h"
#include "platform/text/WideString.h"
#include "platform/ui/WinUser.h"

namespace host {

namespace {

// The template under which the shell looks for an item's options dialog.
constexpr WORD kOptionsDialogTemplate = 500;

} // namespace

PluginItem::PluginItem(TodayItemEntry entry)
    : m_entry(std::move(entry))
{
}

PluginItem::~PluginItem()
{
    Destroy();
    if (m_module != nullptr)
        FreeLibrary(m_module);
}

std::string PluginItem::Load()
{
    m_module = LoadLibraryW(m_entry.modulePath.c_str());
    if (m_module == nullptr)
        return "cannot load " + WideToUtf8(m_entry.modulePath) + " (error " + std::to_string(GetLastError()) + ")";
    m_initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
        GetProcAddressW(m_module, MAKEINTRESOURCEW(ORDINAL_INITIALIZEITEM)));
    if (m_initialize == nullptr)
        return WideToUtf8(m_entry.modulePath) + " has no export 240";
    if (m_entry.hasOptions)
        m_optionsProc = reinterpret_cast<DLGPROC>(GetProcAddressW(m_module, MAKEINTRESOURCEW(ORDINAL_OPTIONSDIALOGPROC)));
    return {};
}

HWND PluginItem::Create(HWND today)
{
    m_record = TODAYLISTITEM {};
    size_t length = std::min<size_t>(m_entry.name.size(), MAX_ITEMNAME - 1);
    std::copy_n(m_entry.name.begin(), length, m_record.szName);
    m_record.tlit = tlitCustom;
    m_record.dwOrder = m_entry.order;
    m_record.fEnabled = TRUE;
    m_record.fOptions = m_optionsProc != nullptr ? TRUE : FALSE;
    length = std::min<size_t>(m_entry.modulePath.size(), MAX_PATH - 1);
    std::copy_n(m_entry.modulePath.begin(), length, m_record.szDLLPath);
    m_record.hinstDLL = m_module;
    m_window = m_initialize != nullptr ? m_initialize(&m_record, today) : nullptr;
    m_record.hwndCustom = m_window;
    return m_window;
}

bool PluginItem::QueryRefresh()
{
    if (m_window == nullptr || !IsWindow(m_window))
        return false;
    DWORD before = m_record.cyp;
    LRESULT result = SendMessageW(m_window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&m_record), 0);
    return result != 0 || m_record.cyp != before;
}

INT_PTR PluginItem::OpenOptions(HWND owner)
{
    if (m_optionsProc == nullptr)
        return -1;
    return DialogBoxParamW(m_module, MAKEINTRESOURCEW(kOptionsDialogTemplate), owner, m_optionsProc, 0);
}

void PluginItem::Destroy()
{
    if (m_window != nullptr && IsWindow(m_window))
        DestroyWindow(m_window);
    m_window = nullptr;
}

} // namespace host
