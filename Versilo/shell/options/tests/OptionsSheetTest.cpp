// The options sheet over a scratch registry key and scratch bibles, driven as a user would
// from timers inside its modal loop: Apply refusals with their messages, the three-state
// boxes over several translations, the order buttons at the ends, Cancel changing nothing,
// OK saving, the half point of a font size kept, the face list, and screenshots of each page.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>
#include "BibleListFixture.h"
#include "ColorGrid.h"
#include "ModalScript.h"
#include "OptionsResource.h"
#include "ViewOptions.h"
#include "WindowCapture.h"

namespace {

// The sheet and its shown page, found as a user sees them.
HWND Sheet() {
    for (HWND dialog : ModalScript::ThreadDialogs())
        if (GetDlgItem(dialog, IDC_FRAME_TABS)) return dialog;
    return nullptr;
}
HWND Page() {
    return FindWindowExA(Sheet(), nullptr, "#32770", nullptr);
}
HWND PageItem(int id) {
    return GetDlgItem(Page(), id);
}
void ClickTab(int index) {
    const HWND tabs = GetDlgItem(Sheet(), IDC_FRAME_TABS);
    RECT rc = {};
    SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
}
void Command(HWND to, int id, int code = BN_CLICKED) {
    SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(to, id)));
}
// A click on a button of the page (nothing when it is disabled).
void Press(int id) {
    SendMessageA(PageItem(id), BM_CLICK, 0, 0);
}
void SetText(int id, const char* text) {
    SetWindowTextA(PageItem(id), text);
}
std::string Text(int id) {
    char text[256] = {};
    GetWindowTextA(PageItem(id), text, sizeof(text));
    return text;
}
UINT State(int id) {
    return static_cast<UINT>(SendMessageA(PageItem(id), BM_GETCHECK, 0, 0));
}
bool Enabled(int id) {
    return IsWindowEnabled(PageItem(id)) != FALSE;
}
void Shoot(const char* name) {
    const HWND sheet = Sheet();
    RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    // Beside every other test's screenshots, one folder up from this test's own.
    Capture::Of(sheet, true).SaveArtifact(name);
}
void SelectOrderItem(int index) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = index < 0 ? 0 : (LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(PageItem(IDC_MULTITRANS_ORDER), LVM_SETITEMSTATE, index < 0 ? static_cast<WPARAM>(-1) : index,
                 reinterpret_cast<LPARAM>(&item));
}

class OptionsSheetTest : public BibleListTestBase {
protected:
    void SetUp() override {
        BibleListTestBase::SetUp();
        RegDeleteValueA(registry.AppKey(), "FontHeigth");
        RegDeleteValueA(registry.AppKey(), "MarginWidth");
        // Sorted by short name: ALFA (headings off, references on), BETA (no section
        // titles, references on), GAMMA (headings on, references off).
        WriteBible("alfa.vrsb", "ALFA", "Alfa-bibelen", 10, true);
        WriteBible("beta.vrsb", "BETA", "Beta-bibelen", 11, false);
        WriteBible("gamma.vrsb", "GAMMA", "Gamma-bibelen", 9, true);
    }
    // Runs the options command with a script of steps inside the sheet.
    VoViewOptionsResult Run(VoViewSettings& settings, VoBibleInfoList& bibles, int active,
                            std::vector<ModalScript::Step> steps) {
        ModalScript script(std::move(steps));
        VoViewOptionsResult result = RunViewOptions(nullptr, settings, bibles, active);
        EXPECT_FALSE(script.TimedOut());
        return result;
    }
    static std::vector<DWORD> SettingsOf(const VoBibleInfoList& bibles) {
        std::vector<DWORD> s;
        for (int i = 0; i < bibles.GetCount(); ++i) s.push_back(bibles.GetAt(i).GetSettings());
        return s;
    }
};

TEST_F(OptionsSheetTest, ApplyRefusesEachBadFieldWithItsMessageAndKeepsTheSheetOpen) {
    // String 501 "Feil i feltet %s\n%s." around texts that end in "." themselves: one stop.
    const std::string marginRange = "Feil i feltet Marger\nKun tall mellom 2 og 20 er lovlige.";
    const std::string widthRange = "Feil i feltet Kolonnebredde\nKun tall mellom 120 og 500 er lovlige.";
    const std::string sizeRange = "Feil i feltet Skriftst\xF8rrelse\nKun tall mellom 10 og 30 er lovlige.";
    const struct {
        int page;
        int field;
        const char* text;
        bool multiColumn;
        const char* message;  // null: accepted, the sheet closes
    } cases[] = {
        {0, IDC_MARGIN, "1", true, marginRange.c_str()},
        {0, IDC_MARGIN, "21", true, marginRange.c_str()},
        {0, IDC_MARGIN, "4294967298", true, marginRange.c_str()},  // would be 2 if it wrapped
        {0, IDC_MARGIN, "", true, marginRange.c_str()},
        {0, IDC_MARGIN, "1x", true, "Feil i feltet Marger\nHeltall forventet."},
        {0, IDC_MARGIN, "20", true, nullptr},
        {0, IDC_COLUMN_WIDTH, "119", true, widthRange.c_str()},
        {0, IDC_COLUMN_WIDTH, "501", true, widthRange.c_str()},
        {0, IDC_COLUMN_WIDTH, "119", false, nullptr},  // not read without columns
        {1, IDC_FONT_SIZE, "9", true, sizeRange.c_str()},
        {1, IDC_FONT_SIZE, "31", true, sizeRange.c_str()},
        {1, IDC_FONT_SIZE, "30", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in field " + std::to_string(c.field));
        VoViewSettings settings;
        VoBibleInfoList bibles;
        const DWORD marginBefore = settings.GetMarginWidth();
        std::vector<std::string> messages;
        bool openAfterOk = false;
        bool focusOnField = false;
        const VoViewOptionsResult result = Run(settings, bibles, 0, {
            [&] {
                if (c.page == 1) ClickTab(1);
                if (!c.multiColumn && State(IDC_MULTICOLUMN) == BST_CHECKED) Press(IDC_MULTICOLUMN);
                SetText(c.field, c.text);
                const HWND field = PageItem(c.field);
                MessageBoxCatcher catcher;
                Command(Sheet(), IDOK);
                messages = catcher.Texts();
                openAfterOk = Sheet() != nullptr;
                focusOnField = openAfterOk && GetFocus() == field;
            },
            [&] { if (Sheet()) Command(Sheet(), IDCANCEL); },
        });
        if (c.message) {
            EXPECT_EQ(std::vector<std::string>{c.message}, messages);
            EXPECT_TRUE(openAfterOk);
            EXPECT_TRUE(focusOnField);
            EXPECT_FALSE(result.accepted);
            EXPECT_EQ(marginBefore, settings.GetMarginWidth());
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_FALSE(openAfterOk);
            EXPECT_TRUE(result.accepted);
        }
    }
}

TEST_F(OptionsSheetTest, ThreeStateBoxesSpanTheSelectedTranslationsAndOkSavesTheChanged) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    ASSERT_EQ(3, bibles.GetCount());
    std::vector<UINT> before, after;
    bool headingsEnabled = false;
    int selectedLines = 0;
    const VoViewOptionsResult result = Run(settings, bibles, -1, {
        [&] {
            // No active translation: every line is selected.
            selectedLines = static_cast<int>(SendMessageA(PageItem(IDC_BIBLES), LB_GETSELCOUNT, 0, 0));
            for (int id : {IDC_SHOW_HEADINGS, IDC_SHOW_REFERENCES, IDC_HIDE_BRACKETS}) before.push_back(State(id));
            headingsEnabled = Enabled(IDC_SHOW_HEADINGS);
            Shoot("options-bible-page.bmp");
            Press(IDC_SHOW_REFERENCES);  // indeterminate -> on for all
            Press(IDC_HIDE_BRACKETS);    // off -> on
            Press(IDC_HIDE_BRACKETS);    // on -> off again
            for (int id : {IDC_SHOW_HEADINGS, IDC_SHOW_REFERENCES, IDC_HIDE_BRACKETS}) after.push_back(State(id));
            Command(Sheet(), IDOK);
        },
    });
    EXPECT_EQ(3, selectedLines);
    EXPECT_EQ((std::vector<UINT>{BST_INDETERMINATE, BST_INDETERMINATE, BST_UNCHECKED}), before);
    EXPECT_TRUE(headingsEnabled);  // ALFA, the first selected, has section titles
    EXPECT_EQ((std::vector<UINT>{BST_INDETERMINATE, BST_CHECKED, BST_UNCHECKED}), after);
    ASSERT_TRUE(result.accepted);
    EXPECT_FALSE(result.activeSettingsChanged);
    // Only GAMMA changed: references on.
    EXPECT_EQ((std::vector<DWORD>{10, 10, 11}), SettingsOf(bibles));
    EXPECT_EQ(10, StoredDword("alfa", "Settings"));
    EXPECT_EQ(11, StoredDword("gamma", "Settings"));
}

TEST_F(OptionsSheetTest, AFirstSelectedTranslationWithoutHeadingsDisablesTheHeadingsBox) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    std::vector<bool> enabled;
    std::vector<UINT> referencesState;
    const VoViewOptionsResult result = Run(settings, bibles, 1, {
        [&] {
            enabled.push_back(Enabled(IDC_SHOW_HEADINGS));  // BETA alone
            SendMessageA(PageItem(IDC_BIBLES), LB_SETSEL, TRUE, 2);
            Command(Page(), IDC_BIBLES, LBN_SELCHANGE);
            enabled.push_back(Enabled(IDC_SHOW_HEADINGS));  // BETA and GAMMA: BETA first
            referencesState.push_back(State(IDC_SHOW_REFERENCES));
            SendMessageA(PageItem(IDC_BIBLES), LB_SETSEL, FALSE, 1);
            Command(Page(), IDC_BIBLES, LBN_SELCHANGE);
            enabled.push_back(Enabled(IDC_SHOW_HEADINGS));  // GAMMA alone
            referencesState.push_back(State(IDC_SHOW_REFERENCES));
            SendMessageA(PageItem(IDC_BIBLES), LB_SETSEL, FALSE, -1);
            Command(Page(), IDC_BIBLES, LBN_SELCHANGE);
            enabled.push_back(Enabled(IDC_SHOW_REFERENCES));  // nothing selected
            referencesState.push_back(State(IDC_SHOW_REFERENCES));
            // The active translation's references turned on.
            SendMessageA(PageItem(IDC_BIBLES), LB_SETSEL, TRUE, 1);
            Command(Page(), IDC_BIBLES, LBN_SELCHANGE);
            Press(IDC_SHOW_REFERENCES);  // BETA has them: off
            Command(Sheet(), IDOK);
        },
    });
    EXPECT_EQ((std::vector<bool>{false, false, true, false}), enabled);
    EXPECT_EQ((std::vector<UINT>{BST_INDETERMINATE, BST_UNCHECKED, BST_INDETERMINATE}), referencesState);
    ASSERT_TRUE(result.accepted);
    EXPECT_TRUE(result.activeSettingsChanged);
    EXPECT_FALSE(result.activeShowsReferences);
    EXPECT_EQ(8, StoredDword("beta", "Settings"));
}

TEST_F(OptionsSheetTest, CancelChangesNothing) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    const std::vector<DWORD> settingsBefore = SettingsOf(bibles);
    const VoViewOptionsResult result = Run(settings, bibles, -1, {
        [&] {
            Press(IDC_HIDE_BRACKETS);
            Press(IDC_SHOW_HEADINGS);
            SetText(IDC_MARGIN, "17");
            ClickTab(2);
        },
        [&] {
            SelectOrderItem(0);
            Press(IDC_MOVE_DOWN);
            Press(IDC_HIDE_ACTIVE);
            Command(Sheet(), IDCANCEL);
        },
    });
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(settingsBefore, SettingsOf(bibles));
    EXPECT_EQ(10, StoredDword("alfa", "Settings"));
    EXPECT_EQ(9, StoredDword("gamma", "Settings"));
    EXPECT_EQ(12u, settings.GetMarginWidth());
    EXPECT_EQ(0, bibles.GetOrderAt(0));
    DWORD type = 0;
    std::vector<BYTE> stored;
    EXPECT_FALSE(registry.GetRaw("MarginWidth", &type, &stored));
}

TEST_F(OptionsSheetTest, TheOrderButtonsStopAtTheEnds) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    struct Buttons {
        bool up, down;
        bool operator==(const Buttons& o) const { return up == o.up && down == o.down; }
    };
    std::vector<Buttons> seen;
    std::vector<std::string> names;
    auto note = [&] { seen.push_back({Enabled(IDC_MOVE_UP), Enabled(IDC_MOVE_DOWN)}); };
    const VoViewOptionsResult result = Run(settings, bibles, 0, {
        [&] { ClickTab(2); },
        [&] {
            note();              // nothing selected
            SelectOrderItem(0);
            note();              // first
            SelectOrderItem(2);
            note();              // last
            Press(IDC_MOVE_UP);  // GAMMA to the middle
            note();
            Press(IDC_MOVE_UP);  // and to the top
            note();
            const HWND list = PageItem(IDC_MULTITRANS_ORDER);
            for (int i = 0; i < 3; ++i) {
                char text[64] = {};
                LVITEMA item = {};
                item.iSubItem = 0;
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
                names.push_back(text);
            }
            Press(IDC_HIDE_ACTIVE);  // checked at start (the flag is off): now shown
            Shoot("options-translations-page.bmp");
            Command(Sheet(), IDOK);
        },
    });
    EXPECT_EQ((std::vector<Buttons>{{false, false}, {false, true}, {true, false}, {true, true}, {false, true}}), seen);
    EXPECT_EQ((std::vector<std::string>{"Gamma-bibelen", "Alfa-bibelen", "Beta-bibelen"}), names);
    ASSERT_TRUE(result.accepted);
    EXPECT_TRUE(result.orderChanged);
    EXPECT_TRUE(result.showActiveChanged);
    EXPECT_TRUE(settings.GetShowActiveBibleInMultiWindow());
    EXPECT_EQ((std::vector<int>{2, 0, 1}),
              (std::vector<int>{bibles.GetOrderAt(0), bibles.GetOrderAt(1), bibles.GetOrderAt(2)}));
    EXPECT_EQ("GAMMA,ALFA,BETA", StoredString("bibles\\Settings", "Order"));
}

TEST_F(OptionsSheetTest, OkSavesTheDisplayAndFontSettings) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    std::string chosenFace;
    const VoViewOptionsResult result = Run(settings, bibles, 0, {
        [&] {
            SendMessageA(PageItem(IDC_JUSTIFIED), BM_CLICK, 0, 0);
            SetText(IDC_MARGIN, "15");
            SetText(IDC_COLUMN_WIDTH, "300");
            SendMessageA(PageItem(IDC_NUMBER_BEFORE), BM_CLICK, 0, 0);
            ClickTab(1);
        },
        [&] {
            const HWND faces = PageItem(IDC_FONT_FACE);
            ASSERT_GT(SendMessageA(faces, CB_GETCOUNT, 0, 0), 0);
            SendMessageA(faces, CB_SETCURSEL, 0, 0);
            char face[64] = {};
            SendMessageA(faces, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(face));
            chosenFace = face;
            Command(Page(), IDC_FONT_FACE, CBN_SELENDOK);
            SetText(IDC_FONT_SIZE, "16");
            // The bible-link colour from the grid.
            const HWND picker = PageItem(IDC_BIBLE_LINK_COLOR);
            SendMessageA(GetDlgItem(picker, 101), BM_CLICK, 0, 0);
        },
        [&] {
            Shoot("options-font-page.bmp");
            HWND grid = nullptr;
            for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                char name[64] = {};
                GetClassNameA(w, name, sizeof(name));
                if (lstrcmpA(name, "RyColorGridPopup") == 0 && IsWindowVisible(w)) grid = w;
            }
            ASSERT_NE(nullptr, grid);
            SendMessageA(grid, WM_COMMAND, kFirstGridCommand + 11, 0);  // green
        },
        [&] { Command(Sheet(), IDOK); },
    });
    ASSERT_TRUE(result.accepted);
    EXPECT_FALSE(settings.GetJustified());
    EXPECT_EQ(15u, settings.GetMarginWidth());
    EXPECT_EQ(300u, settings.GetColumnWidth());
    EXPECT_TRUE(settings.GetVerseNumBeforeText());
    EXPECT_EQ(GridColor(11), settings.GetBibRefColor());
    EXPECT_EQ(160u, settings.GetFontHeight());
    EXPECT_STREQ(chosenFace.c_str(), settings.GetFontFace());
    EXPECT_FALSE(result.orderChanged);
    // Saved: a fresh read of the key has them.
    VoViewSettings reread;
    EXPECT_EQ(15u, reread.GetMarginWidth());
    EXPECT_EQ(300u, reread.GetColumnWidth());
    EXPECT_FALSE(reread.GetJustified());
    EXPECT_EQ(160u, reread.GetFontHeight());
    EXPECT_EQ(GridColor(11), reread.GetBibRefColor());
    EXPECT_STREQ(chosenFace.c_str(), reread.GetFontFace());
}

TEST_F(OptionsSheetTest, AHalfPointSizeSurvivesAnUnchangedOk) {
    registry.SetDword("FontHeigth", 105);
    VoViewSettings settings;
    ASSERT_EQ(105u, settings.GetFontHeight());
    VoBibleInfoList bibles;
    std::string shown;
    const VoViewOptionsResult result = Run(settings, bibles, 0, {
        [&] { ClickTab(1); },
        [&] {
            shown = Text(IDC_FONT_SIZE);
            SetText(IDC_FONT_SIZE, "9");   // out of range: nothing follows
            SetText(IDC_FONT_SIZE, "10");  // what was shown
            Command(Sheet(), IDOK);
        },
    });
    EXPECT_EQ("10", shown);
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(105u, settings.GetFontHeight());
    VoViewSettings reread;
    EXPECT_EQ(105u, reread.GetFontHeight());
}

int CALLBACK CollectFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM out) {
    if ((type & TRUETYPE_FONTTYPE) && lf->lfCharSet == ANSI_CHARSET)
        reinterpret_cast<std::set<std::string>*>(out)->insert(lf->lfFaceName);
    return 1;
}

TEST_F(OptionsSheetTest, TheFaceListHoldsTheAnsiTrueTypeFamiliesAndTheSampleFollowsTheSize) {
    VoViewSettings settings;
    VoBibleInfoList bibles;
    std::set<std::string> listed;
    int count = 0;
    const VoViewOptionsResult result = Run(settings, bibles, 0, {
        [&] { ClickTab(1); },
        [&] {
            const HWND faces = PageItem(IDC_FONT_FACE);
            count = static_cast<int>(SendMessageA(faces, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char face[64] = {};
                SendMessageA(faces, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
                listed.insert(face);
            }
            Command(Sheet(), IDCANCEL);
        },
    });
    EXPECT_FALSE(result.accepted);
    std::set<std::string> expected;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesA(screen, nullptr, &CollectFace, reinterpret_cast<LPARAM>(&expected));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(expected, listed);
    EXPECT_EQ(static_cast<int>(listed.size()), count);
}

}  // namespace
