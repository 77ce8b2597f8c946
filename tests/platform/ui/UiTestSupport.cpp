#include "UiTestSupport.h"

#include "platform/time/Clock.h"
#include "platform/ui/Display.h"

namespace ui_test {

std::vector<LoggedMessage>& Log()
{
    static std::vector<LoggedMessage> log;
    return log;
}

std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& Answers()
{
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answers;
    return answers;
}

std::vector<UINT> LoggedKinds(HWND window, std::initializer_list<UINT> only)
{
    std::vector<UINT> kinds;
    for (const LoggedMessage& m : Log()) {
        if (window != nullptr && m.window != window)
            continue;
        if (only.size() > 0 && std::find(only.begin(), only.end(), m.message) == only.end())
            continue;
        kinds.push_back(m.message);
    }
    return kinds;
}

LRESULT LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log().push_back(LoggedMessage { window, message, wParam, lParam, GetTickCount() });
    LRESULT result = 0;
    if (Answers() && Answers()(window, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

UiTest::UiTest()
    : m_driver(m_clock.Clock())
{
    platform::DestroyAllWindows();
    platform::ChangeDevice(platform::DeviceProfile::Qvga());
    Log().clear();
    Answers() = nullptr;
}

UiTest::~UiTest()
{
    platform::DestroyAllWindows();
    if (m_classRegistered)
        UnregisterClassW(L"UiTestWindow", TestInstance());
    Log().clear();
    Answers() = nullptr;
}

void UiTest::RegisterTestClass(HBRUSH background, int windowExtraBytes)
{
    WNDCLASSW wc {};
    wc.lpfnWndProc = LoggingProc;
    wc.hInstance = TestInstance();
    wc.hbrBackground = background;
    wc.cbWndExtra = windowExtraBytes;
    wc.lpszClassName = L"UiTestWindow";
    ASSERT_NE(RegisterClassW(&wc), 0);
    m_classRegistered = true;
}

HWND UiTest::MakeTopLevel(DWORD style, RECT rect)
{
    if (!m_classRegistered)
        RegisterTestClass();
    return CreateWindowExW(0, L"UiTestWindow", L"top", style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, nullptr, nullptr, TestInstance(), nullptr);
}

HWND UiTest::MakeChild(HWND parent, int id, RECT rect, DWORD style)
{
    if (!m_classRegistered)
        RegisterTestClass();
    return CreateWindowExW(0, L"UiTestWindow", L"child", style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), TestInstance(), nullptr);
}

} // namespace ui_test
