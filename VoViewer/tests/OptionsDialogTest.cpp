// The options dialog in this process: the interval boxes (a value the table lacks, and a
// stored 0 or 1 between verses that the box can't take), the first interval while the
// automatic start is off, browsing for a list (scripted, and once the real file dialog),
// the checks of OK and what OK saves.
#include "ViewerFixture.h"
#include "OptionsDlg.h"
#include "TestWindows.h"
#include "ViewerIds.h"
#include "ViewerUiFixture.h"
#include "WindowCapture.h"
#include <dlgs.h>

namespace {

void EndEveryDialog() {
    while (HWND dialog = DialogScript::ActiveDialog()) EndDialog(dialog, 2);
}

struct Box {
    std::vector<std::string> texts;
    std::vector<int> minutes;
    int selection;
    bool enabled;
};

Box Read(HWND dialog, int id) {
    const HWND box = GetDlgItem(dialog, id);
    Box b{{}, {}, static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0)), IsWindowEnabled(box) != FALSE};
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[300] = {};
        SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        b.texts.push_back(text);
        b.minutes.push_back(static_cast<int>(SendMessageA(box, CB_GETITEMDATA, i, 0)));
    }
    return b;
}

void Select(HWND dialog, int id, int index) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class OptionsDialogTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        WriteBible("Egen.vrsb", "EGN");
        WriteList("Min.vrsm", Entries({0, 4, 8, 12}));
        WriteList("Annen.vrsm", Entries({7, 9}));
        Choose("Egen", "Min");
    }
    INT_PTR Run(VoViewerApp& app, std::vector<DialogScript::Step> steps) { return Run(app, prompts, std::move(steps)); }
    INT_PTR Run(VoViewerApp& app, AViewerPrompts& with, std::vector<DialogScript::Step> steps) {
        Watchdog watchdog(15000, &EndEveryDialog);
        DialogScript script(std::move(steps));
        VoViewerOptionsDlg dialog(app, with);
        const INT_PTR result = dialog.DoModal(nullptr);
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(Watchdog::Fired());
        return result;
    }
    ScriptedPrompts prompts;
};

TEST_F(OptionsDialogTest, TheBoxesShowTheSettingsAndConfirmingWithoutChangeSavesNothing) {
    SetViewerDword("Interval", 7);
    SetViewerDword("FirstInterval", 0);
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Box interval, first, bibles, lists;
    EXPECT_EQ(2, Run(app, {[&](HWND dialog) {
                  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                  EXPECT_TRUE(Capture::Of(dialog, true).SaveArtifact("viewer-options-dialog.bmp"));
                  interval = Read(dialog, IDC_INTERVAL);
                  first = Read(dialog, IDC_FIRST_INTERVAL);
                  bibles = Read(dialog, IDC_BIBLE);
                  lists = Read(dialog, IDC_REF_LIST);
                  EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dialog, IDC_HIDDEN_BUTTONS));
                  Command(dialog, IDOK);
              }}));
    // A value the table lacks is listed first; 0 and 1 minutes can't be had between verses.
    ASSERT_EQ(18u, interval.texts.size());
    EXPECT_EQ("7 minutter", interval.texts[0]);
    EXPECT_EQ(0, interval.selection);
    EXPECT_EQ("5 minutter", interval.texts[1]);
    EXPECT_EQ("1 dag", interval.texts.back());
    EXPECT_EQ(1440, interval.minutes.back());
    ASSERT_EQ(19u, first.texts.size());
    EXPECT_EQ("Ved oppstart", first.texts[first.selection]);
    EXPECT_EQ("1 time 30 min", first.texts[10]);
    EXPECT_EQ(90, first.minutes[10]);
    EXPECT_EQ((std::vector<std::string>{"Egen"}), bibles.texts);
    EXPECT_EQ(0, bibles.selection);
    ASSERT_EQ(3u, lists.texts.size());
    EXPECT_EQ("<Sl\xe5 opp...>", lists.texts[0]);
    EXPECT_EQ("Min", lists.texts[lists.selection]);
    EXPECT_EQ(-1, ViewerDword("AutoStart"));  // nothing written
}

TEST_F(OptionsDialogTest, AStoredIntervalTheBoxCantTakeShowsAndKeepsAValidOne) {
    for (int stored : {0, 1, -3}) {
        SetViewerDword("Interval", static_cast<DWORD>(stored));
        SetViewerDword("FirstInterval", static_cast<DWORD>(-3));
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        Box interval, first;
        EXPECT_EQ(1, Run(app, {[&](HWND dialog) {
                      interval = Read(dialog, IDC_INTERVAL);
                      first = Read(dialog, IDC_FIRST_INTERVAL);
                      Command(dialog, IDOK);
                  }}));
        EXPECT_EQ("5 minutter", interval.texts[interval.selection]) << stored;
        EXPECT_EQ("Ved oppstart", first.texts[first.selection]) << stored;
        EXPECT_EQ(5, ViewerDword("Interval")) << stored;
        EXPECT_EQ(0, ViewerDword("FirstInterval")) << stored;
    }
}

// Any stored value between verses that the table lacks, 2 to 4 minutes as well, is listed
// first as "%i minutter" and selected, and confirming keeps it.
TEST_F(OptionsDialogTest, AStoredIntervalTheTableLacksIsListedFirstAndKept) {
    for (int stored : {2, 3, 4, 7, 1000}) {
        SetViewerDword("Interval", static_cast<DWORD>(stored));
        SetViewerDword("HiddenButtons", 1);
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        Box interval;
        EXPECT_EQ(1, Run(app, {[&](HWND dialog) {
                      interval = Read(dialog, IDC_INTERVAL);
                      CheckDlgButton(dialog, IDC_HIDDEN_BUTTONS, BST_UNCHECKED);  // a change, so OK saves
                      Command(dialog, IDOK);
                  }}));
        ASSERT_EQ(18u, interval.texts.size()) << stored;
        EXPECT_EQ(std::to_string(stored) + " minutter", interval.texts[0]);
        EXPECT_EQ(stored, interval.minutes[0]);
        EXPECT_EQ(0, interval.selection) << stored;
        EXPECT_EQ("5 minutter", interval.texts[1]) << stored;
        EXPECT_EQ(stored, ViewerDword("Interval"));
        EXPECT_EQ(0, ViewerDword("HiddenButtons"));
    }
}

TEST_F(OptionsDialogTest, WithoutAutomaticStartTheFirstIntervalIsKept) {
    SetViewerDword("AutoStart", 0);
    SetViewerDword("FirstInterval", 90);
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Box off, on, offAgain;
    EXPECT_EQ(1, Run(app, {[&](HWND dialog) {
                  off = Read(dialog, IDC_FIRST_INTERVAL);
                  CheckDlgButton(dialog, IDC_AUTO_START, BST_CHECKED);
                  Command(dialog, IDC_AUTO_START);
              },
              [&](HWND dialog) {
                  on = Read(dialog, IDC_FIRST_INTERVAL);
                  CheckDlgButton(dialog, IDC_AUTO_START, BST_UNCHECKED);
                  Command(dialog, IDC_AUTO_START);
              },
              [&](HWND dialog) {
                  offAgain = Read(dialog, IDC_FIRST_INTERVAL);
                  CheckDlgButton(dialog, IDC_HIDDEN_BUTTONS, BST_UNCHECKED);  // the change that is saved
                  Command(dialog, IDOK);
              }}));
    EXPECT_EQ(-1, off.selection);
    EXPECT_FALSE(off.enabled);
    EXPECT_EQ("1 time 30 min", on.texts[on.selection]);
    EXPECT_TRUE(on.enabled);
    EXPECT_EQ(-1, offAgain.selection);
    EXPECT_EQ(90, ViewerDword("FirstInterval"));
    EXPECT_EQ(0, ViewerDword("HiddenButtons"));
    EXPECT_EQ(0, ViewerDword("AutoStart"));
    EXPECT_FALSE(app.GetSettings().hiddenButtons);
}

TEST_F(OptionsDialogTest, ABrowsedListIsListedSecondAndTaken) {
    TempDir elsewhere;
    const std::string path = elsewhere.File("Reise.liste.vrsm");
    WriteList(path, Entries({12, 13}));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Box cancelled, browsed;
    EXPECT_EQ(1, Run(app, {[&](HWND dialog) {
                  Select(dialog, IDC_REF_LIST, 0);  // the reader cancels the file dialog
                  cancelled = Read(dialog, IDC_REF_LIST);
                  prompts.chosenFile = path;
                  Select(dialog, IDC_REF_LIST, 0);
                  browsed = Read(dialog, IDC_REF_LIST);
                  Command(dialog, IDOK);
              }}));
    EXPECT_EQ(2, prompts.browsed);
    EXPECT_EQ("Min", cancelled.texts[cancelled.selection]);
    ASSERT_EQ(4u, browsed.texts.size());
    EXPECT_EQ(1, browsed.selection);
    EXPECT_EQ("...\\Reise", browsed.texts[1]);
    EXPECT_STREQ(path.c_str(), app.GetSettings().refList);
    EXPECT_STREQ("Reise", app.GetRefList().GetName());
    char text[64];
    EXPECT_EQ(VerseRef(12), app.GetCurrentVerse(text, sizeof(text)));
    EXPECT_EQ(path, StoredString("VoViewer", "RefList"));
}

TEST_F(OptionsDialogTest, OkRefusesWhatCantBeUsedAndStaysOpen) {
    // A list over a numbering of another versification, which no table converts.
    static const GUID kForeign = {0x1F2E3D4C, 0x5B6A, 0x4798, {0x86, 0x75, 0x64, 0x53, 0x42, 0x31, 0x20, 0x1F}};
    ComPtr<IBibleStat> foreign;
    ASSERT_EQ(S_OK, LangStatOver(kForeign, {{3, 4}, {5}, {2, 2, 2}})->GetBibleStat(foreign.Put()));
    int ref = 0;
    ASSERT_EQ(S_OK, Handles(foreign.Get())->MakeRef(&ref, 0, 0, 0));
    WriteList("Fremmed.vrsm", {ref}, foreign.Get());
    ASSERT_TRUE(WriteWholeFile(Bibles() + "Skadet.vrsm", "ikke en liste"));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    auto selectList = [](HWND dialog, const char* name) {
        const int index = static_cast<int>(SendDlgItemMessageA(dialog, IDC_REF_LIST, CB_FINDSTRINGEXACT, 0,
                                                               reinterpret_cast<LPARAM>(name)));
        Select(dialog, IDC_REF_LIST, index);
    };
    EXPECT_EQ(2, Run(app, {[&](HWND dialog) {
                  SendDlgItemMessageA(dialog, IDC_BIBLE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                  SendDlgItemMessageA(dialog, IDC_BIBLE, CB_SETCURSEL, 0, 0);
                  SendDlgItemMessageA(dialog, IDC_REF_LIST, CB_SETCURSEL, 0, 0);
                  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                  selectList(dialog, "Skadet");
                  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                  selectList(dialog, "Fremmed");
                  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                  EXPECT_TRUE(IsWindow(dialog));
                  Command(dialog, IDCANCEL);
              }}));
    EXPECT_EQ((std::vector<std::string>{
                  "Ingen bibel er valgt.",
                  "Ingen mannakornliste er valgt.",
                  "Klarte ikke \xe5pne mannakornfilen 'Skadet'.",
                  "Bibelen 'Egen' kan ikke brukes sammen med mannakornlisten 'Fremmed'.",
              }),
              prompts.messages);
    for (UINT type : prompts.types) EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), type);
    EXPECT_STREQ("Min", app.GetSettings().refList);
    EXPECT_EQ(-1, ViewerDword("Interval"));
}

// The real list browse: the open-file dialog gets the whole structure, so it shows the
// places bar.
TEST_F(OptionsDialogTest, TheListBrowseGetsTheWholeFileDialog) {
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    VoViewerPrompts real;
    std::string title;
    bool placesBar = false;
    Box afterwards;
    EXPECT_EQ(2, Run(app, real,
                     {[&](HWND dialog) {
                          // Posted, so that the file dialog runs in the options dialog's loop.
                          SendDlgItemMessageA(dialog, IDC_REF_LIST, CB_SETCURSEL, 0, 0);
                          PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REF_LIST, CBN_SELENDOK),
                                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_REF_LIST)));
                      },
                      [&](HWND files) {
                          title = WindowText(files);
                          const HWND places = GetDlgItem(files, ctl1);
                          placesBar = places && IsWindowVisible(places);
                          Command(files, IDCANCEL);
                      },
                      [&](HWND dialog) {
                          afterwards = Read(dialog, IDC_REF_LIST);
                          Command(dialog, IDCANCEL);
                      }}));
    EXPECT_EQ("Bla opp referanse liste fil", title);
    EXPECT_TRUE(placesBar);
    EXPECT_EQ("Min", afterwards.texts[afterwards.selection]) << "cancelled: the list stays";
}

}  // namespace
