// Moving the month files to a new log folder, through a scratch folder in the root.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

// How MoveLogFiles tells the user about a failure: message boxes with the stop icon. The
// usage settings dialog binds it to MessageBoxW (and FormatMessageW for system texts).
class RelocationMessages {
public:
    virtual ~RelocationMessages() = default;
    // The platform's system message text for an error code.
    virtual void ShowSystemError(const std::wstring& caption, DWORD error) = 0;
    virtual void ShowStop(const std::wstring& caption, const std::wstring& text) = 0;
};

extern const wchar_t* const RelocationScratchFolder; // "\velmoratemp"

// Moves every "UsageData*" entry of the old folder to the new one. 1 when both passes ran;
// 0 when the scratch folder could not be made, the old folder had no month files, or none
// reached the scratch folder. A file that cannot reach the new folder is put back in the old
// one; one that cannot leave the old folder stays there.
BOOL MoveLogFiles(const std::wstring& oldFolder, const std::wstring& newFolder, RelocationMessages& messages);
