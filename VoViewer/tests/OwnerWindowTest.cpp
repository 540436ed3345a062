// The owner window in this process: posted minute ticks up to the threshold (at least it),
// ticks ignored while the verse dialog is open, the notification icon's click, hostile
// WM_COPYDATA, and the ends of the verse dialog that end the program or return to the tray.
#include "ViewerFixture.h"
#include "OwnerWnd.h"
#include "TestWindows.h"
#include "ViewerIds.h"
#include "ViewerUiFixture.h"

namespace {

void EndEveryDialog() {
    while (HWND dialog = DialogScript::ActiveDialog()) EndDialog(dialog, kViewerBackToTray);
}

class OwnerWindowTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        WriteBible("Egen.vrsb", "EGN");
        WriteList("Min.vrsm", Entries({0, 4, 8, 12}));
        Choose("Egen", "Min");
    }
    // Posts one minute tick and handles what follows (a verse dialog runs in it).
    static void Tick(HWND owner) {
        PostMessageA(owner, WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
        Pump();
    }
    ScriptedPrompts prompts;
};

TEST_F(OwnerWindowTest, PostedTicksShowTheVerseOnceTheyReachTheThreshold) {
    struct Case {
        bool startup;
        int firstInterval;
        int ticksToShow;
    } cases[] = {
        {false, 30, 1},  // a normal start counts from the threshold: the first tick shows
        {true, 0, 1},    // a start-up run with no first interval shows at once
        {true, 3, 3},
    };
    Watchdog watchdog(20000, &EndEveryDialog);
    for (const Case& c : cases) {
        SetViewerDword("FirstInterval", c.firstInterval);
        SetViewerDword("Interval", 7);
        RegDeleteValueA(ViewerKey(), "index");
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        VoViewerOwnerWnd owner(app, prompts, c.startup, nullptr);
        ASSERT_TRUE(owner.Create());
        EXPECT_EQ(c.firstInterval, owner.GetThreshold());
        int ticks = 0, shownAt = 0;
        DialogScript script({[&](HWND dialog) {
            shownAt = ticks;
            EXPECT_EQ(dialog, owner.GetVerseDialog());
            Command(dialog, IDOK);
        }});
        while (owner.IsWindow() && ticks < 10) {
            ++ticks;
            Tick(owner.Handle());
        }
        EXPECT_EQ(c.ticksToShow, shownAt) << c.startup << " " << c.firstInterval;
        // After the verse: the window is gone (the start makes it again), the count starts
        // over and the interval between verses applies.
        EXPECT_FALSE(owner.IsWindow());
        EXPECT_FALSE(owner.ShouldExit());
        EXPECT_EQ(0, owner.GetCounter());
        EXPECT_EQ(7, owner.GetThreshold());
        EXPECT_EQ(1, app.GetRefList().GetIndex());  // the shown verse was consumed
    }
    EXPECT_FALSE(Watchdog::Fired());
}

TEST_F(OwnerWindowTest, TicksAndTrayClicksWhileTheDialogIsOpenOnlyBringItForward) {
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    VoViewerOwnerWnd owner(app, prompts, true, nullptr);
    ASSERT_TRUE(owner.Create());
    // Clicks that are not a left-button release on the icon do nothing.
    SendMessageA(owner.Handle(), VOVIEWER_WM_TRAY, VOVIEWER_TRAY_ID, WM_RBUTTONUP);
    SendMessageA(owner.Handle(), VOVIEWER_WM_TRAY, 2, WM_LBUTTONUP);
    Pump(100);
    EXPECT_EQ(0, owner.GetCounter());

    Watchdog watchdog(10000, &EndEveryDialog);
    HWND shown = nullptr;
    int counterWhileOpen = -1;
    DialogScript script({
        [&](HWND dialog) {
            shown = dialog;
            counterWhileOpen = owner.GetCounter();
            for (int i = 0; i < 3; ++i) PostMessageA(owner.Handle(), WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
            SendMessageA(owner.Handle(), VOVIEWER_WM_TRAY, VOVIEWER_TRAY_ID, WM_LBUTTONUP);
        },
        [&](HWND dialog) {
            EXPECT_EQ(shown, dialog);  // no second dialog
            EXPECT_EQ(counterWhileOpen, owner.GetCounter());
            Command(dialog, IDOK);
        },
    });
    SendMessageA(owner.Handle(), VOVIEWER_WM_TRAY, VOVIEWER_TRAY_ID, WM_LBUTTONUP);
    for (int i = 0; i < 100 && owner.IsWindow(); ++i) Pump(20);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(owner.IsWindow());
    EXPECT_FALSE(Watchdog::Fired());
}

TEST_F(OwnerWindowTest, HostileCopyDataIsRefusedOrCutAndTerminated) {
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    VoViewerOwnerWnd owner(app, prompts, true, nullptr);
    ASSERT_TRUE(owner.Create());
    const HWND window = owner.Handle();
    EXPECT_EQ(0, SendMessageA(window, WM_COPYDATA, 0, 0));
    COPYDATASTRUCT other = {999, 4, const_cast<char*>("abc")};
    EXPECT_EQ(0, SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)));
    COPYDATASTRUCT noData = {VOVIEWER_COPYDATA_FILE, 50, nullptr};
    EXPECT_EQ(0, SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&noData)));
    EXPECT_STREQ("", owner.GetPendingFile());

    const std::string flood(400, 'q');  // no terminator, longer than a path
    COPYDATASTRUCT longData = {VOVIEWER_COPYDATA_FILE, 400, const_cast<char*>(flood.data())};
    EXPECT_EQ(TRUE, SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&longData)));
    EXPECT_EQ(std::string(MAX_PATH - 1, 'q'), owner.GetPendingFile());

    // The path is offered in the dialog that follows: it does not exist.
    Watchdog watchdog(10000, &EndEveryDialog);
    DialogScript script({[](HWND) {}, [](HWND) {}, [](HWND) {}, [](HWND dialog) { Command(dialog, IDOK); }});
    for (int i = 0; i < 200 && owner.IsWindow(); ++i) Pump(20);
    ASSERT_EQ(1u, prompts.messages.size());
    EXPECT_EQ("Filen '" + std::string(MAX_PATH - 1, 'q') + "' eksisterer ikke.", prompts.messages[0]);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), prompts.types[0]);
    EXPECT_STREQ("", owner.GetPendingFile());
    EXPECT_FALSE(Watchdog::Fired());
}

TEST_F(OwnerWindowTest, QuittingEndsTheProgramAndClosingReturnsToTheTray) {
    struct Case {
        UINT command;  // 0: the quit request by WM_COPYDATA
        bool exits;
    } cases[] = {
        {IDOK, false}, {IDCANCEL, false}, {kCmdClose, false}, {IDC_QUIT, true}, {kCmdQuit, true}, {0, true},
    };
    Watchdog watchdog(30000, &EndEveryDialog);
    for (const Case& c : cases) {
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        VoViewerOwnerWnd owner(app, prompts, true, nullptr);
        ASSERT_TRUE(owner.Create());
        DialogScript script({[&](HWND dialog) {
            if (c.command) {
                Command(dialog, c.command);
                return;
            }
            COPYDATASTRUCT quit = {VOVIEWER_COPYDATA_QUIT, 0, nullptr};
            EXPECT_EQ(TRUE, SendMessageA(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&quit)));
        }});
        PostMessageA(owner.Handle(), VOVIEWER_WM_SHOWNOW, 0, 0);
        for (int i = 0; i < 200 && owner.IsWindow(); ++i) Pump(20);
        EXPECT_FALSE(owner.IsWindow()) << c.command;
        EXPECT_EQ(c.exits, owner.ShouldExit()) << c.command;
    }
    EXPECT_FALSE(Watchdog::Fired());
}

}  // namespace
