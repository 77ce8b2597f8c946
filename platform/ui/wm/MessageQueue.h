// The user-interface thread's queue of posted messages and its quit request.
#pragma once

#include <deque>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class MessageQueue {
public:
    void Post(const MSG& msg) { m_posted.push_back(msg); }
    // The first posted message for the window (any when null) in the range (all when both
    // are 0); removed when asked.
    bool Take(MSG& out, HWND window, UINT filterMin, UINT filterMax, bool remove);
    void RemoveFor(HWND window);
    bool Empty() const { return m_posted.empty(); }

    void PostQuit(int exitCode)
    {
        m_quit = true;
        m_quitCode = exitCode;
    }
    bool QuitPosted() const { return m_quit; }
    int TakeQuit()
    {
        m_quit = false;
        return m_quitCode;
    }

private:
    std::deque<MSG> m_posted;
    bool m_quit = false;
    int m_quitCode = 0;
};

bool MessageInFilter(UINT message, UINT filterMin, UINT filterMax);

} // namespace platform::ui
