// The DHCP dialog (template 120): a modal popup that the item's DHCP icon opens over the item
// window. It names the tracked adapter and the state of its lease, and releases or renews the
// lease a moment after the button is pressed (so that the dialog shows what it is doing while
// the platform call blocks); Ping opens the ping dialog over it. On OK the item window is
// repainted with what the lease is now.
#pragma once

#include "platform/ui/WinUser.h"

constexpr UINT_PTR kDhcpRenewTimer = 14;
constexpr UINT_PTR kDhcpReleaseTimer = 15;
constexpr UINT kDhcpActionDelayMs = 400;

INT_PTR DhcpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
