// What Versilo.exe keeps of a reader's work, driven from this (another) process: colour
// markings made with Ctrl+M and the toolbar button on the program folder as the build ships
// it, there at the next start; a program folder without the reference numbering, where the
// button shows that nothing is marked; two main windows that each keep what the other marked;
// and the end of the session (WM_ENDSESSION, then the process ended without its window being
// closed), which keeps a typed note, a marking and the reader's place. The application key is
// saved before and put back after, as the program writes its settings there.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "LexiconFiles.h"
#include "NorwegianNames.h"
#include "ProgramDriver.h"
#include "ProtestantCanon.h"
#include "RealInput.h"
#include "TestFiles.h"
#include "VoUtil.h"
#include "VoView.h"

namespace {

constexpr DWORD kPaintTimeout = 60000;
constexpr DWORD kReplyTimeout = 10000;
constexpr int kToolbar = 1000, kMarkButton = 2302, kLexiconPane = 5000;
constexpr int kTitleBox = 1001, kEditBox = 1002, kEditButton = 1006, kTitleEdit = 1000;
// The background of a marked verse that is not selected.
constexpr COLORREF kMarkedGreen = RGB(0xBE, 0xFF, 0xAA);
constexpr int kJohn = 42;

std::string ProgramFolder() {
    return WinePath(VERSILO_BIN_DIR) + "\\";
}

void SetAppValue(const char* subKey, const char* name, DWORD type, const void* data, DWORD size) {
    const std::string path = std::string(kProgramAppKey) + (subKey ? std::string("\\") + subKey : "");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
void SetAppString(const char* subKey, const char* name, const std::string& value) {
    SetAppValue(subKey, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}
void SetAppDword(const char* name, DWORD value) {
    SetAppValue(nullptr, name, REG_DWORD, &value, sizeof value);
}

// A value of the application key (or of its sub-key) as stored; false when missing.
bool AppValue(const char* subKey, const char* name, std::vector<BYTE>* data, DWORD* type = nullptr) {
    const std::string path = std::string(kProgramAppKey) + (subKey ? std::string("\\") + subKey : "");
    DWORD size = 0, kind = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &kind, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data->assign(size, 0);
    if (type) *type = kind;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &kind, data->data(), &size) ==
           ERROR_SUCCESS;
}

// The linear verse of John 3:verse in the reference numbering.
int John3(int verse) {
    ComPtr<IBibleStat> stat;
    if (FAILED(BuildProtestantStat(stat.Put()))) return -1;
    return stat->RefToVerseIndex(kJohn, 2, verse - 1);
}

// Whether "Green" marks the verse of the reference numbering.
bool StoredMarked(int verse) {
    std::vector<BYTE> green;
    DWORD type = 0;
    if (verse < 0 || !AppValue(nullptr, "Green", &green, &type) || type != REG_BINARY) return false;
    const size_t byte = static_cast<size_t>(verse / 8);
    return byte < green.size() && (green[byte] >> (verse % 8)) & 1;
}

// One started Versilo.exe and what a reader does in it.
class Program {
public:
    ~Program() { process.Kill(); }

    void Start(const std::string& folder, const std::string& request) {
        ASSERT_TRUE(StartProgram(folder + "Versilo.exe", request, &process));
        ASSERT_TRUE(WaitPaintedChapter(process, kPaintTimeout)) << request;
        Sleep(500);  // the frame's layout and the pane's remembered commentary
        ASSERT_TRUE(ProgramResponds(process));
        text = FindTextWindow(process.main);
        ASSERT_TRUE(text);
        caret = static_cast<int>(SendMessageA(text, TWM_GETCARET, 0, 0));
    }
    // Makes the main window the one that gets the keyboard, as a click on it would.
    void Activate() {
        SetForegroundWindow(process.main);
        for (int i = 0; i < 200 && GetForegroundWindow() != process.main; ++i) Sleep(10);
        ASSERT_EQ(process.main, GetForegroundWindow());
    }
    // Selects the verse item of the text window (the caret's verse plus offset).
    void Select(int offset) {
        SendMessageA(text, TWM_SELECTRANGE, static_cast<WPARAM>(caret + offset), caret + offset + 1);
        ASSERT_TRUE(ProgramResponds(process));
    }
    // Ctrl+M as the reader presses it.
    void PressCtrlM() {
        Activate();
        SendKey(VK_CONTROL, 0);
        SendKey('M', 0);
        SendKey('M', KEYEVENTF_KEYUP);
        SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
        Sleep(100);
        ASSERT_TRUE(ProgramResponds(process));
    }
    // A click on the toolbar's mark button.
    void ClickMarkButton() {
        const HWND toolbar = GetDlgItem(process.main, kToolbar);
        RECT rc = {};
        ASSERT_TRUE(RemoteRect(process.info.hProcess, toolbar, TB_GETRECT, kMarkButton, &rc));
        POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(toolbar, &centre);
        Activate();
        SetCursorPos(centre.x, centre.y);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
        Sleep(100);
        ASSERT_TRUE(ProgramResponds(process));
        // Away from the button, until the toolbar has seen the pointer leave (its hot look goes).
        SetCursorPos(centre.x, centre.y + 200);
        for (int i = 0; i < 300 && SendMessageA(toolbar, TB_GETHOTITEM, 0, 0) >= 0; ++i) Sleep(10);
        EXPECT_LT(SendMessageA(toolbar, TB_GETHOTITEM, 0, 0), 0);
        ASSERT_TRUE(ProgramResponds(process));
    }
    // Moves the selection off the first verses (to the caret's verse plus 3) and expects the
    // verses at offsets painted green.
    void ExpectShownMarked(std::initializer_list<int> offsets) {
        ASSERT_NO_FATAL_FAILURE(Select(3));
        for (int offset : offsets) EXPECT_GT(GreenPixels(offset), 1000) << "John 3:" << 16 + offset;
    }
    // The mark button as the reader sees it: its pixels, the pointer away from it.
    std::vector<COLORREF> MarkButtonLook() {
        const HWND toolbar = GetDlgItem(process.main, kToolbar);
        RECT rc = {};
        if (!RemoteRect(process.info.hProcess, toolbar, TB_GETRECT, kMarkButton, &rc)) return {};
        MapWindowPoints(toolbar, process.main, reinterpret_cast<POINT*>(&rc), 2);
        RedrawWindow(process.main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ProgramResponds(process);
        const Capture c = Capture::Of(process.main);
        std::vector<COLORREF> look;
        for (int y = rc.top; y < rc.bottom && y < c.height; ++y)
            for (int x = rc.left; x < rc.right && x < c.width; ++x) look.push_back(c.At(x, y));
        return look;
    }
    bool MarkButtonChecked() {
        return SendMessageA(GetDlgItem(process.main, kToolbar), TB_ISBUTTONCHECKED, kMarkButton, 0) != 0;
    }
    // Pixels of the marking's green in the verse item (offset from the caret's verse), as
    // the main window shows it.
    int GreenPixels(int offset) {
        RECT item = {};
        if (!RemoteRect(process.info.hProcess, text, TWM_GETITEMRECT, static_cast<WPARAM>(caret + offset), &item))
            return -1;
        RECT visible = {};
        GetClientRect(text, &visible);
        IntersectRect(&item, &item, &visible);
        MapWindowPoints(text, process.main, reinterpret_cast<POINT*>(&item), 2);
        RedrawWindow(process.main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ProgramResponds(process);
        const Capture c = Capture::Of(process.main);
        int green = 0;
        for (int y = item.top; y < item.bottom && y < c.height; ++y)
            for (int x = item.left; x < item.right && x < c.width; ++x)
                if (c.At(x, y) == kMarkedGreen) ++green;
        return green;
    }

    ProgramProcess process;
    HWND text = nullptr;
    int caret = -1;
};

class ProgramSavingTest : public ::testing::Test {
protected:
    void SetUp() override { SetAppDword("MultitransOpen", 0); }

    SavedAppKey savedKey;
};

TEST_F(ProgramSavingTest, MarkingsOnTheShippedFolderAreThereAtTheNextStart) {
    {
        Program program;
        ASSERT_NO_FATAL_FAILURE(program.Start(ProgramFolder(), "KJV Joh 3:16"));
        ASSERT_NO_FATAL_FAILURE(program.Select(0));
        EXPECT_FALSE(program.MarkButtonChecked());
        ASSERT_NO_FATAL_FAILURE(program.PressCtrlM());
        EXPECT_TRUE(program.MarkButtonChecked()) << "John 3:16 marked with Ctrl+M";
        ASSERT_NO_FATAL_FAILURE(program.Select(1));
        EXPECT_FALSE(program.MarkButtonChecked());
        const std::vector<COLORREF> unmarked = program.MarkButtonLook();
        ASSERT_NO_FATAL_FAILURE(program.ClickMarkButton());
        EXPECT_TRUE(program.MarkButtonChecked()) << "John 3:17 marked with the toolbar button";
        EXPECT_NE(unmarked, program.MarkButtonLook()) << "the button looks pressed";
        ASSERT_NO_FATAL_FAILURE(program.ExpectShownMarked({0, 1}));
        EXPECT_EQ(0, program.GreenPixels(2));
        EXPECT_TRUE(SaveProgramScreenshot(program.process, "versilo-marked-verses.bmp"));
        EXPECT_EQ(1, CloseProgram(program.process));
    }
    EXPECT_TRUE(StoredMarked(John3(16)));
    EXPECT_TRUE(StoredMarked(John3(17)));
    EXPECT_FALSE(StoredMarked(John3(18)));

    Program again;
    ASSERT_NO_FATAL_FAILURE(again.Start(ProgramFolder(), "KJV Joh 3:16"));
    ASSERT_NO_FATAL_FAILURE(again.ExpectShownMarked({0, 1}));
    ASSERT_NO_FATAL_FAILURE(again.Select(0));
    EXPECT_TRUE(again.MarkButtonChecked());
    // Unmarked with the button: the button shows it, and so does the next start.
    ASSERT_NO_FATAL_FAILURE(again.ClickMarkButton());
    EXPECT_FALSE(again.MarkButtonChecked());
    EXPECT_EQ(1, CloseProgram(again.process));
    EXPECT_FALSE(StoredMarked(John3(16)));
    EXPECT_TRUE(StoredMarked(John3(17)));
}

TEST_F(ProgramSavingTest, WithoutTheReferenceNumberingTheMarkButtonShowsNothingMarked) {
    // A program folder of its own whose "Bibles" folder holds the KJV and no "kv61.vos".
    const std::string folder = WinePath(VERSILO_TEST_DIR) + "\\program-unnumbered\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Bibles").c_str(), nullptr);
    EmptyFolder(folder + "Bibles\\");
    for (const char* file : {"Versilo.exe", "VoUtil.dll", "VoView.dll", "RyTxtUtl.dll", "Bibles\\KJV.vrsb"})
        ASSERT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), (folder + file).c_str(), FALSE)) << file;
    const std::vector<BYTE> saved(16, 0xFF);
    SetAppValue(nullptr, "Green", REG_BINARY, saved.data(), static_cast<DWORD>(saved.size()));

    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start(folder, "KJV Joh 3:16"));
    ASSERT_NO_FATAL_FAILURE(program.Select(0));
    EXPECT_FALSE(program.MarkButtonChecked());
    const std::vector<COLORREF> unmarked = program.MarkButtonLook();
    ASSERT_FALSE(unmarked.empty());
    ASSERT_NO_FATAL_FAILURE(program.ClickMarkButton());
    EXPECT_FALSE(program.MarkButtonChecked()) << "a click marks nothing";
    EXPECT_EQ(unmarked, program.MarkButtonLook()) << "the button does not look pressed";
    ASSERT_NO_FATAL_FAILURE(program.PressCtrlM());
    EXPECT_FALSE(program.MarkButtonChecked()) << "Ctrl+M marks nothing";
    EXPECT_EQ(unmarked, program.MarkButtonLook());
    ASSERT_NO_FATAL_FAILURE(program.Select(3));
    EXPECT_EQ(0, program.GreenPixels(0));
    EXPECT_EQ(1, CloseProgram(program.process));
    // What an earlier run saved stays.
    std::vector<BYTE> green;
    ASSERT_TRUE(AppValue(nullptr, "Green", &green));
    EXPECT_EQ(saved, green);
}

TEST_F(ProgramSavingTest, TwoMainWindowsKeepEachOthersMarkings) {
    Program first, second;
    ASSERT_NO_FATAL_FAILURE(first.Start(ProgramFolder(), "KJV Joh 3:16"));
    ASSERT_NO_FATAL_FAILURE(second.Start(ProgramFolder(), "KJV Joh 3:16"));
    ASSERT_NE(first.process.main, second.process.main);
    ASSERT_NO_FATAL_FAILURE(first.Select(0));
    ASSERT_NO_FATAL_FAILURE(first.PressCtrlM());
    EXPECT_TRUE(first.MarkButtonChecked());
    ASSERT_NO_FATAL_FAILURE(second.Select(1));
    ASSERT_NO_FATAL_FAILURE(second.PressCtrlM());
    EXPECT_TRUE(second.MarkButtonChecked());
    // The first window closes first; the second, closed last, knows nothing of its marking.
    EXPECT_EQ(1, CloseProgram(first.process));
    EXPECT_TRUE(StoredMarked(John3(16)));
    EXPECT_EQ(1, CloseProgram(second.process));
    EXPECT_TRUE(StoredMarked(John3(16)));
    EXPECT_TRUE(StoredMarked(John3(17)));

    Program third;
    ASSERT_NO_FATAL_FAILURE(third.Start(ProgramFolder(), "KJV Joh 3:16"));
    ASSERT_NO_FATAL_FAILURE(third.ExpectShownMarked({0, 1}));
    EXPECT_EQ(1, CloseProgram(third.process));
}

// A user commentary outside "Lexicons", known to the program through the registry, whose
// entries "Joh 3:16" and "Joh 3:3" the test writes in.
std::string MakeNotesFile() {
    const std::string folder = WinePath(VERSILO_TEST_DIR) + "\\program-session-notes\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "Notater.vrsn";
    DeleteFileA(path.c_str());
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> lang;
    ComPtr<IVoLexicon> lex;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(BuildNorwegianLangStat(stat.Get(), lang.Put())) ||
        FAILED(CreateOldVoLexFile(path.c_str(), lang.Get(), "Mine notater", lex.Put())))
        return "";
    for (const char* title : {"Mine notater", "Joh 3:16", "Joh 3:3"}) {
        int id = 0;
        if (FAILED(lex->AddEntry(title, &id))) return "";
    }
    if (FAILED(SaveLexicon(lex.Get()))) return "";
    SetAppString("lexicons", "UserList", "Notater.vrsn");
    SetAppString("lexicons\\Notater.vrsn", "Path", path);
    SetAppString(nullptr, "ActiveLexicon", "Mine notater");
    return path;
}

// The text of a commentary entry as its file holds it.
std::string EntryText(IVoLexicon* lex, const char* title) {
    int position = -1, id = 0;
    VARIANT_BOOL exact = VARIANT_FALSE;
    if (lex->FindEntry(title, &position, &exact) != S_OK || !exact || FAILED(lex->GetEntryId(position, &id)))
        return "(no entry)";
    char text[256] = "";
    lex->GetEntryText(id, text, sizeof text);
    return text;
}

TEST_F(ProgramSavingTest, TheEndOfTheSessionKeepsNotesMarkingsAndThePlace) {
    const std::string notes = MakeNotesFile();
    ASSERT_FALSE(notes.empty());
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start(ProgramFolder(), "KJV Joh 3:16"));
    const HWND pane = GetDlgItem(program.process.main, kLexiconPane);
    ASSERT_TRUE(pane);
    const HWND titles = GetDlgItem(pane, kTitleBox), edit = GetDlgItem(pane, kEditBox);
    auto choose = [&](const char* title) {
        SendMessageA(GetDlgItem(titles, kTitleEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
        SendMessageA(titles, WM_CHAR, VK_RETURN, 0);
        EXPECT_TRUE(ProgramResponds(program.process));
    };
    auto type = [&](const char* text) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
        EXPECT_TRUE(ProgramResponds(program.process));
    };
    SendMessageA(pane, WM_COMMAND, MAKEWPARAM(kEditButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(pane, kEditButton)));
    ASSERT_TRUE(IsWindowVisible(edit)) << "the pane is in editing mode";
    // One note left for another entry (kept in the commentary in memory), one still in the box.
    choose("Joh 3:16");
    type("Guds kj\xE6rlighet gjelder hele verden.");
    choose("Joh 3:3");
    type("F\xF8""dt p\xE5 ny.");
    ASSERT_NO_FATAL_FAILURE(program.Select(0));
    ASSERT_NO_FATAL_FAILURE(program.PressCtrlM());
    EXPECT_TRUE(program.MarkButtonChecked());

    // The session ends as Windows ends it: the question, the end, and the process is gone.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(program.process.main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    kReplyTimeout, &answer));
    EXPECT_EQ(TRUE, static_cast<BOOL>(answer));
    ASSERT_TRUE(SendMessageTimeoutA(program.process.main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    kReplyTimeout, &answer));
    program.process.Kill();
    EXPECT_FALSE(program.process.Running());

    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(notes.c_str(), lex.Put()));
    EXPECT_EQ("Guds kj\xE6rlighet gjelder hele verden.", EntryText(lex.Get(), "Joh 3:16"));
    EXPECT_EQ("F\xF8""dt p\xE5 ny.", EntryText(lex.Get(), "Joh 3:3"));
    EXPECT_TRUE(StoredMarked(John3(16)));
    std::vector<BYTE> value;
    ASSERT_TRUE(AppValue(nullptr, "LastBible", &value));
    EXPECT_STREQ("KJV", reinterpret_cast<const char*>(value.data()));
    for (const auto& [name, expected] : {std::pair<const char*, LONG>{"LastBook", kJohn}, {"LastChapter", 2},
                                         {"LexiconOpen", 1}, {"MultitransOpen", 0}}) {
        ASSERT_TRUE(AppValue(nullptr, name, &value)) << name;
        EXPECT_EQ(expected, *reinterpret_cast<const LONG*>(value.data())) << name;
    }
    for (const char* name : {"Left", "Top", "Rigth", "Bottom", "ShowCmd"})
        EXPECT_TRUE(AppValue("Position", name, &value)) << name;
}

}  // namespace
