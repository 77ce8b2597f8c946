#include "UiTestSupport.h"

#include "platform/core/LastError.h"

using namespace ui_test;

namespace {

class WindowTest : public UiTest { };

LRESULT SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC g_previousProc = nullptr;
int g_subclassCalls = 0;

LRESULT SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++g_subclassCalls;
    if (message == WM_USER + 1)
        return 77;
    return CallWindowProcW(g_previousProc, window, message, wParam, lParam);
}

} // namespace

TEST_F(WindowTest, ClassesRegisterOncePerModuleAndCannotGoWhileInUse)
{
    RegisterTestClass();
    WNDCLASSW again {};
    again.lpfnWndProc = LoggingProc;
    again.hInstance = TestInstance();
    again.lpszClassName = L"uitestwindow"; // names compare without case
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    HWND window = MakeTopLevel();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassW(L"UiTestWindow", TestInstance()));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(L"UITESTWINDOW", TestInstance()));
    m_classRegistered = false;
    EXPECT_FALSE(UnregisterClassW(L"UiTestWindow", TestInstance()));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);

    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"UiTestWindow", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, TestInstance(), nullptr),
        nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(WindowTest, CreationSendsItsMessagesInOrderWithTheCreateParameter)
{
    RegisterTestClass();
    int marker = 5;
    HWND window = CreateWindowExW(0, L"UiTestWindow", L"Velmora", WS_POPUP | WS_VISIBLE, 3, 4, 50, 60, nullptr,
        nullptr, TestInstance(), &marker);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW }));
    EXPECT_EQ(Log()[2].lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(Log()[3].lParam, MAKELPARAM(3, 4));

    wchar_t text[4];
    EXPECT_EQ(GetWindowTextW(window, text, 4), 3);
    EXPECT_STREQ(text, L"Vel");
    EXPECT_EQ(GetWindowTextLengthW(window), 7);
}

TEST_F(WindowTest, CreateParameterReachesWmCreateAndMinusOneRefusesTheWindow)
{
    RegisterTestClass();
    int marker = 5;
    void* seen = nullptr;
    Answers() = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message != WM_CREATE)
            return false;
        seen = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
        result = -1;
        return true;
    };
    HWND window = CreateWindowExW(0, L"UiTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, TestInstance(),
        &marker);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(seen, &marker);
    EXPECT_EQ(LoggedKinds(nullptr, { WM_DESTROY, WM_NCDESTROY }), (std::vector<UINT> { WM_DESTROY, WM_NCDESTROY }));
    EXPECT_EQ(platform::LiveWindowCount(), 0u);
}

TEST_F(WindowTest, DestroyingAParentDestroysChildrenAndOwnedWindows)
{
    HWND top = MakeTopLevel();
    HWND child = MakeChild(top, 1, RECT { 0, 0, 10, 10 });
    HWND grandchild = MakeChild(child, 2, RECT { 0, 0, 5, 5 });
    HWND owned = CreateWindowExW(0, L"UiTestWindow", L"owned", WS_POPUP, 0, 0, 10, 10, child, nullptr,
        TestInstance(), nullptr);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(GetParent(owned), top); // the owner is the top-level window of the given parent
    Log().clear();

    EXPECT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (const LoggedMessage& m : Log()) {
        if (m.message == WM_DESTROY || m.message == WM_NCDESTROY)
            order.emplace_back(m.window, m.message);
    }
    // Owned windows first; then WM_DESTROY parent before child, WM_NCDESTROY child before parent.
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>> { { owned, WM_DESTROY }, { owned, WM_NCDESTROY },
                         { top, WM_DESTROY }, { child, WM_DESTROY }, { grandchild, WM_DESTROY },
                         { grandchild, WM_NCDESTROY }, { child, WM_NCDESTROY }, { top, WM_NCDESTROY } }));
    for (HWND gone : { top, child, grandchild, owned })
        EXPECT_FALSE(IsWindow(gone));
    SetLastError(0);
    RECT rect { 1, 2, 3, 4 };
    EXPECT_FALSE(GetWindowRect(child, &rect));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(rect.left, 1); // untouched
    EXPECT_FALSE(DestroyWindow(child));
    EXPECT_EQ(platform::LiveWindowCount(), 0u);
}

TEST_F(WindowTest, ChildrenFollowCreationOrderAndFindWindowSeesTopLevelOnly)
{
    HWND top = MakeTopLevel();
    HWND first = MakeChild(top, 11, RECT { 0, 0, 10, 10 });
    HWND second = MakeChild(top, 12, RECT { 0, 10, 10, 20 });
    HWND third = MakeChild(top, 13, RECT { 0, 20, 10, 30 });
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), third);
    EXPECT_EQ(GetWindow(third, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(third, GW_HWNDPREV), second);
    EXPECT_EQ(GetParent(second), top);
    EXPECT_EQ(GetWindowLongW(second, GWL_ID), 12);
    EXPECT_EQ(GetParent(top), nullptr);

    EXPECT_EQ(FindWindowW(L"uitestwindow", nullptr), top);
    EXPECT_EQ(FindWindowW(L"UiTestWindow", L"child"), nullptr);
    EXPECT_EQ(FindWindowW(L"NoSuchClass", nullptr), nullptr);

    wchar_t name[6] = { L'x', L'x', L'x', L'x', L'x', L'x' };
    EXPECT_EQ(GetClassNameW(second, name, 6), 5);
    EXPECT_STREQ(name, L"UiTes");
    EXPECT_EQ(GetClassNameW(GetDesktopWindow(), name, 6), 5); // "#32769"
}

TEST_F(WindowTest, SubclassingReplacesTheProcedureAndCanForward)
{
    HWND window = MakeTopLevel();
    g_subclassCalls = 0;
    g_previousProc = reinterpret_cast<WNDPROC>(SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    EXPECT_EQ(g_previousProc, LoggingProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongW(window, GWL_WNDPROC)), SubclassProc);
    Log().clear();
    EXPECT_EQ(SendMessageW(window, WM_USER + 1, 0, 0), 77);
    EXPECT_TRUE(Log().empty()); // handled by the subclass alone
    SendMessageW(window, WM_USER + 2, 3, 4);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].wParam, 3u);
    EXPECT_EQ(g_subclassCalls, 2);
}

TEST_F(WindowTest, TheDesktopCanBeSubclassedAndGivenBackItsProcedure)
{
    // A subclass that cannot be undone would stay on the desktop after its owner is gone.
    HWND desktop = GetDesktopWindow();
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongW(desktop, GWL_WNDPROC));
    ASSERT_NE(original, nullptr);
    g_subclassCalls = 0;
    g_previousProc = reinterpret_cast<WNDPROC>(SetWindowLongW(desktop, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    EXPECT_EQ(g_previousProc, original);
    InvalidateRect(desktop, nullptr, TRUE);
    UpdateWindow(desktop);
    EXPECT_GT(g_subclassCalls, 0);
    EXPECT_EQ(SetWindowLongW(desktop, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(original)), reinterpret_cast<LONG_PTR>(SubclassProc));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongW(desktop, GWL_WNDPROC)), original);
}

TEST_F(WindowTest, WindowDataHasItsSlotsAndRefusesOthers)
{
    RegisterTestClass(nullptr, 8);
    HWND window = MakeTopLevel();
    int object = 0;
    EXPECT_EQ(SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&object)), 0);
    EXPECT_EQ(GetWindowLongW(window, GWL_USERDATA), reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(SetWindowLongW(window, 4, 99), 0);
    EXPECT_EQ(GetWindowLongW(window, 4), 99);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(window, 8, 1), 0); // one past the extra bytes
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_POPUP, WS_POPUP);
}

TEST_F(WindowTest, GeometryIsInScreenAndClientCoordinatesWithTheFrame)
{
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE | WS_BORDER, RECT { 10, 20, 110, 80 });
    HWND child = MakeChild(top, 1, RECT { 5, 6, 25, 16 });
    RECT rect;
    GetWindowRect(top, &rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.bottom, 80);
    GetClientRect(top, &rect);
    EXPECT_EQ(rect.right, 98); // one-pixel border on each side
    EXPECT_EQ(rect.bottom, 58);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 10 + 1 + 5);
    EXPECT_EQ(rect.top, 20 + 1 + 6);
    EXPECT_EQ(rect.right, 10 + 1 + 25);
    POINT point { 0, 0 };
    ClientToScreen(child, &point);
    EXPECT_EQ(point.x, 16);
    EXPECT_EQ(point.y, 27);
    ScreenToClient(top, &point);
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, 6);

    Log().clear();
    EXPECT_TRUE(MoveWindow(child, 7, 6, 30, 10, FALSE));
    EXPECT_EQ(LoggedKinds(child), (std::vector<UINT> { WM_SIZE, WM_MOVE }));
    EXPECT_EQ(Log()[1].lParam, MAKELPARAM(7, 6));
    Log().clear();
    EXPECT_TRUE(SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_TRUE(LoggedKinds(child).empty()); // nothing changed, nothing said
}

TEST_F(WindowTest, ShowEnableAndTextGoThroughMessages)
{
    HWND top = MakeTopLevel(WS_POPUP);
    HWND child = MakeChild(top, 1, RECT { 0, 0, 10, 10 });
    EXPECT_FALSE(IsWindowVisible(child)); // its parent is hidden
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(GetForegroundWindow(), top);
    EXPECT_TRUE(ShowWindow(top, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(top));

    Log().clear();
    EXPECT_FALSE(EnableWindow(child, FALSE)); // it was enabled
    EXPECT_TRUE(EnableWindow(child, FALSE));  // now it was disabled: no second message
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(LoggedKinds(child), (std::vector<UINT> { WM_ENABLE }));
    EXPECT_TRUE(SetWindowTextW(child, L"новый"));
    wchar_t text[16];
    GetWindowTextW(child, text, 16);
    EXPECT_STREQ(text, L"новый");
}

TEST_F(WindowTest, TheStylusPassesThroughGroupBoxesAndPlainTexts)
{
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 10, 20, 130, 100 });
    HWND under = MakeChild(top, 1, RECT { 4, 4, 40, 40 });
    auto make = [&](LPCWSTR kind, DWORD style, RECT r, int id) {
        return CreateWindowExW(0, kind, L"x", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
            r.bottom - r.top, top, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), TestInstance(), nullptr);
    };
    // Made after the child, so lying over it.
    HWND box = make(L"BUTTON", BS_GROUPBOX, RECT { 0, 0, 110, 70 }, 2);
    HWND plain = make(L"STATIC", SS_LEFT, RECT { 50, 10, 90, 20 }, 3);
    HWND notifying = make(L"STATIC", SS_LEFT | SS_NOTIFY, RECT { 50, 30, 90, 40 }, 4);
    HWND button = make(L"BUTTON", BS_PUSHBUTTON, RECT { 60, 50, 100, 66 }, 5);
    HWND hidden = make(L"BUTTON", BS_PUSHBUTTON, RECT { 4, 50, 40, 66 }, 6);
    ShowWindow(hidden, SW_HIDE);
    ASSERT_NE(box, nullptr);

    EXPECT_EQ(WindowFromPoint(POINT { 10 + 20, 20 + 20 }), under);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 60, 20 + 15 }), top);
    EXPECT_NE(WindowFromPoint(POINT { 10 + 60, 20 + 15 }), plain);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 60, 20 + 35 }), notifying);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 99, 20 + 65 }), button);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 10, 20 + 55 }), top);
    // The box's lower right corner, inside no other control.
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 109, 20 + 69 }), top);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 119, 20 + 79 }), top);
    EXPECT_EQ(WindowFromPoint(POINT { 10 + 119, 20 + 80 }), nullptr);
    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(SendMessageW(button, WM_NCHITTEST, 0, 0), HTCLIENT);
}
