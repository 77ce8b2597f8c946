// What MessageBoxW was asked, kept while its box shows, for its dialog procedure and for the
// virtual driver's handlers.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"

namespace platform::ui {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = MB_OK;
    // The buttons' ids, left to right, and the one that closing the box stands for (0: none).
    std::vector<int> buttons;
    int closeAnswer = 0;
    HICON icon = nullptr;
};

// The buttons of a message box type, left to right, and the answer of closing it (0: none).
std::vector<int> MessageBoxButtons(UINT type);
int MessageBoxCloseAnswer(UINT type);

} // namespace platform::ui
