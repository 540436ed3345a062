// The popup text window (its size rule, its place on the real desktop, its reveal and its
// painting for the fade) and the two mouse tracking loops driven by posted messages.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "PanesFixture.h"
#include "PopupText.h"
#include "Tracking.h"

namespace {

TEST(PopupPlace, BelowAboveOrWhereThereIsMoreRoom) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int w = desktop.right, h = desktop.bottom;
    struct Case {
        const char* what;
        RECT anchor;
        POINT point;
        SIZE size;
        RECT expected;
    } cases[] = {
        {"below the anchor", {100, 100, 300, 120}, {150, 110}, {200, 100}, {150, 120, 350, 220}},
        {"above near the bottom", {100, h - 40, 300, h - 20}, {150, h - 30}, {200, 100}, {150, h - 140, 350, h - 40}},
        {"taller than both: the larger side above", {100, h / 2 + 10, 300, h / 2 + 30}, {150, h / 2}, {200, h},
         {150, 0, 350, h / 2 + 10}},
        {"taller than both: the larger side below", {100, h / 2 - 30, 300, h / 2 - 10}, {150, h / 2}, {200, h},
         {150, h / 2 - 10, 350, h}},
        {"moved left at the right edge", {100, 100, 300, 120}, {w - 50, 110}, {200, 100}, {w - 200, 120, w, 220}},
        {"not past the left edge", {0, 100, 30, 120}, {10, 110}, {w + 40, 100}, {0, 120, w + 40, 220}},
    };
    for (const Case& c : cases) {
        const RECT r = PlacePopup(desktop, c.anchor, c.point, c.size);
        EXPECT_EQ(c.expected.left, r.left) << c.what;
        EXPECT_EQ(c.expected.top, r.top) << c.what;
        EXPECT_EQ(c.expected.right, r.right) << c.what;
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.what;
    }
}

TEST(PopupText, GrowsInStepsOfTwentyUntilNoTallerThanThreeQuartersOfItsWidth) {
    std::string body;
    for (int i = 0; i < 60; ++i) body += "and God saw that it was good ";
    VoPopupTextWnd* popup = new VoPopupTextWnd(nullptr, "1 Mos 1,10", body.c_str());
    MemoryDc dc(CreateCompatibleDC(nullptr));
    const SIZE size = popup->GetSize(dc.Get());
    const int width = size.cx - 2, height = size.cy - 2;
    EXPECT_EQ(0, (width - 100) % 20) << width;
    EXPECT_LE(height, width * 3 / 4);
    int narrower = width - 20;
    EXPECT_GT(popup->Measure(dc.Get(), &narrower), (width - 20) * 3 / 4);
    // A short text keeps the least width, 100.
    VoPopupTextWnd* small = new VoPopupTextWnd(nullptr, "", "Amen.");
    EXPECT_EQ(102, small->GetSize(dc.Get()).cx);
    delete popup;  // never made windows: still ours
    delete small;
}

TEST(PopupText, RevealedByItsTimerAndPaintsTheSameForTheFade) {
    TestFrame frame(400, 300);
    const RECT anchor = {20, 20, 200, 40};
    HWND popup = ShowPopupText(frame.hwnd, &anchor, {30, 30}, "Rom 16,27",
                               "Skrevet til romerne fra Korint, og sendt med F\xF8" "be, tjenerinne for menigheten i Kenkre\xE6.");
    ASSERT_TRUE(popup);
    EXPECT_FALSE(IsWindowVisible(popup));
    EXPECT_EQ(WS_POPUP | WS_BORDER, static_cast<DWORD>(GetWindowLongA(popup, GWL_STYLE)) & (WS_POPUP | WS_BORDER | WS_CHILD));
    SendMessageA(popup, WM_TIMER, VoPopupTextWnd::kRevealTimer, 0);
    EXPECT_TRUE(IsWindowVisible(popup));
    RECT r;
    GetWindowRect(popup, &r);
    POINT below = {anchor.left, anchor.bottom};
    ClientToScreen(frame.hwnd, &below);
    EXPECT_EQ(below.y, r.top);
    SaveArtifact(popup, "popup-note.bmp", true);
    // What WM_PRINTCLIENT paints into a memory DC is what the window shows.
    const Capture shown = Capture::Of(popup);
    const std::vector<COLORREF> printed = PrintedClient(popup);
    ASSERT_EQ(static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height), printed.size());
    int differing = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (printed[static_cast<size_t>(y * shown.width + x)] != shown.At(x, y)) ++differing;
    EXPECT_EQ(0, differing);
    DestroyWindow(popup);
    EXPECT_FALSE(IsWindow(popup));
}

// Takes the capture away while a loop runs; the next mouse message finds it gone.
HWND s_window = nullptr;
void CALLBACK ReleaseCaptureSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ReleaseCapture();
    PostMessageA(s_window, WM_MOUSEMOVE, 0, MAKELPARAM(420, 50));
}

// The tracking loops on a window of the test, with the messages already posted.
class TrackingTest : public ::testing::Test {
protected:
    TrackingTest() : frame(600, 300) {}
    void Post(UINT message, int x, int y = 50, WPARAM wParam = 0) {
        PostMessageA(frame.hwnd, message, wParam, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    int Drag() { return TrackSplitter(frame.hwnd, 300, 296, 150, 450, 0, 300); }
    TestFrame frame;
};

TEST_F(TrackingTest, SplitterDragsWithinItsLimits) {
    struct Case {
        const char* what;
        std::vector<int> moves;
        int released;
        int expected;
    } cases[] = {
        {"a plain drag", {320, 340}, 340, 336},
        {"past the maximum", {500, 900}, 900, 450},
        {"left of the window (negative x)", {-50}, -50, 150},
        {"no move at all", {}, 300, 296},
    };
    for (const Case& c : cases) {
        for (int x : c.moves) Post(WM_MOUSEMOVE, x);
        Post(WM_LBUTTONUP, c.released);
        EXPECT_EQ(c.expected, Drag()) << c.what;
        EXPECT_EQ(nullptr, GetCapture()) << c.what;
    }
    // Crossed limits: the splitter stays.
    Post(WM_MOUSEMOVE, 500);
    Post(WM_LBUTTONUP, 500);
    EXPECT_EQ(296, TrackSplitter(frame.hwnd, 300, 296, 250, 200, 0, 300));
}

TEST_F(TrackingTest, AKeyALostCaptureOrAQuitCancelTheDrag) {
    Post(WM_MOUSEMOVE, 400);
    PostMessageA(frame.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    Post(WM_LBUTTONUP, 400);
    EXPECT_EQ(296, Drag());
    Pump();

    // The capture goes while the loop runs; the next mouse message finds it gone.
    s_window = frame.hwnd;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &ReleaseCaptureSoon);
    Post(WM_MOUSEMOVE, 400);
    EXPECT_EQ(296, Drag());
    KillTimer(nullptr, timer);
    Pump();

    PostQuitMessage(7);
    EXPECT_EQ(296, Drag());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_EQ(7u, msg.wParam);
}

struct RecordingPainter : AButtonPainter {
    void Paint(HWND, const RECT&, bool pressed, bool hot) override { states.push_back(pressed * 2 + hot); }
    std::vector<int> states;
};

TEST_F(TrackingTest, ButtonPressedInsideOrReleasedOutside) {
    const RECT button = {100, 40, 120, 60};
    RecordingPainter inside;
    Post(WM_MOUSEMOVE, 300);
    Post(WM_MOUSEMOVE, 110);
    Post(WM_LBUTTONUP, 110);
    EXPECT_TRUE(TrackButton(frame.hwnd, button, &inside));
    EXPECT_EQ((std::vector<int>{3, 1, 3, 2}), inside.states);

    RecordingPainter outside;
    Post(WM_MOUSEMOVE, 300);
    Post(WM_LBUTTONUP, 300);
    EXPECT_FALSE(TrackButton(frame.hwnd, button, &outside));
    EXPECT_EQ((std::vector<int>{3, 1, 0}), outside.states);  // drawn normal at the end

    RecordingPainter quit;
    PostQuitMessage(3);
    EXPECT_FALSE(TrackButton(frame.hwnd, button, &quit));
    EXPECT_EQ((std::vector<int>{3, 0}), quit.states);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
