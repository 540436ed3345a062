// The commentary dialogs: the path of a new notes file as a table, and the dialogs on the
// desktop driven from a timer inside their own loops (the password prompt on a protected
// commentary, the create dialog, the titles list), each leaving a screenshot. The program
// folder's "Versilo.ini" names the build's "Bibles" (the KJV sample bible) and a scratch
// "Lexicons"; the documents folder is a scratch folder named in a scratch registry.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <string>
#include "BibleInfoList.h"
#include "CommentaryDialogIds.h"
#include "DataDirectories.h"
#include "DialogDriver.h"
#include "LexCreateDlg.h"
#include "LexTitlesDlg.h"
#include "LexiconList.h"
#include "NorwegianNames.h"
#include "NotesPath.h"
#include "PasswordDlg.h"
#include "ProtestantCanon.h"
#include "ScratchRegistry.h"
#include "LexiconFiles.h"
#include "TestFiles.h"
#include "WindowCapture.h"

namespace {

void Screenshot(HWND dialog, const char* name) {
    UpdateWindow(dialog);
    EXPECT_TRUE(Capture::Of(dialog, true).SaveArtifact(name));
}

TEST(NotesPath, TheTypedPathToDirectoryAndName) {
    TempDir documents, other;
    const std::string docs = documents.Path();
    CreateDirectoryA(documents.File("sub").c_str(), nullptr);
    const std::string longName(240, 'n');
    struct Row {
        const char* what;
        std::string typed;
        bool withDocuments;
        NotesPathCheck check;
        std::string directory, name;
    } rows[] = {
        {"a bare name lies in the documents folder", "Mine", true, NotesPathCheck::kOk, docs, "Mine"},
        {"the extension in capitals is the same file", "Mine.VRSN", true, NotesPathCheck::kOk, docs, "Mine"},
        {"another extension stays part of the name", "Mine.txt", true, NotesPathCheck::kOk, docs, "Mine.txt"},
        {"a relative directory under the documents folder", "sub\\Mine", true, NotesPathCheck::kOk, docs + "\\sub", "Mine"},
        {"a full path with a drive is used as typed", other.File("Mine"), true, NotesPathCheck::kOk, other.Path(), "Mine"},
        {"a missing directory", other.File("finnes\\ikke"), true, NotesPathCheck::kNoDirectory, other.File("finnes"), "ikke"},
        {"a bare name without a documents folder", "Mine", false, NotesPathCheck::kNoDirectory, "", "Mine"},
        {"260 characters and the extension", std::string(260, 'x'), true, NotesPathCheck::kTooLong, "", ""},
        {"the documents folder and a long relative path", longName, true, NotesPathCheck::kTooLong, "", ""},
        {"a full path of 259 characters fits", other.File(std::string(259 - other.Path().size() - 1 - 5, 'k')), true,
         NotesPathCheck::kOk, other.Path(), std::string(259 - other.Path().size() - 1 - 5, 'k')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NotesPath path;
        EXPECT_EQ(row.check, CheckNotesPath(row.typed.c_str(), row.withDocuments ? docs.c_str() : nullptr, &path));
        EXPECT_EQ(row.directory, path.directory);
        EXPECT_EQ(row.name, path.name);
    }
    NotesPath path;
    ASSERT_EQ(NotesPathCheck::kOk, CheckNotesPath("Mine", docs.c_str(), &path));
    char full[MAX_PATH];
    path.FullPath(full);
    EXPECT_EQ(documents.File("Mine.vrsn"), full);
}

class CommentaryDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nBibles=" +
                                                                 WinePath(VERSILO_BINARY_DIR "/bin/Bibles") +
                                                                 "\r\nLexicons=.\\scratch\\Lexicons\r\n");
        CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
        CreateDirectoryA((std::string(program) + "scratch\\Lexicons").c_str(), nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER,
                                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                                 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        const std::string personal = documents.Path() + "\\";
        RegSetValueExA(key, "Personal", 0, REG_SZ, reinterpret_cast<const BYTE*>(personal.c_str()),
                       static_cast<DWORD>(personal.size() + 1));
        RegCloseKey(key);
        ASSERT_EQ(S_OK, BuildProtestantStat(stat.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat.Get(), langStat.Put()));
    }

    ComPtr<IVoLexicon> Make(const std::string& path, const char* name) {
        ComPtr<IVoLexicon> lexicon;
        EXPECT_EQ(S_OK, CreateOldVoLexFile(path.c_str(), langStat.Get(), name, lexicon.Put()));
        return lexicon;
    }
    static void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

    ScratchRegistry registry;
    TempDir documents, elsewhere;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
};

TEST_F(CommentaryDialogsTest, ThePasswordPromptUnlocksOnlyWithTheRightPassword) {
    const std::string path = elsewhere.File("Beskyttet.vrsn");
    const std::string password = "abcdefghijklmnopqrstuvwxyz01234";  // 31 characters, the most
    {
        ComPtr<IVoLexicon> lexicon = Make(path, "beskyttet");
        ASSERT_EQ(S_OK, lexicon->SetPassword("", password.c_str()));
        ASSERT_EQ(S_OK, lexicon->SetProtection(1));
        ASSERT_EQ(S_OK, SaveLexicon(lexicon.Get()));
    }
    VoLexiconItem item;
    item.Load(path.c_str());
    ASSERT_TRUE(item.IsOpen());
    ASSERT_EQ(kLexNoChanges, item.GetAccess());

    std::string prompt, refusal;
    DialogDriver driver({
        [&](HWND dialog, const std::string& title) {
            EXPECT_EQ("Oppgi Passord", title);
            char text[256] = {};
            GetDlgItemTextA(dialog, kIdcPasswordPrompt, text, sizeof text);
            prompt = text;
            Type(dialog, kIdcPassword, "feil");
            Screenshot(dialog, "commentary-password-dialog.bmp");
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
        [&](HWND box, const std::string& title) {
            EXPECT_EQ("Versilo", title);
            refusal = DialogDriver::MessageText(box);
            DialogDriver::Press(box, IDOK);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Oppgi Passord") return false;
            // Typed longer than the field holds: the first 31 characters are the password.
            Type(dialog, kIdcPassword, password + "567");
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
    });
    VoProvidePasswordDlg dialog(item);
    EXPECT_EQ(IDOK, dialog.DoModal(nullptr));
    EXPECT_EQ("Beskyttet er passordbeskyttet. Du m\xE5 oppgi passordet for \xE5 kunne gj\xF8re endringer.", prompt);
    EXPECT_EQ("Det oppgitte passordet er ikke korrekt.", refusal);
    EXPECT_EQ(0, item.GetAccess()) << "unlocked";
}

TEST_F(CommentaryDialogsTest, APasswordPromptThatIsCancelledLeavesTheCommentaryLocked) {
    const std::string path = elsewhere.File("Laast.vrsn");
    {
        ComPtr<IVoLexicon> lexicon = Make(path, "L\xE5st");
        ASSERT_EQ(S_OK, lexicon->SetPassword("", "hemmelig"));
        ASSERT_EQ(S_OK, lexicon->SetProtection(1));
        ASSERT_EQ(S_OK, SaveLexicon(lexicon.Get()));
    }
    VoLexiconItem item;
    item.Load(path.c_str());
    DialogDriver driver({[](HWND dialog, const std::string&) {
        Type(dialog, kIdcPassword, "hemmelig");
        DialogDriver::Press(dialog, IDCANCEL);
        return true;
    }});
    VoProvidePasswordDlg dialog(item);
    EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr));
    EXPECT_EQ(kLexNoChanges, item.GetAccess());
}

TEST_F(CommentaryDialogsTest, TheCreateDialogChecksThePathAndMakesTheFile) {
    VoLexiconList list;
    VoBibleInfoList bibles;
    ASSERT_GT(bibles.GetCount(), 0) << "the KJV sample bible";
    const std::string existing = documents.File("Finnes.vrsn");
    Make(existing, "Finnes");
    const std::string tooLong(300, 'x');
    std::string hint, messages;
    DialogDriver driver({
        [&](HWND dialog, const std::string& title) {
            EXPECT_EQ("Opprett ny fil for kommentarer", title);
            char text[512] = {};
            GetDlgItemTextA(dialog, kIdcCreateHint, text, sizeof text);
            hint = text;
            EXPECT_EQ(0, SendDlgItemMessageA(dialog, kIdcCreateBible, CB_GETCURSEL, 0, 0)) << "the active bible";
            Type(dialog, kIdcCreatePath, tooLong);
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
        [&](HWND box, const std::string&) {
            messages += DialogDriver::MessageText(box) + "|";
            DialogDriver::Press(box, IDOK);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Opprett ny fil for kommentarer") return false;
            Type(dialog, kIdcCreatePath, elsewhere.File("finnes\\ikke"));
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
        [&](HWND box, const std::string&) {
            messages += DialogDriver::MessageText(box) + "|";
            DialogDriver::Press(box, IDOK);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Opprett ny fil for kommentarer") return false;
            Type(dialog, kIdcCreatePath, "FINNES.VRSN");  // the existing file: asked, and No keeps it
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
        [&](HWND box, const std::string&) {
            messages += DialogDriver::MessageText(box) + "|";
            DialogDriver::Press(box, IDNO);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Opprett ny fil for kommentarer") return false;
            Type(dialog, kIdcCreatePath, "Mine notater");
            Screenshot(dialog, "commentary-create-dialog.bmp");
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
    });
    VoLexCreateDlg dialog(list, bibles, bibles.GetOrderAt(0));
    ASSERT_EQ(IDOK, dialog.DoModal(nullptr));
    EXPECT_EQ("Dersom du ikke oppgir en fullstendig sti, blir filen liggende under katalogen '" + documents.Path() + "'.",
              hint);
    EXPECT_EQ("Stien '" + tooLong.substr(0, 64) + "...' er for lang. En fullstendig sti kan ha h\xF8yst 259 tegn.|" +
                  "'" + elsewhere.File("finnes") + "' er ikke en gyldig eksisterende katalog.|" + "Filen '" + documents.File("FINNES.vrsn") +
                  "' eksisterer allerede og vil bli overskrevet.\nEr du sikker p\xE5 at du vil opprette en ny fil med "
                  "dette navnet?|",
              messages);
    const std::string created = documents.File("Mine notater.vrsn");
    EXPECT_EQ(created, dialog.GetPath());
    ComPtr<IVoLexicon> lexicon;
    ASSERT_EQ(S_OK, OpenVoLexFile(created.c_str(), lexicon.Put()));
    char name[64] = {};
    lexicon->GetName(name);
    EXPECT_STREQ("Mine notater", name);
    EXPECT_TRUE(IsExistingFile(existing.c_str())) << "No kept the existing file";
}

// The rows of the titles list: names and item data.
std::vector<std::pair<std::string, LPARAM>> Rows(HWND list) {
    std::vector<std::pair<std::string, LPARAM>> rows;
    for (int r = 0, n = ListView_GetItemCount(list); r < n; ++r) {
        char text[64] = {};
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = r;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({text, item.lParam});
    }
    return rows;
}

TEST_F(CommentaryDialogsTest, TheTitlesDialogRemovesAddsAndSwitches) {
    VoLexiconList list;
    for (const char* name : {"Alfa", "Beta", "Gamma"}) Make(elsewhere.File(std::string(name) + ".vrsn"), name);
    for (const char* name : {"Alfa", "Beta", "Gamma"})
        ASSERT_GE(list.AddFile(elsewhere.File(std::string(name) + ".vrsn").c_str()), 0);
    int current = 2;
    VoBibleInfoList bibles;
    using Rows_t = std::vector<std::pair<std::string, LPARAM>>;
    Rows_t atStart, afterRemove, afterNew;
    bool removableCurrent = true;
    DialogDriver driver({
        [&](HWND dialog, const std::string& title) {
            EXPECT_EQ("Titler i kommentarvindu", title);
            const HWND rows = GetDlgItem(dialog, kIdcTitlesList);
            atStart = Rows(rows);
            // The current commentary cannot be removed.
            ListView_SetItemState(rows, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            removableCurrent = IsWindowEnabled(GetDlgItem(dialog, kIdcRemoveTitle)) != FALSE;
            ListView_SetItemState(rows, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            Screenshot(dialog, "commentary-titles-dialog.bmp");
            DialogDriver::Press(dialog, kIdcRemoveTitle);
            return true;
        },
        [&](HWND dialog, const std::string&) {
            afterRemove = Rows(GetDlgItem(dialog, kIdcTitlesList));
            DialogDriver::Press(dialog, kIdcNewTitle);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Opprett ny fil for kommentarer") return false;
            Type(dialog, kIdcCreatePath, "Delta");
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
        [&](HWND dialog, const std::string& title) {
            if (title != "Titler i kommentarvindu") return false;
            const HWND rows = GetDlgItem(dialog, kIdcTitlesList);
            afterNew = Rows(rows);
            ListView_SetCheckState(rows, 0, FALSE);  // Beta off
            DialogDriver::Press(dialog, IDOK);
            return true;
        },
    });
    VoLexTitlesDlg dialog(list, &current, bibles, bibles.GetCount() ? bibles.GetOrderAt(0) : 0);
    ASSERT_EQ(IDOK, dialog.DoModal(nullptr));
    EXPECT_EQ((Rows_t{{"Alfa", 0}, {"Beta", 1}, {"Gamma", 2}}), atStart);
    EXPECT_FALSE(removableCurrent);
    EXPECT_EQ((Rows_t{{"Beta", 0}, {"Gamma", 1}}), afterRemove);
    EXPECT_EQ(1, current) << "still Gamma";
    EXPECT_EQ((Rows_t{{"Beta", 0}, {"Gamma", 1}, {"Delta", 2}}), afterNew);
    ASSERT_EQ(3, list.GetCount());
    EXPECT_STREQ("Delta", list.GetAt(2).GetName());
    EXPECT_EQ(documents.File("Delta.vrsn"), list.GetAt(2).GetPath());
    EXPECT_FALSE(list.GetAt(0).IsOpen()) << "Beta switched off";
    EXPECT_TRUE(list.GetAt(1).IsOpen());
}

// The structure a notes-file dialog was given, as its hook sees it: the lParam of the
// WM_INITDIALOG of the hook's child dialog inside a file dialog titled title.
class FileDialogWatch {
public:
    explicit FileDialogWatch(const char* title) : title_(title) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &FileDialogWatch::OnCall, nullptr, GetCurrentThreadId());
    }
    ~FileDialogWatch() {
        if (hook_) UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    bool Hooked() const { return hook_ != nullptr; }
    std::vector<DWORD> sizes;

private:
    static LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        FileDialogWatch* self = current_;
        if (self && code == HC_ACTION && call->message == WM_INITDIALOG &&
            (GetWindowLongPtrA(call->hwnd, GWL_STYLE) & WS_CHILD)) {
            char title[256] = {};
            GetWindowTextA(GetParent(call->hwnd), title, sizeof title);
            if (self->title_ == title && call->lParam)
                self->sizes.push_back(reinterpret_cast<const OPENFILENAMEA*>(call->lParam)->lStructSize);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline FileDialogWatch* current_ = nullptr;
    std::string title_;
    HHOOK hook_ = nullptr;
};

// The open dialog of " &Åpne tittel..." and the save dialog of the create dialog's
// "Bla gjennom..." get the whole structure, and so the places bar.
TEST_F(CommentaryDialogsTest, TheNotesFileDialogsGetTheWholeStructure) {
    VoLexiconList list;
    VoBibleInfoList bibles;
    int current = -1;
    const char* const fileTitle = "Velg sti for kommentarfilen";
    FileDialogWatch watch(fileTitle);
    ASSERT_TRUE(watch.Hooked());
    std::vector<bool> placesBar;
    const auto fileDialog = [&](HWND dialog, const std::string& title) {
        if (title != fileTitle) return false;
        const HWND places = GetDlgItem(dialog, ctl1);
        placesBar.push_back(places && IsWindowVisible(places));
        DialogDriver::Press(dialog, IDCANCEL);
        return true;
    };
    const auto press = [](const char* expected, int id) {
        return [expected, id](HWND dialog, const std::string& title) {
            if (title != expected) return false;
            DialogDriver::Press(dialog, id);
            return true;
        };
    };
    const char* const titles = "Titler i kommentarvindu";
    const char* const create = "Opprett ny fil for kommentarer";
    DialogDriver driver({press(titles, kIdcOpenTitle), fileDialog, press(titles, kIdcNewTitle),
                         press(create, kIdcBrowse), fileDialog, press(create, IDCANCEL), press(titles, IDCANCEL)});
    VoLexTitlesDlg dialog(list, &current, bibles, bibles.GetCount() ? bibles.GetOrderAt(0) : 0);
    EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr));
    EXPECT_EQ((std::vector<DWORD>{sizeof(OPENFILENAMEA), sizeof(OPENFILENAMEA)}), watch.sizes);
    EXPECT_EQ((std::vector<bool>{true, true}), placesBar);
}

}  // namespace
