#include "host/modes/ScriptRunner.h"

#include <cstdio>
#include <string_view>

#include "host/shell/TodayShell.h"
#include "platform/device/Device.h"
#include "platform/text/WideString.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/WinUser.h"

namespace host {

namespace {

constexpr int kClassNameLength = 64;
constexpr int kEntryTextLength = 256;

std::wstring ClassOf(HWND window)
{
    WCHAR name[kClassNameLength] = {};
    GetClassNameW(window, name, kClassNameLength);
    return name;
}

// Script positions are pixels of a 96-dpi screen, so that one script taps the same spot in
// both device profiles.
POINT DevicePoint(const ScriptAction& action)
{
    int dpi = platform::CurrentDevice().dpi;
    return POINT { action.x * dpi / 96, action.y * dpi / 96 };
}

} // namespace

ScriptRunner::ScriptRunner(ScriptEnvironment environment, std::vector<ScriptAction> actions)
    : m_env(std::move(environment))
    , m_actions(std::move(actions))
{
}

std::vector<std::string> ScriptRunner::Run()
{
    RunUntil([] { return false; });
    for (const std::wstring& fault : m_env.driver->Faults())
        m_errors.push_back(WideToUtf8(fault));
    return m_errors;
}

void ScriptRunner::RunUntil(const std::function<bool()>& done)
{
    while (m_next < m_actions.size() && !done()) {
        ArmModalHandler();
        const ScriptAction& action = m_actions[m_next++];
        Perform(action);
    }
}

void ScriptRunner::ArmModalHandler()
{
    if (m_env.driver->PendingHandlers() > 0)
        return;
    m_env.driver->OnModal(0, [this](const platform::VirtualDriver::ModalInfo& info) {
        HWND dialog = info.window;
        std::string name = "dialog " + std::to_string(info.templateId) + " \"" + WideToUtf8(info.title) + "\"";
        if (m_env.note)
            m_env.note(name + " opened");
        m_dialogs.push_back(dialog);
        RunUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
        m_dialogs.pop_back();
        if (m_env.note && (!IsWindow(dialog) || !IsWindowVisible(dialog)))
            m_env.note(name + " closed");
    });
}

void ScriptRunner::Fail(const ScriptAction& action, const std::string& why)
{
    m_errors.push_back("line " + std::to_string(action.line) + ": " + why);
}

HWND ScriptRunner::FrontDialog() const
{
    if (!m_dialogs.empty())
        return m_dialogs.back();
    return m_env.shell->FrontWindow();
}

HWND ScriptRunner::DialogControl(const ScriptAction& action)
{
    HWND dialog = FrontDialog();
    if (dialog == nullptr) {
        Fail(action, "no dialog is open");
        return nullptr;
    }
    HWND control = GetDlgItem(dialog, action.control);
    // A tabbed dialog keeps its controls on the page shown, a child of its tab control: the
    // hidden pages' controls are not the user's to reach.
    if (control == nullptr)
        control = VisibleDescendant(dialog, action.control);
    if (control == nullptr)
        Fail(action, "the dialog in front has no control " + std::to_string(action.control));
    return control;
}

HWND ScriptRunner::VisibleDescendant(HWND window, int id)
{
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        if (GetDlgCtrlID(child) == id)
            return child;
        if (HWND found = VisibleDescendant(child, id); found != nullptr)
            return found;
    }
    return nullptr;
}

HWND ScriptRunner::TabControlOf(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (EqualsNoCase(ClassOf(child), WC_TABCONTROLW))
            return child;
    return nullptr;
}

HWND ScriptRunner::WindowAtScreenPoint(POINT screen, POINT& client)
{
    HWND found = WindowFromPoint(screen);
    client = screen;
    if (found != nullptr)
        ScreenToClient(found, &client);
    return found;
}

HWND ScriptRunner::PageViewer() const
{
    NotificationBubble& bubble = m_env.shell->Bubble();
    if (bubble.Showing())
        return bubble.Viewer();
    HWND dialog = FrontDialog();
    for (HWND child = dialog != nullptr ? GetWindow(dialog, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (EqualsNoCase(ClassOf(child), WC_HTML) && IsWindowVisible(child))
            return child;
    return nullptr;
}

int ScriptRunner::AnswerButton(const std::string& answer)
{
    if (answer == "yes")
        return IDYES;
    if (answer == "no")
        return IDNO;
    if (answer == "ok")
        return IDOK;
    return IDCANCEL;
}

int ScriptRunner::FindEntry(HWND control, const std::wstring& text)
{
    std::wstring kind = ClassOf(control);
    if (EqualsNoCase(kind, L"COMBOBOX"))
        return static_cast<int>(SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(text.c_str())));
    if (EqualsNoCase(kind, L"LISTBOX"))
        return static_cast<int>(SendMessageW(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(text.c_str())));
    bool tabs = EqualsNoCase(kind, WC_TABCONTROLW);
    bool list = EqualsNoCase(kind, WC_LISTVIEWW);
    if (!tabs && !list)
        return -1;
    int count = static_cast<int>(SendMessageW(control, tabs ? TCM_GETITEMCOUNT : LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        WCHAR entry[kEntryTextLength] = {};
        if (tabs) {
            TCITEMW item {};
            item.mask = TCIF_TEXT;
            item.pszText = entry;
            item.cchTextMax = kEntryTextLength;
            SendMessageW(control, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        } else {
            LVITEMW item {};
            item.pszText = entry;
            item.cchTextMax = kEntryTextLength;
            SendMessageW(control, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        }
        if (text == entry)
            return index;
    }
    return -1;
}

void ScriptRunner::Perform(const ScriptAction& action)
{
    platform::VirtualDriver& driver = *m_env.driver;
    switch (action.verb) {
    case ScriptVerb::Wait:
        m_env.advance(action.ms);
        return;
    case ScriptVerb::Tap: {
        POINT client {};
        HWND window = WindowAtScreenPoint(DevicePoint(action), client);
        if (window == nullptr)
            return Fail(action, "nothing is shown at " + std::to_string(action.x) + "," + std::to_string(action.y));
        // The platform's push buttons are real controls that take the user's click as a whole;
        // the stylus messages alone reach only owner-drawn ones.
        if (EqualsNoCase(ClassOf(window), L"BUTTON") && (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW)
            driver.Click(window);
        else
            driver.Tap(window, client.x, client.y);
        return;
    }
    case ScriptVerb::TapItem: {
        PluginItem* item = m_env.shell->Item();
        if (item == nullptr || item->Window() == nullptr)
            return Fail(action, "there is no Velmora item to tap");
        POINT at = DevicePoint(action);
        driver.Tap(item->Window(), at.x, at.y);
        return;
    }
    case ScriptVerb::Options:
        if (m_env.shell->OpenItemOptions() < 0)
            Fail(action, "the options dialog could not be opened");
        return;
    case ScriptVerb::Click: {
        if (action.pageCommand) {
            HWND viewer = PageViewer();
            if (viewer == nullptr)
                return Fail(action, "no page with buttons is shown");
            driver.ClickHtmlCommand(viewer, action.control);
            return;
        }
        if (action.titleBarOk) {
            TitleBar& title = m_env.shell->Bar().Title();
            title.Update();
            if (!title.ShowsOkButton())
                return Fail(action, "the title bar shows no OK button");
            title.PressOk();
            driver.Pump();
            return;
        }
        if (HWND control = DialogControl(action); control != nullptr)
            driver.Click(control);
        return;
    }
    case ScriptVerb::Type:
        if (HWND control = DialogControl(action); control != nullptr)
            driver.TypeText(control, Utf8ToWide(action.text));
        return;
    case ScriptVerb::Pick: {
        HWND control = DialogControl(action);
        if (control == nullptr)
            return;
        int year = 0, month = 0, day = 0;
        if (EqualsNoCase(ClassOf(control), L"SysDateTimePick32")) {
            char end = 0;
            if (std::sscanf(action.text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &end) != 3)
                return Fail(action, "a date picker takes a day as YYYY-MM-DD, not \"" + action.text + "\"");
            driver.PickDate(control, year, month, day);
            return;
        }
        int index = action.index >= 0 ? action.index : FindEntry(control, Utf8ToWide(action.text));
        if (index < 0)
            return Fail(action, "control " + std::to_string(action.control) + " has no entry \"" + action.text + "\"");
        driver.ChooseItem(control, index);
        return;
    }
    case ScriptVerb::Tab: {
        HWND dialog = FrontDialog();
        HWND tabs = dialog == nullptr ? nullptr : TabControlOf(dialog);
        if (tabs == nullptr)
            return Fail(action, "the dialog in front has no tabs");
        int index = FindEntry(tabs, Utf8ToWide(action.text));
        if (index < 0)
            return Fail(action, "the dialog in front has no tab \"" + action.text + "\"");
        driver.ChooseItem(tabs, index);
        return;
    }
    case ScriptVerb::Check: {
        HWND control = DialogControl(action);
        if (control == nullptr)
            return;
        if (!EqualsNoCase(ClassOf(control), L"BUTTON"))
            return Fail(action, "control " + std::to_string(action.control) + " is not a check box or radio button");
        bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        // A check box turns with each click; a radio button only turns on.
        if (checked != action.checked)
            driver.Click(control);
        if ((SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) != action.checked)
            Fail(action, "control " + std::to_string(action.control) + " could not be turned " + (action.checked ? "on" : "off"));
        return;
    }
    case ScriptVerb::Answer: {
        int answer = AnswerButton(action.text);
        std::string said = action.text;
        driver.OnMessageBox([this, answer, said](const platform::VirtualDriver::MessageBoxInfo& box) {
            if (m_env.note)
                m_env.note("message box \"" + WideToUtf8(box.caption) + "\": \"" + WideToUtf8(box.text) + "\" answered "
                    + said);
            return answer;
        });
        return;
    }
    case ScriptVerb::Choose: {
        std::string said = action.text;
        std::wstring path = said == "cancel" ? std::wstring() : Utf8ToWide(said);
        driver.OnFileDialog([this, path, said](const platform::VirtualDriver::FileDialogInfo& dialog) {
            if (m_env.note)
                m_env.note(std::string(dialog.save ? "save" : "open") + " dialog \"" + WideToUtf8(dialog.title) + "\" "
                    + (path.empty() ? "cancelled" : "chose " + said));
            return path;
        });
        return;
    }
    case ScriptVerb::Rotate:
        m_env.rotate();
        return;
    case ScriptVerb::Screenshot:
        if (!m_env.screenshot(action.text))
            Fail(action, "the screenshot could not be written to " + action.text);
        return;
    case ScriptVerb::Print:
        m_env.print();
        return;
    case ScriptVerb::Read: {
        HWND control = DialogControl(action);
        if (control == nullptr || !m_env.note)
            return;
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        // One line of the output: line breaks are shown, not made.
        std::string shown;
        for (char c : WideToUtf8(text))
            shown += c == '\n' ? std::string("\\n") : c == '\r' ? std::string() : std::string(1, c);
        m_env.note("control " + std::to_string(action.control) + " reads \"" + shown + "\"");
        return;
    }
    }
}

} // namespace host
