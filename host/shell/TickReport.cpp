#include "host/shell/TickReport.h"

#include <cstdio>

#include "platform/text/WideString.h"

namespace host {

bool TaskbarView::operator==(const TaskbarView& other) const
{
    return topBarIcon == other.topBarIcon && topBarPlace.x == other.topBarPlace.x && topBarPlace.y == other.topBarPlace.y
        && topBarActivity == other.topBarActivity && notifyIcon == other.notifyIcon
        && notifyActivity == other.notifyActivity;
}

std::string FormatTime(int hour, int minute, int second)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    return text;
}

std::string FormatTick(const std::string& time, const ItemView& view)
{
    std::string out = time + "  activity " + std::to_string(view.activity) + " ("
        + ItemObserver::ActivityName(view.activity) + ")  height " + std::to_string(view.height);
    if (!view.paints.empty()) {
        out += "  paints";
        for (const platform::PaintRecord& paint : view.paints) {
            const RECT& r = paint.paintRect;
            char text[64];
            std::snprintf(text, sizeof text, " [%ld,%ld-%ld,%ld]", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
            out += text;
        }
    }
    out += "\n";
    for (const std::wstring& line : view.lines)
        out += "    " + WideToUtf8(line) + "\n";
    return out;
}

std::string FormatTaskbarChange(const std::optional<TaskbarView>& before, const TaskbarView& now)
{
    std::string out;
    bool topBarChanged = !before || before->topBarIcon != now.topBarIcon || before->topBarPlace.x != now.topBarPlace.x
        || before->topBarPlace.y != now.topBarPlace.y || before->topBarActivity != now.topBarActivity;
    if (topBarChanged && (now.topBarIcon || (before && before->topBarIcon))) {
        if (now.topBarIcon)
            out += "  taskbar icon at " + std::to_string(now.topBarPlace.x) + "," + std::to_string(now.topBarPlace.y)
                + ": " + ItemObserver::ActivityName(now.topBarActivity) + "\n";
        else
            out += "  taskbar icon removed\n";
    }
    bool notifyChanged = !before || before->notifyIcon != now.notifyIcon || before->notifyActivity != now.notifyActivity;
    if (notifyChanged && (now.notifyIcon || (before && before->notifyIcon))) {
        if (now.notifyIcon)
            out += std::string("  notification icon: ") + ItemObserver::ActivityName(now.notifyActivity) + "\n";
        else
            out += "  notification icon removed\n";
    }
    return out;
}

} // namespace host
