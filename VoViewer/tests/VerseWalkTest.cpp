// Walking the list: order, wrapping, batches of prepared texts and their boundaries, cut
// ranges, and entries that give no text.
#include "ViewerFixture.h"

namespace {

class VerseWalkTest : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        Choose("Liten", "Liste");
    }
};

TEST_F(VerseWalkTest, AListShorterThanTheBatchWrapsAndStoresEachPosition) {
    WriteBible("Liten.vrsb", "LTB");
    WriteList("Liste.vrsm", Entries({5, 9, 2}));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    const int verses[] = {5, 9, 2};
    for (int i = 0; i < 10; ++i) {
        char text[64] = {};
        EXPECT_EQ(VerseRef(verses[i % 3]), app.GetCurrentVerse(text, sizeof(text))) << i;
        EXPECT_EQ(VerseText(verses[i % 3]), text) << i;
        EXPECT_EQ(i % 3, app.GetRefList().GetIndex()) << i;
        app.NextVerse();
        EXPECT_EQ((i + 1) % 3, ViewerDword("index")) << i;
    }
}

TEST_F(VerseWalkTest, AListLongerThanTheBatchIsShownInOrderAcrossBatches) {
    WriteBible("Liten.vrsb", "LTB");
    std::vector<int> verses;
    for (int i = 0; i < 40; ++i) verses.push_back((i * 7) % 18);
    WriteList("Liste.vrsm", Entries(verses));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    std::vector<Shown> shown = Walk(app, 85);
    for (int i = 0; i < 85; ++i) {
        EXPECT_EQ(i % 40, shown[i].position) << i;
        EXPECT_EQ(VerseText(verses[i % 40]), shown[i].text) << i;
    }
    EXPECT_EQ(5, ViewerDword("index"));
    // A new run goes on where the last one stopped.
    VoViewerApp next;
    ASSERT_EQ(kViewerReady, next.Init());
    EXPECT_EQ(VerseText(verses[5]), Walk(next, 1)[0].text);
}

TEST_F(VerseWalkTest, ABatchEndsWhenTheNextTextDoesNotFitOrLittleRoomIsLeft) {
    // The lengths of the first texts, and how many of them the first batch holds. The pool
    // holds 4096 characters with one NUL each; four texts of 999 leave 96.
    struct Case {
        std::vector<size_t> lengths;
        int firstBatch;
    } cases[] = {
        {{999, 999, 999, 999, 999}, 4},     // the fifth needs more than is left
        {{999, 999, 999, 999, 96}, 4},      // exactly the room left is too much (no NUL)
        {{999, 999, 999, 999, 95}, 5},      // fits, and fills the pool
        {{999, 999, 999, 999, 45, 10}, 5},  // 50 left: the batch ends
        {{999, 999, 999, 999, 44, 10}, 6},  // 51 left: one more
    };
    for (const Case& c : cases) {
        SetUp();
        RegDeleteValueA(ViewerKey(), "index");
        auto texts = [&](const char* mark) {
            return [&, mark](int v) {
                std::string prefix = mark + std::to_string(v);
                return v < static_cast<int>(c.lengths.size()) ? TextOfLength(prefix, c.lengths[v]) : prefix + ".";
            };
        };
        WriteTexts("Liten.vrsb", texts("Gammel"));
        std::vector<int> verses;
        for (int v = 0; v < 18; ++v) verses.push_back(v);
        WriteList("Liste.vrsm", Entries(verses));
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init());
        // The bible file is closed between batches: a new one gives the later batches' texts.
        WriteTexts("Liten.vrsb", texts("Ny"));
        std::vector<Shown> shown = Walk(app, 10);
        for (int i = 0; i < 10; ++i) {
            std::string expected = texts(i < c.firstBatch ? "Gammel" : "Ny")(i);
            EXPECT_EQ(expected.size(), shown[i].text.size()) << c.firstBatch << " verse " << i;
            EXPECT_EQ(expected.substr(0, 12), shown[i].text.substr(0, 12)) << c.firstBatch << " verse " << i;
            EXPECT_EQ(i, shown[i].position);
        }
    }
}

TEST_F(VerseWalkTest, ARangeLongerThanTheTextRoomEndsWithTheCutMarker) {
    WriteTexts("Liten.vrsb", [](int v) { return TextOfLength("Del" + std::to_string(v), 300); });
    WriteList("Liste.vrsm", {RangeRef(3, 6), VerseRef(7)});
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    char text[1024] = {};
    EXPECT_EQ(RangeRef(3, 6), app.GetCurrentVerse(text, sizeof(text)));
    std::string shown = text;
    // Three verses of 300 with their blanks, then the marker: the fourth does not fit in 1000.
    EXPECT_EQ(3u * 300 + 2 + 4, shown.size());
    EXPECT_EQ(" ...", shown.substr(shown.size() - 4));
    EXPECT_EQ("Del3", shown.substr(0, 4));
    EXPECT_EQ("Del5", shown.substr(602, 4));
    // A small buffer gets the text cut to it.
    char small[10];
    app.GetCurrentVerse(small, sizeof(small));
    EXPECT_STREQ("Del3 ord ", small);
    app.NextVerse();
    app.GetCurrentVerse(text, sizeof(text));
    EXPECT_EQ("Del7", std::string(text).substr(0, 4));
}

TEST_F(VerseWalkTest, EntriesWithoutATextArePassedOverWithoutShiftingThePositions) {
    // Verse 3 of this bible is empty.
    WriteTexts("Liten.vrsb", [](int v) { return v == 3 ? std::string() : VerseText(v); });
    // Positions 1 and 4 name a book the bible lacks, 3 an empty verse.
    const std::vector<int> refs = {WiderRef(0, 0, 0), WiderRef(3, 0, 1), WiderRef(1, 0, 0), WiderRef(0, 1, 0),
                                   WiderRef(3, 0, 2), WiderRef(2, 2, 1)};
    WriteList("Liste.vrsm", refs, WiderStat().Get());
    SetViewerDword("index", 1);  // itself an entry that gives no text
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    // Shown: positions 2, 5, 0, 2, 5, 0 with verses 7, 17, 0.
    const struct {
        int position, verse;
    } expected[] = {{2, 7}, {5, 17}, {0, 0}, {2, 7}, {5, 17}, {0, 0}};
    for (const auto& e : expected) {
        char text[64] = {};
        EXPECT_EQ(VerseRef(e.verse), app.GetCurrentVerse(text, sizeof(text)));
        EXPECT_EQ(VerseText(e.verse), text);
        EXPECT_EQ(e.position, app.GetRefList().GetIndex());
        EXPECT_EQ(e.position, ViewerDword("index")) << "the stored position names the verse shown";
        app.NextVerse();
    }
}

TEST_F(VerseWalkTest, ConsumingAVerseTwiceWithoutShowingItStepsOneEntryEach) {
    WriteBible("Liten.vrsb", "LTB");
    WriteList("Liste.vrsm", Entries({1, 2, 3, 4}));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    for (int i = 0; i < 6; ++i) app.NextVerse();
    EXPECT_EQ(2, ViewerDword("index"));
    EXPECT_EQ(VerseText(3), Walk(app, 1)[0].text);
}

}  // namespace
