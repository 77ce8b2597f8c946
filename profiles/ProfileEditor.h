// The profile editor (template 510): a full-screen dialog over the Profiles page that makes a
// new profile or changes one, with DHCP or a static address, and the name servers on a second
// view of the same space.
#pragma once

#include "platform/ui/WinUser.h"

constexpr int kNewProfile = -1;

// Modal, owned by the page: edits the profile at that list position, or makes a new one
// (kNewProfile). 1 after a profile was added or changed, 2 otherwise.
INT_PTR OpenProfileEditor(HWND owner, int position);
INT_PTR ProfileEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
