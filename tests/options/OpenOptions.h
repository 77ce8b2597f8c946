// Opens the options frame the way the shell does (its template from the module, its procedure
// by ordinal 241), hands the frame to the action while it is open, and returns its result.
#pragma once

#include <functional>

#include "item/PluginEntry.h"
#include "platform/ui/Resources.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

inline INT_PTR OpenOptionsAsTheShellDoes(testing_support::TodayScreen& screen, const std::function<void(HWND)>& whileOpen)
{
    auto proc = reinterpret_cast<DLGPROC>(GetProcAddressW(screen.Module(), MAKEINTRESOURCEW(241)));
    HRSRC resource = FindResourceW(screen.Module(), MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG);
    auto frameTemplate = static_cast<LPCDLGTEMPLATE>(LoadResource(screen.Module(), resource));
    screen.Driver().OnModal(IDD_OPTIONS, [&](const platform::VirtualDriver::ModalInfo& info) { whileOpen(info.window); });
    return DialogBoxIndirectParamW(screen.Module(), frameTemplate, screen.Today(), proc, 0);
}
