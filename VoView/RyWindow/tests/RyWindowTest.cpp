// The window base: binding on the first message, routing through the message map, the
// final message (held back while a handler of the window runs), failed creation, the
// replacement of a stale window class and SendNotify.
#include <gtest/gtest.h>
#include <vector>
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

namespace {

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kDestroySelf = WM_APP + 2;
constexpr UINT kMaybe = WM_APP + 3;
const char kClass[] = "RyWindowTestClass";

struct Log {
    std::vector<UINT> messages;
    HWND handleAtFirstMessage = nullptr;
    int finalCalls = 0;
    HWND finalHandle = nullptr;
    bool finalDuringHandler = false;
    int sizes = 0;
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
    void OnFinalMessage(HWND hwnd) override {
        ++log_.finalCalls;
        log_.finalHandle = hwnd;
        log_.finalDuringHandler = inHandler_;
        delete this;
    }

private:
    int OnCreate(const ry::CreateStruct&) { return failCreate_ ? -1 : 0; }
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

}  // namespace
