#include "platform/ui/VirtualDriver.h"

#include <poll.h>

#include <algorithm>
#include <cassert>
#include <map>

#include "platform/time/Clock.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "platform/ui/wm/DialogState.h"
#include "platform/ui/controls/FileDialogRequest.h"
#include "platform/ui/controls/MessageBoxRequest.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowClass.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace platform {

namespace {

// The control's class carries the user's action out; false when it cannot (or has no hook).
bool Act(HWND control, const UserAction& action)
{
    Window* window = WindowManager::Get().Find(control);
    UserActionHook hook = window != nullptr ? window->Class().userActions : nullptr;
    return hook != nullptr && hook(*window, action);
}

// The user's typing, queued: focus, the whole text selected, then each character as WM_CHAR.
void TypeInto(HWND control, std::wstring_view text)
{
    SetFocus(control);
    if (!Act(control, UserAction { UserActionKind::SelectAllText }))
        SendMessageW(control, EM_SETSEL, 0, -1);
    for (wchar_t ch : text)
        PostMessageW(control, WM_CHAR, static_cast<WPARAM>(ch), 1);
}

} // namespace

struct VirtualDriver::Impl final : UiDriver {
    explicit Impl(VirtualClock& virtualClock)
        : clock(virtualClock)
    {
    }

    void Wake() override { }

    void CursorChanged(HCURSOR cursor, bool) override { cursors.push_back(cursor); }

    UINT TimerCoalescingMs() const override { return coalescingMs; }

    // Virtual time never waits on the real world: watched descriptors are looked at, without
    // waiting, whenever the driver pumps.
    void WatchReadable(int fd, std::function<void()> ready) override { watches[fd] = std::move(ready); }
    void UnwatchReadable(int fd) override { watches.erase(fd); }

    void PollWatches()
    {
        std::vector<std::pair<int, std::function<void()>>> ready;
        for (const auto& [fd, handler] : watches) {
            pollfd entry { fd, POLLIN, 0 };
            if (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0)
                ready.emplace_back(fd, handler);
        }
        for (auto& [fd, handler] : ready)
            handler();
    }

    bool WaitForMessage() override
    {
        // Nothing is queued: time passes until the next timer, if there is one.
        auto next = WindowManager::Get().Timers().NextDue();
        if (!next)
            return false;
        uint64_t now = WindowManager::NowMs();
        if (*next > now)
            clock.AdvanceMs(*next - now);
        return true;
    }

    void RunModal(HWND window, const std::function<bool()>& finished) override
    {
        Pump();
        if (finished())
            return;
        Window* dialog = WindowManager::Get().Find(window);
        if (dialog != nullptr && dialog->dialog != nullptr && dialog->dialog->kind == DialogKind::MessageBox) {
            AnswerMessageBox(window, *static_cast<MessageBoxRequest*>(dialog->dialog->request), finished);
            return;
        }
        if (dialog != nullptr && dialog->dialog != nullptr && dialog->dialog->kind == DialogKind::FileDialog) {
            AnswerFileDialog(window, *static_cast<FileDialogRequest*>(dialog->dialog->request), finished);
            return;
        }
        ModalInfo info { window, TemplateIdOf(window), WindowText(window) };
        auto it = std::find_if(handlers.begin(), handlers.end(),
            [&](const auto& entry) { return entry.first == 0 || entry.first == info.templateId; });
        if (it == handlers.end()) {
            faults.push_back(Fmt(L"RunModal: NoHandler for dialog %d \"%s\"", info.templateId, info.title));
        } else {
            ModalHandler handler = std::move(it->second);
            handlers.erase(it);
            handler(info);
            Pump();
            if (!finished())
                faults.push_back(Fmt(L"RunModal: NotEnded dialog %d \"%s\"", info.templateId, info.title));
        }
        if (!finished())
            EndDialog(window, IDCANCEL);
    }

    void AnswerMessageBox(HWND window, const MessageBoxRequest& request, const std::function<bool()>& finished)
    {
        MessageBoxInfo info { window, request.owner, request.text, request.caption, request.type };
        messageBoxes.push_back(info);
        int closing = request.closeAnswer != 0 ? request.closeAnswer : request.buttons.back();
        int answer = closing;
        if (messageBoxHandlers.empty()) {
            faults.push_back(Fmt(L"RunModal: NoHandler for message box \"%s\": %s", request.caption, request.text));
        } else {
            MessageBoxHandler handler = std::move(messageBoxHandlers.front());
            messageBoxHandlers.erase(messageBoxHandlers.begin());
            answer = handler(info);
            if (std::find(request.buttons.begin(), request.buttons.end(), answer) == request.buttons.end()) {
                faults.push_back(Fmt(L"RunModal: NoButton %d in message box \"%s\"", answer, request.caption));
                answer = closing;
            }
        }
        if (!finished())
            SendMessageW(GetDlgItem(window, answer), BM_CLICK, 0, 0);
        Pump();
        if (!finished())
            EndDialog(window, answer);
    }

    void AnswerFileDialog(HWND window, const FileDialogRequest& request, const std::function<bool()>& finished)
    {
        FileDialogInfo info { window, request.ofn->hwndOwner, request.save, request.title, request.folder.ToString(),
            request.initialName, {}, request.filter, request.defaultExtension, request.ofn->Flags };
        for (const FileFilter& filter : request.filters) {
            std::wstring patterns;
            for (const std::wstring& pattern : filter.patterns)
                patterns += (patterns.empty() ? L"" : L";") + pattern;
            info.filters.emplace_back(filter.description, patterns);
        }
        fileDialogs.push_back(info);
        std::wstring path;
        if (fileDialogHandlers.empty()) {
            faults.push_back(Fmt(L"RunModal: NoHandler for file dialog \"%s\"", request.title));
        } else {
            FileDialogHandler handler = std::move(fileDialogHandlers.front());
            fileDialogHandlers.erase(fileDialogHandlers.begin());
            path = handler(info);
        }
        if (!path.empty() && !finished()) {
            TypeInto(GetDlgItem(window, 0x480), path);
            Pump();
            if (!finished())
                SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
            Pump();
        }
        if (!finished())
            SendMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
        Pump();
        if (!finished())
            EndDialog(window, IDCANCEL);
    }

    static int TemplateIdOf(HWND window)
    {
        Window* dialog = WindowManager::Get().Find(window);
        return dialog != nullptr && dialog->dialog != nullptr ? dialog->dialog->templateId : 0;
    }

    static std::wstring WindowText(HWND window)
    {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return text;
    }

    std::vector<std::pair<int, ModalHandler>> handlers;
    std::vector<MessageBoxHandler> messageBoxHandlers;
    std::vector<MessageBoxInfo> messageBoxes;
    std::vector<FileDialogHandler> fileDialogHandlers;
    std::vector<FileDialogInfo> fileDialogs;
    std::vector<HCURSOR> cursors;
    std::vector<std::wstring> faults;

    void Pump()
    {
        PollWatches();
        PumpReadyMessages();
        // Peers of destroyed windows go once no handler of the backend can be running on them.
        Renderer().DeleteReleasedPeers();
    }

    std::map<int, std::function<void()>> watches;
    VirtualClock& clock;
    UINT coalescingMs = 0;
};

VirtualDriver::VirtualDriver(VirtualClock& clock)
    : m_impl(std::make_unique<Impl>(clock))
{
    assert(&CurrentClock() == &clock);
    WindowManager::Get().SetDriver(m_impl.get());
}

VirtualDriver::~VirtualDriver()
{
    WindowManager::Get().SetDriver(nullptr);
}

void VirtualDriver::CoalesceTimers(UINT grainMs)
{
    m_impl->coalescingMs = grainMs;
}

void VirtualDriver::Pump()
{
    m_impl->Pump();
}

void VirtualDriver::AdvanceMs(uint64_t ms)
{
    auto& manager = WindowManager::Get();
    uint64_t target = WindowManager::NowMs() + ms;
    m_impl->Pump();
    for (;;) {
        auto next = manager.Timers().NextDue();
        if (!next || *next > target)
            break;
        uint64_t now = WindowManager::NowMs();
        if (*next > now)
            m_impl->clock.AdvanceMs(*next - now);
        m_impl->Pump();
    }
    uint64_t now = WindowManager::NowMs();
    if (target > now)
        m_impl->clock.AdvanceMs(target - now);
    m_impl->Pump();
}

void VirtualDriver::StylusDown(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    m_impl->Pump();
}

void VirtualDriver::StylusUp(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    m_impl->Pump();
}

void VirtualDriver::Tap(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    m_impl->Pump();
}

} // namespace platform

namespace platform {

void VirtualDriver::Click(HWND control)
{
    SendMessageW(control, BM_CLICK, 0, 0);
    m_impl->Pump();
}

void VirtualDriver::ClickItem(HWND dialog, int id)
{
    Click(GetDlgItem(dialog, id));
}

void VirtualDriver::TypeText(HWND control, std::wstring_view text)
{
    TypeInto(control, text);
    m_impl->Pump();
}

void VirtualDriver::ChooseItem(HWND control, int index)
{
    if (!Act(control, UserAction { UserActionKind::Choose, index })) {
        Window* window = WindowManager::Get().Find(control);
        m_impl->faults.push_back(
            Fmt(L"ChooseItem: NoItem %d in \"%s\"", index, window != nullptr ? window->Class().name : std::wstring()));
        return;
    }
    m_impl->Pump();
}

void VirtualDriver::ToggleCheck(HWND listView, int index)
{
    if (!Act(listView, UserAction { UserActionKind::ToggleCheck, index })) {
        m_impl->faults.push_back(Fmt(L"ToggleCheck: NoItem %d", index));
        return;
    }
    m_impl->Pump();
}

void VirtualDriver::Spin(HWND upDown, int steps)
{
    UserAction step { UserActionKind::Step, steps > 0 ? 1 : 0 };
    for (int i = 0; i < std::abs(steps); ++i) {
        if (!Act(upDown, step)) {
            if (i == 0)
                m_impl->faults.push_back(L"Spin: NotAnUpDownControl");
            break;
        }
        m_impl->Pump();
    }
}

void VirtualDriver::PickDate(HWND picker, int year, int month, int day)
{
    if (!Act(picker, UserAction { UserActionKind::PickDate, 0, year, month, day })) {
        m_impl->faults.push_back(L"PickDate: NotADatePicker");
        return;
    }
    m_impl->Pump();
}

void VirtualDriver::ClickHtmlCommand(HWND viewer, int command)
{
    if (!Act(viewer, UserAction { UserActionKind::ClickCommand, command })) {
        m_impl->faults.push_back(Fmt(L"ClickHtmlCommand: NoButton for command %d", command));
        return;
    }
    m_impl->Pump();
}

void VirtualDriver::OnModal(int templateId, ModalHandler handler)
{
    m_impl->handlers.emplace_back(templateId, std::move(handler));
}

void VirtualDriver::OnMessageBox(MessageBoxHandler handler)
{
    m_impl->messageBoxHandlers.push_back(std::move(handler));
}

void VirtualDriver::AnswerMessageBox(int answer)
{
    OnMessageBox([answer](const MessageBoxInfo&) { return answer; });
}

const std::vector<VirtualDriver::MessageBoxInfo>& VirtualDriver::MessageBoxes() const
{
    return m_impl->messageBoxes;
}

void VirtualDriver::OnFileDialog(FileDialogHandler handler)
{
    m_impl->fileDialogHandlers.push_back(std::move(handler));
}

void VirtualDriver::ChooseFile(std::wstring path)
{
    OnFileDialog([path](const FileDialogInfo&) { return path; });
}

void VirtualDriver::CancelFileDialog()
{
    OnFileDialog([](const FileDialogInfo&) { return std::wstring(); });
}

const std::vector<VirtualDriver::FileDialogInfo>& VirtualDriver::FileDialogs() const
{
    return m_impl->fileDialogs;
}

const std::vector<HCURSOR>& VirtualDriver::CursorChanges() const
{
    return m_impl->cursors;
}

const std::vector<std::wstring>& VirtualDriver::Faults() const
{
    return m_impl->faults;
}

size_t VirtualDriver::PendingHandlers() const
{
    return m_impl->handlers.size() + m_impl->messageBoxHandlers.size() + m_impl->fileDialogHandlers.size();
}

} // namespace platform
