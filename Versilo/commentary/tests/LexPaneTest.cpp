// The commentary pane on real windows, under a test window playing the main frame: choosing,
// reading, writing and leaving entries by every route, over a scratch "Lexicons" folder with
// a user commentary made through VoUtil.dll and the build's sample lexicons. Every test ends
// by closing the pane and reading the notes file back.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "BibleInfoList.h"
#include "CommentaryDialogIds.h"
#include "DialogDriver.h"
#include "LexWnd.h"
#include "FailingStorage.h"
#include "Handles.h"
#include "LexiconListFixture.h"
#include "WindowCapture.h"

namespace {

class TestHost : public AVoLexWndHost {
public:
    void RedrawBibleWindow() override { ++redraws; }
    IBible* GetActiveBible() override { return nullptr; }
    void GoToReference(int verse) override { lastVerse = verse; }
    UINT GetReferenceFormat() override { return RegisterClipboardFormatA("VersiloReference"); }
    // Made on first use: the data directories are read once, after the fixture wrote them.
    VoBibleInfoList* GetBibleList() override {
        if (!bibles) bibles.reset(new VoBibleInfoList);
        return bibles.get();
    }
    int GetActiveBibleIndex() override { return 0; }
    int redraws = 0;
    int lastVerse = 0;
    std::unique_ptr<VoBibleInfoList> bibles;
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void SendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(50);
    Pump();
}

// A left click at a point of the screen, as the reader's mouse gives it.
void ClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT down = {}, up = {};
    down.type = up.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInputs({down, up});
}

// Keys typed into whatever window has the keyboard focus.
void TypeKeys(const char* text) {
    std::vector<INPUT> inputs;
    for (const char* c = text; *c; ++c) {
        INPUT key = {};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = static_cast<unsigned char>(*c);
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(key);
        key.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(key);
    }
    SendInputs(inputs);
}

POINT CentreOf(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) all += t + "\n";
    return all;
}

class LexPaneTest : public LexiconListTest {
protected:
    void SetUp() override {
        LexiconListTest::SetUp();
        frame_ = CreateWindowExA(0, "STATIC", "Versilo", WS_POPUP | WS_VISIBLE, 0, 0, 420, 520, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(frame_);
    }
    void TearDown() override {
        Close();
        if (frame_) DestroyWindow(frame_);
    }
    void Open() {
        pane_.reset(new VoLexWnd(&host_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
        RECT rc = {0, 0, 420, 520};
        ASSERT_TRUE(pane_->Create(frame_, rc, kLexPaneId));
        SendMessageA(pane_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        Pump();
    }
    void Close() {
        if (pane_ && pane_->Handle()) DestroyWindow(pane_->Handle());
        pane_.reset();
    }
    int IndexOf(const char* fileName) { return Find(pane_->List(), fileName); }
    // Chooses a commentary in the chooser as the reader would.
    void Choose(const char* fileName) {
        const int index = IndexOf(fileName);
        ASSERT_GE(index, 0) << fileName;
        const int count = static_cast<int>(SendMessageA(pane_->Chooser(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageA(pane_->Chooser(), CB_GETITEMDATA, i, 0) == index)
                SendMessageA(pane_->Chooser(), CB_SETCURSEL, i, 0);
        Command(kLexChooserId, CBN_SELENDOK, pane_->Chooser());
    }
    void Command(UINT id, UINT code, HWND control) {
        SendMessageA(pane_->Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    }
    void Click(UINT id) { Command(id, BN_CLICKED, pane_->Button(id)); }
    void SelectTitle(int position) {
        pane_->TitleBox().SetCurSel(position);
        Command(kLexTitleBoxId, CBN_SELENDOK, pane_->TitleBox().Handle());
    }
    void TypeTitle(const char* title) { pane_->TitleBox().SetEditText(title, false); }
    // Replaces the edit box's text as typing does (WM_SETTEXT tells a multi-line edit box's
    // parent nothing).
    void Type(const char* text) {
        SendMessageA(pane_->EditBox(), EM_SETSEL, 0, -1);
        SendMessageA(pane_->EditBox(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    std::string EditText() {
        char text[1024] = {};
        GetWindowTextA(pane_->EditBox(), text, sizeof text);
        return text;
    }
    std::string Title(int position) {
        char text[256] = {};
        pane_->TitleBox().GetText(text, sizeof text);
        return position == pane_->TitleBox().GetCurSel() ? text : "";
    }
    // The stored text of the entry titled title, read from the file; "(none)" without one.
    static std::string Stored(const std::string& path, const char* title) {
        ComPtr<IVoLexicon> lex;
        if (FAILED(OpenVoLexFile(path.c_str(), lex.Put())) || !lex) return "(unreadable)";
        int id = 0;
        if (FAILED(lex->FindEntryByKey(title, &id)) || id <= 0) return "(none)";
        char text[1024] = {};
        lex->GetEntryText(id, text, sizeof text);
        return text;
    }
    std::string MakeNotes() {
        const std::string path = Lexicons() + "Notater.vrsn";
        MakeCommentary(path, "Mine notater", {{"Mine notater", "Hjem"}, {"Abraham", "om Abraham"},
                                              {"Moses", "om Moses"}, {"Noah", "om Noah"}});
        return path;
    }
    // Runs the known-commentaries dialog (command 2201) with the steps driving it.
    void RunTitles(std::vector<DialogDriver::Step> steps) {
        DialogDriver driver(std::move(steps));
        Command(kCmdLexTitles, 0, nullptr);
    }
    // The step that checks or clears the box of the titles row named name, then closes with
    // "Lukk".
    static DialogDriver::Step SwitchRow(const char* name, bool on) {
        return [name, on](HWND dialog, const std::string& title) {
            if (title != "Titler i kommentarvindu") return false;
            const HWND rows = GetDlgItem(dialog, kIdcTitlesList);
            for (int r = 0, n = ListView_GetItemCount(rows); r < n; ++r) {
                char text[64] = {};
                ListView_GetItemText(rows, r, 0, text, sizeof text);
                if (lstrcmpA(text, name) == 0) ListView_SetCheckState(rows, r, on ? TRUE : FALSE);
            }
            DialogDriver::Press(dialog, IDOK);
            return true;
        };
    }
    // The chooser's items as "text=commentary index", in their order.
    std::vector<std::string> ChooserItems() {
        std::vector<std::string> items;
        const int count = static_cast<int>(SendMessageA(pane_->Chooser(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            SendMessageA(pane_->Chooser(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(std::string(text) + "=" +
                            std::to_string(SendMessageA(pane_->Chooser(), CB_GETITEMDATA, i, 0)));
        }
        return items;
    }
    // Chooses the chooser's item with the given text, as a click on it in the list does.
    void ChooseByText(const char* name) {
        const LRESULT at = SendMessageA(pane_->Chooser(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name));
        ASSERT_NE(CB_ERR, at) << name;
        SendMessageA(pane_->Chooser(), CB_SETCURSEL, at, 0);
        Command(kLexChooserId, CBN_SELENDOK, pane_->Chooser());
    }
    std::string CurrentName() {
        const int current = pane_->List().GetCurrent();
        return pane_->List().IsValidIndex(current) ? pane_->List().GetAt(current).GetName() : "(none)";
    }
    // The reader clicks where the pane shows its article or edit box and types there.
    void TypeIntoTheBody(const char* text) {
        SetForegroundWindow(frame_);
        ClickAt(CentreOf(pane_->ArticleView().Handle()));
        TypeKeys(text);
    }
    void StartEditing(const char* fileName) {
        Choose(fileName);
        Click(kLexEditModeId);
        ASSERT_TRUE(pane_->IsEditing());
    }

    HWND frame_ = nullptr;
    TestHost host_;
    std::unique_ptr<VoLexWnd> pane_;
};

}  // namespace

TEST_F(LexPaneTest, TypedTextIsKeptByEveryRouteOutOfAnEntry) {
    const std::string path = MakeNotes();
    ASSERT_TRUE(CopySample("Nave's Topical Bible.vrsl"));
    Open();
    StartEditing("Notater.vrsn");
    SelectTitle(0);  // Abraham
    Type("Abraham, title box");
    SelectTitle(2);  // leaving by the title box
    EXPECT_EQ("om Moses", EditText());
    Type("Moses, back");
    Click(kLexBackId);  // leaving by back
    EXPECT_EQ(0, pane_->ShownPosition());
    EXPECT_EQ("Abraham, title box", EditText());
    Type("Abraham, rename");
    TypeTitle("Abram");
    Click(kLexRenameId);  // the text goes with the renamed entry
    Type("Abram, new");
    TypeTitle("Sara");
    Click(kLexNewId);
    EXPECT_EQ("", EditText());
    Type("Sara, chooser");
    Choose("Nave's Topical Bible.vrsl");  // leaving by the chooser
    Choose("Notater.vrsn");
    EXPECT_EQ("Sara, chooser", EditText());  // read back from the commentary
    Type("typed before closing");  // leaving by closing the pane
    UpdateWindow(pane_->Handle());
    RedrawWindow(pane_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    EXPECT_TRUE(Capture::Of(pane_->Handle()).SaveArtifact("commentary-pane-editing.bmp"));
    const int shown = pane_->ShownPosition();
    Close();
    EXPECT_EQ("Abram, new", Stored(path, "Abram"));
    EXPECT_EQ("(none)", Stored(path, "Abraham"));
    EXPECT_EQ("Moses, back", Stored(path, "Moses"));
    EXPECT_EQ(4, shown);
    EXPECT_EQ("typed before closing", Stored(path, "Sara"));
}

TEST_F(LexPaneTest, DeleteAndHistoryFollowTheEntries) {
    const std::string path = MakeNotes();
    Open();
    StartEditing("Notater.vrsn");
    // Sorted: Abraham 0, Mine notater 1 (the home entry, shown first), Moses 2, Noah 3.
    EXPECT_EQ(1, pane_->ShownPosition());
    SelectTitle(0);
    SelectTitle(2);
    SelectTitle(3);  // history: home, Abraham, Moses
    ASSERT_EQ(3, pane_->History().Count());
    Type("Noah before delete");
    SelectTitle(2);  // Moses; history: home, Abraham, Moses, Noah
    TypeTitle("Moses");
    ASSERT_TRUE(IsWindowEnabled(pane_->Button(kLexDeleteId)));
    Click(kLexDeleteId);
    // Moses is gone from the history; Noah moved down one place.
    ASSERT_EQ(3, pane_->History().Count());
    EXPECT_EQ(1, pane_->History().At(0).position);
    EXPECT_EQ(0, pane_->History().At(1).position);
    EXPECT_EQ(2, pane_->History().At(2).position);
    Click(kLexBackId);
    EXPECT_EQ("Noah before delete", EditText());
    Click(kLexBackId);
    EXPECT_EQ("om Abraham", EditText());
    Click(kLexBackId);
    EXPECT_EQ("Hjem", EditText());
    EXPECT_FALSE(IsWindowEnabled(pane_->Button(kLexBackId)));
    Click(kLexBackId);  // nothing left: nothing happens
    EXPECT_EQ(1, pane_->ShownPosition());
    Close();
    EXPECT_EQ("(none)", Stored(path, "Moses"));
    EXPECT_EQ("Noah before delete", Stored(path, "Noah"));
}

// The open commentary's save fails under the pane as on a full disk.
TEST_F(LexPaneTest, AFailedSaveKeepsTheTextAndTheCommentary) {
    const std::string path = MakeNotes();
    ASSERT_TRUE(CopySample("Nave's Topical Bible.vrsl"));
    Open();
    StartEditing("Notater.vrsn");
    // The commentary's file goes through a storage that can be told to fail its commit, as a
    // full disk would.
    StorageFaults faults;
    IVoLexicon* lex = pane_->List().GetAt(IndexOf("Notater.vrsn")).PeekLexicon();
    ASSERT_TRUE(InterposeFailingStorage(lex, path, faults));
    SelectTitle(2);
    Type("must not be lost");
    SelectTitle(3);  // into the commentary's storage
    Type("neither this");
    faults.failCommit = STG_E_MEDIUMFULL;
    std::string message;
    {
        DialogDriver driver({[&](HWND box, const std::string&) {
            message = DialogDriver::MessageText(box);
            DialogDriver::Press(box, IDOK);
            return true;
        }});
        Choose("Nave's Topical Bible.vrsl");
    }
    EXPECT_EQ("Klarte ikke lagre kommentarfilen Mine notater.", message);
    EXPECT_EQ(IndexOf("Notater.vrsn"), pane_->List().GetCurrent());
    EXPECT_EQ("neither this", EditText());
    EXPECT_TRUE(pane_->IsEditing());
    // Once the disk takes writes again, closing the pane saves what was typed.
    faults.failCommit = S_OK;
    Close();
    EXPECT_EQ("must not be lost", Stored(path, "Moses"));
    EXPECT_EQ("neither this", Stored(path, "Noah"));
}

TEST_F(LexPaneTest, APackagedLexiconIsReadWithoutTheEditingRow) {
    ASSERT_TRUE(CopySample("Nave's Topical Bible.vrsl"));
    MakeNotes();
    Open();
    Choose("Nave's Topical Bible.vrsl");
    EXPECT_FALSE(IsWindowVisible(pane_->Button(kLexEditModeId)));
    EXPECT_FALSE(IsWindowEnabled(pane_->Button(kLexEditModeId)));
    EXPECT_FALSE(pane_->IsEditing());
    char key[] = "ABRAHAM";
    const ArticleHandle article = pane_->FindArticleForKey(false, key, kNoArticle);
    ASSERT_NE(kNoArticle, article);
    pane_->ShowArticle(article, 0, nullptr);
    Pump();
    EXPECT_GE(pane_->ShownPosition(), 0);
    EXPECT_TRUE(IsWindowVisible(pane_->ArticleView().Handle()));
    EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
    EXPECT_TRUE(Capture::Of(pane_->Handle()).SaveArtifact("commentary-pane-reading.bmp"));
    // A user commentary shows the row again.
    Choose("Notater.vrsn");
    EXPECT_TRUE(IsWindowVisible(pane_->Button(kLexEditModeId)));
}

TEST_F(LexPaneTest, AProtectedCommentaryAsksForThePasswordBeforeEditing) {
    const std::string path = Lexicons() + "Beskyttet.vrsn";
    {
        ComPtr<IVoLexicon> lex = MakeCommentary(path, "Beskyttet", {{"Beskyttet", "Hjem"}, {"Moses", "om Moses"}});
        ASSERT_TRUE(lex);
        ASSERT_EQ(S_OK, lex->SetPassword("", "hemmelig"));
        ASSERT_EQ(S_OK, lex->SetProtection(kLexNoChanges));
        ASSERT_EQ(S_OK, Save(lex.Get()));
    }
    Open();
    Choose("Beskyttet.vrsn");
    ASSERT_TRUE(IsWindowVisible(pane_->Button(kLexEditModeId)));
    // A prompt cancelled, one with a wrong password (told, the prompt stays), then the right one.
    const auto type = [](HWND dialog, const char* password) {
        SetDlgItemTextA(dialog, kIdcPassword, password);
        DialogDriver::Press(dialog, IDOK);
        return true;
    };
    std::string refusal;
    {
        DialogDriver driver({[](HWND dialog, const std::string&) {
            DialogDriver::Press(dialog, IDCANCEL);
            return true;
        }});
        Click(kLexEditModeId);
    }
    EXPECT_FALSE(pane_->IsEditing());
    EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
    {
        DialogDriver driver({[&](HWND dialog, const std::string&) { return type(dialog, "feil"); },
                             [&](HWND box, const std::string&) {
                                 refusal = DialogDriver::MessageText(box);
                                 DialogDriver::Press(box, IDOK);
                                 return true;
                             },
                             [&](HWND dialog, const std::string& title) {
                                 return title == "Oppgi Passord" && type(dialog, "hemmelig");
                             }});
        Click(kLexEditModeId);
    }
    EXPECT_EQ("Det oppgitte passordet er ikke korrekt.", refusal);
    ASSERT_TRUE(pane_->IsEditing());
    SelectTitle(1);  // Moses
    Type("skrevet etter passordet");
    Close();
    EXPECT_EQ("skrevet etter passordet", Stored(path, "Moses"));
}

TEST_F(LexPaneTest, ANotesFileOpenedReadOnlyIsReadButNeverEdited) {
    const std::string path = MakeNotes();
    ASSERT_TRUE(CopySample("Nave's Topical Bible.vrsl"));
    // Another program reads the file while the pane opens it: the pane gets it read-only.
    FileHandle other(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(other));
    Open();
    Choose("Notater.vrsn");
    EXPECT_FALSE(IsWindowEnabled(pane_->Button(kLexEditModeId)));
    Click(kLexEditModeId);
    EXPECT_FALSE(pane_->IsEditing());
    EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
    SelectTitle(2);
    EXPECT_EQ(2, pane_->ShownPosition());
    Choose("Nave's Topical Bible.vrsl");
    Choose("Notater.vrsn");
    EXPECT_FALSE(IsWindowEnabled(pane_->Button(kLexEditModeId)));
    Close();
    other.Reset();
    EXPECT_EQ("om Moses", Stored(path, "Moses"));
}

// The titles dialog switches off the commentary being edited: what was typed before it is
// saved, and with no other commentary open the pane is empty; nothing the reader types
// afterwards reaches a closed commentary, and no later save fails.
TEST_F(LexPaneTest, SwitchingOffTheLastCommentaryLeavesAnEmptyPane) {
    const std::string path = MakeNotes();
    Open();
    StartEditing("Notater.vrsn");
    SelectTitle(2);  // Moses
    TypeIntoTheBody(" skrevet");
    ASSERT_EQ("om Moses skrevet", EditText());
    RunTitles({SwitchRow("Mine notater", false)});
    EXPECT_EQ("(none)", CurrentName());
    EXPECT_TRUE(ChooserItems().empty());
    EXPECT_EQ(0, pane_->TitleBox().GetCount());
    EXPECT_EQ(0, pane_->TitleBox().GetTextLength());
    EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
    EXPECT_FALSE(IsWindowEnabled(pane_->EditBox()));
    EXPECT_EQ("", EditText());
    EXPECT_TRUE(IsWindowVisible(pane_->ArticleView().Handle()));
    for (UINT id : {kLexHomeId, kLexEditModeId, kLexNewId, kLexDeleteId, kLexRenameId, kLexBackId})
        EXPECT_FALSE(IsWindowEnabled(pane_->Button(id))) << id;
    RedrawWindow(pane_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    EXPECT_TRUE(Capture::Of(pane_->Handle()).SaveArtifact("commentary-pane-none-open.bmp"));
    std::vector<std::string> boxes;
    {
        DialogDriver driver({}, &boxes);
        TypeIntoTheBody("tapt");
        Close();
    }
    EXPECT_EQ("", Joined(boxes)) << "no save failed";
    EXPECT_EQ("om Moses skrevet", Stored(path, "Moses"));
}

// With another, locked commentary open, the pane reads that one after the dialog; typing
// where the edit box was, and choosing that commentary again, changes none of its entries.
TEST_F(LexPaneTest, SwitchingOffTheShownCommentaryReadsTheNextOne) {
    const std::string notes = MakeNotes();
    const std::string other = Lexicons() + "Andre.vrsn";
    MakeCommentary(other, "Andre notater", {{"Andre notater", "Hjem andre"}, {"Jakob", "om Jakob"}});
    Open();
    Choose("Andre.vrsn");  // read, locked
    ASSERT_FALSE(pane_->IsEditing());
    StartEditing("Notater.vrsn");
    SelectTitle(2);  // Moses
    TypeIntoTheBody(" skrevet");
    RunTitles({SwitchRow("Mine notater", false)});
    EXPECT_EQ("Andre notater", CurrentName());
    EXPECT_EQ((std::vector<std::string>{"Andre notater=" + std::to_string(IndexOf("Andre.vrsn"))}), ChooserItems());
    EXPECT_EQ(0, SendMessageA(pane_->Chooser(), CB_GETCURSEL, 0, 0));
    EXPECT_FALSE(pane_->IsEditing());
    EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
    EXPECT_FALSE(IsWindowEnabled(pane_->EditBox()));
    EXPECT_TRUE(IsWindowVisible(pane_->ArticleView().Handle()));
    EXPECT_EQ(0, pane_->ShownPosition());
    EXPECT_EQ(2, pane_->TitleBox().GetCount());
    EXPECT_EQ("Andre notater", Title(0));
    std::vector<std::string> boxes;
    {
        DialogDriver driver({}, &boxes);
        ChooseByText("Andre notater");  // the reader chooses it once more
        EXPECT_FALSE(IsWindowVisible(pane_->EditBox()));
        TypeIntoTheBody("tapt");
        SelectTitle(1);  // leaving the entry saves what was typed in editing mode
        Close();
    }
    EXPECT_EQ("", Joined(boxes)) << "no save failed";
    EXPECT_EQ("om Moses skrevet", Stored(notes, "Moses"));
    EXPECT_EQ("Hjem andre", Stored(other, "Andre notater"));
    EXPECT_EQ("om Jakob", Stored(other, "Jakob"));
}

// "Fjern tittel" takes a commentary out of the list at once: after Cancel the chooser's
// items name the commentaries by their new places, so a choice opens the one chosen.
TEST_F(LexPaneTest, ARemovalThatIsCancelledStillRenumbersTheChooser) {
    std::string userList;
    for (const char* name : {"Alfa", "Beta", "Gamma"}) {
        const std::string file = std::string(name) + ".vrsn";
        MakeCommentary(elsewhere.File(file), name, {{name, "Hjem"}});
        StoreString("lexicons\\" + file, "Path", elsewhere.File(file));
        userList += (userList.empty() ? "" : "|") + file;
    }
    StoreString("lexicons", "UserList", userList);
    Open();
    ASSERT_EQ((std::vector<std::string>{"Alfa=0", "Beta=1", "Gamma=2"}), ChooserItems());
    Choose("Gamma.vrsn");
    RunTitles({[](HWND dialog, const std::string& title) {
                   if (title != "Titler i kommentarvindu") return false;
                   const HWND rows = GetDlgItem(dialog, kIdcTitlesList);
                   ListView_SetItemState(rows, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                   DialogDriver::Press(dialog, kIdcRemoveTitle);  // Alfa
                   return true;
               },
               [](HWND dialog, const std::string&) {
                   DialogDriver::Press(dialog, IDCANCEL);
                   return true;
               }});
    EXPECT_EQ("Gamma", CurrentName());
    EXPECT_EQ((std::vector<std::string>{"Beta=0", "Gamma=1"}), ChooserItems());
    ChooseByText("Beta");
    EXPECT_EQ("Beta", CurrentName());
    EXPECT_EQ("Beta", Title(0));  // its home entry
    ChooseByText("Gamma");
    EXPECT_EQ("Gamma", CurrentName());
}

// Text the notes file cannot keep asks first; the reader's Cancel is the only message, and
// the entry stays with what was typed.
TEST_F(LexPaneTest, CancellingTheCodePageWarningIsTheOnlyMessage) {
    const std::string path = MakeNotes();
    Open();
    StartEditing("Notater.vrsn");
    SelectTitle(2);  // Moses
    // Greek pasted from another program: the edit box holds it, the code page has no form for it.
    const wchar_t greek[] = L" \x039C\x03C9\x03C3\x03AE\x03C2";
    ASSERT_TRUE(OpenClipboard(frame_));
    EmptyClipboard();
    GlobalMemory text(GlobalAlloc(GMEM_MOVEABLE, sizeof greek));
    {
        GlobalLocked<wchar_t> locked(text.Get());
        ASSERT_TRUE(locked.Get());
        memcpy(locked.Get(), greek, sizeof greek);
    }
    ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, text.Get()));
    text.Release();
    CloseClipboard();
    const int end = GetWindowTextLengthA(pane_->EditBox());
    SendMessageA(pane_->EditBox(), EM_SETSEL, end, end);
    SendMessageA(pane_->EditBox(), WM_PASTE, 0, 0);
    ASSERT_TRUE(pane_->IsTextChanged());
    std::vector<std::string> warnings, boxes;
    const auto answer = [&](int button) {
        return [&warnings, button](HWND box, const std::string&) {
            warnings.push_back(DialogDriver::MessageText(box));
            DialogDriver::Press(box, button);
            return true;
        };
    };
    {
        DialogDriver driver({answer(IDCANCEL)}, &boxes);
        SelectTitle(3);  // Noah: refused, Moses stays
    }
    EXPECT_EQ(1u, warnings.size());
    EXPECT_EQ("", Joined(boxes));
    EXPECT_EQ(2, pane_->ShownPosition());
    EXPECT_TRUE(pane_->IsTextChanged());
    {
        DialogDriver driver({answer(IDOK)}, &boxes);
        SelectTitle(3);  // saved as the code page keeps it
    }
    ASSERT_EQ(2u, warnings.size());
    EXPECT_EQ(warnings[0], warnings[1]);
    EXPECT_NE(std::string::npos, warnings[0].find("lagret som '?'")) << warnings[0];
    EXPECT_EQ("", Joined(boxes));
    EXPECT_EQ(3, pane_->ShownPosition());
    Close();
    EXPECT_EQ("om Moses ?????", Stored(path, "Moses"));
}

// A chapter's article asked for a verse, as a bible pane asks: in reading mode the plain
// view (the view Wine shows) opens at the heading the verse stands under, and Back comes
// back to where the reader had scrolled it.
TEST_F(LexPaneTest, AnArticleForAVerseOpensAtItsHeadingAndBackComesBackToItsPlace) {
    std::string chapter = ">>Johannes 3\r\nOm kapitlet.\r\n";
    for (int verse : {1, 3, 5, 9, 14, 16, 19, 22, 25, 27, 31, 34, 36}) {
        chapter += "><Joh 3:" + std::to_string(verse) + ">\r\n";
        for (int line = 1; line <= 5; ++line)
            chapter += "Vers " + std::to_string(verse) + ", tanke " + std::to_string(line) + ".\r\n";
    }
    MakeCommentary(Lexicons() + "Kapitler.vrsn", "Kapitler",
                   {{"Kapitler", "Hjem"}, {"Joh 3", chapter.c_str()}, {"Joh 4", "Samaria."}});
    Open();
    Choose("Kapitler.vrsn");
    ASSERT_FALSE(pane_->IsEditing());

    // John 3:17 has no entry of its own: the chapter's article, at the heading of 3:16.
    ComPtr<IBibleHandles> handles;
    ASSERT_EQ(S_OK, stat_.As(IID_IBibleHandles, &handles));
    int verse = 0;
    ASSERT_EQ(S_OK, handles->MakeRef(&verse, 42, 2, 16));
    const ArticleHandle article = pane_->FindArticleForVerse(true, stat_.Get(), verse, false, kNoArticle);
    ASSERT_NE(kNoArticle, article);
    pane_->ShowArticle(article, verse, stat_.Get());
    Pump();
    const HWND box = pane_->ArticleView().GetDocument()->Window();
    auto firstLine = [&] { return static_cast<int>(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0)); };
    const LRESULT length = SendMessageA(box, WM_GETTEXTLENGTH, 0, 0);
    std::string shown(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(box, &shown[0], static_cast<int>(shown.size()));
    const size_t heading = shown.find("\nJoh 3:16\r\n");
    ASSERT_NE(std::string::npos, heading) << shown;
    const int headingLine = static_cast<int>(SendMessageA(box, EM_LINEFROMCHAR, heading + 1, 0));
    ASSERT_GT(headingLine, 0);
    EXPECT_EQ(headingLine, firstLine());

    // Scrolled on by the reader, left for another article, and back.
    for (int i = 0; i < 3; ++i) SendMessageA(box, WM_VSCROLL, SB_LINEDOWN, 0);
    const int scrolled = firstLine();
    ASSERT_EQ(headingLine + 3, scrolled);
    SelectTitle(2);  // Joh 4
    Pump();
    EXPECT_EQ(0, firstLine());
    Click(kLexBackId);
    Pump();
    EXPECT_EQ(scrolled, firstLine());
    EXPECT_TRUE(Capture::Of(pane_->Handle()).SaveArtifact("commentary-pane-at-verse.bmp"));
}

// New, Rename and Delete follow the title box's text against the shown entry by every road
// that changes either: a new entry, switching an entry from reading to editing, choosing an
// entry, and then the reader typing a title (the shown entry's, a new one, another entry's).
TEST_F(LexPaneTest, TheTitleButtonsFollowTheTitleAndTheShownEntryByEveryRoad) {
    enum Road { kAfterNew, kAfterSwitchingToEditing, kAfterChoosingAnEntry };
    struct Case {
        Road road;
        const char* typed;  // typed into the title box afterwards; null for nothing
        bool newOn, renameOn, deleteOn;
    };
    // Sorted: Abraham 0, Mine notater 1, Moses 2, Noah 3. Each road shows Noah (or Sara).
    const Case cases[] = {
        {kAfterNew, nullptr, false, false, true},
        {kAfterNew, "Sara", false, false, true},
        {kAfterNew, "Sem", true, true, false},
        {kAfterNew, "Moses", false, false, false},
        {kAfterSwitchingToEditing, nullptr, false, false, true},
        {kAfterSwitchingToEditing, "Noah", false, false, true},
        {kAfterSwitchingToEditing, "Sem", true, true, false},
        {kAfterSwitchingToEditing, "Moses", false, false, false},
        {kAfterChoosingAnEntry, nullptr, false, false, true},
        {kAfterChoosingAnEntry, "Noah", false, false, true},
        {kAfterChoosingAnEntry, "Sem", true, true, false},
        {kAfterChoosingAnEntry, "Moses", false, false, false},
    };
    static const char* const kRoads[] = {"after New", "after switching to editing", "after choosing an entry"};
    // The reader clicks into the title box (which selects its text) and types; a click soon
    // after the last one there would be a double click.
    const auto typeIntoTheTitleBox = [&](const char* text) {
        SetForegroundWindow(frame_);
        SetFocus(frame_);
        Sleep(GetDoubleClickTime() + 50);
        ClickAt(CentreOf(pane_->TitleBox().Edit().Handle()));
        TypeKeys(text);
    };
    // The pane remembers the mode of a commentary: each case sets the one it starts from.
    const auto chooseNotes = [&](bool editing) {
        Choose("Notater.vrsn");
        if (pane_->IsEditing() != editing) Click(kLexEditModeId);
    };
    for (const Case& c : cases) {
        const std::string what = std::string(kRoads[c.road]) + ", typed " + (c.typed ? c.typed : "nothing");
        DeleteFileA((Lexicons() + "Notater.vrsn").c_str());
        const std::string path = MakeNotes();
        Open();
        if (c.road == kAfterNew) {
            chooseNotes(true);
            typeIntoTheTitleBox("Sara");
            ASSERT_TRUE(IsWindowEnabled(pane_->Button(kLexNewId))) << what;
            Click(kLexNewId);
        } else if (c.road == kAfterSwitchingToEditing) {
            chooseNotes(false);
            SelectTitle(3);  // Noah, read
            Click(kLexEditModeId);
        } else {
            chooseNotes(true);
            SelectTitle(3);  // Noah
        }
        ASSERT_TRUE(pane_->IsEditing()) << what;
        if (c.typed) typeIntoTheTitleBox(c.typed);
        char title[64] = {};
        pane_->TitleBox().GetText(title, sizeof title);
        EXPECT_EQ(c.typed ? c.typed : (c.road == kAfterNew ? "Sara" : "Noah"), std::string(title)) << what;
        EXPECT_EQ(c.newOn, IsWindowEnabled(pane_->Button(kLexNewId)) != FALSE) << what << ": New";
        EXPECT_EQ(c.renameOn, IsWindowEnabled(pane_->Button(kLexRenameId)) != FALSE) << what << ": Rename";
        EXPECT_EQ(c.deleteOn, IsWindowEnabled(pane_->Button(kLexDeleteId)) != FALSE) << what << ": Delete";
        if (c.road == kAfterSwitchingToEditing && !c.typed) {
            RedrawWindow(pane_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Pump();
            EXPECT_TRUE(Capture::Of(pane_->Handle()).SaveArtifact("commentary-pane-title-buttons.bmp"));
        }
        // Where Delete is offered the reader can delete the shown entry at once.
        const bool deletes = c.deleteOn && !c.typed;
        if (deletes) Click(kLexDeleteId);
        Close();
        const char* shown = c.road == kAfterNew ? "Sara" : "Noah";
        EXPECT_EQ(deletes ? "(none)" : (c.road == kAfterNew ? "" : "om Noah"), Stored(path, shown)) << what;
    }
}
