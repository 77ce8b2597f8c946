// Runs a script's actions in order on the deterministic driver. A modal dialog that an action
// opens takes the actions that follow until it closes (the dialog's own loop runs them), so a
// script reads the way a user works: open, click, type, close.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/modes/Script.h"
#include "platform/ui/VirtualDriver.h"

namespace host {

class TodayShell;

struct ScriptEnvironment {
    platform::VirtualDriver* driver = nullptr;
    TodayShell* shell = nullptr;
    // Lets virtual time pass (the simulation's clock changes included).
    std::function<void(int64_t ms)> advance;
    std::function<void()> print;
    // False when the file could not be written.
    std::function<bool(const std::string& file)> screenshot;
    std::function<void()> rotate;
    // A modal dialog opened or closed ("dialog 500 \"Options\" opened"), a message box answered,
    // a file dialog given its path.
    std::function<void(const std::string&)> note;
};

class ScriptRunner {
public:
    ScriptRunner(ScriptEnvironment environment, std::vector<ScriptAction> actions);

    // Every action in order; what went wrong, one line each ("line N: why").
    std::vector<std::string> Run();

    // The window a point of the screen falls on: the front-most shown window there, and the
    // deepest of its children that takes the stylus; the point in that window's client coordinates.
    static HWND WindowAtScreenPoint(POINT screen, POINT& client);

private:
    void RunUntil(const std::function<bool()>& done);
    void ArmModalHandler();
    void Perform(const ScriptAction& action);
    HWND FrontDialog() const;
    HWND DialogControl(const ScriptAction& action);
    // The visible control with that id anywhere below the window, depth first.
    static HWND VisibleDescendant(HWND window, int id);
    static HWND TabControlOf(HWND dialog);
    // The HTML viewer whose buttons a "click cmd:N" presses: the bubble's when it shows, else
    // one in the dialog in front.
    HWND PageViewer() const;
    static int AnswerButton(const std::string& answer);
    // The index of an entry with this text in a list-like control, or -1.
    static int FindEntry(HWND control, const std::wstring& text);
    void Fail(const ScriptAction& action, const std::string& why);

    ScriptEnvironment m_env;
    std::vector<ScriptAction> m_actions;
    size_t m_next = 0;
    std::vector<HWND> m_dialogs; // the modal dialogs open now, innermost last
    std::vector<std::string> m_errors;
};

} // namespace host
