// The usage dialogs on a Today screen with the module loaded: each opened from the module's
// template as the report page opens it, its window handed to an action while it is open.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "item/PluginModule.h"
#include "platform/ui/Resources.h"
#include "support/TodayScreen.h"

namespace usage_test {

class UsageDialogScreen {
public:
    UsageDialogScreen()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    testing_support::TodayScreen& Screen() { return m_screen; }
    platform::VirtualDriver& Driver() { return m_screen.Driver(); }
    Settings& TheSettings() { return g_pModule->m_settings; }

    // The dialog's result; the action ends the dialog (or the driver notes a fault).
    INT_PTR Open(int templateId, DLGPROC proc, const std::function<void(HWND)>& whileOpen)
    {
        bool opened = false;
        Driver().OnModal(templateId, [&](const platform::VirtualDriver::ModalInfo& info) {
            opened = true;
            whileOpen(info.window);
        });
        INT_PTR result = DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(templateId), m_screen.Today(), proc, 0);
        EXPECT_TRUE(opened);
        return result;
    }

    static std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[300] = {};
        GetDlgItemTextW(dialog, id, text, 300);
        return text;
    }
    static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    void Click(HWND dialog, int id) { Driver().ClickItem(dialog, id); }
    void Type(HWND dialog, int id, const std::wstring& text) { Driver().TypeText(GetDlgItem(dialog, id), text); }

    // The texts of the stop and question boxes shown so far.
    std::vector<std::wstring> BoxTexts()
    {
        std::vector<std::wstring> texts;
        for (const auto& box : Driver().MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }

private:
    testing_support::TodayScreen m_screen;
};

} // namespace usage_test
