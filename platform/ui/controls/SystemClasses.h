// The platform's own window classes (the controls, the HTML viewer), registered when the
// window manager starts so that any module finds them.
#pragma once

namespace platform::ui {

class WindowClassTable;

void RegisterSystemClasses(WindowClassTable& classes);

} // namespace platform::ui
