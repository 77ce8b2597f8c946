#include "platform/ui/wm/MessageQueue.h"

#include <algorithm>

namespace platform::ui {

bool MessageInFilter(UINT message, UINT filterMin, UINT filterMax)
{
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message >= filterMin && message <= filterMax;
}

bool MessageQueue::Take(MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (window != nullptr && it->hwnd != window)
            continue;
        if (!MessageInFilter(it->message, filterMin, filterMax))
            continue;
        out = *it;
        if (remove)
            m_posted.erase(it);
        return true;
    }
    return false;
}

void MessageQueue::RemoveFor(HWND window)
{
    m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(), [&](const MSG& m) { return m.hwnd == window; }),
        m_posted.end());
}

} // namespace platform::ui
