// The options dialog: export 241, the frame with a tab control of seven pages along the bottom.
// Pages are made from their templates when their tab is first shown, kept while the frame is
// open, fitted to the tab control when the screen turns, and asked to commit on OK, after
// which the settings are saved once.
#pragma once

#include <array>

#include "platform/ui/WinUser.h"

constexpr int kOptionsPageCount = 7;

// The frame's state; one options dialog is open at a time.
struct OptionsFrameState {
    HWND hwndTab = nullptr;
    HWND hwndMenuBar = nullptr;
    RECT pageRect {}; // the tab control's display area, in its client coordinates
    std::array<HWND, kOptionsPageCount> pages {};
};

INT_PTR CustomItemOptionsDlgProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// After the settings were replaced underneath the open frame (a restore), every open page but
// the one that asks is made again from them, so that OK does not copy the old controls back
// over what was restored. Hidden pages stay hidden.
void ReloadOptionsPages(HWND keep);
