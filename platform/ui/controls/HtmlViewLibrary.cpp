// The HTML viewer as the library programs load by name ("htmlview.dll"), with InitHTMLControl
// among its exports, there for as long as the platform is.
#include "platform/module/ModuleLoader.h"
#include "platform/ui/HtmlCtrl.h"

namespace {

struct HtmlViewLibrary {
    HtmlViewLibrary()
    {
        platform::RegisterPlatformModule(
            L"htmlview.dll", { { L"InitHTMLControl", 0, reinterpret_cast<FARPROC>(&InitHTMLControl) } });
    }
};

const HtmlViewLibrary g_htmlViewLibrary;

} // namespace
