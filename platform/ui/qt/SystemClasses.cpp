#include "platform/ui/qt/SystemClasses.h"

#include "platform/ui/qt/WindowClass.h"

namespace platform::ui {

void RegisterSystemClasses(WindowClassTable&)
{
}

} // namespace platform::ui
