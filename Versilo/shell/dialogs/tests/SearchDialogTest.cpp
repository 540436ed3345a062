// The search dialog driven from inside its modal loop: typing into the query, the word
// list and its selection, the timer's search, the hits and the text of the selected ones,
// the chosen hit, the book range and its buttons, the history in a scratch registry, and
// the KJV sample bible end to end with a screenshot.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "DialogCommands.h"
#include "DialogScript.h"
#include "ScratchRegistry.h"
#include "SearchFixture.h"

namespace {

constexpr int kWords = 1028, kCopy = 1030, kQuery = 1032, kFrom = 1033, kTo = 1034;
constexpr int kWhole = 1035, kOld = 1036, kNew = 1037, kText = 1038, kCount = 1040, kHits = 1042;

std::vector<std::string> ListWords(HWND dialog) {
    std::vector<std::string> words;
    HWND list = GetDlgItem(dialog, kWords);
    for (LRESULT i = 0, n = SendMessageA(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        char w[128] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(w));
        words.push_back(w);
    }
    return words;
}

int SelectedWords(HWND dialog) { return static_cast<int>(SendDlgItemMessageA(dialog, kWords, LB_GETSELCOUNT, 0, 0)); }

// Types the query and lets the restart timer fire.
void Query(HWND dialog, const std::string& text) {
    TypeInto(GetDlgItem(dialog, kQuery), text);
    SendMessageA(dialog, WM_TIMER, 100, 0);
}

void SelectHit(HWND dialog, int index, bool alone = true) {
    HWND hits = GetDlgItem(dialog, kHits);
    LVITEMA item = {};
    if (alone) {
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(hits, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hits, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void Press(HWND dialog, int id) { Notify(dialog, id, BN_CLICKED); }

class SearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        bible = WriteFixtureBible(dir, "ntb.vrsb");
        ASSERT_TRUE(bible);
        font.Reset(CreateFontA(-17, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"));
        VoBibleSearch s(bible.Get());
        ASSERT_TRUE(s.GetLanguageName(&language));
    }
    ScratchRegistry registry;
    TempDir dir;
    ComPtr<IBible> bible;
    FontHandle font;
    std::string language;
};

TEST_F(SearchDialogTest, AWordListsTheWordsBeginningWithItAndTheSelectedOnesAreSearched) {
    VoSearchDlg dlg(bible.Get(), font.Get());
    const INT_PTR result = DialogScript::Run([&] { return dlg.DoModal(nullptr); }, [&](HWND d) {
        char title[128] = "";
        GetWindowTextA(d, title, sizeof title);
        EXPECT_STREQ("S\xF8k i Norsk testbibel", title);
        Press(d, kWhole);
        // No word equals "ly": both words listed, none selected, nothing searched.
        Query(d, "ly");
        EXPECT_EQ((std::vector<std::string>{"lykte", "lys"}), ListWords(d));
        EXPECT_EQ(0, SelectedWords(d));
        EXPECT_EQ("0", ItemTextOf(d, kCount));
        // Both chosen: their union.
        SendDlgItemMessageA(d, kWords, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 1));
        Notify(d, kWords, LBN_SELCHANGE);
        EXPECT_EQ("4", ItemTextOf(d, kCount));
        EXPECT_EQ(4, dlg.GetHitCount());

        // The word itself: selected at once.
        Query(d, "lys");
        EXPECT_EQ(std::vector<std::string>{"lys"}, ListWords(d));
        EXPECT_EQ(1, SelectedWords(d));
        EXPECT_EQ("4", ItemTextOf(d, kCount));
        EXPECT_EQ("&Ok", ItemTextOf(d, IDOK));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, kCopy)));

        SelectHit(d, 2);
        EXPECT_EQ("Matt 2:\r\nDere er jordens salt. Dere er verdens lys.", ItemTextOf(d, kText));
        EXPECT_EQ(2, dlg.GetChosenHit());
        EXPECT_NE(0, dlg.GetChosenHitRef());
        EXPECT_EQ("&Sl\xE5 opp", ItemTextOf(d, IDOK));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, kCopy)));
        SelectHit(d, 3, false);
        EXPECT_EQ("Matt 2:\r\nDere er jordens salt. Dere er verdens lys.\r\n\r\nJoh 2:\r\nJeg er verdens lys.",
                  ItemTextOf(d, kText));
        EXPECT_EQ(3, dlg.GetChosenHit());

        // The query narrows to two hits: hit 3 is gone, and so is the choice.
        Query(d, "verdens lys");
        EXPECT_EQ(std::vector<std::string>{}, ListWords(d));
        EXPECT_EQ("2", ItemTextOf(d, kCount));
        EXPECT_EQ(-1, dlg.GetChosenHit());
        EXPECT_EQ(0, dlg.GetChosenHitRef());
        EXPECT_EQ("", ItemTextOf(d, kText));
        EXPECT_EQ("&Ok", ItemTextOf(d, IDOK));
        // Hits chosen within the next search's count are not chosen there either.
        SelectHit(d, 0);
        SelectHit(d, 1, false);
        Query(d, "lys");
        const HWND hits = GetDlgItem(d, kHits);
        EXPECT_EQ(0, SendMessageA(hits, LVM_GETSELECTEDCOUNT, 0, 0));
        EXPECT_EQ(-1, SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        EXPECT_EQ(-1, dlg.GetChosenHit());
        EXPECT_EQ("", ItemTextOf(d, kText));

        // A word that is no word of the bible, and a malformed query: nothing.
        Query(d, "elefant");
        EXPECT_EQ(std::vector<std::string>{}, ListWords(d));
        EXPECT_EQ("0", ItemTextOf(d, kCount));
        Query(d, "lys %");
        EXPECT_EQ("0", ItemTextOf(d, kCount));

        Query(d, "guds rike");
        SelectHit(d, 0);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, dlg.GetChosenHit());
    char text[kFormatRefBufferSize];
    EXPECT_STREQ("Matt 1", dlg.GetHitText(dlg.GetChosenHit(), text));
    // OK keeps the query in the history.
    EXPECT_EQ(std::vector<std::string>{"guds rike"}, ReadSearchHistory(language));
}

TEST_F(SearchDialogTest, TheHistoryFillsTheQueryAndKeepsTheTenMostRecent) {
    ASSERT_TRUE(WriteSearchHistory(language, {"verdens lys", "lys"}));
    const char* queries[] = {"gud", "jorden", "verdens", "rike", "dere", "er", "og", "min", "salt", "sin", "jeg"};
    VoSearchOutcome outcome;
    const INT_PTR result = DialogScript::Run([&] { return RunSearchCommand(nullptr, bible.Get(), font.Get(), &outcome); },
                                             [&](HWND d) {
        HWND combo = GetDlgItem(d, kQuery);
        // The most recent query is searched at once.
        EXPECT_EQ(2, SendMessageA(combo, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("verdens lys", ItemTextOf(d, kQuery));
        Press(d, kWhole);
        EXPECT_EQ("2", ItemTextOf(d, kCount));
        for (const char* q : queries) {
            TypeInto(combo, q);
            Notify(d, kQuery, CBN_KILLFOCUS);  // leaving the combo searches at once
            EXPECT_NE("0", ItemTextOf(d, kCount)) << q;
        }
        // The first entry again: not inserted twice.
        Notify(d, kQuery, CBN_KILLFOCUS);
        EXPECT_EQ(13, SendMessageA(combo, CB_GETCOUNT, 0, 0));
        // Choosing an older entry searches it and moves it to the top.
        SendMessageA(combo, CB_SETCURSEL, 12, 0);
        Notify(d, kQuery, CBN_SELENDOK);
        EXPECT_EQ("4", ItemTextOf(d, kCount));
        char first[128] = "";
        SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        EXPECT_STREQ("lys", first);
        EXPECT_EQ(13, SendMessageA(combo, CB_GETCOUNT, 0, 0));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(4u, outcome.hits.size());
    EXPECT_EQ(-1, outcome.chosenHit);
    EXPECT_EQ(0, outcome.chosenRef);
    EXPECT_EQ((std::vector<std::string>{"lys", "jeg", "sin", "salt", "min", "og", "er", "dere", "rike", "verdens"}),
              ReadSearchHistory(language));
}

TEST_F(SearchDialogTest, TheBookRangeFollowsTheButtonsAndTheCombos) {
    VoSearchDlg dlg(bible.Get(), font.Get());
    DialogScript::Run([&] { return dlg.DoModal(nullptr); }, [&](HWND d) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, kNew)));
        Query(d, "lys");
        Press(d, kNew);
        EXPECT_EQ("2", ItemTextOf(d, kCount));
        EXPECT_EQ(2, SendDlgItemMessageA(d, kFrom, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(3, SendDlgItemMessageA(d, kTo, CB_GETCURSEL, 0, 0));
        Press(d, kOld);
        EXPECT_EQ("2", ItemTextOf(d, kCount));
        // "Fra" after "Til": nothing, and no button matches.
        SendDlgItemMessageA(d, kFrom, CB_SETCURSEL, 3, 0);
        Notify(d, kFrom, CBN_SELCHANGE);
        EXPECT_EQ("0", ItemTextOf(d, kCount));
        for (int id : {kWhole, kOld, kNew}) EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(d, id)) << id;
        // Combos that make up a testament check its button.
        SendDlgItemMessageA(d, kFrom, CB_SETCURSEL, 2, 0);
        Notify(d, kFrom, CBN_SELCHANGE);
        SendDlgItemMessageA(d, kTo, CB_SETCURSEL, 3, 0);
        Notify(d, kTo, CBN_SELCHANGE);
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(d, kNew));
        EXPECT_EQ("2", ItemTextOf(d, kCount));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    // The range is remembered for the next opening over the same number of books.
    VoSearchDlg again(bible.Get(), font.Get());
    DialogScript::Run([&] { return again.DoModal(nullptr); }, [&](HWND d) {
        EXPECT_EQ(2, SendDlgItemMessageA(d, kFrom, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(d, kNew));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    // A translation with another number of books starts over with the whole of it; one
    // whose aliases do not split it into testaments has no testament buttons.
    FixtureOptions three;
    three.books = 3;
    three.tiling = false;
    ComPtr<IBible> other = WriteFixtureBible(dir, "three.vrsb", three);
    VoSearchDlg shorter(other.Get(), font.Get());
    DialogScript::Run([&] { return shorter.DoModal(nullptr); }, [&](HWND d) {
        EXPECT_EQ(0, SendDlgItemMessageA(d, kFrom, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(2, SendDlgItemMessageA(d, kTo, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(3, SendDlgItemMessageA(d, kTo, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(d, kWhole));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, kOld)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, kNew)));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST_F(SearchDialogTest, ALongNameFitsTheTitleWhole) {
    FixtureOptions named;
    named.longName = std::string(60, 'x') + "\xE6\xF8\xE5";  // 63 bytes, the longest a bible holds
    ComPtr<IBible> other = WriteFixtureBible(dir, "long.vrsb", named);
    VoSearchDlg dlg(other.Get(), nullptr);
    DialogScript::Run([&] { return dlg.DoModal(nullptr); }, [&](HWND d) {
        char title[256] = "";
        GetWindowTextA(d, title, sizeof title);
        EXPECT_EQ("S\xF8k i " + named.longName, std::string(title));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST_F(SearchDialogTest, AnOldFormatBibleOpensWithNothingToFind) {
    FixtureOptions old;
    old.format = BibleFormat::kOld;
    ComPtr<IBible> other = WriteFixtureBible(dir, "old.vrsb", old);
    VoSearchOutcome outcome;
    const INT_PTR result = DialogScript::Run([&] { return RunSearchCommand(nullptr, other.Get(), font.Get(), &outcome); },
                                             [&](HWND d) {
        Query(d, "lys");
        EXPECT_EQ("0", ItemTextOf(d, kCount));
        EXPECT_EQ(0, SendDlgItemMessageA(d, kWords, LB_GETCOUNT, 0, 0));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(outcome.hits.empty());
}

TEST(KjvSearchDialog, KingdomOfGodFindsWhatTheSearchFinds) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.Ready());
    ComPtr<IBible> kjv = OpenKjv();
    ASSERT_TRUE(kjv);
    VoBibleSearch direct(kjv.Get());
    ASSERT_EQ(S_OK, direct.Search("kingdom of God", 0, 65));
    FontHandle font(CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"));
    VoSearchOutcome outcome;
    const INT_PTR result = DialogScript::Run([&] { return RunSearchCommand(nullptr, kjv.Get(), font.Get(), &outcome); },
                                             [&](HWND d) {
        Press(d, kWhole);
        Query(d, "kingdom of God");
        EXPECT_EQ(std::to_string(direct.GetHitCount()), ItemTextOf(d, kCount));
        SelectHit(d, 1);
        char ref[kFormatRefBufferSize];
        EXPECT_EQ(std::string(direct.GetHitText(1, ref)) + ":\r\n" + direct.GetHitVerseText(1), ItemTextOf(d, kText));
        EXPECT_TRUE(SaveDialogArtifact(d, "search-dialog-kjv"));
        // A double click on the chosen hit closes the dialog with it.
        NMITEMACTIVATE click = {};
        click.hdr = {GetDlgItem(d, kHits), static_cast<UINT_PTR>(kHits), static_cast<UINT>(NM_DBLCLK)};
        click.iItem = 1;
        SendMessageA(d, WM_NOTIFY, kHits, reinterpret_cast<LPARAM>(&click));
    });
    EXPECT_EQ(IDOK, result);
    ASSERT_EQ(static_cast<size_t>(direct.GetHitCount()), outcome.hits.size());
    EXPECT_EQ(1, outcome.chosenHit);
    EXPECT_EQ(direct.GetHitRef(1), outcome.chosenRef);
    char ref[kFormatRefBufferSize];
    EXPECT_EQ(direct.GetHitText(0, ref), outcome.hits[0].text);
    EXPECT_EQ(direct.GetHitRef(0), outcome.hits[0].ref);
    // A double click writes no history.
    std::string language;
    ASSERT_TRUE(direct.GetLanguageName(&language));
    EXPECT_TRUE(ReadSearchHistory(language).empty());
}

// "God's" typed as a reader types it (0x27) finds the verses that read "God's" in both
// sample bibles of the program folder: the word list offers and selects it, the restart
// timer's search counts the verses, and a chosen hit shows its text.
TEST(SampleBiblesSearchDialog, ATypedApostropheFindsTheVersesWithIt) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.Ready());
    struct Case { const char* bible; const char* artifact; const char* count; const char* hit; const char* text; };
    const Case cases[] = {
        {VERSILO_KJV_BIBLE, "search-dialog-kjv-gods", "25", "1 Mos 28:22",
         "And this stone, which I have set for a pillar, shall be God's house: and of all that thou "
         "shalt give me I will surely give the tenth unto thee."},
        {VERSILO_WEB_BIBLE, "search-dialog-web-gods", "355", "Mark 1:14",
         "Now after John was taken into custody, Jesus came into Galilee, preaching the Good News of "
         "God's Kingdom,"},
    };
    FontHandle font(CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bible);
        ComPtr<IBible> bible = OpenNewBible(c.bible);
        ASSERT_TRUE(bible);
        VoSearchDlg dlg(bible.Get(), font.Get());
        DialogScript::Run([&] { return dlg.DoModal(nullptr); }, [&](HWND d) {
            Press(d, kWhole);
            Query(d, "God's");
            const std::vector<std::string> words = ListWords(d);
            std::vector<std::string> selected;
            for (size_t i = 0; i < words.size(); ++i)
                if (SendDlgItemMessageA(d, kWords, LB_GETSEL, i, 0) > 0) selected.push_back(words[i]);
            EXPECT_EQ(std::vector<std::string>{"God's"}, selected);
            EXPECT_EQ(c.count, ItemTextOf(d, kCount));
            EXPECT_EQ(std::stoi(c.count), dlg.GetHitCount());
            int hit = -1;
            char ref[kFormatRefBufferSize];
            for (int i = 0; i < dlg.GetHitCount() && hit < 0; ++i)
                if (std::string(dlg.GetHitText(i, ref)) == c.hit) hit = i;
            EXPECT_GE(hit, 0) << c.hit << " is no hit";
            if (hit >= 0) {
                SendDlgItemMessageA(d, kHits, LVM_ENSUREVISIBLE, static_cast<WPARAM>(hit), FALSE);
                SelectHit(d, hit);
                EXPECT_EQ(std::string(c.hit) + ":\r\n" + c.text, ItemTextOf(d, kText));
            }
            EXPECT_TRUE(SaveDialogArtifact(d, c.artifact));
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        });
    }
}

}  // namespace
