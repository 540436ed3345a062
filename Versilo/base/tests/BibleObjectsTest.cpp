// Attaching a bible all or nothing, and splitting reference values into indices and
// linear verse ranges over the small numbering (book 0: verses 0-2 and 3-6, book 1:
// 7-11, book 2: 12-13, 14-15, 16-17).
#include <gtest/gtest.h>
#include "BibleObjects.h"
#include "SmallBibles.h"

namespace {

// Statistics that answer every question of the real ones but hand out no reference values.
class StatWithoutHandles : public IBibleStat {
public:
    explicit StatWithoutHandles(IBibleStat* real) : real_(real) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IBibleStat) {
            *out = static_cast<IBibleStat*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (!n) delete this;
        return n;
    }
    int STDMETHODCALLTYPE GetBookCount() override { return real_->GetBookCount(); }
    int STDMETHODCALLTYPE GetChapterCount() override { return real_->GetChapterCount(); }
    int STDMETHODCALLTYPE GetVerseCount() override { return real_->GetVerseCount(); }
    int STDMETHODCALLTYPE GetBookId(int b) override { return real_->GetBookId(b); }
    HRESULT STDMETHODCALLTYPE GetGuid(GUID* out, BOOL v) override { return real_->GetGuid(out, v); }
    int STDMETHODCALLTYPE GetChaptersInBook(int b) override { return real_->GetChaptersInBook(b); }
    int STDMETHODCALLTYPE GetVersesInBook(int b) override { return real_->GetVersesInBook(b); }
    int STDMETHODCALLTYPE GetVersesInChapter(int b, int c) override { return real_->GetVersesInChapter(b, c); }
    int STDMETHODCALLTYPE VerseIndexToRef(int i, int* b, int* c, int* v) override {
        return real_->VerseIndexToRef(i, b, c, v);
    }
    int STDMETHODCALLTYPE ChapterIndexToRef(int i, int* b, int* c) override { return real_->ChapterIndexToRef(i, b, c); }
    int STDMETHODCALLTYPE RefToVerseIndex(int b, int c, int v) override { return real_->RefToVerseIndex(b, c, v); }
    int STDMETHODCALLTYPE RefToChapterIndex(int b, int c) override { return real_->RefToChapterIndex(b, c); }
    HRESULT STDMETHODCALLTYPE Save(IStream* s) override { return real_->Save(s); }

private:
    virtual ~StatWithoutHandles() = default;
    ComPtr<IBibleStat> real_;
    LONG refs_ = 1;
};

// A bible that delegates to a real one but hands out the statistics above (or none).
class BibleWithBrokenStat : public IBible {
public:
    BibleWithBrokenStat(IBible* real, bool noStatAtAll) : real_(real), noStat_(noStatAtAll) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IBible) {
            *out = static_cast<IBible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (!n) delete this;
        return n;
    }
    LONG Refs() const { return refs_; }
    HRESULT STDMETHODCALLTYPE GetLangStat(IBibleLangStat** out) override { return real_->GetLangStat(out); }
    HRESULT STDMETHODCALLTYPE GetBibleStat(IBibleStat** out) override {
        *out = nullptr;
        if (noStat_) return E_FAIL;
        ComPtr<IBibleStat> real;
        HRESULT hr = real_->GetBibleStat(real.Put());
        if (FAILED(hr)) return hr;
        *out = new StatWithoutHandles(real.Get());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVerseText(int b, int c, int v, BOOL m, char* buf, int len) override {
        return real_->GetVerseText(b, c, v, m, buf, len);
    }
    HRESULT STDMETHODCALLTYPE HasVerseNote(int b, int c, int v) override { return real_->HasVerseNote(b, c, v); }
    HRESULT STDMETHODCALLTYPE GetVerseNote(int b, int c, int v, char* buf, int len) override {
        return real_->GetVerseNote(b, c, v, buf, len);
    }
    HRESULT STDMETHODCALLTYPE HasSectionTitle(int b, int c, int v) override { return real_->HasSectionTitle(b, c, v); }
    HRESULT STDMETHODCALLTYPE GetSectionTitle(int b, int c, int v, char* buf, int len) override {
        return real_->GetSectionTitle(b, c, v, buf, len);
    }
    HRESULT STDMETHODCALLTYPE GetSectionEnd(int* b, int* c, int* v) override { return real_->GetSectionEnd(b, c, v); }
    HRESULT STDMETHODCALLTYPE GetChapterSummary(int b, int c, char* buf, unsigned len) override {
        return real_->GetChapterSummary(b, c, buf, len);
    }
    HRESULT STDMETHODCALLTYPE LoadChapter(int b, int c) override { return real_->LoadChapter(b, c); }
    HRESULT STDMETHODCALLTYPE LoadBook(int b) override { return real_->LoadBook(b); }
    HRESULT STDMETHODCALLTYPE UnloadChapter(int b, int c) override { return real_->UnloadChapter(b, c); }
    HRESULT STDMETHODCALLTYPE UnloadBook(int b) override { return real_->UnloadBook(b); }
    HRESULT STDMETHODCALLTYPE GetFilePath(char* buf, int len) override { return real_->GetFilePath(buf, len); }
    HRESULT STDMETHODCALLTYPE GetBibleName(BOOL l, char* buf, int len) override {
        return real_->GetBibleName(l, buf, len);
    }
    HRESULT STDMETHODCALLTYPE GetDescription(char* buf, int len) override { return real_->GetDescription(buf, len); }

private:
    virtual ~BibleWithBrokenStat() = default;
    ComPtr<IBible> real_;
    bool noStat_;
    LONG refs_ = 1;
};

class BibleObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        bible = OpenSmallBible(dir, {4, 9});
        ASSERT_TRUE(bible);
        ASSERT_TRUE(objects.Attach(bible.Get()));
    }
    // A counted range from one verse to another.
    int Range(int b0, int c0, int v0, int b1, int c1, int v1) {
        int ref = objects.MakeIndex(b0, c0, v0);
        EXPECT_EQ(S_OK, objects.GetIndexer()->ExtendRef(&ref, b1, c1, v1));
        return ref;
    }
    // An open range ("ff") from a verse.
    int OpenRange(int b, int c, int v) {
        int ref = objects.MakeIndex(b, c, v);
        return (ref & 0x7FFF) | kRefRangeFlag;
    }

    TempDir dir;
    ComPtr<INewBible> bible;
    VoBibleObjects objects;
};

}  // namespace

TEST_F(BibleObjectsTest, AttachesAllFourObjectsOfOneBible) {
    EXPECT_EQ(static_cast<IBible*>(bible.Get()), objects.GetBible());
    ASSERT_NE(nullptr, objects.GetLangStat());
    ASSERT_NE(nullptr, objects.GetStat());
    ASSERT_NE(nullptr, objects.GetIndexer());
    EXPECT_EQ(18, objects.GetStat()->GetVerseCount());
    objects.Clear();
    EXPECT_TRUE(objects.IsEmpty());
    EXPECT_EQ(nullptr, objects.GetLangStat());
    EXPECT_EQ(nullptr, objects.GetStat());
    EXPECT_EQ(nullptr, objects.GetIndexer());
    EXPECT_FALSE(objects.Attach(nullptr));
    EXPECT_TRUE(objects.IsEmpty());
}

TEST_F(BibleObjectsTest, AFailedAttachLeavesThePreviousBibleWorking) {
    for (bool noStat : {false, true}) {
        auto* broken = new BibleWithBrokenStat(bible.Get(), noStat);
        EXPECT_FALSE(objects.Attach(broken)) << noStat;
        // Nothing of the broken bible was kept.
        EXPECT_EQ(1, broken->Refs());
        broken->Release();
        EXPECT_EQ(static_cast<IBible*>(bible.Get()), objects.GetBible());
        int first = -1, end = -1;
        EXPECT_TRUE(objects.GetVerseRange(objects.MakeIndex(1, -1, -1), &first, &end));
        EXPECT_EQ(7, first);
        EXPECT_EQ(12, end);
        char text[64];
        EXPECT_EQ(7, objects.GetRangeText(objects.MakeIndex(0, 0, 2), text, sizeof(text), false));
        EXPECT_STREQ("Vers 2.", text);
    }
    // An empty record stays empty, and the constructor's attach is not reported.
    auto* broken = new BibleWithBrokenStat(bible.Get(), false);
    VoBibleObjects fresh(broken);
    broken->Release();
    EXPECT_TRUE(fresh.IsEmpty());
    EXPECT_EQ(nullptr, fresh.GetStat());
}

TEST_F(BibleObjectsTest, SplitsEveryKindOfReference) {
    struct Case {
        const char* what;
        int ref;
        int start[3], last[3];
        int first, end;
    };
    const Case cases[] = {
        {"bible", 1, {-1, -1, -1}, {-1, -1, -1}, 0, 18},
        {"book", objects.MakeIndex(2, -1, -1), {2, -1, -1}, {2, -1, -1}, 12, 18},
        {"chapter", objects.MakeIndex(0, 1, -1), {0, 1, -1}, {0, 1, -1}, 3, 7},
        {"verse", objects.MakeIndex(1, 0, 4), {1, 0, 4}, {1, 0, 4}, 11, 12},
        {"verse range", Range(0, 1, 2, 1, 0, 1), {0, 1, 2}, {1, 0, 1}, 5, 9},
        {"chapter range", Range(2, 0, -1, 2, 1, -1), {2, 0, -1}, {2, 1, -1}, 12, 16},
        // Open ranges end before the next section title (verses 4 and 9), or at the end.
        {"open range", OpenRange(0, 0, 1), {0, 0, 1}, {0, 1, 0}, 1, 4},
        {"open range at a title", OpenRange(0, 1, 1), {0, 1, 1}, {1, 0, 1}, 4, 9},
        {"open range after the last title", OpenRange(1, 0, 3), {1, 0, 3}, {2, 2, 1}, 10, 18},
    };
    for (const Case& c : cases) {
        int b = 9, ch = 9, v = 9;
        EXPECT_TRUE(objects.SplitIndex(c.ref, &b, &ch, &v)) << c.what;
        EXPECT_EQ(c.start[0], b) << c.what;
        EXPECT_EQ(c.start[1], ch) << c.what;
        EXPECT_EQ(c.start[2], v) << c.what;
        EXPECT_TRUE(objects.SplitRangeEnd(c.ref, &b, &ch, &v)) << c.what;
        EXPECT_EQ(c.last[0], b) << c.what;
        EXPECT_EQ(c.last[1], ch) << c.what;
        EXPECT_EQ(c.last[2], v) << c.what;
        int first = -1, end = -1;
        EXPECT_TRUE(objects.GetVerseRange(c.ref, &first, &end)) << c.what;
        EXPECT_EQ(c.first, first) << c.what;
        EXPECT_EQ(c.end, end) << c.what;
    }
}

TEST_F(BibleObjectsTest, RefusedValuesNameNoVerses) {
    // Position 0, a position past the numbering, garbage, and a range whose start is
    // valid but whose end lies past the last verse.
    const int lastVerse = objects.MakeIndex(2, 2, 1) & 0x7FFF;
    const int refused[] = {0, static_cast<int>(0xFFFF7FFF), -1, lastVerse | kRefRangeFlag | (5 << 16)};
    for (int ref : refused) {
        int b = 0, c = 0, v = 0;
        EXPECT_FALSE(objects.SplitIndex(ref, &b, &c, &v) && objects.SplitRangeEnd(ref, &b, &c, &v))
            << std::hex << ref;
        int first = -1, end = -1;
        EXPECT_FALSE(objects.GetVerseRange(ref, &first, &end)) << std::hex << ref;
        EXPECT_EQ(0, first);
        EXPECT_EQ(0, end);
        char text[32] = "unchanged";
        EXPECT_EQ(0, objects.GetRangeText(ref, text, sizeof(text), false)) << std::hex << ref;
        EXPECT_STREQ("", text);
        EXPECT_EQ(0, objects.GetRangeText(ref, nullptr, 0, false));
        EXPECT_EQ(0, objects.GetRangeText(ref, text, sizeof(text), true));
    }
    EXPECT_EQ(0, objects.MakeIndex(3, 0, 0));
    EXPECT_EQ(0, objects.MakeIndex(0, 2, 0));
    VoBibleObjects empty;
    int first = -1, end = -1;
    EXPECT_FALSE(empty.GetVerseRange(1, &first, &end));
    EXPECT_EQ(0, empty.MakeIndex(0, 0, 0));
    EXPECT_EQ(0, empty.GetRangeText(1, nullptr, 0, false));
}
