// The verse dialog in this process: sized to a short and a long KJV verse (screenshots),
// hidden buttons, the next verse, copying, the context menu and double click, the look-up
// through a stand-in main program beside the test, the stored position, and a list path
// handed over by a second start.
#include "ViewerFixture.h"
#include "DataDirectories.h"
#include "TestWindows.h"
#include "VerseDlg.h"
#include "ViewerIds.h"
#include "ViewerUiFixture.h"
#include "WindowCapture.h"

namespace {

void EndEveryDialog() {
    while (HWND dialog = DialogScript::ActiveDialog()) EndDialog(dialog, kViewerBackToTray);
}

RECT Rect(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return rc;
}

class VerseDialogTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        WriteBible("Egen.vrsb", "EGN");
        WriteList("Min.vrsm", Entries({0, 4, 8, 12}));
        Choose("Egen", "Min");
        SetViewerDword("HiddenButtons", 0);
    }
    // Runs the verse dialog over app with the steps; answers its result.
    INT_PTR Run(VoViewerApp& app, std::vector<DialogScript::Step> steps, const char* pending = nullptr) {
        Watchdog watchdog(15000, &EndEveryDialog);
        DialogScript script(std::move(steps));
        VoViewerWnd dialog(app, prompts, pending);
        const INT_PTR result = dialog.DoModal(nullptr);
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(Watchdog::Fired());
        return result;
    }
    ScriptedPrompts prompts;
};

struct Shot {
    std::string caption;
    RECT dialog, text, ok;
    RECT client;
};

Shot Take(HWND dialog, const char* artifact) {
    Shot s{WindowText(dialog), Rect(dialog), Rect(GetDlgItem(dialog, IDC_VERSE_TEXT)), Rect(GetDlgItem(dialog, IDOK)), {}};
    GetClientRect(dialog, &s.client);
    if (artifact) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(Capture::Of(dialog, true).SaveArtifact(artifact));
    }
    return s;
}

TEST_F(VerseDialogTest, TheDialogFitsAShortAndALongKjvVerse) {
    ASSERT_TRUE(CopyFromBuild(VERSILO_KJV_BIBLE, Bibles() + "KJV.vrsb"));
    ComPtr<INewBible> kjv;
    ASSERT_EQ(S_OK, OpenNewBibleFile((Bibles() + "KJV.vrsb").c_str(), kjv.Put()));
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, kjv->GetBibleStat(stat.Put()));
    ComPtr<IBibleHandles> handles = Handles(stat.Get());
    int jesusWept = 0, esther = 0;
    ASSERT_EQ(S_OK, handles->MakeRef(&jesusWept, 42, 10, 34));  // John 11:35
    ASSERT_EQ(S_OK, handles->MakeRef(&esther, 16, 7, 8));       // Esther 8:9, the longest verse
    kjv.Reset();
    WriteList("Skjerm.vrsm", {jesusWept, esther}, stat.Get());
    Choose("KJV", "Skjerm");

    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Shot shortShot, longShot;
    Run(app, {[&](HWND dialog) {
                  shortShot = Take(dialog, "viewer-verse-short.bmp");
                  EXPECT_EQ("Jesus wept.", WindowText(GetDlgItem(dialog, IDC_VERSE_TEXT)));
                  Command(dialog, IDC_NEXT_VERSE);
              },
              [&](HWND dialog) {
                  longShot = Take(dialog, "viewer-verse-long.bmp");
                  EXPECT_EQ(0u, WindowText(GetDlgItem(dialog, IDC_VERSE_TEXT)).find("Then were the king"));
                  Command(dialog, IDOK);
              }});
    EXPECT_EQ("Dizarivor - Joh 11:35.", shortShot.caption);
    EXPECT_EQ("Dizarivor - Est 8:9.", longShot.caption);
    // The long verse makes the dialog and its text box taller; the buttons move with them
    // and stay inside the dialog.
    const int grown = (longShot.dialog.bottom - longShot.dialog.top) - (shortShot.dialog.bottom - shortShot.dialog.top);
    EXPECT_GT(grown, 40);
    EXPECT_EQ(grown, (longShot.text.bottom - longShot.text.top) - (shortShot.text.bottom - shortShot.text.top));
    EXPECT_EQ(grown, (longShot.ok.top - longShot.dialog.top) - (shortShot.ok.top - shortShot.dialog.top));
    EXPECT_GT(longShot.ok.top, longShot.text.bottom);
    EXPECT_LT(longShot.ok.bottom, longShot.dialog.bottom);
    EXPECT_EQ(longShot.dialog.top, shortShot.dialog.top);  // grows without moving
}

TEST_F(VerseDialogTest, HiddenButtonsCutTheDialogAtTheTopOfOk) {
    SetViewerDword("HiddenButtons", 1);
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Shot hidden;
    EXPECT_EQ(kViewerBackToTray, Run(app, {[&](HWND dialog) {
                                         hidden = Take(dialog, nullptr);
                                         // Alt+I still reaches the options button by its mnemonic.
                                         EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_OPTIONS)));
                                         Command(dialog, IDOK);
                                     }}));
    POINT okTop = {hidden.ok.left, hidden.ok.top};
    EXPECT_GE(okTop.y, hidden.dialog.bottom - 1);
}

TEST_F(VerseDialogTest, NextVerseCopyAndTheContextMenu) {
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    ASSERT_FALSE(app.GetMainProgramPath()[0]);  // no main program beside the test
    std::string first, second, copied;
    prompts.menuCommand = kCmdNextVerse;
    Run(app, {[&](HWND dialog) {
                  first = WindowText(dialog);
                  const HWND text = GetDlgItem(dialog, IDC_VERSE_TEXT);
                  PostMessageA(dialog, WM_COMMAND, kCmdCopy, 0);
                  // The context menu's choice runs as a command: here the next verse.
                  PostMessageA(text, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(text), MAKELPARAM(20, 20));
              },
              [&](HWND dialog) {
                  second = WindowText(dialog);
                  if (OpenClipboard(dialog)) {
                      if (HANDLE data = GetClipboardData(CF_TEXT)) {
                          copied = static_cast<const char*>(GlobalLock(data));
                          GlobalUnlock(data);
                      }
                      CloseClipboard();
                  }
                  DWORD start = 1, end = 1;
                  SendDlgItemMessageA(dialog, IDC_VERSE_TEXT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                      reinterpret_cast<LPARAM>(&end));
                  EXPECT_EQ(start, end);  // the empty selection is back
                  prompts.menuCommand = 0;
                  const HWND text = GetDlgItem(dialog, IDC_VERSE_TEXT);
                  SendMessageA(text, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(text), MAKELPARAM(20, 20));
                  SendMessageA(text, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
                  SendMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(5, 5));
                  Command(dialog, IDOK);
              }});
    EXPECT_EQ("Dizarivor - Alfa 1:1.", first);
    EXPECT_EQ("Dizarivor - Alfa 2:2.", second);
    EXPECT_EQ("Vers 0.", copied);
    // Without a main program there is no look-up item; no choice, the double click and a
    // right click beside the text each give a beep.
    ASSERT_EQ(2u, prompts.menus.size());
    EXPECT_EQ((std::vector<UINT>{kCmdCopy, kCmdNextVerse, kCmdOptions, kCmdClose, kCmdQuit}), prompts.menus[0]);
    EXPECT_EQ(3, prompts.beeps);
    EXPECT_EQ(2, app.GetRefList().GetIndex());  // the next verse and the close each consumed one
}

TEST_F(VerseDialogTest, TheLookUpGoesToTheMainProgramBesideTheViewer) {
    // A stand-in main program where the viewer looks for it: its own name with "Versilo".
    char program[kDirectoryCapacity];
    const std::string standIn = std::string(GetProgramDirectory(program)) + "VersiloWindowsTest.exe";
    const std::string record = std::string(program) + "command-line.txt";
    DeleteFileA(record.c_str());
    ASSERT_TRUE(CopyFileA(WinePath(VERSILO_STAND_IN).c_str(), standIn.c_str(), FALSE));
    {
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        EXPECT_EQ(standIn, app.GetMainProgramPath());
        prompts.menuCommand = kCmdLookUp;
        Run(app, {[&](HWND dialog) {
            const HWND text = GetDlgItem(dialog, IDC_VERSE_TEXT);
            SendMessageA(text, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(text), MAKELPARAM(20, 20));
            Command(dialog, IDOK);
        }});
        ASSERT_EQ(1u, prompts.menus.size());
        EXPECT_EQ((std::vector<UINT>{kCmdLookUp, kCmdCopy, kCmdNextVerse, kCmdOptions, kCmdClose, kCmdQuit}),
                  prompts.menus[0]);
        EXPECT_EQ(kCmdLookUp, prompts.defaults[0]);
    }
    std::string line;
    for (int i = 0; i < 200 && line.empty(); ++i) {
        Sleep(50);
        line = ReadWholeFile(record);
    }
    EXPECT_EQ("\"" + standIn + "\" Egen Alfa 1:1.", line);
    Sleep(200);  // the stand-in has ended
    DeleteFileA(standIn.c_str());
    DeleteFileA(record.c_str());
}

TEST_F(VerseDialogTest, ThePositionIsKeptCentredOrInTenThousandths) {
    struct Case {
        int dx, dy;
        bool centred;
    } cases[] = {{0, 0, true}, {39, -39, true}, {40, 0, false}, {0, 60, false}};
    const RECT desktop = Rect(GetDesktopWindow());
    for (const Case& c : cases) {
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        RECT moved = {};
        Run(app, {[&](HWND dialog) {
            const RECT rc = Rect(dialog);
            SetWindowPos(dialog, nullptr, rc.left + c.dx, rc.top + c.dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            moved = Rect(dialog);
            Command(dialog, IDOK);
        }});
        const VoViewerSettings& s = app.GetSettings();
        EXPECT_EQ(c.centred, s.centered) << c.dx << "," << c.dy;
        EXPECT_EQ(MulDiv(10000, moved.left - desktop.left, desktop.right - desktop.left), s.x);
        EXPECT_EQ(MulDiv(10000, moved.top - desktop.top, desktop.bottom - desktop.top), s.y);
    }
    // The stored position places the dialog next time.
    SetViewerDword("Centered", 0);
    SetViewerDword("x", 1000);
    SetViewerDword("y", 2500);
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    RECT placed = {};
    Run(app, {[&](HWND dialog) {
        placed = Rect(dialog);
        Command(dialog, IDOK);
    }});
    EXPECT_EQ(desktop.left + MulDiv(desktop.right - desktop.left, 1000, 10000), placed.left);
    EXPECT_EQ(desktop.top + MulDiv(desktop.bottom - desktop.top, 2500, 10000), placed.top);
}

TEST_F(VerseDialogTest, AHandedOverListIsCheckedAndOfferedBeforeItIsTaken) {
    WriteList("Annen.vrsm", Entries({7, 9}));
    ASSERT_TRUE(WriteWholeFile(Bibles() + "Tekst.vrsm", "ikke en liste"));
    struct Case {
        std::string path;
        int answer;
        std::string message;  // empty: none
        const char* list;     // the RefList setting afterwards; null: the path
    } cases[] = {
        {Bibles() + "Min.vrsm", IDYES, "Vil du endre mannakornlisten til ...\\Min.", nullptr},  // another name of it
        {"Min", IDYES, "", "Min"},                                                          // the setting itself
        {Bibles() + "Borte.vrsm", IDYES, "Filen '" + Bibles() + "Borte.vrsm' eksisterer ikke.", "Min"},
        {Bibles() + "Tekst.vrsm", IDYES, "'" + Bibles() + "Tekst.vrsm' er ikke en mannakornfil.", "Min"},
        {Bibles() + "Annen.vrsm", IDNO, "Vil du endre mannakornlisten til ...\\Annen.", "Min"},
        {Bibles() + "Annen.vrsm", IDYES, "Vil du endre mannakornlisten til ...\\Annen.", nullptr},
    };
    for (const Case& c : cases) {
        prompts = ScriptedPrompts();
        prompts.answer = c.answer;
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        std::string caption;
        // The path of the start arrives on the dialog's first timer tick.
        Run(app, {[](HWND) {}, [](HWND) {}, [&](HWND dialog) {
                      caption = WindowText(dialog);
                      Command(dialog, IDOK);
                  }},
            c.path.c_str());
        if (c.message.empty()) {
            EXPECT_TRUE(prompts.messages.empty()) << c.path;
        } else {
            ASSERT_EQ(1u, prompts.messages.size()) << c.path;
            EXPECT_EQ(c.message, prompts.messages[0]);
        }
        EXPECT_STREQ(c.list ? c.list : c.path.c_str(), app.GetSettings().refList) << c.path;
        if (c.path.find("Annen") != std::string::npos && c.answer == IDYES) {
            EXPECT_EQ(0u, caption.find("Dizarivor - Beta "));  // a verse of the new list
        }
    }
    // The same by WM_COPYDATA from the owner window, while the options dialog is open: a
    // beep, and the path is forgotten.
    prompts = ScriptedPrompts();
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    const std::string other = Bibles() + "Annen.vrsm";
    Run(app, {[](HWND dialog) { Command(dialog, IDC_OPTIONS); },
              [&](HWND options) {
                  COPYDATASTRUCT data = {VOVIEWER_COPYDATA_FILE, static_cast<DWORD>(other.size() + 1),
                                         const_cast<char*>(other.c_str())};
                  EXPECT_EQ(TRUE, SendMessageA(GetWindow(options, GW_OWNER), WM_COPYDATA, 0,
                                               reinterpret_cast<LPARAM>(&data)));
                  Command(options, IDCANCEL);
              },
              [](HWND dialog) { Command(dialog, IDOK); }});
    EXPECT_EQ(1, prompts.beeps);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_STREQ("Min", app.GetSettings().refList);
}

// A centred dialog stays centred when it was moved less than 40 pixels, whether the verse
// left it at its designed height or made it grow downward.
TEST_F(VerseDialogTest, ACentredDialogStaysCentredAfterALongVerse) {
    WriteTexts("Lang.vrsb", [](int v) { return v == 4 ? TextOfLength("Lang", 900) : VerseText(v); });
    Choose("Lang", "Min");
    const int designed = [&] {
        VoViewerApp app;
        EXPECT_EQ(kViewerReady, app.Init());
        RECT rc = {};
        Run(app, {[&](HWND dialog) {
            rc = Rect(dialog);
            Command(dialog, IDOK);
        }});
        return static_cast<int>(rc.bottom - rc.top);
    }();
    struct Case {
        int moved;  // pixels right and down
        bool centred;
    } cases[] = {{0, true}, {39, true}, {40, false}};
    for (const Case& c : cases) {
        for (DWORD entry : {0u, 1u}) {  // "Vers 0." and the 900 characters of verse 4
            SetViewerDword("Centered", 1);
            SetViewerDword("index", entry);
            int height = 0;
            {
                VoViewerApp app;
                ASSERT_EQ(kViewerReady, app.Init());
                Run(app, {[&](HWND dialog) {
                    const RECT rc = Rect(dialog);
                    height = rc.bottom - rc.top;
                    SetWindowPos(dialog, nullptr, rc.left + c.moved, rc.top + c.moved, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                    Command(dialog, IDOK);
                }});
                EXPECT_EQ(c.centred, app.GetSettings().centered) << c.moved << " px, entry " << entry;
            }
            if (entry == 1) {
                EXPECT_GT(height, designed + 100) << "the long verse makes the dialog grow";
            } else {
                EXPECT_EQ(designed, height);
            }
            EXPECT_EQ(c.centred ? 1 : 0, ViewerDword("Centered")) << c.moved << " px, entry " << entry;
        }
    }
}

// Returns every dialog the script leaves open, the options dialog first, so that a refused OK
// fails the test instead of waiting for the watchdog.
void CloseTheVerseDialog(HWND dialog) {
    if (GetDlgItem(dialog, IDC_REF_LIST)) {
        Command(dialog, IDCANCEL);
        dialog = GetWindow(dialog, GW_OWNER);
    }
    Command(dialog, IDOK);
}

// A second start's list, taken after Yes, is kept in memory until the options are confirmed:
// then it is saved even when nothing was edited there, and the next start opens it.
TEST_F(VerseDialogTest, AHandedOverListIsSavedWhenTheOptionsAreNextConfirmed) {
    WriteList("Annen.vrsm", Entries({7, 9}));
    const std::string path = Bibles() + "Annen.vrsm";
    struct Case {
        int button;            // of the options dialog, nothing edited there
        const char* stored;    // the RefList value afterwards; null: the path
        const char* nextList;  // the list the next start opens
    } cases[] = {{IDOK, nullptr, "Annen"}, {IDCANCEL, "Min", "Min"}};
    for (const Case& c : cases) {
        Choose("Egen", "Min");
        prompts = ScriptedPrompts();
        prompts.answer = IDYES;
        {
            VoViewerApp app;
            ASSERT_EQ(kViewerReady, app.Init());
            Run(app, {[](HWND) {}, [](HWND) {}, [](HWND dialog) { Command(dialog, IDC_OPTIONS); },
                      [&](HWND options) { Command(options, c.button); }, &CloseTheVerseDialog},
                path.c_str());
            EXPECT_EQ((std::vector<std::string>{"Vil du endre mannakornlisten til ...\\Annen."}), prompts.messages);
            EXPECT_STREQ(path.c_str(), app.GetSettings().refList);
        }
        EXPECT_EQ(c.stored ? c.stored : path, StoredString("VoViewer", "RefList")) << c.button;
        VoViewerApp next;
        ASSERT_EQ(kViewerReady, next.Init());
        EXPECT_STREQ(c.nextList, next.GetRefList().GetName()) << c.button;
    }
}

// A list handed over by a path relative to the folder the viewer runs in is taken by its
// full path: the options dialog shows it, and the next start, from anywhere, opens it.
TEST_F(VerseDialogTest, AListHandedOverByARelativePathIsKeptByItsFullPath) {
    WriteList("Annen.vrsm", Entries({7, 9}));
    const std::string full = Bibles() + "Annen.vrsm";
    char started[MAX_PATH];
    GetCurrentDirectoryA(sizeof(started), started);
    for (const char* handed : {"Annen.vrsm", ".\\Annen.vrsm", "..\\Bibles\\Annen.vrsm"}) {
        Choose("Egen", "Min");
        prompts = ScriptedPrompts();
        prompts.answer = IDYES;
        std::string shownList;
        ASSERT_TRUE(SetCurrentDirectoryA(Bibles().c_str()));
        {
            VoViewerApp app;
            ASSERT_EQ(kViewerReady, app.Init());
            Run(app, {[](HWND) {}, [](HWND) {}, [](HWND dialog) { Command(dialog, IDC_OPTIONS); },
                      [&](HWND options) {
                          const int selection =
                              static_cast<int>(SendDlgItemMessageA(options, IDC_REF_LIST, CB_GETCURSEL, 0, 0));
                          char text[300] = "(none)";
                          if (selection >= 0)
                              SendDlgItemMessageA(options, IDC_REF_LIST, CB_GETLBTEXT, selection,
                                                  reinterpret_cast<LPARAM>(text));
                          shownList = text;
                          // Another interval, so that confirming saves.
                          SendDlgItemMessageA(options, IDC_INTERVAL, CB_SETCURSEL, 1, 0);
                          Command(options, IDOK);
                      },
                      &CloseTheVerseDialog},
                handed);
            SetCurrentDirectoryA(started);
            EXPECT_EQ((std::vector<std::string>{"Vil du endre mannakornlisten til ...\\Annen."}), prompts.messages)
                << handed;
            EXPECT_EQ("...\\Annen", shownList) << handed;
            EXPECT_STREQ(full.c_str(), app.GetSettings().refList) << handed;
        }
        EXPECT_EQ(full, StoredString("VoViewer", "RefList")) << handed;
        VoViewerApp next;
        ASSERT_EQ(kViewerReady, next.Init());
        EXPECT_STREQ("Annen", next.GetRefList().GetName()) << handed;
        EXPECT_STREQ(full.c_str(), next.GetSettings().refList) << handed;
    }
}

}  // namespace
