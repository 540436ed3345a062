// What a bible pane over the KJV sample bible answers its text window's sink and what is
// dropped on it: link presses as a table, typed characters, the article menu, hover
// status texts and popups (with a screenshot), the notes behind '*' markers, and drops.
#include <windows.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "KjvWindowFixture.h"
#include "OfferedData.h"
#include "OleHandles.h"
#include "VerseNotes.h"

namespace {

// The commentary pane as the bible view sees it: articles by key and one list for every
// verse, titled "Artikkel N" unless a title is set.
class FakeLexicon : public AVoLexicon {
public:
    ArticleHandle FindArticleForKey(bool, const char* key, ArticleHandle after) override {
        const auto it = keys.find(key);
        return it == keys.end() ? kNoArticle : Next(it->second, after);
    }
    ArticleHandle FindArticleForVerse(bool, IBibleStat*, int, bool, ArticleHandle after) override {
        return Next(verseArticles, after);
    }
    void ShowArticle(ArticleHandle article, int verse, IBibleStat*) override { shown.push_back({article, verse}); }
    bool IsIndexLocked() override { return locked; }
    void GetArticleTitle(ArticleHandle article, bool, char* buffer, int size) override {
        const std::string text = title.empty() ? "Artikkel " + std::to_string(article) : title;
        lstrcpynA(buffer, text.c_str(), size);
    }

    std::map<std::string, std::vector<ArticleHandle>> keys;
    std::vector<ArticleHandle> verseArticles;
    bool locked = false;
    std::string title;
    std::vector<std::pair<ArticleHandle, int>> shown;

private:
    static ArticleHandle Next(const std::vector<ArticleHandle>& list, ArticleHandle after) {
        if (after == kNoArticle) return list.empty() ? kNoArticle : list[0];
        for (size_t i = 0; i + 1 < list.size(); ++i)
            if (list[i] == after) return list[i + 1];
        return kNoArticle;
    }
};

std::string MenuText(HMENU menu, int position) {
    char text[1024] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

class ItemEventsTest : public KjvWindowTest {
protected:
    void SetUp() override {
        KjvWindowTest::SetUp();
        ASSERT_TRUE(ole_.Ok());
        pane_.lexicon = &lexicon_;
        pane_.SetBook(kBookJohn);
        Show(kClientW);
        pane_.SetChapter(0);
        linked_ = pane_.ChapterItem(0) + 22;  // John 1:23, with a cross-reference in the sample library
        link_ = pane_.GetLinkRef(linked_, 0);
        ASSERT_NE(0, link_);
        lexicon_.keys["voice"] = {101, 102};
        lexicon_.verseArticles = {201, 202};
    }
    void TearDown() override {
        OleFlushClipboard();  // its data object lives in VoView.dll, which the fixture unloads
        pane_.OnHoverLeave(-1, -1);
        pane_.lexicon = nullptr;
        KjvWindowTest::TearDown();
    }

    // The run of John 1:23 that holds the word.
    int RunOf(const char* word) {
        char text[64];
        for (int run = 0; pane_.GetRunText(linked_, run, text, sizeof text); ++run)
            if (std::string(text).rfind(word, 0) == 0) return run;
        ADD_FAILURE() << word;
        return -1;
    }

    OleInitialization ole_;
    FakeLexicon lexicon_;
    int linked_ = 0;
    int link_ = 0;
};

TEST_F(ItemEventsTest, LinkPressesAsATable) {
    const int voice = RunOf("voice");
    ASSERT_GE(voice, 0);
    const int verseRef = pane_.MakeItemRef(linked_);
    pane_.trackMenu = [](HMENU) { return 2u; };  // the second entry of a menu
    struct Row {
        int part;
        bool left;
        int phase;
        int elapsed;
        int partAfter;   // what the sink leaves in the press
        int holdAfter;
        int wentTo;      // the reference the pane went to, or 0
        ArticleHandle shown;
    };
    const Row rows[] = {
        // Cross-references: a hold time that lets them be dragged, a quick click follows them.
        {10000, true, 0, 0, 10000, 200, 0, 0},
        {10000, true, 1, 200, 10000, 0, 0, 0},
        {10000, true, 2, 499, 10000, 0, link_, 0},
        {10000, true, 2, 500, 10000, 0, 0, 0},
        {30000, false, 2, 10, 30000, 0, link_, 0},
        {10001, true, 2, 10, 10001, 0, 0, 0},  // John 1:23 has one cross-reference only
        // The verse number opens its first article; a right click offers all of them.
        {kPartCommentaryMarker, true, 2, 0, kPartCommentaryMarker, 0, 0, 201},
        {kPartCommentaryMarker, false, 2, 0, kPartCommentaryMarker, 0, 0, 202},
        // A word: its article; the right button lists the word's articles before the verse's.
        {voice, true, 0, 0, voice, 0, 0, 0},
        {voice, true, 2, 0, voice, 0, 0, 101},
        {voice, false, 2, 0, voice, 0, 0, 102},
        // A word that can't be reached while the index is locked becomes an ordinary click.
        {voice + 20000, true, 0, 0, 9000, 0, 0, 0},
        {voice + 20000, true, 2, 0, voice + 20000, 0, 0, 0},
        {voice + 20000, false, 2, 0, voice + 20000, 0, 0, 102},
    };
    for (const Row& row : rows) {
        pane_.wentTo.clear();
        lexicon_.shown.clear();
        LinkPressInfo info = {linked_, row.part, row.left, 0, row.elapsed, 0};
        pane_.OnLinkPress(row.phase, &info);
        const std::string what = "part " + std::to_string(row.part) + (row.left ? " left" : " right") + " phase " +
                                 std::to_string(row.phase) + " after " + std::to_string(row.elapsed);
        EXPECT_EQ(row.partAfter, info.part) << what;
        EXPECT_EQ(row.holdAfter, info.holdTime) << what;
        EXPECT_EQ(row.wentTo ? std::vector<int>{row.wentTo} : std::vector<int>{}, pane_.wentTo) << what;
        ASSERT_EQ(row.shown ? 1u : 0u, lexicon_.shown.size()) << what;
        if (row.shown) {
            EXPECT_EQ(row.shown, lexicon_.shown[0].first) << what;
            // The verse is told along when it was asked for its articles.
            const bool verseAsked = row.part == kPartCommentaryMarker || !row.left;
            EXPECT_EQ(verseAsked ? verseRef : 0, lexicon_.shown[0].second) << what;
        }
    }
    // Without the commentary pane a word or verse number does nothing.
    pane_.lexicon = nullptr;
    lexicon_.shown.clear();
    LinkPressInfo info = {linked_, kPartCommentaryMarker, true, 0, 0, 0};
    pane_.OnLinkPress(2, &info);
    EXPECT_TRUE(lexicon_.shown.empty());
}

TEST_F(ItemEventsTest, TypedCharactersOpenTheGoToDialog) {
    struct Row {
        UINT character;
        BOOL handled;
    };
    const Row rows[] = {{'5', TRUE}, {'0', TRUE}, {'a', TRUE}, {'Z', TRUE}, {0xE6, TRUE} /* æ */,
                        {'6', FALSE}, {'9', FALSE}, {'-', FALSE}, {' ', FALSE}, {0x2026, FALSE}};
    for (const Row& row : rows) {
        pane_.goToTyped.clear();
        EXPECT_EQ(row.handled, pane_.OnChar(row.character, 1, 0)) << row.character;
        EXPECT_EQ(row.handled ? std::vector<char>{static_cast<char>(row.character)} : std::vector<char>{},
                  pane_.goToTyped)
            << row.character;
    }
    // Through the window: a typed letter reaches the sink; Backspace climbs to the chapters.
    pane_.goToTyped.clear();
    SetFocus(window_);
    PostMessageA(window_, WM_CHAR, 'j', 1);
    Pump();
    EXPECT_EQ(std::vector<char>{'j'}, pane_.goToTyped);
    EXPECT_TRUE(pane_.OnChar(VK_BACK, 1, 0));
    EXPECT_EQ(kItemsChapters, pane_.GetItemKind());
}

TEST_F(ItemEventsTest, TheArticleMenuHoldsThirtyArticles) {
    for (ArticleHandle a = 301; a <= 331; ++a) lexicon_.verseArticles.push_back(a);
    lexicon_.verseArticles.erase(lexicon_.verseArticles.begin(), lexicon_.verseArticles.begin() + 2);
    ASSERT_EQ(31u, lexicon_.verseArticles.size());
    std::vector<std::string> entries;
    std::vector<UINT> ids;
    UINT choice = 0;
    pane_.trackMenu = [&](HMENU menu) {
        entries.clear();
        ids.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            entries.push_back(MenuText(menu, i));
            ids.push_back(GetMenuItemID(menu, i));
        }
        return choice;
    };
    choice = 30;
    pane_.OnRightClick(linked_);
    ASSERT_EQ(34u, entries.size());  // 30 articles, a separator, the copy entry, a separator, cancel
    EXPECT_EQ("Sl\xE5 opp Artikkel 301", entries[0]);
    EXPECT_EQ("Sl\xE5 opp Artikkel 330", entries[29]);
    EXPECT_EQ(30u, ids[29]);
    EXPECT_EQ("Kopier merket tekst", entries[31]);
    EXPECT_EQ(1000u, ids[31]);
    EXPECT_EQ("Avbryt", entries[33]);
    EXPECT_EQ(500u, ids[33]);
    ASSERT_EQ(1u, lexicon_.shown.size());
    EXPECT_EQ(330, lexicon_.shown[0].first);
    EXPECT_EQ(pane_.MakeItemRef(linked_), lexicon_.shown[0].second);

    // The copy entry copies the selection; cancel does nothing.
    SendMessageA(window_, TWM_SELECTRANGE, static_cast<WPARAM>(linked_), linked_ + 1);
    SendMessageA(window_, TWM_SETCARET, static_cast<WPARAM>(linked_), 0);
    OleSetClipboard(nullptr);
    choice = 1000;
    pane_.OnRightClick(linked_);
    ComPtr<IDataObject> data;
    ASSERT_EQ(S_OK, OleGetClipboard(data.Put()));
    EXPECT_EQ(pane_.MakeItemRef(linked_), ReadReferenceFromDataObject(data.Get(), pane_.GetReferenceFormat(),
                                                                       pane_.Objects().GetStat()));
    choice = 500;
    lexicon_.shown.clear();
    pane_.OnRightClick(linked_);
    EXPECT_TRUE(lexicon_.shown.empty());

    // Long titles are cut to what an entry holds.
    lexicon_.title = std::string(400, 'x');
    choice = 0;
    pane_.OnRightClick(linked_);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(0u, entries[0].rfind("Sl\xE5 opp xxx", 0));
    EXPECT_LT(entries[0].size(), 400u);
    // No articles: no menu.
    lexicon_.verseArticles.clear();
    entries.clear();
    pane_.OnRightClick(linked_);
    EXPECT_TRUE(entries.empty());
}

TEST_F(ItemEventsTest, HoverStatusTextsAndTheCrossReferencePopup) {
    char reference[kFormatRefBufferSize] = {};
    pane_.Objects().GetLangStat()->FormatRef(reference, link_, 0, 0, 0, FALSE);
    pane_.OnHoverEnter(linked_, kPartFirstReference);
    EXPECT_EQ(std::string("Klikk for \xE5 g\xE5 til' ") + reference +
                  "' eller trykk ned musknapp og dra til annet bibelvindu for \xE5 g\xE5 til det der.",
              pane_.status);
    // The popup is titled with the reference and shows the verses it names.
    EXPECT_EQ(reference, pane_.popupTitle);
    char verses[4096] = {};
    pane_.Objects().GetRangeText(link_, verses, sizeof verses, false);
    EXPECT_NE("", pane_.popupText);
    EXPECT_EQ(verses, pane_.popupText);
    pane_.OnHoverLeave(linked_, kPartFirstReference);
    EXPECT_EQ("", pane_.status);
    EXPECT_EQ(nullptr, pane_.GetPopup());

    // Words and verse numbers: the article's title when there is one; while the index is
    // locked a right click is the way; status texts hold long titles cut to the bar's room.
    const int voice = RunOf("voice");
    pane_.OnHoverEnter(linked_, voice);
    EXPECT_EQ("Klikk for \xE5 \xE5pne artikkelen 'Artikkel 101' i kommentarvindu.", pane_.status);
    pane_.OnHoverEnter(linked_, voice + kPartUnreachable);
    EXPECT_EQ("H\xF8yreklikk for \xE5 \xE5pne artikkel om 'voice' i kommentarvindu.", pane_.status);
    lexicon_.keys.clear();
    pane_.OnHoverEnter(linked_, RunOf("crying"));
    EXPECT_EQ("Klikk for \xE5 \xE5pne artikkel om 'crying' i kommentarvindu.", pane_.status);
    lexicon_.title = std::string(300, 'x');
    pane_.OnHoverEnter(linked_, kPartCommentaryMarker);
    EXPECT_EQ(0u, pane_.status.rfind("Klikk for \xE5 \xE5pne artikkelen 'xxx", 0)) << pane_.status;
    EXPECT_LT(pane_.status.size(), 256u);
}

TEST_F(ItemEventsTest, NoteSegmentsAndTheirMarkers) {
    struct Row {
        const char* note;
        int stars;
        bool found;
        const char* segment;
    };
    const Row rows[] = {
        {"first * second ** third", 0, true, "first"},
        {"first * second ** third", 1, true, "second"},
        {"first * second ** third", 2, true, "third"},
        {"first ** two *** three", 1, false, ""},  // no row of exactly one '*'
        {"** two * one", 1, true, "one"},
        {"** two * one", 2, true, "two"},
        {"*   ", 1, false, ""},
        {"", 0, false, ""},
        {"  plain note  ", 0, true, "plain note"},
        {"a *** b", 3, true, "b"},
    };
    for (const Row& row : rows) {
        char out[64] = "stale";
        EXPECT_EQ(row.found, FindNoteSegment(row.note, row.stars, out, sizeof out)) << row.note << " " << row.stars;
        if (row.found) {
            EXPECT_STREQ(row.segment, out) << row.note << " " << row.stars;
        }
    }
    char small[4];
    EXPECT_TRUE(FindNoteSegment("abcdef", 0, small, sizeof small));
    EXPECT_STREQ("abc", small);
    for (const char* keyed : {"word", "Guds", "x"}) EXPECT_TRUE(IsKeyedMarker(keyed)) << keyed;
    for (const char* unkeyed : {"", "word.", "word ", "sa:", "\xABsitat\xBB", "ord,", "hva?", "\"", "a;"})
        EXPECT_FALSE(IsKeyedMarker(unkeyed)) << unkeyed;
    EXPECT_FALSE(IsKeyedMarker(nullptr));
}

TEST_F(ItemEventsTest, DropsOfReferences) {
    const UINT format = pane_.GetReferenceFormat();
    GUID identity = {};
    pane_.Objects().GetStat()->GetGuid(&identity, FALSE);
    const int target = pane_.MakeItemRef(pane_.ChapterItem(2) + 15);  // John 3:16
    char reference[kFormatRefBufferSize] = {};
    pane_.Objects().GetLangStat()->FormatRef(reference, target, 0, 0, 0, FALSE);
    const POINTL at = {10, 10};

    OfferedBlock text(CF_TEXT, TYMED_HGLOBAL, "John 3:16");
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pane_.DragEnter(&text, MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ("Kan kun slippe referanser i dette vinduet. Trekk til et egnet program.", pane_.status);
    EXPECT_EQ(S_OK, pane_.Drop(&text, 0, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_TRUE(pane_.wentTo.empty());

    const GUID stranger = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    OfferedBlock foreign(format, TYMED_HGLOBAL, Record(target, stranger));
    EXPECT_EQ(S_OK, pane_.DragEnter(&foreign, MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ("Klarer ikke konvertere bibelhenvisningen til et bibelsted i King James Version (1769).", pane_.status);
    EXPECT_EQ(S_OK, pane_.DragOver(MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);

    OfferedBlock good(format, TYMED_HGLOBAL, Record(target, identity));
    EXPECT_EQ(S_OK, pane_.DragEnter(&good, MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(std::string("Slipp musknappen for \xE5 \xE5pne ") + reference + " i dette vinduet.", pane_.status);
    effect = DROPEFFECT_NONE;
    EXPECT_EQ(S_OK, pane_.DragOver(MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(S_OK, pane_.DragLeave());
    EXPECT_EQ("", pane_.status);
    EXPECT_EQ(S_OK, pane_.DragOver(MK_LBUTTON, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);

    EXPECT_EQ(S_OK, pane_.DragEnter(&good, MK_LBUTTON, at, &effect));
    EXPECT_EQ(S_OK, pane_.Drop(&good, 0, at, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(std::vector<int>{target}, pane_.wentTo);
    EXPECT_EQ("", pane_.status);
    EXPECT_EQ(good.gets, good.owner.releases);
}

}  // namespace
