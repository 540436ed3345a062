// The window base: binding on the first message, routing through the message map, the
// final message (held back while a handler of the window or a KeepAlive scope runs), an
// object that dies before its window, calls on a dead window, failed creation, creation
// at the system's default place with a menu and a creation parameter, the replacement of
// a stale window class and SendNotify.
#include <gtest/gtest.h>
#include <vector>
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

namespace {

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kDestroySelf = WM_APP + 2;
constexpr UINT kMaybe = WM_APP + 3;
constexpr UINT kCloseFromCallback = WM_APP + 4;
const char kClass[] = "RyWindowTestClass";

struct Log {
    std::vector<UINT> messages;
    HWND handleAtFirstMessage = nullptr;
    int finalCalls = 0;
    HWND finalHandle = nullptr;
    bool finalDuringHandler = false;
    int sizes = 0;
    int finalsInsideCallback = -1;
    const void* createParam = nullptr;
};

using TestTraits = RyWindowTraits<WS_OVERLAPPEDWINDOW>;

class TestWindow : public RyWindowImpl<TestWindow, TestTraits> {
public:
    explicit TestWindow(Log& log, bool failCreate = false) : log_(log), failCreate_(failCreate) {}
    ~TestWindow() override = default;

    static void GetWindowClass(ry::WindowClass& wc) {
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (log_.messages.empty()) log_.handleAtFirstMessage = Handle() == hwnd ? hwnd : nullptr;
        log_.messages.push_back(message);
        static const RyMessageEntry<TestWindow> map[] = {
            {WM_CREATE, RyOnCreate<&TestWindow::OnCreate>},
            {WM_SIZE, RyOnSize<&TestWindow::OnSize>},
            {kAnswer, RyMsg<&TestWindow::OnAnswer>},
            {kDestroySelf, RyMsg<&TestWindow::OnDestroySelf>},
            {kMaybe, RyMsgMaybe<&TestWindow::OnMaybe>},
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    // What a COM method or sink callback of the object does when it closes its own window.
    void CloseFromCallback() {
        KeepAlive hold(*this);
        inHandler_ = true;
        ::DestroyWindow(Handle());
        log_.finalsInsideCallback = log_.finalCalls;
        inHandler_ = false;  // the object must still be here
    }
    void OnFinalMessage(HWND hwnd) override {
        ++log_.finalCalls;
        log_.finalHandle = hwnd;
        log_.finalDuringHandler = inHandler_;
        delete this;
    }

private:
    int OnCreate(const ry::CreateStruct& cs) {
        log_.createParam = cs.lpCreateParams;
        return failCreate_ ? -1 : 0;
    }
    void OnSize(UINT, int, int) { ++log_.sizes; }
    LRESULT OnAnswer(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
    LRESULT OnDestroySelf(WPARAM, LPARAM) {
        inHandler_ = true;
        ::DestroyWindow(Handle());
        inHandler_ = false;  // the object must still be here
        return 7;
    }
    LRESULT OnMaybe(WPARAM w, LPARAM, bool& handled) {
        handled = w != 0;
        return 99;
    }

    Log& log_;
    bool failCreate_;
    bool inHandler_ = false;
};

HWND MakeWindow(TestWindow* w) {
    RECT rc = {10, 10, 210, 110};
    return w->Create(nullptr, rc, 0, 0, "Ry test");
}

TEST(RyWindow, BindsOnTheFirstMessageAndRoutesThroughTheMap) {
    Log log;
    auto* w = new TestWindow(log);
    HWND hwnd = MakeWindow(w);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_FALSE(log.messages.empty());
    EXPECT_EQ(hwnd, log.handleAtFirstMessage);  // bound before the first message was handled
    EXPECT_EQ(hwnd, w->Handle());
    EXPECT_EQ(42, SendMessageW(hwnd, kAnswer, 40, 2));
    EXPECT_EQ(99, SendMessageW(hwnd, kMaybe, 1, 0));
    EXPECT_EQ(0, SendMessageW(hwnd, kMaybe, 0, 0));  // passed on to the default procedure
    wchar_t title[32] = {};
    EXPECT_EQ(7, SendMessageW(hwnd, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(title)));
    EXPECT_STREQ(L"Ry test", title);
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GE(log.sizes, 1);
    EXPECT_EQ(0, log.finalCalls);
    DestroyWindow(hwnd);
    EXPECT_EQ(1, log.finalCalls);
    EXPECT_EQ(hwnd, log.finalHandle);
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), log.messages.back());
}

TEST(RyWindow, DestroyingItselfInAHandlerDefersTheFinalMessage) {
    Log log;
    auto* w = new TestWindow(log);
    HWND hwnd = MakeWindow(w);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(7, SendMessageW(hwnd, kDestroySelf, 0, 0));
    EXPECT_EQ(1, log.finalCalls);
    EXPECT_FALSE(log.finalDuringHandler);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(RyWindow, AFailedCreationLeavesTheObjectToItsCreator) {
    Log log;
    auto* w = new TestWindow(log, true);
    EXPECT_EQ(nullptr, MakeWindow(w));
    EXPECT_EQ(0, log.finalCalls);
    EXPECT_EQ(nullptr, w->Handle());
    delete w;
}

TEST(RyWindow, AStaleClassOfTheSameNameIsRegisteredAnew) {
    // A class with the same name but another procedure, as an earlier load of a library
    // would leave behind.
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    UnregisterClassA(kClass, wc.hInstance);
    ASSERT_NE(0, RegisterClassExA(&wc));
    Log log;
    auto* w = new TestWindow(log);
    HWND hwnd = MakeWindow(w);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(42, SendMessageW(hwnd, kAnswer, 42, 0));
    DestroyWindow(hwnd);
    EXPECT_EQ(1, log.finalCalls);
}

struct NotifyRecord {
    int count = 0;
    NMHDR hdr = {};
    WPARAM wParam = 0;
};
NotifyRecord g_notify;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        ++g_notify.count;
        g_notify.hdr = *reinterpret_cast<NMHDR*>(lParam);
        g_notify.wParam = wParam;
        return 1234;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(RyWindow, SendNotifyReportsToTheParentWithTheControlIdentifier) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RyWindowTestParent";
    RegisterClassExW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, parent);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(321)), wc.hInstance, nullptr);
    ASSERT_NE(nullptr, child);
    RyWindow control(child);
    EXPECT_EQ(321u, control.ControlId());
    EXPECT_EQ(1234, control.SendNotify(static_cast<UINT>(-7)));
    EXPECT_EQ(1, g_notify.count);
    EXPECT_EQ(child, g_notify.hdr.hwndFrom);
    EXPECT_EQ(321u, g_notify.hdr.idFrom);
    EXPECT_EQ(static_cast<UINT>(-7), g_notify.hdr.code);
    EXPECT_EQ(321u, g_notify.wParam);
    DestroyWindow(parent);
}

TEST(RyWindow, AKeepAliveScopeHoldsBackTheFinalMessage) {
    Log log;
    auto* w = new TestWindow(log);
    ASSERT_NE(nullptr, MakeWindow(w));
    w->CloseFromCallback();
    EXPECT_EQ(0, log.finalsInsideCallback);
    EXPECT_EQ(1, log.finalCalls);
    EXPECT_FALSE(log.finalDuringHandler);
}

TEST(RyWindow, AnObjectThatDiesBeforeItsWindowIsForgotten) {
    Log log;
    auto* w = new TestWindow(log);
    HWND hwnd = MakeWindow(w);
    ASSERT_NE(nullptr, hwnd);
    delete w;
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    const size_t seen = log.messages.size();
    EXPECT_EQ(0, SendMessageA(hwnd, kAnswer, 40, 2));  // the default procedure's answer
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(seen, log.messages.size());
    EXPECT_EQ(0, log.finalCalls);
}

TEST(RyWindow, CallsOnADeadWindowDoNothing) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(12)), nullptr, nullptr);
    RyWindow dead(child);
    EXPECT_EQ(12u, dead.ControlId());
    DestroyWindow(parent);
    for (const RyWindow& w : {dead, RyWindow()}) {
        EXPECT_FALSE(w.IsWindow());
        EXPECT_EQ(0u, w.ControlId());
        EXPECT_EQ(0, w.SendNotify(static_cast<UINT>(-7)));
        EXPECT_EQ(0, w.Send(WM_GETTEXTLENGTH));
        EXPECT_EQ(nullptr, w.Item(1));
        w.Invalidate(true);  // not the desktop
        w.InvalidateRect(RECT{0, 0, 5, 5});
    }
}

TEST(RyWindow, CreatesAtTheSystemsDefaultPlaceWithAMenuAndACreationParameter) {
    Log log;
    auto* w = new TestWindow(log);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 100, "&Fil");
    int marker = 0;
    RyCreateParams p;
    p.title = "Versilo";
    p.menu = menu;
    p.param = &marker;
    HWND hwnd = w->Create(p);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(&marker, log.createParam);
    EXPECT_EQ(menu, GetMenu(hwnd));
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    EXPECT_GT(rc.right - rc.left, 0);  // the system chose a size
    EXPECT_GT(rc.bottom - rc.top, 0);
    DestroyWindow(hwnd);  // destroys the menu with it
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(1, log.finalCalls);
}

}  // namespace
