// The terminal's view of the device: one block per tick of the item with its activity state,
// height, repaints and status lines, and a line whenever the taskbar's icons change.
//
//   14:05:10  activity 1 (idle)  height 26  paints [28,0-184,26]
//       IP Address: 192.168.1.10
//     taskbar icon at 127,5: idle
#pragma once

#include <optional>
#include <string>

#include "host/shell/ItemObserver.h"

namespace host {

// The item's icons outside the Today screen.
struct TaskbarView {
    // The item's window on the taskbar's title child: its place in the title child and state.
    bool topBarIcon = false;
    POINT topBarPlace {};
    int topBarActivity = 0;
    // The item's notification-area icon and the state it shows.
    bool notifyIcon = false;
    int notifyActivity = 0;

    bool operator==(const TaskbarView& other) const;
};

std::string FormatTime(int hour, int minute, int second);
// The tick's header line and its status lines, each ending in a line break.
std::string FormatTick(const std::string& time, const ItemView& view);
// What changed on the taskbar, in lines; empty when nothing did.
std::string FormatTaskbarChange(const std::optional<TaskbarView>& before, const TaskbarView& now);

} // namespace host
