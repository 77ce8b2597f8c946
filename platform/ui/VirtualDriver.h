// The deterministic driver of the user-interface thread, for tests and the host's simulation
// mode. Time stands still until the driver is told to move the virtual clock on; then every
// timer fires at its due time, in order, and the messages each one causes are dispatched
// before the clock moves further.
//
//   platform::VirtualDriver driver(clock);   // clock: the installed platform::VirtualClock
//   HWND item = CreateWindowExW(...);
//   driver.Pump();                          // creation paints
//   driver.AdvanceMs(3000);                 // three ticks of a 1000 ms timer
//   driver.Tap(item, 10, 5);                // stylus down and up, then dispatch
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/WinDef.h"

namespace platform {

class VirtualClock;

class VirtualDriver {
public:
    // Drives the user-interface thread until destroyed; the real-time driver takes over again
    // after. The clock must be the installed platform clock.
    explicit VirtualDriver(VirtualClock& clock);
    ~VirtualDriver();
    VirtualDriver(const VirtualDriver&) = delete;
    VirtualDriver& operator=(const VirtualDriver&) = delete;

    // Timers set from now on share the grain as under the real-time driver (0, the default:
    // every timer keeps its own phase, so that tests count from the moment a timer was set).
    void CoalesceTimers(UINT grainMs);

    // Dispatches everything ready now: posted messages, paints, timers due.
    void Pump();
    // Moves the clock on, stopping at each timer's due time to dispatch.
    void AdvanceMs(uint64_t ms);
    void AdvanceSeconds(uint64_t seconds) { AdvanceMs(seconds * 1000); }

    // The stylus, in the window's client coordinates: button down, button up, then dispatch.
    void Tap(HWND window, int x, int y);
    void StylusDown(HWND window, int x, int y);
    void StylusUp(HWND window, int x, int y);

    // The user's click on a button (BM_CLICK), then dispatch.
    void Click(HWND control);
    void ClickItem(HWND dialog, int id);

    // The user's typing into an edit field or an editable combo box: the field takes the focus,
    // its whole text is selected, and the characters are typed over it (WM_CHAR), each as the
    // platform's rules allow (a number field refuses letters); then dispatch.
    void TypeText(HWND control, std::wstring_view text);
    // The user's pick of an item: in a combo box's dropped list (CBN_DROPDOWN, CBN_SELCHANGE,
    // CBN_SELENDOK, CBN_CLOSEUP), a tap on a list box line, a list view item or a tab; then
    // dispatch. A control that has no such item is noted as a fault.
    void ChooseItem(HWND control, int index);
    // The user's tap on a list view item's check box; then dispatch.
    void ToggleCheck(HWND listView, int index);
    // The user's presses on an up-down control's arrows: positive steps on the up arrow,
    // negative on the down arrow, each a press and a release; then dispatch.
    void Spin(HWND upDown, int steps);
    // The user drops a date picker's calendar, picks a day (held within the picker's range) and
    // the calendar closes; then dispatch.
    void PickDate(HWND picker, int year, int month, int day);
    // The user's tap on the button of an HTML viewer's page that sends the command ("cmd:N");
    // then dispatch. A page without such a button is noted as a fault.
    void ClickHtmlCommand(HWND viewer, int command);

    // Modal loops hand control to handlers the test installs: the next modal dialog whose
    // template has the resource id (0: any dialog) calls the handler, which acts in it (clicks,
    // lets time pass) and ends it. A modal loop without a handler, or whose handler returns with
    // the dialog still open, is ended with IDCANCEL and noted as a fault.
    struct ModalInfo {
        HWND window;
        int templateId;
        std::wstring title;
    };
    using ModalHandler = std::function<void(const ModalInfo&)>;
    void OnModal(int templateId, ModalHandler handler);
    const std::vector<std::wstring>& Faults() const;
    size_t PendingHandlers() const;

    // Message boxes (MessageBoxW) are answered by handlers the test installs, one box each, in
    // order: the handler's answer (IDYES, IDOK, ...) is the button the user presses. A box
    // without a handler, or answered with a button it does not have, is noted as a fault and
    // closed as the user would close it (IDCANCEL, IDOK for a box with only OK, else its last
    // button). Every box shown is kept, in order.
    struct MessageBoxInfo {
        HWND window;
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT type;
    };
    using MessageBoxHandler = std::function<int(const MessageBoxInfo&)>;
    void OnMessageBox(MessageBoxHandler handler);
    // Answers the next message box with the button.
    void AnswerMessageBox(int answer);
    const std::vector<MessageBoxInfo>& MessageBoxes() const;

    // File dialogs (GetOpenFileNameW, GetSaveFileNameW) are answered the same way: the
    // handler's path is typed into the dialog's name field and OK is pressed, so the dialog's
    // own rules apply (default extension, overwrite question, folders that must exist); an
    // empty path presses Cancel. A dialog still open after OK (the user declined to replace a
    // file) is cancelled. A dialog without a handler is a fault and is cancelled.
    struct FileDialogInfo {
        HWND window;
        HWND owner;
        bool save;
        std::wstring title;
        std::wstring folder; // where it opened
        std::wstring name;   // the initial name
        std::vector<std::pair<std::wstring, std::wstring>> filters; // description, patterns
        int filter;          // index of the filter shown
        std::wstring defaultExtension;
        DWORD flags;
    };
    using FileDialogHandler = std::function<std::wstring(const FileDialogInfo&)>;
    void OnFileDialog(FileDialogHandler handler);
    // The next file dialog chooses this path; or is cancelled, as with the Cancel button.
    void ChooseFile(std::wstring path);
    void CancelFileDialog();
    const std::vector<FileDialogInfo>& FileDialogs() const;

    // Every cursor SetCursor set while this driver ran, in order (null: none); GetCursor
    // gives the current one.
    const std::vector<HCURSOR>& CursorChanges() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace platform
