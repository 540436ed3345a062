// The commentary pane of Versilo.exe itself, driven from this (another) process as a reader
// would: Nave's Topical Bible read beside John 3, a bible link of its article followed to
// the active pane, a verse number that opens the verse's note, and a note typed into a user
// commentary outside "Lexicons" that is in its file once the program has closed. The application key is saved before and put back
// after, as the program writes its settings there.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "ComPtr.h"
#include "LexiconFiles.h"
#include "NorwegianNames.h"
#include "ProgramDriver.h"
#include "ProtestantCanon.h"
#include "TestFiles.h"
#include "VoUtil.h"

namespace {

constexpr DWORD kPaintTimeout = 60000;
constexpr int kLexiconPane = 5000;
// The pane's children and the title box's edit.
constexpr int kTitleBox = 1001, kEditBox = 1002, kArticleView = 1003, kEditButton = 1006;
constexpr int kTitleEdit = 1000, kArticleText = 1;

std::string ProgramFolder() {
    return WinePath(VERSILO_BIN_DIR) + "\\";
}

void SetAppString(const char* subKey, const char* name, const std::string& value) {
    const std::string path = std::string(kProgramAppKey) + (subKey ? std::string("\\") + subKey : "");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void SetAppDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, kProgramAppKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

// A window's text asked with WM_GETTEXT (GetWindowText does not ask another process).
std::string TextOf(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(strlen(text.c_str()));
    return text;
}

class ProgramCommentaryTest : public ::testing::Test {
protected:
    void TearDown() override { program.Kill(); }

    void Start(const std::string& request) {
        ASSERT_TRUE(StartProgram(ProgramFolder() + "Versilo.exe", request, &program));
        ASSERT_TRUE(WaitPaintedChapter(program, kPaintTimeout)) << request;
        Sleep(500);  // the frame's layout and the pane's remembered commentary
        ASSERT_TRUE(ProgramResponds(program));
        pane = GetDlgItem(program.main, kLexiconPane);
        ASSERT_TRUE(pane);
        ASSERT_TRUE(IsWindowVisible(pane));
    }
    // Chooses an entry of the title box as a reader does: types its title and presses Enter.
    void ChooseTitle(const char* title) {
        const HWND titles = GetDlgItem(pane, kTitleBox);
        ASSERT_TRUE(titles);
        SendMessageA(GetDlgItem(titles, kTitleEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
        SendMessageA(titles, WM_CHAR, VK_RETURN, 0);
        ASSERT_TRUE(ProgramResponds(program));
    }
    // The plain article text box of the pane's article view.
    HWND ArticleText() { return GetDlgItem(GetDlgItem(pane, kArticleView), kArticleText); }
    void Screenshot(const char* name) { EXPECT_TRUE(SaveProgramScreenshot(program, name)); }

    SavedAppKey savedKey;
    ProgramProcess program;
    HWND pane = nullptr;
};

TEST_F(ProgramCommentaryTest, NavesBesideJohn3AndALinkToTheActivePane) {
    SetAppString(nullptr, "ActiveLexicon", "Nave's Topical Bible");
    SetAppDword("MultitransOpen", 0);
    Start("KJV Joh 3:1");
    ChooseTitle("NICODEMUS");
    const HWND article = ArticleText();
    ASSERT_TRUE(article);
    EXPECT_TRUE(IsWindowVisible(article));
    // The view breaks its lines itself, each wrapping blank shown as a soft line break.
    const std::string shown = TextOf(article);
    std::string text = shown;
    for (size_t i; (i = text.find("\r\r\n")) != std::string::npos;) text.replace(i, 3, " ");
    EXPECT_NE(std::string::npos, text.find("disciple of Jesus Joh 3:1-10")) << text;
    Screenshot("versilo-commentary-naves.bmp");

    // A double click on the link to John 7:50 takes the bible pane there.
    const size_t link = text.find("Joh 7:50");
    ASSERT_NE(std::string::npos, link) << text;
    size_t linkShown = 0;
    for (size_t n = 0; n < link + 2; ++n) linkShown += shown.compare(linkShown, 3, "\r\r\n") == 0 ? 3 : 1;
    const LRESULT point = SendMessageA(article, EM_POSFROMCHAR, linkShown, 0);
    ASSERT_NE(-1, point);
    const LPARAM at = MAKELPARAM(LOWORD(point) + 2, HIWORD(point) + 3);
    SendMessageA(article, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(article, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(ProgramResponds(program));
    EXPECT_EQ("KJV Joh 7", ProgramPlace(program.main));
    EXPECT_EQ(1, CloseProgram(program));
}

TEST_F(ProgramCommentaryTest, AVerseNumberOpensItsNoteAndWhatIsTypedIsInTheFile) {
    // A user commentary outside "Lexicons", known to the program through the registry.
    const std::string folder = WinePath(VERSILO_TEST_DIR) + "\\program-notes\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "Notater.vrsn";
    DeleteFileA(path.c_str());
    {
        ComPtr<IBibleStat> stat;
        ComPtr<IBibleLangStat> lang;
        ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat.Get(), lang.Put()));
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, CreateOldVoLexFile(path.c_str(), lang.Get(), "Mine notater", lex.Put()));
        for (const auto& entry : {std::make_pair("Mine notater", "Notater til Johannes."),
                                  std::make_pair("Joh 3:16", "Det kjente verset."), std::make_pair("Joh 3:3", "")}) {
            int id = 0;
            ASSERT_EQ(S_OK, lex->AddEntry(entry.first, &id));
            ASSERT_EQ(S_OK, lex->SetEntryText(id, entry.second));
        }
        ASSERT_EQ(S_OK, SaveLexicon(lex.Get()));
    }
    SetAppString("lexicons", "UserList", "Notater.vrsn");
    SetAppString("lexicons\\Notater.vrsn", "Path", path);
    SetAppString(nullptr, "ActiveLexicon", "Mine notater");
    SetAppDword("MultitransOpen", 0);
    Start("KJV Joh 3:16");

    // A click on the verse number of John 3:16 (the caret's verse, its first line starting
    // with the number a margin in) opens its note.
    const HWND bibleText = FindTextWindow(program.main);
    const LRESULT caret = SendMessageA(bibleText, WM_USER + 5, 0, 0);  // TWM_GETCARET
    RECT item = {};
    ASSERT_TRUE(RemoteRect(program.info.hProcess, bibleText, WM_USER + 10, static_cast<WPARAM>(caret), &item));  // TWM_GETITEMRECT
    const LPARAM number = MAKELPARAM(item.left + 16, item.top + 10);
    PostMessageA(bibleText, WM_MOUSEMOVE, 0, number);
    PostMessageA(bibleText, WM_LBUTTONDOWN, MK_LBUTTON, number);
    PostMessageA(bibleText, WM_LBUTTONUP, 0, number);
    ASSERT_TRUE(ProgramResponds(program));
    EXPECT_EQ("Det kjente verset.", TextOf(ArticleText()));
    EXPECT_EQ("Joh 3:16", TextOf(GetDlgItem(GetDlgItem(pane, kTitleBox), kTitleEdit)));

    SendMessageA(pane, WM_COMMAND, MAKEWPARAM(kEditButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(pane, kEditButton)));
    const HWND edit = GetDlgItem(pane, kEditBox);
    ASSERT_TRUE(IsWindowVisible(edit)) << "the pane is in editing mode";
    EXPECT_EQ("Det kjente verset.", TextOf(edit));
    ChooseTitle("Joh 3:3");
    EXPECT_EQ("", TextOf(edit));
    ChooseTitle("Joh 3:16");
    const char typed[] = "Guds kj\xE6rlighet gjelder hele verden.";
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed));
    ASSERT_TRUE(ProgramResponds(program));
    Screenshot("versilo-commentary-editing.bmp");
    EXPECT_EQ(1, CloseProgram(program));

    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), lex.Put()));
    int position = -1, id = 0;
    VARIANT_BOOL exact = VARIANT_FALSE;
    ASSERT_EQ(S_OK, lex->FindEntry("Joh 3:16", &position, &exact));
    ASSERT_NE(VARIANT_FALSE, exact);
    ASSERT_EQ(S_OK, lex->GetEntryId(position, &id));
    char text[256] = "";
    lex->GetEntryText(id, text, sizeof text);
    EXPECT_STREQ(typed, text);
}

}  // namespace
