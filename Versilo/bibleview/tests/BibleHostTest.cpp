// The host of up to six bible panes over the KJV sample: new panes, their widths from the
// fractions, the hit-test kinds, the seventh pane refused, closing the active leftmost
// pane, the splitter dragged with posted messages and with the mouse (its bar over the
// panes), activation flags, a screenshot, and a verse dragged with the mouse from one pane
// to another through OLE.
#include <gtest/gtest.h>
#include <functional>
#include "BibleWindowHost.h"
#include "OleHandles.h"
#include "PanesFixture.h"
#include "RealInput.h"
#include "SimpleBibleWindow.h"

namespace {

constexpr int kGenesis = 0, kPsalms = 18, kJoel = 28, kJohn = 42;

class BibleHostTest : public PanesTest {
protected:
    void SetUp() override {
        PanesTest::SetUp();
        client = std::make_unique<FakeClient>();
        frame = std::make_unique<TestFrame>(906, 500);
        host = VoBibleWindowHost::Create();
        ASSERT_TRUE(host);
        host->Initialize(client.get());
        start.bibleIndex = client->Index("KJV");
        RECT rc = frame->Client();
        ASSERT_TRUE(host->CreateTextWindow(frame->hwnd, &rc, 3000, &start));
        SetFocus(host->GetTextWindow());
        Pump();
    }
    void TearDown() override {
        if (HWND window = Window()) DestroyWindow(window);
        host.Reset();
        frame.reset();
    }
    VoBibleWindowHost* Host() { return static_cast<VoBibleWindowHost*>(host.Get()); }
    HWND Window() { return host ? Host()->Handle() : nullptr; }
    void AddPanes(int total) {
        while (Host()->GetPaneCount() < total) {
            ASSERT_TRUE(host->HandleCommand(kCmdNewPane));
            Pump();
        }
    }
    std::vector<int> Widths() {
        RECT rc;
        GetClientRect(Window(), &rc);
        std::vector<int> w(static_cast<size_t>(Host()->GetPaneCount()));
        Host()->PaneWidths(rc.right, w.data());
        return w;
    }
    int PaneWindowWidth(int slot) {
        RECT rc;
        GetWindowRect(Host()->GetPane(slot)->GetTextWindow(), &rc);
        return rc.right - rc.left;
    }

    OleInitialization ole;  // the text windows register their drop targets
    std::unique_ptr<FakeClient> client;
    std::unique_ptr<TestFrame> frame;
    ComPtr<AVoBibleWindow> host;
    VoBiblePosition start;
};

TEST_F(BibleHostTest, OnePaneHasNoCaptionsSplittersOrButtons) {
    EXPECT_EQ(1, Host()->GetPaneCount());
    EXPECT_EQ(0, Host()->GetActiveSlot());
    for (POINT p : {POINT{5, 2}, POINT{450, 5}, POINT{900, 2}})
        EXPECT_EQ(VoBibleWindowHost::kHitNothing, Host()->HitTest(p).kind);
    EXPECT_TRUE(host->HandleCommand(kCmdClosePane));  // the last pane stays
    EXPECT_TRUE(host->HandleCommand(kCmdNextPane));
    EXPECT_EQ(1, Host()->GetPaneCount());
    EXPECT_EQ(906, PaneWindowWidth(0));
    // Commands it does not know go to the pane.
    EXPECT_TRUE(host->HandleCommand(kCmdOpenItem));
    EXPECT_FALSE(host->HandleCommand(4711));
}

TEST_F(BibleHostTest, SixPanesAtMostWithWidthsFromTheirFractions) {
    AddPanes(3);
    EXPECT_EQ(2, Host()->GetActiveSlot());  // the new pane took the focus
    RECT rc = {0, 0, 306, 400};
    host->MoveWindow(&rc);
    Pump();
    EXPECT_EQ((std::vector<int>{98, 98, 98}), Widths());
    EXPECT_EQ(98, PaneWindowWidth(2));
    rc.right = 906;
    host->MoveWindow(&rc);
    AddPanes(6);
    ASSERT_EQ(6, Host()->GetPaneCount());
    ASSERT_FALSE(client->enables.empty());
    EXPECT_EQ(kCmdNewPane, client->enables.back().id);
    EXPECT_FALSE(client->enables.back().enable);
    EXPECT_TRUE(host->HandleCommand(kCmdNewPane));  // a seventh: nothing
    EXPECT_EQ(6, Host()->GetPaneCount());
    // Each pane started where the active one was: all at the book list of the KJV.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(start.bibleIndex, Host()->GetPane(i)->GetBibleIndex());

    // Hit tests: splitters over the whole height, captions, close buttons.
    const std::vector<int> w = Widths();
    const int splitter = w[0];
    EXPECT_EQ(VoBibleWindowHost::kHitSplitter, Host()->HitTest({splitter + 3, 300}).kind);
    EXPECT_EQ(0, Host()->HitTest({splitter, 2}).index);
    EXPECT_EQ(VoBibleWindowHost::kHitCaption, Host()->HitTest({splitter + 10, 2}).kind);
    EXPECT_EQ(1, Host()->HitTest({splitter + 10, 2}).index);
    const RECT button = Host()->CloseButtonRect(1);
    const VoBibleWindowHost::Hit hit = Host()->HitTest({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    EXPECT_EQ(VoBibleWindowHost::kHitCloseButton, hit.kind);
    EXPECT_EQ(1, hit.index);
    EXPECT_EQ(VoBibleWindowHost::kHitNothing, Host()->HitTest({10, 300}).kind);

    // Closing one makes the new-pane command usable again.
    EXPECT_TRUE(host->HandleCommand(kCmdClosePane));
    EXPECT_EQ(5, Host()->GetPaneCount());
    EXPECT_TRUE(client->enables.back().enable);
}

TEST_F(BibleHostTest, ClosingTheActiveLeftmostOfThreeKeepsTheRightmostActive) {
    AddPanes(3);
    HWND rightmost = Host()->GetPane(2)->GetTextWindow();
    SetFocus(Host()->GetPane(0)->GetTextWindow());
    Pump();
    ASSERT_EQ(0, Host()->GetActiveSlot());
    EXPECT_TRUE(host->HandleCommand(kCmdClosePane));
    Pump();
    EXPECT_EQ(2, Host()->GetPaneCount());
    EXPECT_EQ(1, Host()->GetActiveSlot());
    EXPECT_EQ(rightmost, Host()->GetPane(1)->GetTextWindow());
    EXPECT_EQ(rightmost, GetFocus());
    EXPECT_EQ(101, GetDlgCtrlID(rightmost));
    // Next and previous pane cycle through the two.
    host->HandleCommand(kCmdNextPane);
    Pump();
    EXPECT_EQ(0, Host()->GetActiveSlot());
    host->HandleCommand(kCmdPreviousPane);
    Pump();
    EXPECT_EQ(1, Host()->GetActiveSlot());
}

TEST_F(BibleHostTest, ActivationAndPositionFlagsReachTheClient) {
    AddPanes(2);
    host->SetBook(kJohn);  // the active pane: slot 1
    EXPECT_EQ(7u, client->TakeFlags());
    // The inactive pane moves: the frame hears nothing.
    Host()->GetPane(0)->SetBook(kGenesis);
    EXPECT_TRUE(client->flags.empty());
    SetFocus(Host()->GetPane(0)->GetTextWindow());
    Pump();
    EXPECT_EQ(16u | 4 | 2 | 1, client->TakeFlags());
    EXPECT_EQ(kGenesis, host->GetBook());
}

TEST_F(BibleHostTest, DraggingASplitterLeavesEachNeighbourItsMinimum) {
    AddPanes(3);
    std::vector<int> before = Widths();
    const int x = before[0] + 2;
    const int y = 200;
    auto post = [&](UINT message, int px) {
        PostMessageA(Window(), message, 0, MAKELPARAM(static_cast<WORD>(px), static_cast<WORD>(y)));
    };
    post(WM_LBUTTONDOWN, x);
    post(WM_MOUSEMOVE, x + 2000);
    post(WM_LBUTTONUP, x + 2000);
    Pump(100);
    std::vector<int> after = Widths();
    EXPECT_EQ(before[0] + before[1] - VoBibleWindowHost::kMinPaneWidth, after[0]);
    EXPECT_EQ(VoBibleWindowHost::kMinPaneWidth, after[1]);
    EXPECT_EQ(before[2], after[2]);
    EXPECT_EQ(after[1], PaneWindowWidth(1));
    // A key during the drag leaves it where it was.
    post(WM_LBUTTONDOWN, after[0] + 2);
    post(WM_MOUSEMOVE, 150);
    PostMessageA(Window(), WM_KEYDOWN, VK_ESCAPE, 0);
    post(WM_LBUTTONUP, 150);
    Pump(100);
    EXPECT_EQ(after, Widths());
}

TEST_F(BibleHostTest, ThreePanesAtGenesisJohnAndPsalms) {
    AddPanes(3);
    const int books[] = {kGenesis, kJohn, kPsalms};
    const int chapters[] = {0, 2, 22};
    for (int i = 0; i < 3; ++i) {
        AVoBibleWindow* pane = Host()->GetPane(i);
        pane->SetBook(books[i]);
        pane->SetChapter(chapters[i]);
    }
    SetFocus(Host()->GetPane(1)->GetTextWindow());
    Pump(50);
    EXPECT_EQ(kJohn, host->GetBook());
    SaveArtifact(frame->hwnd, "bible-host-three-panes.bmp");
    const Capture c = Capture::Of(Window());
    const std::vector<int> w = Widths();
    // The splitter's first line is the highlight colour, its last the shadow colour.
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), c.At(w[0], 300));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), c.At(w[0] + 5, 300));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), c.At(w[0] + 2, 300));
}

// The mouse of a drag, moved by a thread timer that runs inside the text window's press
// loop and OLE's drag loop: the pointer along the path, then the button let go. A watchdog
// lets go of the button and presses Esc when the drag never ends by itself.
struct MouseScript {
    std::vector<POINT> path;  // screen points after the press
    size_t next = 0;
    std::function<void()> held;  // at the path's end, before the button is let go
    bool released = false;
    bool timedOut = false;
};
MouseScript s_script;

void CALLBACK StepMouse(HWND, UINT, UINT_PTR id, DWORD) {
    if (s_script.next < s_script.path.size()) {
        const POINT p = s_script.path[s_script.next++];
        SetCursorPos(p.x, p.y);
        return;
    }
    KillTimer(nullptr, id);
    if (s_script.held) s_script.held();
    SendMouse(MOUSEEVENTF_LEFTUP);
    s_script.released = true;
}

void CALLBACK EndStuckDrag(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    s_script.timedOut = true;
    SendMouse(MOUSEEVENTF_LEFTUP);
    SendKey(VK_ESCAPE, 0);
    SendKey(VK_ESCAPE, KEYEVENTF_KEYUP);
}

// Presses the left button at from (screen), drags to to and lets go there, calling held
// there first; false when the drag did not end in time.
bool DragWithTheMouse(POINT from, POINT to, std::function<void()> held = {}) {
    s_script = MouseScript();
    s_script.held = std::move(held);
    s_script.path.push_back({from.x + 12, from.y + 6});  // out of the press's drag rectangle
    for (int i = 1; i <= 4; ++i)
        s_script.path.push_back({from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
    s_script.path.push_back(to);
    SetCursorPos(from.x, from.y);
    Pump(50);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, &EndStuckDrag);
    const UINT_PTR steps = SetTimer(nullptr, 0, 80, &StepMouse);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    // The press and the drag run inside the dispatch of the button's message here.
    const bool ended = PumpUntil([] { return s_script.released || s_script.timedOut; }, 15000);
    Pump(200);
    KillTimer(nullptr, steps);
    KillTimer(nullptr, watchdog);
    if (!s_script.released) SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(50);
    s_script.held = nullptr;
    return ended && !s_script.timedOut;
}

// The middle of a pane's text window in screen coordinates.
POINT MiddleOf(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST_F(BibleHostTest, TheDraggedSplitterBarShowsOverThePanes) {
    AddPanes(2);
    Host()->GetPane(0)->SetBook(kJohn);
    Host()->GetPane(0)->SetChapter(2);
    Pump(100);
    const std::vector<int> before = Widths();
    const int top = Host()->CaptionHeight();
    POINT press = {before[0] + 2, 200};
    const int shift = 80;  // the bar ends 74 pixels inside the right pane
    POINT origin = {0, 0};
    ClientToScreen(Window(), &origin);
    RECT host;
    GetClientRect(Window(), &host);
    OffsetRect(&host, origin.x, origin.y);
    // The bar's six columns over the right pane, below its top.
    const int barX = before[0] + shift;
    RECT bar = {origin.x + barX, origin.y + top + 40, origin.x + barX + VoBibleWindowHost::kSplitterWidth,
                origin.y + top + 240};
    ASSERT_GT(barX, before[0] + VoBibleWindowHost::kSplitterWidth + 10);
    const Capture unpressed = ScreenArea(bar);

    // The host's tracking loop runs the timer that moves the pointer and reads the screen.
    Capture during;
    ASSERT_TRUE(DragWithTheMouse({origin.x + press.x, origin.y + press.y},
                                 {origin.x + press.x + shift, origin.y + press.y}, [&] { during = ScreenArea(host); }))
        << "the drag did not end";
    ASSERT_EQ(host.right - host.left, during.width);
    EXPECT_TRUE(during.SaveArtifact("bible-host-splitter-drag.bmp"));
    // Mid-drag the bar inverts dots down each of its columns over the pane's text.
    int inverted = 0, otherwise = 0;
    for (int y = 0; y < unpressed.height; ++y) {
        for (int x = 0; x < unpressed.width; ++x) {
            const COLORREF was = unpressed.At(x, y);
            const COLORREF now = during.At(bar.left - host.left + x, bar.top - host.top + y);
            if (now == (was ^ 0xFFFFFF)) ++inverted;
            else if (now != was) ++otherwise;
        }
    }
    EXPECT_GE(inverted, unpressed.width * unpressed.height / 4) << "the bar does not show over the pane";
    EXPECT_EQ(0, otherwise);
    // And the drag ends where the pointer let go.
    const std::vector<int> after = Widths();
    EXPECT_EQ(before[0] + shift, after[0]);
    EXPECT_EQ(before[1] - shift, after[1]);
    EXPECT_EQ(after[1], PaneWindowWidth(1));
}

TEST_F(BibleHostTest, AVerseDraggedToAnotherPaneOpensThereInItsNumbering) {
    AddPanes(2);
    auto* source = static_cast<VoSimpleBibleWindow*>(Host()->GetPane(0));
    AVoBibleWindow* target = Host()->GetPane(1);
    const int var = client->Index("VAR");
    target->SetBible(var);
    ASSERT_EQ(-1, target->GetBook());
    // KJV Joel 2:30 selected in the left pane; it is Joel 3:3 in the variant numbering.
    IBibleStat* kjvStat = source->GetBibleObjects()->GetStat();
    source->GoToVerse(source->GetBibleObjects()->MakeIndex(kJoel, 1, 29));
    VoBiblePosition before;
    source->GetPosition(&before);
    ASSERT_EQ(before.selectionBegin + 1, before.selectionEnd);
    HWND from = source->GetTextWindow();
    POINT press;
    ASSERT_TRUE(FindItemPoint(source, from, before.caretItem, -1, &press)) << "no plain text in Joel 2:30";
    ClientToScreen(from, &press);
    client->status.clear();

    ASSERT_TRUE(DragWithTheMouse(press, MiddleOf(target->GetTextWindow()))) << "the drag did not end";
    EXPECT_EQ(var, target->GetBibleIndex());
    EXPECT_EQ(kJoel, target->GetBook());
    EXPECT_EQ(2, target->GetChapter());
    EXPECT_EQ(2, target->GetVerse());
    VoBiblePosition after;
    target->GetPosition(&after);
    IBibleStat* varStat = target->GetBibleObjects()->GetStat();
    const int joel33 = varStat->RefToVerseIndex(kJoel, 2, 2) - varStat->RefToVerseIndex(kJoel, 0, 0);
    EXPECT_EQ(joel33, after.caretItem);
    EXPECT_EQ(joel33, after.selectionBegin);
    EXPECT_EQ(joel33 + 1, after.selectionEnd);
    char text[256];
    static_cast<VoSimpleBibleWindow*>(target)->GetItemText(after.caretItem, text, sizeof text, nullptr);
    EXPECT_STREQ("3 Variant 29.3:3", text);
    // Over the target the status bar said what letting go would open; then it was cleared.
    char reference[kFormatRefBufferSize] = {};
    target->GetBibleObjects()->GetLangStat()->FormatRef(reference, target->GetBibleObjects()->MakeIndex(kJoel, 2, 2),
                                                      0, 0, 0, FALSE);
    const std::string offer = std::string("Slipp musknappen for \xE5 \xE5pne ") + reference + " i dette vinduet.";
    std::string said;
    for (const std::string& s : client->status) said += s + "\n";
    EXPECT_NE(std::string::npos, said.find(offer + "\n")) << said;
    ASSERT_FALSE(client->status.empty());
    EXPECT_EQ("", client->status.back());
    // The source pane stayed where it was.
    VoBiblePosition still;
    source->GetPosition(&still);
    EXPECT_EQ(kjvStat, source->GetBibleObjects()->GetStat());
    EXPECT_EQ(before.chapter, still.chapter);
    EXPECT_EQ(before.caretItem, still.caretItem);
    SaveArtifact(frame->hwnd, "bible-host-dropped-verse.bmp");

    // Dropped back on its own pane the verse changes nothing there.
    source->GetPosition(&before);
    target->SetBook(kJohn);
    ASSERT_TRUE(FindItemPoint(source, from, before.caretItem, -1, &press));
    ClientToScreen(from, &press);
    POINT back = press;
    back.y += 40;
    ASSERT_TRUE(DragWithTheMouse(press, back)) << "the drag did not end";
    source->GetPosition(&still);
    EXPECT_EQ(before.caretItem, still.caretItem);
    EXPECT_EQ(before.selectionBegin, still.selectionBegin);
    EXPECT_EQ(before.selectionEnd, still.selectionEnd);
    EXPECT_EQ(kJohn, target->GetBook());
    EXPECT_EQ(-1, target->GetChapter());
}

}  // namespace
