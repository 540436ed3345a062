// Choosing the bible and the list at start, with their fallbacks, the stored list position,
// and changing the list later.
#include "ViewerFixture.h"

namespace {

class ViewerStartTest : public ViewerTest {};

// A list whose statistics cannot be had: a damaged list handed over by a caller.
class ListWithoutStat : public IRefList {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IRefList)) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) override {
        *out = nullptr;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetCount(int* out) override {
        *out = 3;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRef(int, int* out) override {
        *out = 0;
        return E_FAIL;
    }
    ULONG refs = 1;
};

TEST_F(ViewerStartTest, TheStoredBibleAndListAreOpened) {
    WriteBible("Egen.vrsb", "EGN");
    WriteList("Min.vrsm", Entries({4, 5}));
    Choose("Egen", "Min");
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    EXPECT_STREQ("Egen", app.GetSettings().bible);
    EXPECT_STREQ("Min", app.GetSettings().refList);
    EXPECT_STREQ("Min", app.GetRefList().GetName());
    EXPECT_EQ(2, app.GetRefList().GetCount());
    ASSERT_TRUE(app.GetLangStat());
    char text[64];
    EXPECT_EQ(VerseRef(4), app.GetCurrentVerse(text, sizeof(text)));
    EXPECT_STREQ("Vers 4.", text);
    EXPECT_TRUE(app.WasVerseShown());
}

TEST_F(ViewerStartTest, AMissingBibleFallsBackToTheDefaultOneThenToOneThatOpens) {
    struct Case {
        const char* file;
        const char* chosen;
    } cases[] = {
        {"KV6104bm.vrsb", "KV6104bm"},
        {"Annen.vrsb", "Annen"},
    };
    for (const Case& c : cases) {
        SetUp();
        WriteBible(c.file, "LTB");
        WriteList("Dizarivor.vrsm", Entries({1}));
        Choose("Borte", "Dizarivor");
        VoViewerApp app;
        EXPECT_EQ(kViewerReady, app.Init()) << c.file;
        EXPECT_STREQ(c.chosen, app.GetSettings().bible) << c.file;
    }
}

TEST_F(ViewerStartTest, AMissingListFallsBackToTheDefaultOneThenToTheFolderFirstList) {
    struct Case {
        const char* file;
        const char* chosen;
    } cases[] = {
        {"Dizarivor.vrsm", "Dizarivor"},
        {"Egen.vrsm", "Egen"},
    };
    for (const Case& c : cases) {
        SetUp();
        WriteBible("KV6104bm.vrsb", "LTB");
        WriteList(c.file, Entries({2}));
        Choose("KV6104bm", "Borte");
        VoViewerApp app;
        EXPECT_EQ(kViewerReady, app.Init()) << c.file;
        EXPECT_STREQ(c.chosen, app.GetSettings().refList) << c.file;
        EXPECT_STREQ(c.chosen, app.GetRefList().GetName()) << c.file;
    }
}

TEST_F(ViewerStartTest, AListNamedByItsFullPathIsOpenedFromThere) {
    TempDir elsewhere;
    WriteBible("KV6104bm.vrsb", "LTB");
    WriteList(elsewhere.File("Egen.liste.vrsm"), Entries({6}));
    Choose("KV6104bm", elsewhere.File("Egen.liste.vrsm").c_str());
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    EXPECT_STREQ("Egen", app.GetRefList().GetName());
    EXPECT_EQ(elsewhere.File("Egen.liste.vrsm"), app.GetSettings().refList);
    char text[64];
    app.GetCurrentVerse(text, sizeof(text));
    EXPECT_STREQ("Vers 6.", text);
}

TEST_F(ViewerStartTest, WithoutABibleOrAListOrAVerseInitSaysWhich) {
    // No bible that opens.
    for (const char* damaged : {"", "Skadet.vrsb"}) {
        SetUp();
        if (*damaged) WriteDamaged(damaged);
        WriteList("Dizarivor.vrsm", Entries({1}));
        VoViewerApp app;
        EXPECT_EQ(kViewerNoBible, app.Init()) << damaged;
    }
    // No list that opens: none, a damaged one, a folder with a list's name.
    for (const char* damaged : {"", "Skadet.vrsm", "Mappe.vrsm"}) {
        SetUp();
        WriteBible("KV6104bm.vrsb", "LTB");
        if (std::string(damaged) == "Mappe.vrsm") {
            ASSERT_TRUE(CreateDirectoryA((Bibles() + damaged).c_str(), nullptr));
        } else if (*damaged) {
            ASSERT_TRUE(WriteWholeFile(Bibles() + damaged, std::string(64, '\x07')));
        }
        VoViewerApp app;
        EXPECT_EQ(kViewerNoList, app.Init()) << damaged;
        RemoveDirectoryA((Bibles() + "Mappe.vrsm").c_str());
    }
    // A list none of whose entries is in the bible: no verse, and the error text.
    SetUp();
    WriteBible("KV6104bm.vrsb", "LTB");
    WriteList("Dizarivor.vrsm", {WiderRef(3, 0, 0), WiderRef(3, 0, 2)}, WiderStat().Get());
    VoViewerApp app;
    EXPECT_EQ(kViewerNoVerse, app.Init());
    char text[64] = "x";
    EXPECT_EQ(0, app.GetCurrentVerse(text, sizeof(text)));
    EXPECT_STREQ("En ukjent feil oppsto.", text);
    app.NextVerse();  // nothing to consume: no crash, no hang
    EXPECT_EQ(0, app.GetCurrentVerse(text, sizeof(text)));
}

TEST_F(ViewerStartTest, TheStoredIndexNamesAnEntryOfTheList) {
    WriteBible("KV6104bm.vrsb", "LTB");
    // Entry i shows verse i + 3.
    WriteList("Dizarivor.vrsm", Entries({3, 4, 5, 6, 7}));
    struct Case {
        LONGLONG stored;  // -1: none
        int position;
    } cases[] = {
        {-1, 0}, {0, 0}, {3, 3}, {4, 4}, {5, 0}, {7, 0}, {10000, 0}, {25000, 0}, {0xFFFFFFFFLL, 0},
    };
    for (const Case& c : cases) {
        RegDeleteValueA(ViewerKey(), "index");
        if (c.stored >= 0) SetViewerDword("index", static_cast<DWORD>(c.stored));
        VoViewerApp app;
        ASSERT_EQ(kViewerReady, app.Init()) << c.stored;
        EXPECT_EQ(c.position, app.GetRefList().GetIndex()) << c.stored;
        char text[64] = {};
        EXPECT_EQ(VerseRef(c.position + 3), app.GetCurrentVerse(text, sizeof(text))) << c.stored;
        EXPECT_EQ(VerseText(c.position + 3), text) << c.stored;
    }
}

TEST_F(ViewerStartTest, AStoredIndexAboveTenThousandBecomesTenThousand) {
    WriteBible("KV6104bm.vrsb", "LTB");
    std::vector<int> verses;
    for (int i = 0; i < 10005; ++i) verses.push_back(i % 18);
    WriteList("Dizarivor.vrsm", Entries(verses));
    SetViewerDword("index", 25000);
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    EXPECT_EQ(10000, app.GetRefList().GetIndex());
    std::vector<Shown> shown = Walk(app, 6);
    for (int i = 0; i < 6; ++i) {
        int position = (10000 + i) % 10005;
        EXPECT_EQ(position, shown[i].position);
        EXPECT_EQ(VerseText(position % 18), shown[i].text);
    }
    EXPECT_EQ(1, ViewerDword("index"));  // wrapped past the last entry
}

TEST_F(ViewerStartTest, AFailedChangeOfListKeepsTheOldListAndItsPosition) {
    WriteBible("KV6104bm.vrsb", "LTB");
    WriteList("Dizarivor.vrsm", Entries({3, 4, 5, 6, 7}));
    WriteDamaged("Skadet.vrsm");
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Walk(app, 2);
    ASSERT_EQ(2, app.GetRefList().GetIndex());

    auto expectUnchanged = [&](const char* what) {
        EXPECT_STREQ("Dizarivor", app.GetRefList().GetName()) << what;
        EXPECT_STREQ("Dizarivor", app.GetSettings().refList) << what;
        EXPECT_EQ(5, app.GetRefList().GetCount()) << what;
        EXPECT_EQ(2, app.GetRefList().GetIndex()) << what;
        EXPECT_EQ(2, ViewerDword("index")) << what;
        char text[64] = {};
        app.GetCurrentVerse(text, sizeof(text));
        EXPECT_STREQ("Vers 5.", text) << what;
    };
    // A file that is no list.
    EXPECT_TRUE(FAILED(app.OpenRefList((Bibles() + "Skadet.vrsm").c_str(), nullptr)));
    expectUnchanged("file");
    // A list object without statistics, handed over with new settings.
    ListWithoutStat broken;
    VoViewerSettings settings = app.GetSettings();
    lstrcpynA(settings.refList, "Skadet", sizeof(settings.refList));
    settings.interval = 60;
    EXPECT_EQ(E_FAIL, app.ApplySettings(settings, nullptr, &broken));
    expectUnchanged("object");
    EXPECT_EQ(60, app.GetSettings().interval);  // the rest of the record is taken
    EXPECT_EQ(1u, broken.refs);                 // nothing kept of it
}

TEST_F(ViewerStartTest, ANewListIsTakenWithTheStoredIndexAndShownAtOnce) {
    WriteBible("KV6104bm.vrsb", "LTB");
    WriteList("Dizarivor.vrsm", Entries({3, 4, 5, 6, 7}));
    WriteList("Annen.vrsm", Entries({10, 11, 12}));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    Walk(app, 2);
    ComPtr<IRefList> other;
    ASSERT_EQ(S_OK, OpenRefListFile((Bibles() + "Annen.vrsm").c_str(), other.Put()));
    VoViewerSettings settings = app.GetSettings();
    lstrcpynA(settings.refList, "Annen", sizeof(settings.refList));
    EXPECT_EQ(S_OK, app.ApplySettings(settings, nullptr, other.Get()));
    EXPECT_STREQ("Annen", app.GetRefList().GetName());
    EXPECT_STREQ("Annen", app.GetSettings().refList);
    std::vector<Shown> shown = Walk(app, 2);
    EXPECT_EQ(VerseText(12), shown[0].text);  // "index" 2 of the new list
    EXPECT_EQ(VerseText(10), shown[1].text);
}

}  // namespace
