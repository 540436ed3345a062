// The go-to dialog over the KJV sample: which typed texts enable OK, and the dialog run
// modally from a pane (Ctrl+G and a typed letter), driven by a timer inside its own loop.
#include <gtest/gtest.h>
#include "GotoDialog.h"
#include "PanesFixture.h"
#include "SimpleBibleWindow.h"

namespace {

constexpr int kJohn = 42;

// A step of a test on the open dialog, called on a timer inside the dialog's loop every
// 50 ms, at most 40 times (then the dialog is cancelled); true when it is done.
using Step = bool (*)(HWND dialog, int tick);
Step s_step = nullptr;
int s_tick = 0;
UINT_PTR s_timer = 0;

void CALLBACK DriveStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", nullptr);
    if (!dialog || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) return;
    ++s_tick;
    if (s_tick > 40 || s_step(dialog, s_tick)) {
        if (s_tick > 40) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // the watchdog
        KillTimer(nullptr, s_timer);
    }
}

class GotoDialogTest : public PanesTest {
protected:
    void SetUp() override {
        PanesTest::SetUp();
        client = std::make_unique<FakeClient>();
        frame = std::make_unique<TestFrame>(520, 420);
        pane = VoSimpleBibleWindow::Create(client.get());
        RECT rc = frame->Client();
        VoBiblePosition start;
        start.bibleIndex = client->Index("KJV");
        ASSERT_TRUE(pane->CreateTextWindow(frame->hwnd, &rc, 100, &start));
        pane->SetBook(kJohn);
        pane->SetChapter(2);
    }
    void TearDown() override {
        if (pane) DestroyWindow(pane->GetTextWindow());
        pane.Reset();
        frame.reset();
    }
    VoBibleObjects* Objects() { return pane->GetBibleObjects(); }

    // Drives the next dialog the pane opens with step.
    static void DriveDialog(Step step) {
        s_step = step;
        s_tick = 0;
        s_timer = SetTimer(nullptr, 0, 50, &DriveStep);
    }

    std::unique_ptr<FakeClient> client;
    std::unique_ptr<TestFrame> frame;
    ComPtr<AVoBibleWindow> pane;
};

TEST_F(GotoDialogTest, OkOnlyForOneWholeReferenceOtherThanTheContext) {
    const int context = Objects()->MakeIndex(kJohn, 2, 0);  // John 3:1, where the caret is
    VoGotoDlg dialog(Objects()->GetLangStat(), 0, context);
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {
        {"Joh 3:16", true},
        {"1 Mos 1", true},
        {"Sal 23", true},
        {"16", true},          // completed from the context: John 3:16
        {"Joh 3:1", false},    // the place already shown
        {"Joh 3:16 og", false},  // something after the reference
        {"", false},
        {"Xyzzy 4", false},
    };
    for (const Case& c : cases) {
        // Every text is parsed against the pane's own place, whatever came before.
        EXPECT_EQ(c.ok, dialog.Parse(c.text) != 0) << c.text;
        EXPECT_EQ(c.ok, dialog.Parse(c.text) != 0) << c.text << " (again)";
    }
    char text[256];
    Objects()->GetLangStat()->FormatRef(text, dialog.Parse("16"), 0, 0, 0, FALSE);
    EXPECT_STREQ("Joh 3:16", text);
}

TEST_F(GotoDialogTest, CtrlGTypesAReferenceAndGoesThere) {
    static bool s_disabledFirst, s_enabledAfterTwo, s_limit;
    s_disabledFirst = s_enabledAfterTwo = s_limit = false;
    DriveDialog([](HWND dialog, int tick) {
        HWND edit = GetDlgItem(dialog, kIdcGoToReference);
        HWND ok = GetDlgItem(dialog, IDOK);
        if (tick == 1) {
            s_disabledFirst = !IsWindowEnabled(ok);
            s_limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0) == kGoToTextLimit;
            SetWindowTextA(edit, "Sal 22");
            SetWindowTextA(edit, "Sal 23");  // the second text is checked as the first was
            s_enabledAfterTwo = IsWindowEnabled(ok) != FALSE;
            return false;
        }
        if (tick == 2) {
            SaveArtifact(dialog, "goto-dialog.bmp", true);
            return false;
        }
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_TRUE(pane->HandleCommand(kCmdGoTo));
    EXPECT_TRUE(s_disabledFirst);
    EXPECT_TRUE(s_limit);
    EXPECT_TRUE(s_enabledAfterTwo);
    EXPECT_EQ(18, pane->GetBook());
    EXPECT_EQ(22, pane->GetChapter());
    EXPECT_TRUE(pane->CanNavigate(true));
}

TEST_F(GotoDialogTest, ATypedLetterOpensTheDialogWithItAndCancelStays) {
    static char s_text[32];
    static DWORD s_selection;
    static bool s_okDisabled;
    DriveDialog([](HWND dialog, int) {
        HWND edit = GetDlgItem(dialog, kIdcGoToReference);
        GetWindowTextA(edit, s_text, sizeof s_text);
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s_selection), 0);
        s_okDisabled = !IsWindowEnabled(GetDlgItem(dialog, IDOK));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    auto* p = static_cast<VoSimpleBibleWindow*>(pane.Get());
    EXPECT_TRUE(p->OnChar('j', 1, 0));
    EXPECT_STREQ("J", s_text);
    EXPECT_EQ(1u, s_selection);
    EXPECT_TRUE(s_okDisabled);
    EXPECT_EQ(kJohn, pane->GetBook());
    EXPECT_EQ(2, pane->GetChapter());
    // '6' and punctuation are the text window's own; '5' opens the dialog.
    EXPECT_FALSE(p->OnChar('6', 1, 0));
    EXPECT_FALSE(p->OnChar('.', 1, 0));
    DriveDialog([](HWND dialog, int) {
        GetWindowTextA(GetDlgItem(dialog, kIdcGoToReference), s_text, sizeof s_text);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_TRUE(p->OnChar('5', 1, 0));
    EXPECT_STREQ("5", s_text);
}

}  // namespace
