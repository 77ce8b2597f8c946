#include "host/shell/ShellWindow.h"

namespace host {

bool RegisterShellClass(const wchar_t* name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSW existing {};
    if (GetClassInfoW(nullptr, name, &existing))
        return true;
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = proc;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

} // namespace host
