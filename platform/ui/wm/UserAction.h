// What a user does to a control, carried out by the control's class itself through one hook:
// the deterministic driver and the real controls on the screen come the same way, and nothing
// outside a class decides by its name what a tap means.
#pragma once

namespace platform::ui {

class Window;

enum class UserActionKind {
    Choose,        // tap item `index` of a list, a combo box's list or a tab row
    ToggleCheck,   // tap the check box of item `index`
    Step,          // press and release one arrow: up (towards the upper limit) when `index` is 1
    PickDate,      // drop the calendar down, pick year-month-day, close it
    ClickCommand,  // tap the page's button that sends command `index`
    SelectAllText, // typing starts: the whole text is selected
};

struct UserAction {
    UserActionKind kind = UserActionKind::Choose;
    int index = 0;
    int year = 0;
    int month = 0;
    int day = 0;
};

// False when the control cannot do it (not its kind of action, no such item): nothing happened.
using UserActionHook = bool (*)(Window& window, const UserAction& action);

} // namespace platform::ui
